#include <gtest/gtest.h>

#include <algorithm>

#include "archive_fixtures.h"
#include "archives/archive_texts.h"
#include "config/archiver_defs.h"
#include "platform/textf.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using testing::readBytes;
using testing::runIn;

constexpr const char* When = " 2021-03-14 15:26:58";

// A tree with directories, an empty and a large file, all of the test time.
class ZipTree : public ::testing::Test {
 protected:
  ZipTree() {
    tree_.writeFile("a.txt", "hello world\n");
    tree_.writeFile("empty.txt", "");
    std::string big(100000, 'b');
    for (std::size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>(i * 31);
    tree_.writeFile("big.bin", big);
    tree_.makeDir("sub");
    tree_.makeDir("sub/deeper");
    tree_.writeFile("sub/b.txt", "bee\n");
    tree_.writeFile("sub/deeper/c.txt", "deep\n");
    for (const char* path :
         {"a.txt", "empty.txt", "big.bin", "sub/b.txt", "sub/deeper/c.txt", "sub/deeper", "sub"})
      tree_.setLocalMtime(path, 2021, 3, 14, 15, 26, 58);
  }

  testing::TempTree tree_;
};

const std::string Expected = std::string("a.txt 12") + When + "\nbig.bin 100000" + When +
                             "\nempty.txt 0" + When + "\nsub/ 0" + When + "\nsub/b.txt 4" + When +
                             "\nsub/deeper/ 0" + When + "\nsub/deeper/c.txt 5" + When + "\n";
constexpr const char* Files = "a.txt empty.txt big.bin sub";

TEST_F(ZipTree, ArchivesOfZipAnd7Zip) {
  REQUIRE_PROGRAM("zip");
  struct Case {
    const char* command;
    const char* archive;
  };
  const Case cases[] = {
      {"zip -q -r t.zip a.txt empty.txt big.bin sub", "t.zip"},
      {"zip -q -r -fz z64.zip a.txt empty.txt big.bin sub", "z64.zip"},
      {"zip -q -r -fd - a.txt empty.txt big.bin sub > pipe.zip", "pipe.zip"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(runIn(tree_.root(), c.command)) << c.command;
    int result = -1;
    const testing::ReadRecord read =
        readBytes(ArchiveZip, tree_.readFile(c.archive), c.archive, &result);
    EXPECT_EQ(read.sorted(), Expected) << c.command;
    EXPECT_TRUE(read.messages.empty()) << c.command << ": " << read.messages.front();
    EXPECT_EQ(result, ArchiveRead) << c.command;
  }
  if (testing::haveProgram("7zz")) {
    ASSERT_TRUE(runIn(tree_.root(), "7zz a -tzip s.zip a.txt empty.txt big.bin sub"));
    const testing::ReadRecord read = readBytes(ArchiveZip, tree_.readFile("s.zip"));
    EXPECT_EQ(read.sorted(), Expected);
    EXPECT_TRUE(read.messages.empty());
  }
}

TEST_F(ZipTree, CommentsStubsAndDamage) {
  REQUIRE_PROGRAM("zip");
  ASSERT_TRUE(runIn(tree_.root(), std::string("zip -q -r t.zip ") + Files));
  const std::string zip = tree_.readFile("t.zip");
  ASSERT_GT(zip.size(), 22u);

  // A comment holding an end record's signature (followed by zeros, so that it would fit).
  std::string commented = zip;
  const std::string comment = std::string("PK\x05\x06", 4) + std::string(18, '\0') + "tail";
  commented[commented.size() - 2] = static_cast<char>(comment.size());
  commented += comment;
  testing::ReadRecord read = readBytes(ArchiveZip, commented);
  EXPECT_EQ(read.sorted(), Expected);
  EXPECT_TRUE(read.messages.empty());

  // A stub before the archive: its bytes are reported and the offsets moved; after "zip -A"
  // the archive says so itself.
  const std::string stub(700, 'S');
  ASSERT_TRUE(tree_.writeFile("x.exe", stub + zip));
  read = readBytes(ArchiveZip, tree_.readFile("x.exe"));
  EXPECT_EQ(read.sorted(), Expected);
  EXPECT_EQ(read.messages, std::vector<std::string>{textf(FormatZipExtraBytes, 700L)});
  ASSERT_TRUE(runIn(tree_.root(), "zip -q -A x.exe"));
  read = readBytes(ArchiveZip, tree_.readFile("x.exe"));
  EXPECT_EQ(read.sorted(), Expected);
  EXPECT_TRUE(read.messages.empty());

  // Damage after which the entries read so far stay and the read says it failed.
  const std::size_t end = zip.size() - 22;
  std::string counted = zip;  // more entries declared than the central directory holds
  counted[end + 10] = static_cast<char>(counted[end + 10] + 5);
  const std::uint32_t directory =
      static_cast<unsigned char>(zip[end + 16]) | static_cast<unsigned char>(zip[end + 17]) << 8;
  struct Case {
    const char* damage;
    std::string bytes;
    std::string members;  // sorted
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"entries counted beyond the directory", counted, Expected,
       {textf(FormatZipNoHeaderSignature, 8u)}},
      {"end record cut off", zip.substr(0, zip.size() - 30), "", {std::string(TextZipNoEndRecord)}},
      {"directory cut inside a header, end record kept",
       zip.substr(0, directory + 60) + zip.substr(end), "",
       {textf(FormatZipMissingBytes, static_cast<long>(end - directory - 60)),
        textf(FormatZipNoHeaderSignature, 1u)}},
  };
  for (const Case& c : cases) {
    int result = ArchiveRead;
    read = readBytes(ArchiveZip, c.bytes, "x", &result);
    EXPECT_EQ(read.sorted(), c.members) << c.damage;
    EXPECT_EQ(read.messages, c.messages) << c.damage;
    EXPECT_NE(result, ArchiveRead) << c.damage;
  }
}

// A central directory alone: one header per name with the given uncompressed size, then the
// end record.
std::string craftedZip(const std::vector<std::pair<std::string, std::uint64_t>>& members,
                       std::uint16_t thisDisk = 0) {
  std::vector<testing::ZipMember> crafted;
  for (const auto& [name, size] : members) crafted.push_back({name, "", size});
  return testing::zipArchive(crafted, {.localHeaders = false, .thisDisk = thisDisk});
}

TEST(ZipReader, CraftedDirectories) {
  // The smallest archive: an end record alone.
  testing::ReadRecord read = readBytes(ArchiveZip, craftedZip({}));
  EXPECT_TRUE(read.members.empty() && read.messages.empty());

  // Sizes from the zip64 block, as numbers however large; "\" ends a directory too; empty
  // names are passed by.
  read =
      readBytes(ArchiveZip,
                craftedZip({{"huge", 0xFFFFFFFFFFFFFFFFull}, {"win\\", 0}, {"", 3}, {"docs/", 0}}));
  EXPECT_EQ(read.joined(), std::string("huge 18446744073709551615") + When + "\nwin/ 0" + When +
                               "\ndocs/ 0" + When + "\n");

  // Not the disk holding the directory.
  read = readBytes(ArchiveZip, craftedZip({{"a", 1}}, 1));
  EXPECT_EQ(read.messages, std::vector<std::string>{std::string(TextZipMultiDisk)});

  // Offsets that count from a stub the writer did not know of, with the directory's offset 0.
  std::string stub = craftedZip({{"a", 1}});
  stub = std::string(40, 'S') + stub;
  read = readBytes(ArchiveZip, stub);
  EXPECT_EQ(read.messages, std::vector<std::string>{std::string(TextZipNullOffset)});
  EXPECT_EQ(read.members.size(), 1u);
}

}  // namespace
}  // namespace corvane
