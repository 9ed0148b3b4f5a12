#include "platform/drives.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "platform/file_system.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

class DriveMapTest : public ::testing::Test {
 protected:
  ~DriveMapTest() override { initDriveMap(nullptr); }
};

TEST_F(DriveMapTest, EntriesAddOrReplaceLettersAndLaterOnesWin) {
  initDriveMap("D=/home/ann; t=/tmp/t/ ;D=/srv//data/.;C=/opt");
  EXPECT_EQ(driveHostRoot('C'), "/opt");
  EXPECT_EQ(driveHostRoot('d'), "/srv/data");
  EXPECT_EQ(driveHostRoot('T'), "/tmp/t");
  EXPECT_FALSE(driveMapped('E'));
  EXPECT_EQ(driveHostRoot('E'), "");
}

TEST_F(DriveMapTest, MalformedEntriesAreIgnored) {
  initDriveMap(";=/x;1=/one;DD=/dd;E;F=/f");
  EXPECT_EQ(driveHostRoot('C'), "/");
  EXPECT_EQ(driveHostRoot('F'), "/f");
  EXPECT_FALSE(driveMapped('D'));
  EXPECT_FALSE(driveMapped('E'));
  EXPECT_FALSE(driveMapped('1'));
}

TEST_F(DriveMapTest, UnmappingCLeavesTheFirstMappedDriveCurrentAndNeverNoDrive) {
  initDriveMap("C=;M=/srv;K=/k");
  EXPECT_FALSE(driveMapped('C'));
  EXPECT_EQ(currentDrive(), 'K');
  initDriveMap("C=");
  EXPECT_EQ(driveHostRoot('C'), "/");
  EXPECT_EQ(currentDrive(), 'C');
}

TEST_F(DriveMapTest, HostPathsMapToTheDriveWithTheLongestRoot) {
  initDriveMap("T=/tmp/t;U=/tmp/t/u");
  EXPECT_EQ(toProgramPath("/tmp/t/u/x"), "U:\\x");
  EXPECT_EQ(toProgramPath("/tmp/t/a/b"), "T:\\a\\b");
  EXPECT_EQ(toProgramPath("/tmp/t"), "T:\\");
  EXPECT_EQ(toProgramPath("/tmp/tx"), "C:\\tmp\\tx");  // whole components only
  EXPECT_EQ(toProgramPath("/tmp/t/../t/./a//b/"), "T:\\a\\b");
  EXPECT_EQ(toProgramPath("relative/path"), "");
  EXPECT_EQ(toHostPath("U:\\x\\y"), "/tmp/t/u/x/y");
  EXPECT_EQ(toHostPath("U:\\"), "/tmp/t/u");
  EXPECT_EQ(toHostPath("C:\\etc"), "/etc");
  EXPECT_EQ(toHostPath("Q:\\x"), "");
}

TEST_F(DriveMapTest, HostNamesWithBackslashesSurviveTheRoundTrip) {
  initDriveMap("T=/tmp/t");
  std::string program = toProgramPath("/tmp/t/dir/a\\b");
  EXPECT_EQ(program,
            "T:\\dir\\a\xEF\x81\x9C"
            "b");
  EXPECT_EQ(toHostPath(program), "/tmp/t/dir/a\\b");
  EXPECT_EQ(programNameOfHostName("plain"), "plain");
}

TEST_F(DriveMapTest, TheProcessDirectoryBecomesCurrentWhenADriveHoldsIt) {
  testing::TempTree tree;
  tree.makeDir("sub");
  char saved[PATH_MAX];
  ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
  ASSERT_EQ(chdir(tree.host("sub").c_str()), 0);
  initDriveMap(("T=" + tree.root()).c_str());
  EXPECT_EQ(chdir(saved), 0);
  EXPECT_EQ(currentDrive(), 'T');
  EXPECT_EQ(currentDirectory(), "T:\\sub");
  EXPECT_EQ(currentDirectory('C'), "C:\\");  // the directory is T:'s, not C:'s
}

using ChangeDirectoryTest = testing::TempDriveTest;

TEST_F(ChangeDirectoryTest, OnlyExistingDirectoriesBecomeCurrent) {
  tree_.makeDir("dir");
  tree_.writeFile("file");
  ASSERT_TRUE(changeDirectory("T:\\dir"));
  EXPECT_EQ(currentDirectory('T'), "T:\\dir");
  for (const char* bad : {"T:\\missing", "T:\\file", "Q:\\", ""}) {
    EXPECT_FALSE(changeDirectory(bad)) << bad;
    EXPECT_EQ(currentDrive(), 'T') << bad;
    EXPECT_EQ(currentDirectory(), "T:\\dir") << bad;
  }
  EXPECT_TRUE(changeDirectory(".."));
  EXPECT_EQ(currentDirectory(), "T:\\");
}

TEST_F(ChangeDirectoryTest, AccessibleDrivesAreTheReadableOnes) {
  EXPECT_TRUE(driveAccessible('T'));
  EXPECT_FALSE(driveAccessible('Q'));
  initDriveMap(("T=" + tree_.host("missing")).c_str());
  EXPECT_TRUE(driveMapped('T'));
  EXPECT_FALSE(driveAccessible('T'));
}

}  // namespace
}  // namespace corvane
