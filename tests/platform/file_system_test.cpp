#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/find.h"
#include "platform/host_directories.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using FileSystemTest = testing::TempDriveTest;

TEST_F(FileSystemTest, RenameNeverReplacesAnExistingTarget) {
  tree_.writeFile("from", "new");
  tree_.writeFile("to", "precious");
  tree_.makeDir("dir");
  EXPECT_FALSE(renameFile("T:\\from", "T:\\to"));
  EXPECT_EQ(tree_.readFile("to"), "precious");
  EXPECT_EQ(tree_.readFile("from"), "new");
  EXPECT_FALSE(renameFile("T:\\from", "T:\\dir"));
  EXPECT_FALSE(renameFile("T:\\dir", "T:\\to"));
  EXPECT_FALSE(renameFile("T:\\from", "T:\\from"));

  EXPECT_TRUE(renameFile("T:\\from", "T:\\dir\\moved"));
  EXPECT_EQ(tree_.readFile("dir/moved"), "new");
  EXPECT_TRUE(renameFile("T:\\dir\\moved", "T:\\dir\\MOVED"));  // another name here
  EXPECT_TRUE(tree_.exists("dir/MOVED"));
  FileResult missing = renameFile("T:\\nothing", "T:\\else");
  EXPECT_FALSE(missing);
  EXPECT_FALSE(missing.accessDenied());
  EXPECT_EQ(fileErrorText(missing), "No such file or directory");
  // Each call keeps its own reason: a later failure does not change an earlier one.
  FileResult exists = renameFile("T:\\dir\\MOVED", "T:\\to");
  EXPECT_EQ(exists.error, EEXIST);
  EXPECT_EQ(fileErrorText(missing), "No such file or directory");
}

// An installed program's directory never gets a setup file of its own accord: only a
// portable folder that holds one already (a regular file) keeps it.
TEST_F(FileSystemTest, TheProgramsDirectoryKeepsTheSetupOnlyWhenItHoldsOne) {
  EXPECT_FALSE(programDirectoryKeepsSetup(tree_.root(), "corvane.SET"));
  tree_.makeDir("corvane.SET");
  EXPECT_FALSE(programDirectoryKeepsSetup(tree_.root(), "corvane.SET"));
  tree_.writeFile("cv.SET");
  EXPECT_TRUE(programDirectoryKeepsSetup(tree_.root(), "cv.SET"));
  EXPECT_TRUE(programDirectoryKeepsSetup(tree_.root() + "/", "cv.SET"));
  EXPECT_FALSE(programDirectoryKeepsSetup(tree_.host("missing"), "cv.SET"));
}

TEST_F(FileSystemTest, DirectoriesAreMadeAndRemovedOnlyWhenEmpty) {
  EXPECT_TRUE(makeDirectory("T:\\new"));
  EXPECT_TRUE(directoryExists("T:\\new"));
  EXPECT_FALSE(makeDirectory("T:\\new"));
  EXPECT_FALSE(makeDirectory("T:\\missing\\new"));
  tree_.writeFile("new/file");
  EXPECT_FALSE(removeDirectory("T:\\new"));
  EXPECT_FALSE(deleteFile("T:\\new"));  // a directory is not a file
  EXPECT_TRUE(deleteFile("T:\\new\\file"));
  EXPECT_FALSE(fileExists("T:\\new\\file"));
  EXPECT_TRUE(removeDirectory("T:\\new"));
  EXPECT_FALSE(fileExists("T:\\new"));
  EXPECT_FALSE(removeDirectory("T:\\"));
  EXPECT_TRUE(directoryExists("T:\\"));
}

TEST_F(FileSystemTest, ExistenceSizeAndOpeningFollowTheDriveMap) {
  tree_.writeFile("data", "12345");
  tree_.makeSymlink("dangling", "nowhere");
  EXPECT_TRUE(fileExists("T:\\data"));
  EXPECT_FALSE(directoryExists("T:\\data"));
  EXPECT_TRUE(fileExists("T:\\dangling"));
  EXPECT_EQ(fileSize("T:\\data"), 5);
  EXPECT_EQ(fileSize("T:\\"), 0);
  EXPECT_EQ(fileSize("T:\\dangling"), 0);
  EXPECT_EQ(fileSize("T:\\missing"), -1);
  EXPECT_FALSE(fileExists("Q:\\data"));
  EXPECT_FALSE(openFile("Q:\\data", "rb"));
  FileHandle out = openFile("T:\\written", "wb");
  ASSERT_TRUE(out);
  std::fputs("text", out.get());
  out.reset();
  EXPECT_EQ(tree_.readFile("written"), "text");
}

TEST_F(FileSystemTest, ReadOnlyIsTheOwnersWritePermission) {
  tree_.writeFile("file");
  ASSERT_TRUE(setAttributes("T:\\file", AttrReadOnly));
  struct stat st {};
  ASSERT_EQ(stat(tree_.host("file").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  EXPECT_EQ(getAttributes("T:\\file"), AttrReadOnly);
  ASSERT_TRUE(setAttributes("T:\\file", 0));
  EXPECT_EQ(getAttributes("T:\\file"), 0);
  ASSERT_TRUE(setAttributes("T:\\", AttrDirectory));  // the directory bit is never written
  EXPECT_EQ(getAttributes("T:\\"), AttrDirectory);
  EXPECT_EQ(getAttributes("T:\\missing"), -1);
  EXPECT_FALSE(setAttributes("T:\\missing", 0));
}

TEST_F(FileSystemTest, ReadOnlyEntriesAreNeitherWrittenNorDeletedUntilCleared) {
  tree_.writeFile("kept", "original");
  tree_.makeDir("fixed");
  tree_.makeSymlink("link", "kept");
  ASSERT_TRUE(setAttributes("T:\\kept", AttrReadOnly));
  ASSERT_TRUE(setAttributes("T:\\fixed", AttrDirectory | AttrReadOnly));
  for (const char* mode : {"wb", "ab", "r+b", "w"}) {
    FileHandle file;
    EXPECT_TRUE(openFile("T:\\kept", mode, file).accessDenied()) << mode;
    EXPECT_FALSE(file) << mode;
  }
  EXPECT_FALSE(openFile("T:\\link", "wb"));  // through a link too
  EXPECT_TRUE(openFile("T:\\kept", "rb"));
  EXPECT_TRUE(deleteFile("T:\\kept").accessDenied());
  EXPECT_TRUE(removeDirectory("T:\\fixed").accessDenied());
  EXPECT_EQ(tree_.readFile("kept"), "original");
  EXPECT_TRUE(tree_.exists("fixed"));

  EXPECT_TRUE(deleteFile("T:\\link"));  // the link is not read-only, its target is
  EXPECT_EQ(tree_.readFile("kept"), "original");
  ASSERT_TRUE(setAttributes("T:\\kept", 0));
  ASSERT_TRUE(setAttributes("T:\\fixed", AttrDirectory));
  EXPECT_TRUE(deleteFile("T:\\kept"));
  EXPECT_TRUE(removeDirectory("T:\\fixed"));
}

TEST_F(FileSystemTest, UserAttributesRoundTripWhereTheFileSystemKeepsThem) {
  tree_.writeFile("file");
  tree_.writeFile(".dotted");
  tree_.makeDir("dir");
  if (!setAttributes("T:\\file", AttrArchive)) GTEST_SKIP() << "no user extended attributes here";
  EXPECT_EQ(getAttributes("T:\\file"), AttrArchive);
  struct Case {
    const char* path;
    int set;
    int expected;
  };
  constexpr Case cases[] = {
      {"T:\\file", AttrHidden | AttrSystem | AttrReadOnly, AttrHidden | AttrSystem | AttrReadOnly},
      {"T:\\file", AttrArchive | AttrReadOnly,
       AttrArchive | AttrReadOnly},  // changed while read-only
      {"T:\\file", AttrArchive, AttrArchive},
      {"T:\\file", 0, 0},
      {"T:\\dir", AttrDirectory | AttrHidden, AttrDirectory | AttrHidden},
      {"T:\\.dotted", AttrHidden | AttrArchive, AttrHidden | AttrArchive},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(setAttributes(c.path, c.set)) << c.path << " " << c.set;
    EXPECT_EQ(getAttributes(c.path), c.expected) << c.path << " " << c.set;
  }
  // A name beginning with "." stays hidden: the change is refused, the rest kept.
  EXPECT_FALSE(setAttributes("T:\\.dotted", AttrSystem));
  EXPECT_EQ(getAttributes("T:\\.dotted"), AttrHidden | AttrSystem);
}

TEST_F(FileSystemTest, FileTimesRoundTripAsDosWords) {
  tree_.writeFile("file");
  constexpr std::uint16_t date = (2023 - 1980) << 9 | 11 << 5 | 30;
  constexpr std::uint16_t time = 23 << 11 | 59 << 5 | 29;  // 23:59:58
  ASSERT_TRUE(setFileTime("T:\\file", date, time));
  std::uint16_t readDate = 0, readTime = 0;
  ASSERT_TRUE(getFileTime("T:\\file", readDate, readTime));
  EXPECT_EQ(readDate, date);
  EXPECT_EQ(readTime, time);

  struct Bad {
    std::uint16_t date, time;
  };
  constexpr Bad refused[] = {
      {(2023 - 1980) << 9 | 2 << 5 | 30, 0},        // 30 February
      {(2023 - 1980) << 9 | 13 << 5 | 1, 0},        // month 13
      {(2023 - 1980) << 9 | 1 << 5 | 0, 0},         // day 0
      {(2023 - 1980) << 9 | 1 << 5 | 1, 24 << 11},  // 24 o'clock
      {(2023 - 1980) << 9 | 1 << 5 | 1, 60 << 5},   // minute 60
  };
  for (const Bad& b : refused) {
    EXPECT_FALSE(setFileTime("T:\\file", b.date, b.time)) << b.date << " " << b.time;
  }
  ASSERT_TRUE(getFileTime("T:\\file", readDate, readTime));
  EXPECT_EQ(readDate, date);
  EXPECT_FALSE(getFileTime("T:\\missing", readDate, readTime));
}

}  // namespace
}  // namespace corvane
