#include "tree/tree_cache.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tree/tree_build.h"
#include "tree_fixture.h"

namespace corvane::testing {
namespace {

// One record of the file as bytes.
std::string record(std::size_t length, int level, std::string_view name) {
  std::string out;
  out += static_cast<char>(length & 0xFF);
  out += static_cast<char>(length >> 8);
  out += static_cast<char>(level & 0xFF);
  out += static_cast<char>(level >> 8);
  out += name;
  out += '\0';
  return out;
}

std::string record(int level, std::string_view name) {
  return record(name.size() + 1, level, name);
}

TEST(TreeCacheFormat, RecordsAreLengthLevelAndNameWithItsZero) {
  DirectoryTree tree;
  resetTree(tree, 'D');
  replaceDescendants(tree, 0,
                     {TreeNode{"usr", {}, 0, 1}, TreeNode{"a\xEF\x81\x9C"
                                                          "b",
                                                          {},
                                                          0,
                                                          2}});
  const std::string bytes = encodeTreeCache(tree);
  // The root of D: is level 0, "D:\", N = 4; a backslash of a host name is stored as itself.
  EXPECT_EQ(bytes, std::string("\x04\x00\x00\x00"
                               "D:\\\x00",
                               8) +
                       record(1, "usr") + record(2, "a\\b"));
  std::vector<TreeNode> nodes;
  ASSERT_TRUE(decodeTreeCache(bytes, 'D', nodes));
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[2].name,
            "a\xEF\x81\x9C"
            "b");
  EXPECT_EQ(nodes[2].level, 2);
}

TEST(TreeCacheFormat, AnyInconsistencyRejectsTheWholeFile) {
  const std::string root = record(0, "C:\\");
  // Names repeat in different directories.
  const std::string good = root + record(1, "a") + record(2, "b") + record(1, "b") + record(2, "b");
  std::vector<TreeNode> nodes;
  ASSERT_TRUE(decodeTreeCache(good, 'C', nodes));
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"last record cut", good.substr(0, good.size() - 1)},
      {"a header cut", good + std::string("\x02\x00", 2)},
      {"N = 263", root + record(263, 1, std::string(262, 'x'))},
      {"N = 0", root + record(0, 1, "")},
      {"N = 1: no name", root + record(1, 1, "")},
      {"a zero inside the name", root + record(4, 1, std::string("a\0b", 3))},
      {"no zero at the end", root + std::string("\x02\x00\x01\x00", 4) + "ab"},
      {"a level jump", root + record(1, "a") + record(3, "b")},
      {"a second root", root + record(1, "a") + record(0, "C:\\")},
      {"first level not 0", record(1, "C:\\") + record(1, "a")},
      {"another drive's root", record(0, "D:\\") + record(1, "a")},
      {"a dot name", root + record(1, "..")},
      {"a slash in a name", root + record(1, "a/b")},
      {"two children of one name", root + record(1, "a") + record(2, "x") + record(1, "a")},
      {"empty", ""},
      {"a path longer than a path may be",
       root + record(1, std::string(200, 'a')) + record(2, std::string(100, 'b'))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(decodeTreeCache(c.bytes, 'C', nodes));
  }
  // The longest host name fits.
  EXPECT_TRUE(decodeTreeCache(root + record(1, std::string(255, 'x')), 'C', nodes));
}

class TreeCacheFiles : public TreeDriveTest {};

TEST_F(TreeCacheFiles, NoSetupFileNoCache) {
  configState().loadedPath.clear();
  EXPECT_EQ(treeCachePath('T'), "");
  DirectoryTree tree;
  disk_.makeDir("a");
  ASSERT_EQ(buildTree(TreeRequestCache, tree, true), TreeScanDone);
  EXPECT_EQ(paths(tree), Paths{"a"});
  EXPECT_EQ(console_.beeps, 0);
  EXPECT_FALSE(setup_.exists("CS.TRE/CS_T.TRE"));
}

TEST_F(TreeCacheFiles, ACacheWrittenForAnotherDirectoryOfTheLetterIsNotUsed) {
  disk_.makeDir("old");
  DirectoryTree tree;
  ASSERT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  EXPECT_EQ(setup_.readFile("CS.TRE/CS_T.MAP"), disk_.root() + "\n");
  ASSERT_EQ(readTreeCache('T', tree), 0);
  EXPECT_EQ(paths(tree), Paths{"old"});

  // T: stands for another directory now: its tree is scanned, not taken from the cache.
  TempTree other;
  other.makeDir("new");
  initDriveMap(("T=" + other.root() + ";S=" + setup_.root()).c_str());
  setCurrentDrive('T');
  EXPECT_NE(readTreeCache('T', tree), 0);
  ASSERT_EQ(buildTree(TreeRequestCache, tree, true), TreeScanDone);
  EXPECT_EQ(paths(tree), Paths{"new"});
  EXPECT_EQ(setup_.readFile("CS.TRE/CS_T.MAP"), other.root() + "\n");
}

TEST_F(TreeCacheFiles, AWriteFailingPartWayKeepsTheOldCache) {
  for (int i = 0; i < 300; ++i) disk_.makeDir("directory number " + std::to_string(i));
  DirectoryTree tree;
  ASSERT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  const std::string old = cacheBytes();
  ASSERT_GT(old.size(), 4096u);
  insertChild(tree, 0, "one more");
  // A file-size limit stops the write in the middle (it binds root as well).
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1024, 1024};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(90);
    treeFolderState().failedCacheWrites.insert(treeCachePath('T'));  // told already
    _exit(writeTreeCache(tree) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was taken for a success";
  EXPECT_EQ(cacheBytes(), old);
  ASSERT_EQ(readTreeCache('T', tree), 0);
  EXPECT_EQ(tree.nodes.size(), 301u);
}

TEST_F(TreeCacheFiles, AnUnwritableCacheIsToldOnceAndTheTreeStays) {
  disk_.makeDir("a");
  ASSERT_EQ(rmdir(setup_.host("CS.TRE").c_str()), 0);  // the tree code never makes it
  int reports = 0;
  console_.onInputExhausted = [&](HeadlessConsole& console) {
    for (int row = 0; row < console.rows; ++row)
      if (console.shownRow(row).find("File open error S:\\CS.TRE\\CS_T.TRE") != std::string::npos)
        ++reports;
    console.pushKey(key::Escape);
  };
  DirectoryTree tree;
  ASSERT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  EXPECT_EQ(paths(tree), Paths{"a"});
  ASSERT_EQ(buildTree(TreeRequestScan, tree, true), TreeScanDone);
  EXPECT_EQ(reports, 1) << "told once for the run";
  EXPECT_FALSE(setup_.exists("CS.TRE"));
}

}  // namespace
}  // namespace corvane::testing
