#include <gtest/gtest.h>

#include <algorithm>

#include "archive_fixtures.h"
#include "archives/archive_texts.h"
#include "config/archiver_defs.h"
#include "platform/textf.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using testing::put16;
using testing::put32;
using testing::put64;
using testing::readBytes;
using testing::readHostFile;
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
        readBytes(ArchiveZip, readHostFile(tree_.host(c.archive)), c.archive, &result);
    EXPECT_EQ(read.sorted(), Expected) << c.command;
    EXPECT_TRUE(read.messages.empty()) << c.command << ": " << read.messages.front();
    EXPECT_EQ(result, ArchiveRead) << c.command;
  }
  if (testing::haveProgram("7zz")) {
    ASSERT_TRUE(runIn(tree_.root(), "7zz a -tzip s.zip a.txt empty.txt big.bin sub"));
    const testing::ReadRecord read = readBytes(ArchiveZip, readHostFile(tree_.host("s.zip")));
    EXPECT_EQ(read.sorted(), Expected);
    EXPECT_TRUE(read.messages.empty());
  }
}

TEST_F(ZipTree, CommentsStubsAndDamage) {
  REQUIRE_PROGRAM("zip");
  ASSERT_TRUE(runIn(tree_.root(), std::string("zip -q -r t.zip ") + Files));
  const std::string zip = readHostFile(tree_.host("t.zip"));
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
  ASSERT_TRUE(testing::writeHostFile(tree_.host("x.exe"), stub + zip));
  read = readBytes(ArchiveZip, readHostFile(tree_.host("x.exe")));
  EXPECT_EQ(read.sorted(), Expected);
  EXPECT_EQ(read.messages, std::vector<std::string>{textf(FormatZipExtraBytes, 700L)});
  ASSERT_TRUE(runIn(tree_.root(), "zip -q -A x.exe"));
  read = readBytes(ArchiveZip, readHostFile(tree_.host("x.exe")));
  EXPECT_EQ(read.sorted(), Expected);
  EXPECT_TRUE(read.messages.empty());

  // More entries declared than the central directory holds: the listed ones stay.
  std::string counted = zip;
  const std::size_t end = zip.size() - 22;
  counted[end + 10] = static_cast<char>(counted[end + 10] + 5);
  int result = 0;
  read = readBytes(ArchiveZip, counted, "x", &result);
  EXPECT_EQ(read.sorted(), Expected);
  EXPECT_EQ(read.messages, std::vector<std::string>{textf(FormatZipNoHeaderSignature, 8u)});
  EXPECT_EQ(result, ArchiveBadHeader);

  // Cut short: the end record is gone.
  read = readBytes(ArchiveZip, zip.substr(0, zip.size() - 30), "x", &result);
  EXPECT_TRUE(read.members.empty());
  EXPECT_EQ(read.messages, std::vector<std::string>{std::string(TextZipNoEndRecord)});

  // The central directory cut short inside a header, its end record kept.
  const std::uint32_t directory =
      static_cast<unsigned char>(zip[end + 16]) | static_cast<unsigned char>(zip[end + 17]) << 8;
  std::string truncated = zip.substr(0, directory + 60) + zip.substr(end);
  read = readBytes(ArchiveZip, truncated, "x", &result);
  EXPECT_EQ(read.messages.front(),
            textf(FormatZipMissingBytes, static_cast<long>(end - directory - 60)));
  EXPECT_NE(result, ArchiveRead);
}

// A central directory written by hand: one header per name with the given uncompressed size
// (0xFFFFFFFF takes the zip64 block), then the end record.
std::string craftedZip(const std::vector<std::pair<std::string, std::uint64_t>>& members,
                       std::string_view prefix = "", std::uint32_t thisDisk = 0) {
  std::string directory;
  for (const auto& [name, size] : members) {
    const bool big = size >= 0xFFFFFFFFu;
    put32(directory, 0x02014B50);
    put16(directory, 0x031E);  // made on Unix
    put16(directory, 20);
    put16(directory, 0);
    put16(directory, 0);
    put16(directory, testing::TestDosTime);
    put16(directory, testing::TestDosDate);
    put32(directory, 0);
    put32(directory, 0);
    put32(directory, big ? 0xFFFFFFFFu : static_cast<std::uint32_t>(size));
    put16(directory, static_cast<unsigned>(name.size()));
    put16(directory, big ? 12 : 0);
    put16(directory, 0);
    put16(directory, 0);
    put16(directory, 0);
    put32(directory, 0x81A40000u);
    put32(directory, 0);
    directory += name;
    if (big) {
      put16(directory, 0x0001);
      put16(directory, 8);
      put64(directory, size);
    }
  }
  std::string out(prefix);
  const auto offset = static_cast<std::uint32_t>(out.size());
  out += directory;
  put32(out, 0x06054B50);
  put16(out, thisDisk);
  put16(out, 0);
  put16(out, static_cast<unsigned>(members.size()));
  put16(out, static_cast<unsigned>(members.size()));
  put32(out, static_cast<std::uint32_t>(directory.size()));
  put32(out, offset);
  put16(out, 0);
  return out;
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
  read = readBytes(ArchiveZip, craftedZip({{"a", 1}}, "", 1));
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
