#include "platform/drive_info.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/drives.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

TEST(VolumeLabelTextTest, CutsAtElevenCharactersNeverInsideOne) {
  struct Case {
    const char* name;
    const char* text;
  };
  constexpr Case cases[] = {
      {"data", "DATA"},
      {"abcdefghijkl", "ABCDEFGHIJK"},
      {"abcdefghij\xC3\xA9z", "ABCDEFGHIJ\xC3\xA9"},  // a two-byte eleventh character
      {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC",
       "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},  // 12 bytes, 4 characters
      {"my.disk", "MY.DISK"},                                // only a directory name loses its dot
  };
  for (const Case& c : cases) EXPECT_EQ(volumeLabelText(c.name), c.text) << c.name;
  EXPECT_EQ(volumeLabelOf("/mnt/my.disk"), "MYDISK");
}

TEST(FormatSizeTest, GroupsDigitsAndShortensToUnits) {
  struct Case {
    std::uint64_t bytes;
    const char* text;
  };
  constexpr Case cases[] = {
      {0, "0"},
      {999, "999"},
      {1023, "1.023"},
      {1024, "1.024"},
      {524288, "524.288"},
      {999999, "999.999"},
      {1000000, "1.000.0 kB"},
      {1023999, "1.023.9 kB"},
      {1024000, "1.0 MB"},
      {5000000, "5.0 MB"},
      {99999999, "99.9 MB"},
      {1023999999, "1.023.9 MB"},
      {1024000000, "1.0 GB"},
      {2147483648ull, "2.1 GB"},
      {1000000000000ull, "1.000.0 GB"},
      {1024000000000ull, "1.0 TB"},
      {1000000000000000ull, "1.000.0 TB"},
      {1024000000000000ull, "1.0 PB"},
      {18446744073709551615ull, "18.4 EB"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatSize(c.bytes), c.text) << c.bytes;
}

TEST(FormatSizeTest, TheNumberNeverExceedsEightCharacters) {
  for (std::uint64_t bytes = 1; bytes != 0 && bytes <= UINT64_MAX / 3; bytes = bytes * 3 + 1) {
    for (std::uint64_t value : {bytes, bytes * 2, bytes * 3 - 1}) {
      std::string text = formatSize(value);
      std::size_t blank = text.find(' ');
      std::size_t number = blank == std::string::npos ? text.size() : blank;
      EXPECT_LE(number, 8u) << value << " gives " << text;
      EXPECT_NE(text[0], '0') << value;
      EXPECT_NE(text[number - 1], '.') << value;
    }
  }
}

using DriveInfoTest = testing::TempDriveTest;

TEST_F(DriveInfoTest, AMappedReadableDriveHasSpaceLabelAndLongNames) {
  tree_.makeDir("data.001");
  tree_.makeDir("a-very-long-directory-name");
  initDriveMap(
      ("D=" + tree_.host("data.001") + ";L=" + tree_.host("a-very-long-directory-name") + "/")
          .c_str());
  DriveInfo info;
  ASSERT_TRUE(getDriveInfo('D' - 'A' + 1, info));
  EXPECT_EQ(info.volumeLabel, "DATA001");
  EXPECT_EQ(info.fileSystemType, 6);
  EXPECT_GT(info.totalBytes(), 0u);
  EXPECT_LE(info.freeBytes(), info.totalBytes());
  EXPECT_GT(info.bytesPerSector, 0u);
  ASSERT_TRUE(getDriveInfo('L' - 'A' + 1, info));
  EXPECT_EQ(info.volumeLabel, "A-VERY-LONG");
  ASSERT_TRUE(getDriveInfo(3, info));
  EXPECT_EQ(info.volumeLabel, "ROOT");
}

TEST_F(DriveInfoTest, ADriveWhoseDirectoryIsMissingIsNotReady) {
  initDriveMap(("T=" + tree_.root() + ";M=" + tree_.host("missing")).c_str());
  constexpr int m = 'M' - 'A' + 1, t = 'T' - 'A' + 1;
  DriveInfo info;
  info.totalClusters = 99;
  EXPECT_FALSE(getDriveInfo(m, info));
  EXPECT_EQ(info.volumeLabel, "NOTREADY");
  EXPECT_EQ(info.totalClusters, 0u);
  EXPECT_EQ(info.availableClusters, 0u);
  EXPECT_EQ(info.totalBytes(), 0u);
  EXPECT_TRUE(driveExists(m));
  for (int number : {0, 1, 4, 27}) EXPECT_FALSE(driveExists(number)) << number;

  ASSERT_TRUE(setCurrentDrive('C'));
  EXPECT_NE(driveReady(m), 0);
  EXPECT_EQ(currentDrive(), 'C');  // a drive that is not ready leaves the current one
  EXPECT_EQ(driveReady(t), 0);
  EXPECT_EQ(currentDrive(), 'T');  // a ready drive becomes current
}

}  // namespace
}  // namespace corvane
