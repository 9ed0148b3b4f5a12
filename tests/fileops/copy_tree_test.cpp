#include "fileops/copy_tree.h"

#include <sys/stat.h>

#include <memory>
#include <set>

#include "fileops/copy_commands.h"
#include "fileops/copy_engine.h"
#include "fileops/delete_files.h"
#include "fileops/move_files.h"
#include "fileops_fixture.h"
#include "platform/tree_walk.h"
#include "support/scoped_env.h"

namespace corvane {
namespace {

using testing::FileopsTest;
using testing::TestContext;

class CopyTreeTest : public FileopsTest {
 protected:
  CopyTreeTest() { setPreference(5, false); }

  // src with a file, a hidden directory, a subdirectory and a link to a directory outside.
  void makeSource() {
    ASSERT_TRUE(t_.makeDir("src"));
    ASSERT_TRUE(t_.writeFile("src/top.txt", "top"));
    ASSERT_TRUE(t_.makeDir("src/.git"));
    ASSERT_TRUE(t_.writeFile("src/.git/HEAD", "ref"));
    ASSERT_TRUE(t_.makeDir("src/sub"));
    ASSERT_TRUE(t_.writeFile("src/sub/deep.c", "deep"));
    ASSERT_TRUE(u_.makeDir("outside"));
    ASSERT_TRUE(u_.writeFile("outside/precious", "mine"));
    ASSERT_TRUE(t_.makeSymlink("src/docs", u_.host("outside")));
  }
  void expectOutsideIntact() {
    EXPECT_EQ(u_.readFile("outside/precious"), "mine");
    struct stat st {};
    EXPECT_EQ(lstat(u_.host("outside").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
  }
  static bool isLink(const std::string& host) {
    struct stat st {};
    return lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  }
};

TEST_F(CopyTreeTest, ATreeArrivesWholeItsLinksAsLinks) {
  makeSource();
  ASSERT_EQ(chmod(t_.host("src/sub").c_str(), 0750), 0);
  ASSERT_TRUE(t_.setLocalMtime("src/sub", 2001, 2, 3, 4, 5, 6));
  ASSERT_EQ(mkfifo(t_.host("src/sub/pipe").c_str(), 0600), 0);
  EXPECT_EQ(copyTree("T:\\src\\*.*", "U:\\copy", TreeCopy), CopyDone);
  EXPECT_EQ(u_.readFile("copy/src/top.txt"), "top");
  EXPECT_EQ(u_.readFile("copy/src/.git/HEAD"), "ref");
  EXPECT_EQ(u_.readFile("copy/src/sub/deep.c"), "deep");
  EXPECT_TRUE(isLink(u_.host("copy/src/docs")));
  struct stat pipe {};
  EXPECT_EQ(lstat(u_.host("copy/src/sub/pipe").c_str(), &pipe), 0);
  EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
  struct stat source {
  }, mirror{};
  ASSERT_EQ(stat(t_.host("src/sub").c_str(), &source), 0);
  ASSERT_EQ(stat(u_.host("copy/src/sub").c_str(), &mirror), 0);
  EXPECT_EQ(mirror.st_mode & 07777, 0750u);
  EXPECT_EQ(mirror.st_mtime, source.st_mtime);
  expectOutsideIntact();

  // A mask takes the files it matches; every directory is still mirrored.
  EXPECT_EQ(copyTree("T:\\src\\*.c", "U:\\masked", TreeCopy), CopyDone);
  EXPECT_TRUE(u_.exists("masked/src/sub/deep.c"));
  EXPECT_FALSE(u_.exists("masked/src/top.txt"));
  EXPECT_TRUE(u_.exists("masked/src/.git"));
}

TEST_F(CopyTreeTest, LinksLeadNowhereWhenMovingOrDeleting) {
  makeSource();
  ASSERT_TRUE(u_.makeDir("target"));
  ASSERT_TRUE(u_.makeDir("target/src"));  // merged, so the tree is walked
  EXPECT_EQ(moveFile("T:\\src", "U:\\target", AttrDirectory, 0), CopyDone);
  EXPECT_FALSE(t_.exists("src"));
  EXPECT_TRUE(isLink(u_.host("target/src/docs")));
  EXPECT_EQ(u_.readFile("target/src/sub/deep.c"), "deep");
  EXPECT_EQ(u_.readFile("target/src/.git/HEAD"), "ref");
  expectOutsideIntact();

  dismiss();  // the summary
  EXPECT_EQ(deleteDirectory("U:\\target", true), 1);
  EXPECT_FALSE(u_.exists("target"));
  expectOutsideIntact();
}

TEST_F(CopyTreeTest, AMovedTreeCrossesFileSystemsWhole) {
  struct stat here {
  }, there{};
  if (stat("/dev/shm", &there) != 0 || stat(t_.root().c_str(), &here) != 0 ||
      here.st_dev == there.st_dev)
    GTEST_SKIP() << "no second file system in /dev/shm";
  std::unique_ptr<testing::TempTree> shm;
  {
    testing::ScopedEnv inShm("TMPDIR", "/dev/shm");
    shm = std::make_unique<testing::TempTree>();
  }
  initDriveMap(("T=" + t_.root() + ";S=" + shm->root()).c_str());
  setCurrentDrive('T');
  makeSource();
  EXPECT_EQ(moveFile("T:\\src", "S:\\", AttrDirectory, 0), CopyDone);
  EXPECT_FALSE(t_.exists("src"));
  EXPECT_EQ(shm->readFile("src/.git/HEAD"), "ref");
  EXPECT_EQ(shm->readFile("src/sub/deep.c"), "deep");
  EXPECT_TRUE(isLink(shm->host("src/docs")));
  expectOutsideIntact();
}

TEST_F(CopyTreeTest, CyclesAreRefusedFromEveryFrontEnd) {
  makeSource();
  initDriveMap(("T=" + t_.root() + ";U=" + u_.root() + ";V=" + t_.root()).c_str());
  setCurrentDrive('T');
  const auto countEntries = [&] {
    int count = 0;
    struct Counter : TreeWalkVisitor {
      int& count;
      explicit Counter(int& c) : count(c) {}
      int visit(TreeWalkEntry&) override {
        ++count;
        return TreeWalkContinue;
      }
    } counter(count);
    walkDirectoryTree("T:\\src", counter);
    return count;
  };
  const int before = countEntries();

  dismiss(2);
  EXPECT_EQ(copyTree("T:\\src\\*.*", "T:\\src\\sub", TreeCopy), CopyIdentical);
  EXPECT_TRUE(sawText("Cyclical copy not possibel ! "));
  dismiss(2);  // through a second drive letter
  EXPECT_EQ(copyTree("T:\\src\\*.*", "V:\\src", TreeCopy), CopyIdentical);
  dismiss(3);  // and the move's own error
  EXPECT_EQ(moveFile("T:\\src", "T:\\src\\sub", AttrDirectory, 0), CopyIdentical);

  // The selection's copy of a directory.
  TestContext context;
  context.show("T:\\", "T:\\src\\sub");
  SelectedFilesRun run;
  run.context = &context;
  run.destination = "V:\\src\\sub";
  SelectedFile file;
  file.entry.name = "src";
  file.entry.attributes = AttrDirectory;
  file.path = "src";
  dismiss(2);
  EXPECT_EQ(copySelectedFile(run, file), SelectedKept | SelectedStop);
  EXPECT_EQ(countEntries(), before) << "nothing was written";
}

TEST_F(CopyTreeTest, WalkListAndCommandLeaveDotDirectoriesOut) {
  makeSource();
  ASSERT_TRUE(t_.writeFile("src/.hidden.c", "dot file"));
  struct Seen {
    std::set<std::string> paths;
  };
  fileopsState().hooks.walkFile = [](int, TreeWalkEntry& entry, void* context) {
    static_cast<Seen*>(context)->paths.insert(entry.path());
    return 0;
  };
  for (int mode : {WalkList, WalkSize, WalkCommand}) {
    Seen seen;
    WalkCounters counters;
    counters.context = &seen;
    EXPECT_EQ(walkTree("T:\\src", counters, mode), CopyDone);
    EXPECT_TRUE(seen.paths.contains("T:\\src\\.hidden.c")) << mode;
    EXPECT_TRUE(seen.paths.contains("T:\\src\\sub\\deep.c")) << mode;
    EXPECT_EQ(seen.paths.contains("T:\\src\\.git\\HEAD"), mode == WalkSize) << mode;
  }
}

}  // namespace
}  // namespace corvane
