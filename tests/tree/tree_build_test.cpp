#include "tree/tree_build.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tree/tree_cache.h"
#include "tree_fixture.h"

namespace corvane::testing {
namespace {

class TreeBuild : public TreeDriveTest {};

TEST_F(TreeBuild, AScanLeavesDotDirectoriesOutAndEntersNoLink) {
  for (const char* dir : {"a", "a/b", "a/b/c", ".hidden", ".hidden/x", "a/.git", "d"})
    disk_.makeDir(dir);
  disk_.writeFile("file.txt");
  disk_.makeSymlink("a/self", ".");
  disk_.makeSymlink("a/up", "..");
  disk_.makeSymlink("d/file", "../file.txt");
  disk_.makeSymlink("d/gone", "nowhere");
  ASSERT_TRUE(changeDirectory("T:\\a\\b"));

  DirectoryTree tree;
  ASSERT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  // Links to directories are nodes without children; links to anything else are not nodes.
  EXPECT_EQ(paths(tree), (Paths{"a", "a\\b", "a\\b\\c", "a\\self", "a\\up", "d"}));
  EXPECT_EQ(currentDirectory(), "T:\\a\\b");

  // Expanding a link finds nothing below it, at any depth.
  const TreeNodeId self = findNode(tree, "T:\\a\\self");
  ASSERT_NE(self, NoTreeNode);
  EXPECT_EQ(rescanBelow(tree, self, TreeScanDepth::AllLevels), TreeScanDone);
  EXPECT_EQ(subtreeEnd(tree, self), self + 1);
  EXPECT_EQ(currentDirectory(), "T:\\a\\b");

  // The cache gives the same tree back.
  DirectoryTree cached;
  ASSERT_EQ(readTreeCache('T', cached), 0);
  EXPECT_EQ(paths(cached), paths(tree));
}

TEST_F(TreeBuild, AnUnreadableDirectoryIsALeafAndTheScanGoesOn) {
  ASSERT_EQ(chmod(disk_.root().c_str(), 0755), 0);  // the child must reach the tree
  for (const char* dir : {"closed", "closed/inner", "open", "open/inner"}) disk_.makeDir(dir);
  ASSERT_EQ(chmod(disk_.host("closed").c_str(), 0), 0);
  pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    configState().loadedPath.clear();  // nothing to write for this user
    DirectoryTree tree;
    const int result = buildTree(TreeRequestScan, tree, true);
    const bool expected = paths(tree) == Paths{"closed", "open", "open\\inner"};
    _exit(result == TreeScanDone && expected && console_.beeps == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(TreeBuild, EscAnsweredYesShowsWhatWasReadAndKeepsTheCache) {
  for (int i = 0; i < 100; ++i) disk_.makeDir("dir" + std::to_string(i));
  ASSERT_TRUE(changeDirectory("T:\\dir7"));
  DirectoryTree tree;
  ASSERT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  const std::string cache = cacheBytes();
  disk_.makeDir("dir100");

  console_.pushKey(key::Escape);
  console_.pushText("y");
  EXPECT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanCancelled);
  EXPECT_GE(tree.nodes.size(), 2u);
  EXPECT_LT(tree.nodes.size(), 102u);
  EXPECT_EQ(cacheBytes(), cache) << "a partial tree was written as the drive's";
  EXPECT_EQ(currentDirectory(), "T:\\dir7");
  // Nor is it written by a later change until a whole scan completes it.
  insertChild(tree, 0, "dir100");
  EXPECT_EQ(buildTree(TreeRequestWrite, tree, true), TreeScanDone);
  EXPECT_EQ(cacheBytes(), cache);

  // Answered No, the scan goes on to the end.
  console_.pushKey(key::Escape);
  console_.pushText("n");
  EXPECT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  EXPECT_EQ(tree.nodes.size(), 102u);
  EXPECT_NE(cacheBytes(), cache);
}

TEST_F(TreeBuild, FloppyDrivesAreScannedAfterAnotherDriveOthersComeFromTheCache) {
  TempTree a, b, c;
  initDriveMap(
      ("A=" + a.root() + ";B=" + b.root() + ";C=" + c.root() + ";S=" + setup_.root()).c_str());
  DirectoryTree tree;
  auto buildOn = [&](char drive, bool keep) {
    setCurrentDrive(drive);
    EXPECT_EQ(buildTree(TreeRequestCache, tree, keep), TreeScanDone);
    return paths(tree);
  };
  for (char drive : {'B', 'A', 'C'}) buildOn(drive, true);  // a cache for each
  b.makeDir("new on b");
  c.makeDir("new on c");
  EXPECT_EQ(buildOn('B', true), Paths{"new on b"}) << "B: after A: is scanned";
  b.makeDir("second");
  EXPECT_EQ(buildOn('B', true), Paths{"new on b"}) << "B: kept after B: comes from the cache";
  EXPECT_EQ(buildOn('B', false), (Paths{"new on b", "second"})) << "not kept: scanned";
  EXPECT_EQ(buildOn('C', true), Paths{}) << "C: comes from its cache";
}

TEST_F(TreeBuild, AOneLevelRescanKeepsWhatIsKnownBelowTheDirectoriesStillThere) {
  for (const char* dir : {"keep", "keep/deep", "keep/deep/er", "gone", "gone/x"})
    disk_.makeDir(dir);
  DirectoryTree tree;
  ASSERT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  disk_.makeDir("keep/deep/unseen");  // below the level rescanned: stays unknown
  disk_.makeDir("added");
  ASSERT_EQ(rmdir(disk_.host("gone/x").c_str()), 0);
  ASSERT_EQ(rmdir(disk_.host("gone").c_str()), 0);

  bool changed = false;
  ASSERT_EQ(rescanKeepingSubtrees(tree, 0, changed), TreeScanDone);
  EXPECT_TRUE(changed);
  EXPECT_EQ(paths(tree), (Paths{"added", "keep", "keep\\deep", "keep\\deep\\er"}));
  ASSERT_EQ(rescanKeepingSubtrees(tree, 0, changed), TreeScanDone);
  EXPECT_FALSE(changed);

  // "+" rescans one level below a node, dropping what lay deeper.
  EXPECT_EQ(rescanBelow(tree, findNode(tree, "T:\\keep"), TreeScanDepth::OneLevel), TreeScanDone);
  EXPECT_EQ(paths(tree), (Paths{"added", "keep", "keep\\deep"}));
  EXPECT_EQ(rescanBelow(tree, findNode(tree, "T:\\keep"), TreeScanDepth::AllLevels), TreeScanDone);
  EXPECT_EQ(paths(tree),
            (Paths{"added", "keep", "keep\\deep", "keep\\deep\\er", "keep\\deep\\unseen"}));
}

}  // namespace
}  // namespace corvane::testing
