#include "fileops/copy_engine.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "fileops/fileops_texts.h"
#include "fileops_fixture.h"
#include "platform/textf.h"

namespace corvane {
namespace {

using testing::FileopsTest;

class CopyEngineTest : public FileopsTest {
 protected:
  std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
  }
  struct stat statOf(const std::string& host) {
    struct stat st {};
    EXPECT_EQ(lstat(host.c_str(), &st), 0) << host;
    return st;
  }
};

TEST_F(CopyEngineTest, ShortNamesOfLongOnes) {
  const struct {
    const char* name;
    const char* shortName;
    bool tooLong;
  } cases[] = {
      {"verylongname.txt", "verylong.txt", true}, {"my.long.name.txt", "my_long_.txt", true},
      {"longfilename", "longfile.nam", true},     {"abc.defghij", "abc.def", true},
      {"readme.txt", "readme.txt", false},        {"a b.c", "a_b.c", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toShortName(c.name), c.shortName) << c.name;
    EXPECT_EQ(needsShortName(c.name), c.tooLong) << c.name;
  }
}

TEST_F(CopyEngineTest, SizesAroundTheBlockArriveWholeWithTheirTimeAndModes) {
  for (std::size_t size :
       {std::size_t{0}, std::size_t{61440}, std::size_t{61441}, std::size_t{3 << 20} + 17}) {
    const std::string name = "f" + std::to_string(size);
    ASSERT_TRUE(t_.writeFile(name, randomBytes(size, static_cast<unsigned>(size))));
  }
  ASSERT_EQ(chmod(t_.host("f61441").c_str(), 0751), 0);
  const struct timespec times[2] = {{0, UTIME_OMIT}, {1234567890, 123456789}};
  ASSERT_EQ(utimensat(AT_FDCWD, t_.host("f0").c_str(), times, 0), 0);
  setPreference(5, false);

  EXPECT_EQ(copyFiles("T:\\f*", "U:\\", CopyToDirectory), CopyDone);
  for (const char* name : {"f0", "f61440", "f61441", "f3145745"}) {
    EXPECT_EQ(u_.readFile(name), t_.readFile(name)) << name;
    EXPECT_EQ(statOf(u_.host(name)).st_mode & 07777, statOf(t_.host(name)).st_mode & 07777);
  }
  const struct stat copied = statOf(u_.host("f0"));
  EXPECT_EQ(copied.st_mtim.tv_sec, 1234567890);
  EXPECT_EQ(copied.st_mtim.tv_nsec, 123456789);
}

TEST_F(CopyEngineTest, ReadOnlySourceStaysWritableUnlessAttributesAreCopied) {
  ASSERT_TRUE(t_.writeFile("ro.txt", "fixed"));
  ASSERT_EQ(chmod(t_.host("ro.txt").c_str(), 0444), 0);
  setPreference(17, false);
  EXPECT_EQ(copyFiles("T:\\ro.txt", "U:\\plain.txt", 0), CopyDone);
  EXPECT_EQ(statOf(u_.host("plain.txt")).st_mode & 0777, 0644);
  setPreference(17, true);
  EXPECT_EQ(copyFiles("T:\\ro.txt", "U:\\kept.txt", 0), CopyDone);
  EXPECT_EQ(statOf(u_.host("kept.txt")).st_mode & 0777, 0444);
}

TEST_F(CopyEngineTest, SparseFilesStaySparse) {
  constexpr off_t Size = off_t{5} << 30;
  const int fd = open(t_.host("sparse").c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  const std::string first = randomBytes(70000, 1), middle = randomBytes(5000, 2);
  ASSERT_EQ(pwrite(fd, first.data(), first.size(), 4096), static_cast<ssize_t>(first.size()));
  ASSERT_EQ(pwrite(fd, middle.data(), middle.size(), off_t{3} << 30),
            static_cast<ssize_t>(middle.size()));
  ASSERT_EQ(ftruncate(fd, Size), 0);
  close(fd);
  if (statOf(t_.host("sparse")).st_blocks * 512 > (off_t{64} << 20))
    GTEST_SKIP() << "the file system here keeps no holes";
  struct statvfs space {};
  if (statvfs(u_.root().c_str(), &space) != 0 ||
      static_cast<off_t>(space.f_bavail * space.f_frsize) <= Size)
    GTEST_SKIP() << "less free space than the file's size";
  setPreference(5, false);

  EXPECT_EQ(copyFiles("T:\\sparse", "U:\\sparse", CopyQuiet), CopyDone);
  const struct stat copied = statOf(u_.host("sparse"));
  EXPECT_EQ(copied.st_size, Size);
  EXPECT_LT(copied.st_blocks * 512, off_t{64} << 20) << "holes were filled";
  const int in = open(u_.host("sparse").c_str(), O_RDONLY);
  std::string back(first.size(), '\0');
  EXPECT_EQ(pread(in, back.data(), back.size(), 4096), static_cast<ssize_t>(back.size()));
  EXPECT_EQ(back, first);
  back.assign(middle.size(), '\0');
  EXPECT_EQ(pread(in, back.data(), back.size(), off_t{3} << 30), static_cast<ssize_t>(back.size()));
  EXPECT_EQ(back, middle);
  close(in);
}

TEST_F(CopyEngineTest, TheSameFileIsRefusedWhateverItsName) {
  ASSERT_TRUE(t_.writeFile("one.txt", "keep me"));
  ASSERT_EQ(link(t_.host("one.txt").c_str(), t_.host("hard.txt").c_str()), 0);
  initDriveMap(("T=" + t_.root() + ";U=" + u_.root() + ";V=" + t_.root()).c_str());
  setCurrentDrive('T');
  for (const char* target : {"T:\\hard.txt", "V:\\one.txt", "T:\\.\\one.txt"}) {
    dismiss();
    EXPECT_EQ(copyFiles("T:\\one.txt", target, 0), CopyIdentical) << target;
  }
  EXPECT_TRUE(sawText("Source and Destination are identical !"));
  EXPECT_EQ(t_.readFile("one.txt"), "keep me");
  EXPECT_TRUE(sameFile("T:\\one.txt", "V:\\hard.txt"));

  // Where case counts, names that differ in case are two files.
  ASSERT_TRUE(t_.writeFile("Case.txt", "upper"));
  if (hostExists(t_.host("case.txt"))) GTEST_SKIP() << "this file system folds case";
  setPreference(5, false);
  EXPECT_EQ(copyFiles("T:\\Case.txt", "T:\\case.txt", 0), CopyDone);
  EXPECT_EQ(t_.readFile("case.txt"), "upper");
}

TEST_F(CopyEngineTest, ANameFromAListIsOneFileAndATypedOneAPattern) {
  ASSERT_TRUE(t_.writeFile("a*b", "star"));
  ASSERT_TRUE(t_.writeFile("axb", "x"));
  setPreference(5, false);
  EXPECT_EQ(copyFiles("T:\\a*b", "U:\\", CopyToDirectory | CopyLiteralName), CopyDone);
  EXPECT_EQ(u_.readFile("a*b"), "star");
  EXPECT_FALSE(u_.exists("axb"));
  EXPECT_EQ(copyFiles("T:\\a*b", "U:\\", CopyToDirectory), CopyDone);
  EXPECT_EQ(u_.readFile("axb"), "x");
}

// The copy runs in a child whose files may not grow past 1000 bytes: the write fails short.
TEST_F(CopyEngineTest, AShortWriteLeavesNoTargetAndTheSourceIntact) {
  ASSERT_TRUE(t_.writeFile("big", randomBytes(200000, 3)));
  setPreference(5, false);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    dismiss();  // the write error's message
    _exit(copyFiles("T:\\big", "U:\\big", CopyQuiet));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), CopyWriteFailed);
  EXPECT_FALSE(u_.exists("big"));
  EXPECT_EQ(t_.readFile("big").size(), 200000u);
}

TEST_F(CopyEngineTest, EscapeDuringTheCopyAsksAndYesLeavesNothingBehind) {
  const std::string content = randomBytes(5 << 20, 4);
  ASSERT_TRUE(t_.writeFile("big", content));
  ASSERT_TRUE(u_.writeFile("old", "the old target"));
  setPreference(5, false);

  answerKeys({key::Escape, 'y'});
  EXPECT_EQ(copyFiles("T:\\big", "U:\\new", 0), CopyCancelled);
  EXPECT_TRUE(sawText(" Cancel operation ? "));
  EXPECT_FALSE(u_.exists("new"));
  EXPECT_TRUE(fileopsState().cancelRequested);

  answerKeys({key::Escape, 'y'});
  EXPECT_EQ(copyFiles("T:\\big", "U:\\old", 0), CopyCancelled);
  EXPECT_EQ(u_.readFile("old"), "the old target");

  answerKeys({key::Escape, 'n'});
  EXPECT_EQ(copyFiles("T:\\big", "U:\\old", 0), CopyDone);
  EXPECT_EQ(u_.readFile("old"), content);
}

TEST_F(CopyEngineTest, OverwriteAnswersOfOnePatternCall) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
    ASSERT_TRUE(t_.writeFile(name, std::string("new ") + name));
    ASSERT_TRUE(u_.writeFile(name, "old"));
  }
  // Skip and No go on with the next file, which is asked again; Cancel (and Esc) stop.
  answer("snc");
  EXPECT_EQ(copyFiles("T:\\*.txt", "U:\\", CopyToDirectory), AnswerCancel);
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(u_.readFile(name), "old");
  answerKeys({key::Escape});  // Esc at the question is Cancel
  EXPECT_EQ(copyFiles("T:\\*.txt", "U:\\", CopyToDirectory), AnswerCancel);
  // All copies this and every following file without asking.
  answer("a");
  EXPECT_EQ(copyFiles("T:\\*.txt", "U:\\", CopyToDirectory), CopyDone);
  for (const char* name : {"a.txt", "b.txt", "c.txt"})
    EXPECT_EQ(u_.readFile(name), std::string("new ") + name);
  EXPECT_TRUE(sawText(" FILE EXISTS !, Copy file ? "));
  EXPECT_EQ(screen_.lastBeepFrequency, 2000);
}

TEST_F(CopyEngineTest, QuestionWordings) {
  ASSERT_TRUE(t_.writeFile("s.txt", "12345"));
  ASSERT_TRUE(t_.setLocalMtime("s.txt", 2025, 3, 4, 5, 6, 0));
  answer("y");
  EXPECT_EQ(confirmOverwrite("T:\\s.txt", "U:\\s.txt", ConfirmAlways, false), AnswerYes);
  EXPECT_TRUE(sawText(textf(" Copy File : %-30s 5 04.03.25 05:06 ?", "s.txt")));
  EXPECT_EQ(confirmOverwrite("T:\\s.txt", "U:\\s.txt", ConfirmIfExists, false), AnswerNone);
  answer("n");
  EXPECT_EQ(confirmOverwrite("T:\\s.txt", "", ConfirmIfExists, false), AnswerNo);
  EXPECT_TRUE(sawText(textf(" FILE EXISTS : %-30s 5 04.03.25 05:06", "s.txt")));
  EXPECT_TRUE(sawText(" Continue execution ?"));
  EXPECT_EQ(confirmOverwrite("T:\\s.txt", "T:\\s.txt", 3, false), AnswerNone);
}

TEST_F(CopyEngineTest, AReadOnlyTargetIsReplacedOnlyWhenAllowed) {
  ASSERT_TRUE(t_.writeFile("s.txt", "new"));
  ASSERT_TRUE(u_.writeFile("s.txt", "old"));
  ASSERT_EQ(chmod(u_.host("s.txt").c_str(), 0444), 0);
  setPreference(5, false);
  setPreference(16, false);
  answer("n");
  dismiss();  // "File open error"
  EXPECT_EQ(copyFiles("T:\\s.txt", "U:\\s.txt", 0), CopyCreateFailed);
  EXPECT_TRUE(sawText(" File 'U:\\s.txt' is readonly ! "));
  EXPECT_EQ(u_.readFile("s.txt"), "old");
  answer("y");
  EXPECT_EQ(copyFiles("T:\\s.txt", "U:\\s.txt", 0), CopyDone);
  EXPECT_EQ(u_.readFile("s.txt"), "new");
}

TEST_F(CopyEngineTest, WhatIsNotARegularFile) {
  ASSERT_TRUE(t_.makeSymlink("link", "/nowhere/at/all"));
  ASSERT_EQ(mkfifo(t_.host("fifo").c_str(), 0640), 0);
  ASSERT_TRUE(t_.makeDir("dir"));
  ASSERT_TRUE(u_.makeDir("taken"));
  ASSERT_TRUE(t_.writeFile("taken", "a file"));
  setPreference(5, false);

  EXPECT_EQ(copyFiles("T:\\link", "U:\\link", 0), CopyDone);
  char target[64] = {};
  EXPECT_GT(readlink(u_.host("link").c_str(), target, sizeof target - 1), 0);
  EXPECT_STREQ(target, "/nowhere/at/all");
  EXPECT_EQ(copyFiles("T:\\fifo", "U:\\fifo", 0), CopyDone);  // made, never opened
  EXPECT_TRUE(S_ISFIFO(statOf(u_.host("fifo")).st_mode));
  EXPECT_EQ(copyFiles("T:\\dir", "U:\\dir", 0), CopyDone);  // directories are passed by
  EXPECT_FALSE(u_.exists("dir"));

  dismiss();
  EXPECT_EQ(copyFiles("T:\\taken", "U:\\taken", 0), CopyCreateFailed);  // a directory there
  dismiss();
  EXPECT_EQ(copyFiles("T:\\missing", "U:\\", CopyToDirectory), CopyOpenFailed);
  EXPECT_TRUE(sawText("File open error T:\\missing"));
}

TEST_F(CopyEngineTest, MissingDestinationDirectoriesAreMade) {
  ASSERT_TRUE(t_.writeFile("s.txt", "deep"));
  setPreference(5, false);
  EXPECT_EQ(copyFiles("T:\\s.txt", "U:\\a\\b\\c\\s.txt", 0), CopyDone);
  EXPECT_EQ(u_.readFile("a/b/c/s.txt"), "deep");
}

TEST_F(CopyEngineTest, ATargetWrittenByTheSameOperationIsAskedAboutAlways) {
  ASSERT_TRUE(t_.makeDir("one"));
  ASSERT_TRUE(t_.makeDir("two"));
  ASSERT_TRUE(t_.writeFile("one/a.txt", "first"));
  ASSERT_TRUE(t_.writeFile("two/a.txt", "second"));
  setPreference(5, false);
  FileOperation operation;
  EXPECT_EQ(copyFiles("T:\\one\\a.txt", "U:\\", CopyToDirectory), CopyDone);
  answer("n");
  EXPECT_EQ(copyFiles("T:\\two\\a.txt", "U:\\", CopyToDirectory), AnswerNo);
  EXPECT_EQ(u_.readFile("a.txt"), "first");
}

}  // namespace
}  // namespace corvane
