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

class ArjTree : public ::testing::Test {
 protected:
  ArjTree() {
    tree_.writeFile("a.txt", "hello world\n");
    tree_.writeFile("empty.txt", "");
    std::string big(100000, 'b');
    for (std::size_t i = 0; i < big.size(); i += 3) big[i] = static_cast<char>(i * 131 + i / 7);
    tree_.writeFile("big.bin", big);
    tree_.makeDir("sub");
    tree_.writeFile("sub/b.txt", "bee\n");
    tree_.writeFile("sub/a.txt", "same name\n");
    for (const char* path : {"a.txt", "empty.txt", "big.bin", "sub/b.txt", "sub/a.txt", "sub"})
      tree_.setLocalMtime(path, 2021, 3, 14, 15, 26, 58);
  }

  testing::ReadRecord read(const std::string& archive, int* result = nullptr) {
    return readBytes(ArchiveArj, tree_.readFile(archive), archive, result);
  }

  // The offset of the n-th header frame (0 the main header).
  static std::size_t frameOffset(const std::string& bytes, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
      const std::size_t basic = static_cast<unsigned char>(bytes[at + 2]) |
                                static_cast<unsigned char>(bytes[at + 3]) << 8;
      std::size_t next = at + 4 + basic + 4;
      next += 2;  // no extended headers in these archives
      if (i > 0) {
        const std::size_t basicAt = at + 4;
        std::uint32_t packed = 0;
        for (int b = 3; b >= 0; --b)
          packed = packed << 8 | static_cast<unsigned char>(bytes[basicAt + 12 + b]);
        next += packed;
      }
      at = next;
    }
    return at;
  }

  testing::TempTree tree_;
};

// Full stored paths: a.txt and sub/a.txt stay two entries.
const std::string Expected = std::string("a.txt 12") + When + "\nbig.bin 100000" + When +
                             "\nempty.txt 0" + When + "\nsub/ 0" + When + "\nsub/a.txt 10" + When +
                             "\nsub/b.txt 4" + When + "\n";

TEST_F(ArjTree, UnixAndDosHostsWithDirectoriesAndComments) {
  REQUIRE_PROGRAM("arj");
  testing::TempTree elsewhere;
  ASSERT_TRUE(elsewhere.writeFile("comment.txt", "archive comment\nsecond line\n"));
  const std::string comment = elsewhere.host("comment.txt");
  // The archives go elsewhere, so that "*" does not take them in.
  const std::string out = elsewhere.host("");
  const std::string u = "arj a -r -a1 -y " + out + "/u.arj '*'";
  const std::string d = "arj a -r -a1 -y -2d " + out + "/d.arj '*'";
  const std::string c = "arj a -r -a1 -y -z" + comment + " " + out + "/c.arj '*' && arj c " + out +
                        "/c.arj a.txt -jz" + comment + " -y";
  for (const std::string& command : {u, d, c}) {
    ASSERT_TRUE(runIn(tree_.root(), command)) << command;
    const std::string name = command.substr(command.find(".arj") - 1, 5);
    int result = -1;
    const testing::ReadRecord got =
        readBytes(ArchiveArj, elsewhere.readFile(name), name, &result);
    EXPECT_EQ(got.sorted(), Expected) << command;
    EXPECT_TRUE(got.messages.empty()) << command;
    EXPECT_EQ(result, ArchiveRead) << command;
  }
}

TEST_F(ArjTree, EachVolumeListsItsPiece) {
  REQUIRE_PROGRAM("arj");
  ASSERT_TRUE(runIn(tree_.root(), "arj a -y -m0 -v40k v.arj big.bin"));
  std::uint64_t total = 0;
  for (const char* volume : {"v.arj", "v.a01", "v.a02"}) {
    const testing::ReadRecord got = read(volume);
    ASSERT_EQ(got.raw.size(), 1u) << volume;
    EXPECT_EQ(got.raw[0].storedPath, "big.bin");
    EXPECT_TRUE(got.messages.empty()) << volume;
    total += got.raw[0].size;
  }
  EXPECT_EQ(total, 100000u);
}

TEST_F(ArjTree, DamagedHeadersKeepTheEntriesBefore) {
  REQUIRE_PROGRAM("arj");
  ASSERT_TRUE(runIn(tree_.root(), "arj a -y t.arj a.txt empty.txt sub/b.txt"));
  const std::string arj = tree_.readFile("t.arj");
  const std::size_t third = frameOffset(arj, 3);
  const std::string errors = textf(FormatArjErrors, "t.arj ", 1);

  std::string flipped = arj;
  flipped[third + 4 + 20] = static_cast<char>(flipped[third + 4 + 20] ^ 0x40);
  std::string oversized = arj;
  oversized[third + 2] = static_cast<char>(3000 & 0xFF);
  oversized[third + 3] = static_cast<char>(3000 >> 8);
  struct Case {
    const char* damage;
    std::string bytes;
    std::string_view message;
  };
  const Case cases[] = {
      {"third header's CRC", flipped, TextArjHeaderCrc},
      {"third header oversized", oversized, TextArjBadHeader},
      {"cut inside the third header", arj.substr(0, third + 30), TextArjEndOfFile},
  };
  for (const Case& c : cases) {
    int result = 0;
    const testing::ReadRecord damaged = readBytes(ArchiveArj, c.bytes, "t.arj", &result);
    EXPECT_EQ(damaged.joined(), std::string("a.txt 12") + When + "\nempty.txt 0" + When + "\n")
        << c.damage;
    EXPECT_EQ(damaged.messages, (std::vector<std::string>{std::string(c.message), errors}))
        << c.damage;
    EXPECT_EQ(result, ArchiveBadHeader) << c.damage;
  }

  testing::ReadRecord got = readBytes(ArchiveArj, "MZ" + arj, "t.arj");
  EXPECT_EQ(got.messages, std::vector<std::string>{textf(FormatArjNotArchive, "t.arj")});
  // The same bytes as a self-extractor: the main header is searched for.
  got = readBytes(ArchiveArj, std::string(5000, 'M') + arj, "SETUP.EXE");
  EXPECT_EQ(got.members.size(), 3u);
  EXPECT_TRUE(got.messages.empty());
}

}  // namespace
}  // namespace corvane
