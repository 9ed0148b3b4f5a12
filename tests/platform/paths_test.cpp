#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/drives.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

struct PathCase {
  const char* path;
  const char* expected;
};

TEST(PathTextTest, ParentPathStopsAtTheRoot) {
  constexpr PathCase cases[] = {
      {"C:\\a\\b", "C:\\a"}, {"C:\\a", "C:\\"}, {"C:\\", "C:\\"}, {"C:\\a\\b\\", "C:\\a"},
      {"C:", "C:"},          {"C:a\\b", "C:a"}, {"C:a", "C:"},    {"\\a", "\\"},
      {"\\", "\\"},          {"a\\b", "a"},     {"a", ""},        {"", ""},
  };
  for (const PathCase& c : cases) EXPECT_EQ(parentPath(c.path), c.expected) << c.path;
}

TEST(PathTextTest, BaseNameIsWhatFollowsTheLastSeparator) {
  constexpr PathCase cases[] = {
      {"C:\\a\\name.txt", "name.txt"},
      {"C:\\a", "a"},
      {"C:\\", ""},
      {"C:", ""},
      {"C:name", "name"},
      {"\\x", "x"},
      {"x", "x"},
      {"C:\\a\\", ""},
  };
  for (const PathCase& c : cases) EXPECT_EQ(baseName(c.path), c.expected) << c.path;
}

TEST(PathTextTest, TrailingBackslashesStayOnlyOnRoots) {
  constexpr PathCase without[] = {
      {"C:\\a\\", "C:\\a"}, {"C:\\a\\\\", "C:\\a"}, {"C:\\", "C:\\"},
      {"\\", "\\"},         {"C:", "C:"},           {"", ""},
  };
  for (const PathCase& c : without)
    EXPECT_EQ(withoutTrailingBackslash(c.path), c.expected) << c.path;
  constexpr PathCase with[] = {{"C:\\a", "C:\\a\\"}, {"C:\\", "C:\\"}, {"C:", "C:\\"}, {"", ""}};
  for (const PathCase& c : with) EXPECT_EQ(withTrailingBackslash(c.path), c.expected) << c.path;
}

TEST(PathTextTest, JoinAddsOneBackslash) {
  EXPECT_EQ(joinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(joinPath("C:\\", "b"), "C:\\b");
  EXPECT_EQ(joinPath("C:", "b"), "C:\\b");
  EXPECT_EQ(joinPath("", "b"), "b");
}

TEST(PathTextTest, DriveLettersAndRoots) {
  EXPECT_EQ(driveLetterOf("c:\\x"), 'C');
  EXPECT_EQ(driveLetterOf("Z:"), 'Z');
  EXPECT_EQ(driveLetterOf("1:\\x"), 0);
  EXPECT_EQ(driveLetterOf("\\x"), 0);
  EXPECT_EQ(driveLetterOf("C"), 0);
  EXPECT_TRUE(isDriveRoot("C:\\"));
  EXPECT_TRUE(isDriveRoot("c:"));
  EXPECT_TRUE(isDriveRoot("\\"));
  EXPECT_FALSE(isDriveRoot("C:\\a"));
  EXPECT_FALSE(isDriveRoot("C:\\\\"));
  EXPECT_FALSE(isDriveRoot(""));
}

TEST(PathTextTest, NamesCompareWithOnlyAToZFolded) {
  EXPECT_EQ(compareNames("README.TXT", "readme.txt"), 0);
  EXPECT_TRUE(sameName("Makefile", "MAKEFILE"));
  EXPECT_FALSE(sameName("\xC3\x84", "\xC3\xA4"));  // Ä and ä are not folded
  EXPECT_LT(compareNames("_x", "Ax"), 0);          // "_" sorts before the folded letters
  EXPECT_LT(compareNames("abc", "ABCD"), 0);
  EXPECT_GT(compareNames("b", "A"), 0);
  EXPECT_GT(compareNames("\xE9", "z"), 0);  // bytes compare unsigned
  EXPECT_EQ(foldCase("MiXeD-Ä"), "mixed-Ä");
}

class FullPathTest : public testing::TempDriveTest {
 protected:
  FullPathTest() {
    tree_.makeDir("sub");
    tree_.makeDir("sub/deeper");
  }
};

TEST_F(FullPathTest, ResolvesAgainstTheCurrentDriveAndItsDirectory) {
  ASSERT_TRUE(changeDirectory("C:\\"));
  ASSERT_TRUE(changeDirectory("T:\\sub"));
  constexpr PathCase cases[] = {
      {"name", "T:\\sub\\name"},
      {".", "T:\\sub"},
      {"..", "T:\\"},
      {"..\\..\\..", "T:\\"},  // ".." above the root stays at the root
      {"\\name", "T:\\name"},
      {"T:name", "T:\\sub\\name"},  // relative to T:'s own current directory
      {"T:", "T:\\sub"},
      {"t:\\X\\Y", "T:\\X\\Y"},  // case of the names is kept
      {"T:/a/b/", "T:\\a\\b"},   // forward slashes are separators too
      {"T:\\a\\.\\\\b\\..\\c", "T:\\a\\c"},
      {"T:\\", "T:\\"},
      {"C:\\tmp\\", "C:\\tmp"},
      {"C:x", "C:\\x"},  // C:'s current directory is its root here
      {"Q:\\x", ""},     // not mapped
      {"", ""},
  };
  for (const PathCase& c : cases) EXPECT_EQ(fullPath(c.path), c.expected) << c.path;
}

TEST_F(FullPathTest, EachDriveKeepsItsOwnCurrentDirectory) {
  ASSERT_TRUE(changeDirectory("T:\\sub\\deeper"));
  ASSERT_TRUE(changeDirectory("C:\\"));
  EXPECT_EQ(currentDrive(), 'C');
  EXPECT_EQ(fullPath("T:file"), "T:\\sub\\deeper\\file");
  EXPECT_EQ(fullPath("T:..\\x"), "T:\\sub\\x");
  EXPECT_EQ(fullPath("file"), "C:\\file");
}

TEST_F(FullPathTest, ResultsLongerThanTheLimitAreRefused) {
  std::string name(MaxPath - 3, 'n');  // "T:\" + name is exactly MaxPath long
  EXPECT_EQ(fullPath("T:\\" + name).size(), MaxPath);
  EXPECT_EQ(fullPath("T:\\" + name + "n"), "");
  // Only the result counts: a long path that folds to a short one is fine.
  EXPECT_EQ(fullPath("T:\\" + name + "n\\..\\short"), "T:\\short");
  ASSERT_TRUE(changeDirectory("T:\\sub"));
  EXPECT_EQ(fullPath(std::string(MaxPath - 7, 'r')).size(), MaxPath);  // "T:\sub\" and 253
  EXPECT_EQ(fullPath(std::string(MaxPath - 6, 'r')), "");
}

}  // namespace
}  // namespace corvane
