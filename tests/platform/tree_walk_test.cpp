#include "platform/tree_walk.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/paths.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

// Records every call; the answer for a directory comes from enter (default: enter all).
class Recorder : public TreeWalkVisitor {
 public:
  int visit(TreeWalkEntry& entry) override {
    visited.push_back(entry.path());
    depths.push_back(entry.depth());
    if (entry.isLink()) links.push_back(entry.path());
    if (entry.isDirectory()) return enter ? enter(entry) : TreeWalkContinue;
    return stopAt == entry.path() ? TreeWalkStop : TreeWalkContinue;
  }
  int leaveDirectory(TreeWalkEntry& entry) override {
    left.push_back(entry.path());
    return TreeWalkContinue;
  }
  int failed(std::string_view path, FileResult reason) override {
    failures.emplace_back(path, reason.error);
    return TreeWalkContinue;
  }

  std::function<int(TreeWalkEntry&)> enter;
  std::string stopAt;
  std::vector<std::string> visited, links, left;
  std::vector<int> depths;
  std::vector<std::pair<std::string, int>> failures;
};

using TreeWalkTest = testing::TempDriveTest;

// A seeded random tree of directories, files and links (to ".", "..", the root, other
// directories, files and nowhere): the walk meets every entry exactly once, enters no link,
// and each entry comes after its directory and, in listing order, before the directory is
// left.
TEST_F(TreeWalkTest, EveryEntryOnceAndNoLinkEntered) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    testing::TempTree tree;
    initDriveMap(("T=" + tree.root()).c_str());
    std::mt19937 random(seed);
    std::vector<std::string> directories = {""};
    std::vector<std::string> expected;
    const char* targets[] = {".", "..", "../..", "/", "nowhere"};
    for (int i = 0; i < 60; ++i) {
      const std::string parent = directories[random() % directories.size()];
      const std::string name = parent + (parent.empty() ? "" : "/") + "e" + std::to_string(i);
      switch (random() % 4) {
        case 0:
          ASSERT_TRUE(tree.makeDir(name));
          directories.push_back(name);
          break;
        case 1:
          ASSERT_TRUE(tree.writeFile(name, "x"));
          break;
        case 2:
          ASSERT_TRUE(tree.makeSymlink(name, targets[random() % std::size(targets)]));
          break;
        default:
          ASSERT_TRUE(
              tree.makeSymlink(name, tree.host(directories[random() % directories.size()])));
      }
      std::string program = "T:\\" + name;
      std::replace(program.begin(), program.end(), '/', '\\');
      expected.push_back(program);
    }
    for (TreeWalkOrder order : {TreeWalkOrder::Listing, TreeWalkOrder::FilesFirst}) {
      Recorder recorder;
      TreeWalkOptions options;
      options.order = order;
      ASSERT_EQ(walkDirectoryTree("T:\\", recorder, options), TreeWalkContinue);
      std::vector<std::string> visited = recorder.visited;
      std::sort(visited.begin(), visited.end());
      std::sort(expected.begin(), expected.end());
      ASSERT_EQ(visited, expected) << "seed " << seed;
      EXPECT_TRUE(recorder.failures.empty());
      // Each entry's directory was entered before it and not left yet.
      std::vector<std::string> open = {"T:\\"};
      std::size_t leftIndex = 0;
      for (std::size_t i = 0; i < recorder.visited.size(); ++i) {
        const std::string& path = recorder.visited[i];
        while (parentPath(path) != open.back()) {
          ASSERT_LT(leftIndex, recorder.left.size()) << path;
          EXPECT_EQ(recorder.left[leftIndex++], open.back());
          open.pop_back();
          ASSERT_FALSE(open.empty()) << path << " seed " << seed;
        }
        EXPECT_EQ(recorder.depths[i], static_cast<int>(open.size())) << path;
        struct stat st {};
        ASSERT_EQ(lstat(toHostPath(path).c_str(), &st), 0) << path;
        if (S_ISDIR(st.st_mode)) open.push_back(path);
        EXPECT_EQ(S_ISLNK(st.st_mode),
                  std::count(recorder.links.begin(), recorder.links.end(), path) == 1)
            << path;
      }
    }
  }
  initDriveMap(("T=" + tree_.root()).c_str());
}

TEST_F(TreeWalkTest, FilesFirstSkipStopAndDetails) {
  tree_.makeDir("d");
  tree_.writeFile("d/inner", "abc");
  tree_.makeDir("skipped");
  tree_.writeFile("skipped/never");
  tree_.writeFile("file", "12345");
  tree_.makeSymlink("to-d", "d");
  tree_.makeSymlink("to-file", "file");

  Recorder recorder;
  recorder.enter = [](TreeWalkEntry& e) {
    return e.name() == "skipped" ? TreeWalkSkip : TreeWalkContinue;
  };
  TreeWalkOptions options;
  options.order = TreeWalkOrder::FilesFirst;
  ASSERT_EQ(walkDirectoryTree("T:\\", recorder, options), TreeWalkContinue);
  ASSERT_EQ(recorder.visited.size(), 6u);
  for (std::size_t i = 0; i < 3; ++i) {  // the file and the two links come first
    EXPECT_NE(recorder.visited[i], "T:\\d");
    EXPECT_NE(recorder.visited[i], "T:\\skipped");
  }
  EXPECT_EQ(std::count(recorder.visited.begin(), recorder.visited.end(), "T:\\skipped\\never"), 0);
  EXPECT_EQ(recorder.left, std::vector<std::string>{"T:\\d"});

  // Details: what findFirst gives, looked up on demand.
  struct Details : TreeWalkVisitor {
    std::map<std::string, FindRecord> seen;
    int visit(TreeWalkEntry& entry) override {
      const FindRecord* record = entry.details();
      EXPECT_NE(record, nullptr) << entry.path();
      if (record != nullptr) {
        FindRecord& copy = seen[entry.path()];
        copy.attribute = record->attribute;
        copy.size = record->size;
        copy.isLink = record->isLink;
        copy.linkToDirectory = record->linkToDirectory;
        copy.inode = record->inode;
      }
      return entry.name() == "d" ? TreeWalkSkip : TreeWalkContinue;
    }
  } details;
  walkDirectoryTree("T:\\", details);
  EXPECT_EQ(details.seen["T:\\file"].size, 5u);
  EXPECT_EQ(details.seen["T:\\d"].attribute, AttrDirectory);
  EXPECT_TRUE(details.seen["T:\\to-d"].linkToDirectory);
  EXPECT_EQ(details.seen["T:\\to-d"].inode, details.seen["T:\\d"].inode);
  EXPECT_TRUE(details.seen["T:\\to-file"].isLink);
  EXPECT_EQ(details.seen["T:\\to-file"].size, 5u);

  // A visitor's stop ends the walk at once.
  Recorder stopping;
  stopping.stopAt = "T:\\d\\inner";
  EXPECT_EQ(walkDirectoryTree("T:\\d", stopping), TreeWalkStop);
  EXPECT_EQ(stopping.visited, std::vector<std::string>{"T:\\d\\inner"});
}

// Reading ahead changes when a long listing is read, never what the walk meets: the same
// entries in the same order, in both orders, through long listings in and below long ones,
// and a stop in the middle of one ends the walk there.
TEST_F(TreeWalkTest, ReadingAheadMeetsTheSameEntriesInTheSameOrder) {
  tree_.makeDir("big");
  for (int i = 0; i < 4000; ++i) {
    const std::string name = "big/f" + std::to_string(i);
    if (i % 500 == 7) {
      ASSERT_TRUE(tree_.makeDir(name));
      ASSERT_TRUE(tree_.writeFile(name + "/inner", "x"));
    } else {
      ASSERT_TRUE(tree_.writeFile(name, std::string(static_cast<std::size_t>(i % 7), 'x')));
    }
  }
  tree_.makeDir("big/f1007/deep");
  for (int i = 0; i < 2500; ++i)
    ASSERT_TRUE(tree_.writeFile("big/f1007/deep/g" + std::to_string(i)));

  struct Sizes : Recorder {
    int visit(TreeWalkEntry& entry) override {
      if (!entry.isDirectory()) {
        const FindRecord* record = entry.details();
        sizes.push_back(record != nullptr ? static_cast<int>(record->size) : -1);
      }
      return Recorder::visit(entry);
    }
    std::vector<int> sizes;
  };
  for (TreeWalkOrder order : {TreeWalkOrder::Listing, TreeWalkOrder::FilesFirst}) {
    for (const std::string stopAt : {"", "T:\\big\\f3001", "T:\\big\\f1007\\deep\\g2400"}) {
      Sizes whole, ahead;
      whole.stopAt = ahead.stopAt = stopAt;
      TreeWalkOptions options;
      options.order = order;
      const int wholeResult = walkDirectoryTree("T:\\", whole, options);
      options.readAhead = true;
      EXPECT_EQ(walkDirectoryTree("T:\\", ahead, options), wholeResult);
      EXPECT_EQ(wholeResult, stopAt.empty() ? TreeWalkContinue : TreeWalkStop);
      EXPECT_EQ(whole.visited.size(), stopAt.empty() ? 6510u : whole.visited.size());
      EXPECT_TRUE(ahead.visited == whole.visited) << "stop at " << stopAt;
      EXPECT_EQ(ahead.left, whole.left);
      EXPECT_EQ(ahead.sizes, whole.sizes);
      if (!stopAt.empty()) {
        EXPECT_EQ(ahead.visited.back(), stopAt);
      }
    }
  }
}

TEST_F(TreeWalkTest, MissingStartAndPathsPastTheLimitAreReported) {
  Recorder missing;
  EXPECT_EQ(walkDirectoryTree("T:\\missing", missing), TreeWalkContinue);
  ASSERT_EQ(missing.failures.size(), 1u);
  EXPECT_EQ(missing.failures[0].second, ENOENT);

  // Nested directories until the program path passes the limit: the deepest are reported,
  // never visited with a path longer than a path may be.
  std::string relative;
  for (int i = 0; i < 30; ++i) {
    relative += (relative.empty() ? "" : "/") + std::string(10, static_cast<char>('a' + i % 26));
    ASSERT_TRUE(tree_.makeDir(relative));
  }
  Recorder deep;
  walkDirectoryTree("T:\\", deep);
  for (const std::string& path : deep.visited) EXPECT_LE(path.size(), MaxPath);
  ASSERT_EQ(deep.failures.size(), 1u);
  EXPECT_EQ(deep.failures[0].second, ENAMETOOLONG);
}

// A directory mounted inside itself: the walk does not enter it again.
TEST_F(TreeWalkTest, ADirectoryOnTheWayDownIsNotEnteredAgain) {
  tree_.makeDir("loop");
  tree_.writeFile("loop/file");
  tree_.makeDir("loop/again");
  if (mount(tree_.host("loop").c_str(), tree_.host("loop/again").c_str(), nullptr, MS_BIND,
            nullptr) != 0)
    GTEST_SKIP() << "no bind mounts here: " << std::strerror(errno);
  struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{tree_.host("loop/again")};
  Recorder recorder;
  walkDirectoryTree("T:\\", recorder);
  std::sort(recorder.visited.begin(), recorder.visited.end());
  EXPECT_EQ(recorder.visited,
            (std::vector<std::string>{"T:\\loop", "T:\\loop\\again", "T:\\loop\\file"}));
  EXPECT_EQ(recorder.left, std::vector<std::string>{"T:\\loop"});
}

// Drive P: is the host's "/": the walk never enters /proc or /sys, and with sameFileSystem
// no mount below the start.
TEST_F(TreeWalkTest, PseudoAndOtherFileSystems) {
  struct stat proc {};
  if (stat("/proc/self", &proc) != 0) GTEST_SKIP() << "no /proc here";
  initDriveMap(("P=/;T=" + tree_.root()).c_str());
  Recorder recorder;
  recorder.enter = [](TreeWalkEntry& e) {
    return e.depth() == 1 && (e.name() == "proc" || e.name() == "sys") ? TreeWalkContinue
                                                                       : TreeWalkSkip;
  };
  walkDirectoryTree("P:\\", recorder);
  EXPECT_TRUE(recorder.left.empty());
  for (std::size_t i = 0; i < recorder.depths.size(); ++i)
    EXPECT_EQ(recorder.depths[i], 1) << recorder.visited[i];

  // /dev/shm and /dev/pts are mounts of their own where the machine has them.
  struct stat dev {
  }, shm{};
  if (stat("/dev", &dev) != 0 || stat("/dev/shm", &shm) != 0 || dev.st_dev == shm.st_dev)
    GTEST_SKIP() << "/dev/shm is no mount of its own here";
  Recorder same, crossing;
  auto onlyShm = [](TreeWalkEntry& e) {
    return e.name() == "shm" ? TreeWalkContinue : TreeWalkSkip;
  };
  same.enter = crossing.enter = onlyShm;
  TreeWalkOptions options;
  options.sameFileSystem = true;
  walkDirectoryTree("P:\\dev", same, options);
  walkDirectoryTree("P:\\dev", crossing);
  EXPECT_TRUE(same.left.empty());
  EXPECT_EQ(crossing.left, std::vector<std::string>{"P:\\dev\\shm"});
}

}  // namespace
}  // namespace corvane
