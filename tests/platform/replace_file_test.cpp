#include "platform/replace_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/host_entry.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using ReplaceFileTest = testing::TempDriveTest;

std::vector<std::string> entriesOf(const std::string& directory) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(directory.c_str())) {
    while (dirent* e = readdir(dir))
      if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..")
        names.emplace_back(e->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct stat statOf(const std::string& host) {
  struct stat st {};
  lstat(host.c_str(), &st);
  return st;
}

// Runs body in a child (as an unprivileged user when asked and when the test runs as root);
// the child's exit code is the number of failed checks.
template <typename Body>
int inChild(bool unprivileged, Body body) {
  pid_t child = fork();
  if (child == 0) {
    if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST_F(ReplaceFileTest, NewAndOldFilesKeepWhatTheyAre) {
  // A new file; an old one keeps its mode and DOS attributes; no temporary stays behind.
  EXPECT_TRUE(replaceFile("T:\\new", "fresh"));
  EXPECT_EQ(tree_.readFile("new"), "fresh");
  tree_.writeFile("old", "old content that is longer");
  ASSERT_EQ(chmod(tree_.host("old").c_str(), 0640), 0);
  const bool attributes = static_cast<bool>(setAttributes("T:\\old", AttrArchive | AttrSystem));
  const ino_t before = statOf(tree_.host("old")).st_ino;
  EXPECT_TRUE(replaceFile("T:\\old", "short"));
  EXPECT_EQ(tree_.readFile("old"), "short");
  EXPECT_EQ(statOf(tree_.host("old")).st_mode & 07777, 0640u);
  EXPECT_NE(statOf(tree_.host("old")).st_ino, before);  // a new file took the name
  if (attributes) {
    EXPECT_EQ(getAttributes("T:\\old"), AttrArchive | AttrSystem);
  }
  EXPECT_EQ(entriesOf(tree_.root()), (std::vector<std::string>{"new", "old"}));

  // Through a link the file it points to is written, beside itself; the link stays.
  tree_.makeDir("real");
  tree_.writeFile("real/target", "target");
  tree_.makeSymlink("link", "real/target");
  tree_.makeSymlink("dangling", "real/created");
  EXPECT_TRUE(replaceFile("T:\\link", "through"));
  EXPECT_TRUE(replaceFile("T:\\dangling", "made"));
  EXPECT_TRUE(S_ISLNK(statOf(tree_.host("link")).st_mode));
  EXPECT_EQ(tree_.readFile("real/target"), "through");
  EXPECT_EQ(tree_.readFile("real/created"), "made");
  EXPECT_EQ(entriesOf(tree_.host("real")), (std::vector<std::string>{"created", "target"}));

  // Refused, untouched: read-only, a directory, a FIFO (never opened, so nothing waits), a
  // writer that gives up.
  tree_.writeFile("locked", "keep");
  ASSERT_TRUE(setAttributes("T:\\locked", AttrReadOnly));
  ASSERT_EQ(mkfifo(tree_.host("fifo").c_str(), 0644), 0);
  EXPECT_EQ(replaceFile("T:\\locked", "x").error, EACCES);
  EXPECT_EQ(replaceFile("T:\\real", "x").error, EISDIR);
  EXPECT_EQ(replaceFile("T:\\fifo", "x").error, FileErrorNotRegular);
  EXPECT_EQ(replaceFile("T:\\new", [](FileSink& out) { return out.write("half") && false; }).error,
            ECANCELED);
  EXPECT_EQ(replaceFile("T:\\missing\\file", "x").error, ENOENT);
  EXPECT_EQ(tree_.readFile("locked"), "keep");
  EXPECT_EQ(tree_.readFile("new"), "fresh");
  EXPECT_EQ(entriesOf(tree_.root()).size(), 7u);
}

TEST_F(ReplaceFileTest, AFileWithFurtherHardLinksIsRewrittenInPlace) {
  tree_.writeFile("one", "shared");
  ASSERT_EQ(link(tree_.host("one").c_str(), tree_.host("two").c_str()), 0);
  const ino_t inode = statOf(tree_.host("one")).st_ino;
  EXPECT_TRUE(replaceFile("T:\\one", "changed for both"));
  EXPECT_EQ(statOf(tree_.host("one")).st_ino, inode);
  EXPECT_EQ(tree_.readFile("two"), "changed for both");
}

// Write failures injected by a file size limit: whatever the sizes, the file afterwards holds
// either the whole new content (success) or the whole old one (failure), and no temporary or
// saved copy stays behind. Both ways: through a rename, and in place (a second hard link).
TEST_F(ReplaceFileTest, AFailedWriteLeavesTheOldFileByteForByte) {
  tree_.makeDir("tmp");
  testing::ScopedEnv tmp("TMP", tree_.host("tmp").c_str());
  constexpr std::size_t Limit = 20000;
  int failures = inChild(false, [&] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      Limit, Limit
    };
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 90;
    std::mt19937 random(7);
    int failed = 0;
    for (int round = 0; round < 40; ++round) {
      const bool inPlace = round % 2 == 1;
      const std::string oldContent(random() % (Limit / 2), static_cast<char>('a' + round % 26));
      const std::string newContent(random() % (Limit * 2), 'N');
      tree_.writeFile("file", oldContent);
      unlink(tree_.host("other").c_str());
      if (inPlace && link(tree_.host("file").c_str(), tree_.host("other").c_str()) != 0) ++failed;
      FileResult result = replaceFile("T:\\file", newContent);
      const std::string now = tree_.readFile("file");
      if (newContent.size() <= Limit) {
        failed += !result || now != newContent;
      } else {
        failed += result.error != EFBIG || now != oldContent;
      }
      failed += entriesOf(tree_.root()).size() != (inPlace ? 3u : 2u);
      failed += !entriesOf(tree_.host("tmp")).empty();
    }
    return failed;
  });
  EXPECT_EQ(failures, 0);
}

// A signal that ends the program, coming while the file is written (as the terminal's
// hang-up does on the way out), takes effect once the file is whole: new content in place, no
// temporary beside it, for a new file and for one rewritten in place (a second link).
TEST_F(ReplaceFileTest, AnEndingSignalWaitsUntilTheFileIsWhole) {
  for (const bool inPlace : {false, true}) {
    tree_.writeFile("file", "old");
    unlink(tree_.host("other").c_str());
    if (inPlace) {
      ASSERT_EQ(link(tree_.host("file").c_str(), tree_.host("other").c_str()), 0);
    }
    const pid_t child = fork();
    if (child == 0) {
      signal(SIGTERM, SIG_DFL);
      (void)replaceFile("T:\\file", [](FileSink& sink) {
        sink.write("first half, ");
        kill(getpid(), SIGTERM);
        return sink.write("second half");
      });
      _exit(0);  // not reached: the signal ends the child as the replacement ends
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(tree_.readFile("file"), "first half, second half");
    const std::vector<std::string> expected =
        inPlace ? std::vector<std::string>{"file", "other"} : std::vector<std::string>{"file"};
    EXPECT_EQ(entriesOf(tree_.root()), expected);
  }
}

// Where the directory cannot be written, or the owner cannot be given to a new file, the file
// is rewritten in place and keeps its owner.
TEST_F(ReplaceFileTest, UnwritableDirectoryAndForeignOwnerAreWrittenInPlace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs a second user: runs only as root";
  ASSERT_EQ(chmod(tree_.root().c_str(), 0755), 0);
  tree_.makeDir("closed");
  tree_.makeDir("open");
  tree_.makeDir("tmp");
  for (const char* name : {"closed/file", "open/file"}) {
    tree_.writeFile(name, "root's");
    ASSERT_EQ(chmod(tree_.host(name).c_str(), 0666), 0);
  }
  ASSERT_EQ(chmod(tree_.host("closed").c_str(), 0555), 0);
  ASSERT_EQ(chmod(tree_.host("open").c_str(), 0777), 0);
  ASSERT_EQ(chmod(tree_.host("tmp").c_str(), 0777), 0);
  testing::ScopedEnv tmp("TMP", tree_.host("tmp").c_str());
  int failures = inChild(true, [&] {
    int failed = 0;
    failed += !replaceFile("T:\\closed\\file", "by another user");
    failed += !replaceFile("T:\\open\\file", "also");
    failed += replaceFile("T:\\closed\\new", "x").accessDenied() ? 0 : 1;
    return failed;
  });
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(tree_.readFile("closed/file"), "by another user");
  EXPECT_EQ(tree_.readFile("open/file"), "also");
  EXPECT_EQ(statOf(tree_.host("open/file")).st_uid, 0u);
  EXPECT_EQ(entriesOf(tree_.host("open")), std::vector<std::string>{"file"});
  EXPECT_TRUE(entriesOf(tree_.host("tmp")).empty());
}

// The old bytes kept under a second name: through a second link when the file is renamed
// over, copied when it is rewritten in place; never a backup that is the file itself.
TEST_F(ReplaceFileTest, ABackupKeepsTheOldBytes) {
  tree_.makeDir("tmp");
  testing::ScopedEnv tmp("TMP", tree_.host("tmp").c_str());
  tree_.writeFile("f", "one");
  tree_.writeFile("f.BAK", "older");
  ReplaceBackup backup;
  backup.path = "T:\\f.BAK";
  EXPECT_TRUE(replaceFile(
      "T:\\f", [](FileSink& out) { return out.write("two"); }, backup));
  EXPECT_TRUE(backup.result);
  EXPECT_TRUE(backup.kept);
  EXPECT_EQ(tree_.readFile("f"), "two");
  EXPECT_EQ(tree_.readFile("f.BAK"), "one");

  ASSERT_EQ(link(tree_.host("f").c_str(), tree_.host("g").c_str()), 0);  // in place from now
  EXPECT_TRUE(replaceFile(
      "T:\\f", [](FileSink& out) { return out.write("three"); }, backup));
  EXPECT_TRUE(backup.kept);
  EXPECT_EQ(tree_.readFile("g"), "three");
  EXPECT_EQ(tree_.readFile("f.BAK"), "two");
  EXPECT_TRUE(entriesOf(tree_.host("tmp")).empty());

  backup.path = "T:\\g";  // the same file under another name
  EXPECT_TRUE(replaceFile(
      "T:\\f", [](FileSink& out) { return out.write("four"); }, backup));
  EXPECT_FALSE(backup.kept);
  EXPECT_EQ(tree_.readFile("g"), "four");
  EXPECT_EQ(entriesOf(tree_.root()), (std::vector<std::string>{"f", "f.BAK", "g", "tmp"}));
}

}  // namespace
}  // namespace corvane
