#include <gtest/gtest.h>

#include "archive_fixtures.h"
#include "archives/archive_texts.h"
#include "config/archiver_defs.h"

namespace corvane {
namespace {

using testing::readBytes;
using testing::zooArchive;
using testing::ZooMember;

// One stored member a.txt holding "hello world\n", as zoo 2.10 wrote it.
constexpr unsigned char Golden[] = {
    0x5a, 0x4f, 0x4f, 0x20, 0x32, 0x2e, 0x31, 0x30, 0x20, 0x41, 0x72, 0x63, 0x68, 0x69, 0x76, 0x65,
    0x2e, 0x1a, 0x00, 0x00, 0xdc, 0xa7, 0xc4, 0xfd, 0x2a, 0x00, 0x00, 0x00, 0xd6, 0xff, 0xff, 0xff,
    0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0xdc, 0xa7, 0xc4, 0xfd, 0x02, 0x00,
    0x7d, 0x00, 0x00, 0x00, 0x71, 0x00, 0x00, 0x00, 0x6e, 0x52, 0x5d, 0x7b, 0x78, 0x97, 0x0c, 0x00,
    0x00, 0x00, 0x0c, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x61, 0x2e, 0x74, 0x78, 0x74, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x00,
    0xb0, 0x1a, 0x00, 0x00, 0x00, 0x00, 0xa4, 0x01, 0x40, 0x00, 0x00, 0x00, 0x40, 0x29, 0x23, 0x28,
    0x00, 0x68, 0x65, 0x6c, 0x6c, 0x6f, 0x20, 0x77, 0x6f, 0x72, 0x6c, 0x64, 0x0a, 0xdc, 0xa7, 0xc4,
    0xfd, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0xfc, 0x83};

std::string golden() { return {reinterpret_cast<const char*>(Golden), sizeof Golden}; }

std::string message(std::string_view severity, std::string_view text) {
  return std::string(TextZooPrefix) + std::string(severity) + std::string(text);
}

TEST(ZooReader, TheGeneratorWritesWhatZooWrites) {
  ASSERT_EQ(golden().size(), 181u);
  EXPECT_EQ(zooArchive({{"a.txt", "", "hello world\n"}}), golden());
  const testing::ReadRecord read = readBytes(ArchiveZoo, golden());
  EXPECT_EQ(read.joined(), "a.txt 12 2021-03-14 15:26:58\n");
  EXPECT_TRUE(read.messages.empty());
}

TEST(ZooReader, DeletedEntriesLongNamesAndDirectories) {
  const std::string archive = zooArchive({{"gone.txt", "", "old", true},
                                          {"LongFileName.text", "", "long"},
                                          {"c.txt", "sub/deeper", "deep"},
                                          {"b.txt", "", ""}});
  const testing::ReadRecord read = readBytes(ArchiveZoo, archive);
  EXPECT_EQ(read.joined(),
            "LongFileName.text 4 2021-03-14 15:26:58\n"
            "sub/deeper/c.txt 4 2021-03-14 15:26:58\n"
            "b.txt 0 2021-03-14 15:26:58\n");
  EXPECT_TRUE(read.messages.empty());
}

// Damaged archives: what is read before the damage stays, and the check's message says why.
TEST(ZooReader, DamageIsReportedAndEndsTheListing) {
  const std::string two = zooArchive({{"a.txt", "", "hello world\n"}, {"b.txt", "", "bee\n"}});
  const std::size_t second = 125;  // the second entry follows the first member's data

  struct Case {
    const char* what;
    std::size_t offset;
    std::string bytes;
    std::string members;
    std::string message;
  };
  std::string backwards(4, '\0');
  backwards[0] = 42;  // the second entry's next points at the first
  const Case cases[] = {
      {"header tag", 20, "XXXX", "", message(TextZooFatal, TextZooCorrupted)},
      {"start and minus disagree", 28, std::string("\xd5\xff\xff\xff", 4), "",
       message(TextZooFatal, TextZooHeaderCheck)},
      {"entry tag", second, "XXXX", "a.txt 12 2021-03-14 15:26:58\n",
       message(TextZooError, TextZooCorrupted) +
           message(TextZooError, "The rest of the archive (" + std::to_string(two.size() - second) +
                                     " bytes) cannot be processed.\n")},
      {"entry CRC", second + 20, "\x07", "a.txt 12 2021-03-14 15:26:58\n",
       message(TextZooError, TextZooEntryInvalid) +
           message(TextZooError, "The rest of the archive (" + std::to_string(two.size() - second) +
                                     " bytes) cannot be processed.\n")},
  };
  for (const Case& c : cases) {
    std::string bytes = two;
    bytes.replace(c.offset, c.bytes.size(), c.bytes);
    int result = 0;
    const testing::ReadRecord read = readBytes(ArchiveZoo, bytes, "x", &result);
    EXPECT_EQ(read.joined(), c.members) << c.what;
    ASSERT_EQ(read.messages.size(), 1u) << c.what;
    EXPECT_EQ(read.messages[0], c.message) << c.what;
    EXPECT_EQ(result, ArchiveBadHeader) << c.what;
  }

  // A chain pointing back (its entry CRC made to fit) ends instead of going round.
  std::string looped = two;
  looped.replace(second + 6, 4, backwards);
  const std::uint16_t crc = testing::crc16Of(looped.substr(second, 54) + std::string(2, '\0') +
                                             looped.substr(second + 56, 10));
  looped[second + 54] = static_cast<char>(crc & 0xFF);
  looped[second + 55] = static_cast<char>(crc >> 8);
  const testing::ReadRecord read = readBytes(ArchiveZoo, looped);
  EXPECT_EQ(read.members.size(), 2u);
  ASSERT_EQ(read.messages.size(), 1u);
  EXPECT_TRUE(read.messages[0].starts_with(message(TextZooError, TextZooCorrupted)));
}

TEST(ZooReader, ANewerVersionIsAWarningOnly) {
  std::string bytes = golden();
  bytes[32] = 3;
  const testing::ReadRecord read = readBytes(ArchiveZoo, bytes);
  EXPECT_EQ(read.members.size(), 1u);
  ASSERT_EQ(read.messages.size(), 1u);
  EXPECT_EQ(
      read.messages[0],
      message(TextZooWarning, "Zoo 3.0 or later is needed to fully manipulate this archive.\n"));
}

}  // namespace
}  // namespace corvane
