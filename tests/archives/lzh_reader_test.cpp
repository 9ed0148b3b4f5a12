#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "archive_fixtures.h"
#include "archives/archive_texts.h"
#include "config/archiver_defs.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using testing::lzhArchive;
using testing::LzhMember;
using testing::readBytes;

std::vector<LzhMember> sampleTree(int level) {
  return {{level, "sub", "", "", true},
          {level, "", "a.txt", "hello world\n"},
          {level, "", "empty.txt", ""},
          {level, "sub/deeper", "c.txt", "deep\n"}};
}

// The files another reader (lhasa) unpacks from the archive: "path size" per line, sorted.
std::string unpackedByLhasa(const std::string& archive) {
  testing::TempTree tree;
  if (!tree.writeFile("t.lzh", archive)) return "write failed";
  if (!testing::runIn(tree.host(""), "mkdir out && cd out && lhasa xq ../t.lzh"))
    return "lhasa failed";
  std::vector<std::string> lines;
  const std::filesystem::path root = tree.host("out");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string path = std::filesystem::relative(entry.path(), root).string();
    lines.push_back(entry.is_directory() ? path + "/"
                                         : path + " " + std::to_string(entry.file_size()));
  }
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

// Our listing in the same form.
std::string listedLikeLhasa(const testing::ReadRecord& read) {
  std::vector<std::string> lines;
  for (const ArchiveMember& m : read.raw)
    lines.push_back(m.directory ? m.storedPath + "/" : m.storedPath + " " + std::to_string(m.size));
  // Directories that only members imply are made by the unpacker too.
  lines.push_back("sub/deeper/");
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

TEST(LzhReader, LevelsZeroToTwo) {
  for (int level = 0; level <= 2; ++level) {
    for (bool headerCrc : {false, true}) {
      if (level == 0 && headerCrc) continue;
      std::vector<LzhMember> members = sampleTree(level);
      for (LzhMember& m : members) m.headerCrc = headerCrc;
      const std::string archive = lzhArchive(members);
      const testing::ReadRecord read = readBytes(ArchiveLzh, archive);
      EXPECT_EQ(read.joined(),
                "sub/ 0 2021-03-14 15:26:58\n"
                "a.txt 12 2021-03-14 15:26:58\n"
                "empty.txt 0 2021-03-14 15:26:58\n"
                "sub/deeper/c.txt 5 2021-03-14 15:26:58\n")
          << "level " << level;
      EXPECT_TRUE(read.messages.empty()) << "level " << level;
      if (testing::haveProgram("lhasa")) {
        EXPECT_EQ(unpackedByLhasa(archive), listedLikeLhasa(read)) << "level " << level;
      }
    }
  }
}

TEST(LzhReader, LevelTwoPaddingByte) {
  // 26 + 5 (header CRC) + (3 + 222) = 256: the low byte of the length would be 0, so one
  // byte pads it (and the header CRC covers it).
  const std::string name(222, 'n');
  LzhMember member{2, "", name, "x"};
  member.headerCrc = true;
  const std::string archive = lzhArchive({member, {2, "", "after.txt", "y"}});
  EXPECT_EQ(static_cast<unsigned char>(archive[0]) | static_cast<unsigned char>(archive[1]) << 8,
            257u);
  const testing::ReadRecord read = readBytes(ArchiveLzh, archive);
  ASSERT_EQ(read.members.size(), 2u);
  EXPECT_EQ(read.raw[0].storedPath, name);
  EXPECT_EQ(read.raw[1].storedPath, "after.txt");
  if (testing::haveProgram("lhasa")) {
    testing::TempTree tree;
    ASSERT_TRUE(tree.writeFile("p.lzh", archive));
    EXPECT_TRUE(testing::runIn(tree.host(""), "lhasa t p.lzh"));
  }
}

// Damaged headers end the listing with "Unknown header (LHarc file ?)"; the members before
// stay, and every header moves the reader forward (no loop on a size of 0).
TEST(LzhReader, DamagedHeaders) {
  const std::string first = testing::lzhMember({1, "", "a.txt", "hello world\n"});
  const std::string second = testing::lzhMember({1, "", "b.txt", "bee\n"});
  const std::string good = first + second + '\0';
  const std::size_t at = first.size();
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string badSum = good;
  badSum[at + 1] = static_cast<char>(badSum[at + 1] + 1);
  std::string badLevel = good;
  badLevel[at + 20] = 5;
  std::string zeroSize = good;  // a level 3 header of total length 0
  zeroSize[at] = 4;
  zeroSize[at + 1] = 0;
  zeroSize[at + 20] = 3;
  zeroSize.replace(at + 24, 4, std::string(4, '\0'));
  std::string badCrc = first + testing::lzhMember({2, "", "b.txt", "bee\n", false, true}) + '\0';
  badCrc[at + 27] = static_cast<char>(badCrc[at + 27] ^ 1);
  std::string cut = good.substr(0, at + 10);
  const Case cases[] = {{"sum", badSum},
                        {"level", badLevel},
                        {"size 0", zeroSize},
                        {"header CRC", badCrc},
                        {"cut short", cut}};
  for (const Case& c : cases) {
    int result = 0;
    const testing::ReadRecord read = readBytes(ArchiveLzh, c.bytes, "x.lzh", &result);
    EXPECT_EQ(read.joined(), "a.txt 12 2021-03-14 15:26:58\n") << c.what;
    EXPECT_EQ(read.messages, std::vector<std::string>{std::string(TextLzhUnknownHeader)}) << c.what;
    EXPECT_EQ(result, ArchiveBadHeader) << c.what;
  }
}

TEST(LzhReader, SelfExtractorsAreSearchedInTheirFirstBytes) {
  for (int level = 0; level <= 2; ++level) {
    const std::string archive = lzhArchive({{level, "", "a.txt", "hello world\n"}});
    const std::string near = std::string(1500, 'M') + archive;
    EXPECT_EQ(readBytes(ArchiveLzh, near, "SETUP.EXE").members.size(), 1u) << level;
    // Beyond the searched bytes nothing is listed, and nothing is said.
    const testing::ReadRecord far =
        readBytes(ArchiveLzh, std::string(3000, 'M') + archive, "s.com");
    EXPECT_TRUE(far.members.empty() && far.messages.empty()) << level;
    // Under another name the stub is a header of an unknown kind.
    EXPECT_EQ(readBytes(ArchiveLzh, near, "setup.lzh").messages.size(), 1u) << level;
  }
}

}  // namespace
}  // namespace corvane
