#include "panels/drive_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display_fixture.h"
#include "platform/drive_info.h"
#include "platform/drives.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

class DriveWindowsTest : public testing::DisplayTest {
 protected:
  DriveWindowsTest() {
    EXPECT_TRUE(tree_.makeDir("abcdefghij"));
    EXPECT_TRUE(tree_.makeDir("abcdefghij/klmnopqrst"));
    EXPECT_TRUE(tree_.makeDir("abcdefghij/klmnopqrst/uvwxyz"));
    initDriveMap(("T=" + tree_.root() + ";M=" + tree_.root() + "/missing").c_str());
    EXPECT_TRUE(changeDirectory("T:\\"));
  }
  ~DriveWindowsTest() override { initDriveMap(nullptr); }

  testing::TempTree tree_;
};

TEST_F(DriveWindowsTest, InformationLinesForReadyAndMissingDrives) {
  EXPECT_EQ(existingDriveLetters(), "CMT");
  EXPECT_EQ(driveInformationLine('M'), "[M:],'    NOTREADY',F:         0,T:         0,[]\n");

  DriveInfo info;
  ASSERT_TRUE(getDriveInfo('T' - 'A' + 1, info));
  char label[16];
  std::snprintf(label, sizeof label, "%12s", info.volumeLabel.c_str());
  char sizes[64];
  std::snprintf(sizes, sizeof sizes, ",F:%10s,T:%10s,", formatSize(info.freeBytes()).c_str(),
                formatSize(info.totalBytes()).c_str());
  EXPECT_EQ(driveInformationLine('t'), std::string("[T:],'") + label + "'" + sizes + "[T:\\]\n");

  // A current directory longer than 23 cells: "~" and its last 22.
  ASSERT_TRUE(changeDirectory("T:\\abcdefghij\\klmnopqrst\\uvwxyz"));
  const std::string line = driveInformationLine('T');
  // "T:\abcdefghij\klmnopqrst\uvwxyz" is 31 cells.
  EXPECT_EQ(line.substr(line.rfind('[')), "[~ghij\\klmnopqrst\\uvwxyz]\n");
}

TEST_F(DriveWindowsTest, LinesLeaveTheCurrentDirectoryAsItWas) {
  ASSERT_TRUE(changeDirectory("T:\\abcdefghij"));
  const std::vector<std::string> lines = driveInformationLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(0, 6), "[C:],'");
  EXPECT_EQ(lines[1].substr(0, 6), "[M:],'");
  EXPECT_EQ(lines[2].substr(0, 6), "[T:],'");
  EXPECT_EQ(currentDirectory(), "T:\\abcdefghij");
}

TEST_F(DriveWindowsTest, WindowShowsTheLinesAndWaitsForAKey) {
  std::vector<std::string> rows;
  console_.onInputExhausted = [&](HeadlessConsole& c) {
    for (int row = 0; row < 25; ++row) rows.push_back(imageRow(row));
    c.pushKey('x');
  };
  console_.pushModifier(ModifierKey::Shift);  // not a key that ends it
  driveInformation();
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_NE(rows[1].find(" Drive Information "), std::string::npos);
  EXPECT_NE(rows[3].find("[M:],'    NOTREADY'"), std::string::npos);
  EXPECT_NE(rows[6].find("Press any key !"), std::string::npos);  // after a blank line
  EXPECT_EQ(imageRow(3), std::string(80, ' '));
}

TEST_F(DriveWindowsTest, SelectDriveTakesOnlyLettersOfDrives) {
  ASSERT_TRUE(changeDirectory("T:\\abcdefghij"));
  ASSERT_TRUE(setCurrentDrive('C'));
  // Digits, function keys, a letter without a drive: ignored; "t" changes to T:.
  console_.pushKeys({'1', '9', key::F5, key::Up, 'q', 't'});
  EXPECT_EQ(selectDrive(), 'T');
  EXPECT_EQ(currentDirectory(), "T:\\abcdefghij");
  EXPECT_TRUE(console_.input.empty());

  console_.pushKeys({'5', key::Escape});
  ASSERT_TRUE(setCurrentDrive('C'));
  EXPECT_EQ(selectDrive(), 0);
  EXPECT_EQ(currentDrive(), 'C');
}

TEST_F(DriveWindowsTest, SelectDriveShowsClickableLetters) {
  std::string bar;
  console_.onInputExhausted = [&](HeadlessConsole& c) {
    bar = imageText(13, 4, 53);
    c.pushClick(13 + 5, 4);  // the third letter, at bar column 6
  };
  EXPECT_EQ(selectDrive(13, 4), 'T');
  EXPECT_EQ(bar, " C M T" + std::string(47, ' '));
  EXPECT_EQ(currentDrive(), 'T');
}

}  // namespace
}  // namespace corvane
