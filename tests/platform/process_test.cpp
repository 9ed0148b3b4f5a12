#include "platform/process.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <string>

#include "support/scoped_env.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using testing::ScopedEnv;

class ProcessTest : public testing::TempDriveTest {
 protected:
  ScopedEnv comspec_{"COMSPEC", nullptr};
  ScopedEnv shell_{"SHELL", "/bin/sh"};
};

TEST_F(ProcessTest, ReturnsTheExitStatus) {
  EXPECT_EQ(runShellCommand("true", ""), 0);
  EXPECT_EQ(runShellCommand("exit 3", ""), 3);
  EXPECT_EQ(runShellCommand("kill -TERM $$", ""), 128 + SIGTERM);
  EXPECT_EQ(runShellCommand("no-such-command-here 2>/dev/null", ""),
            127);  // the shell's own answer
}

TEST_F(ProcessTest, RunsInTheGivenDirectory) {
  tree_.makeDir("work");
  EXPECT_EQ(runShellCommand("pwd > here && echo made > marker", "T:\\work"), 0);
  EXPECT_EQ(tree_.readFile("work/here"), tree_.host("work") + "\n");
  EXPECT_EQ(tree_.readFile("work/marker"), "made\n");
  // A directory that cannot be entered is named as the reason, apart from the interpreter.
  for (const char* directory : {"T:\\missing", "Q:\\"}) {
    CommandStartFailure failure;
    EXPECT_EQ(runShellCommand("true", directory, &failure), -1);
    EXPECT_TRUE(failure.directory) << directory;
    EXPECT_EQ(failure.reason, "No such file or directory") << directory;
  }
}

TEST_F(ProcessTest, TheInterpreterComesFromComspecThenShell) {
  EXPECT_EQ(commandInterpreter(), "/bin/sh");
  {
    ScopedEnv comspec("COMSPEC", "/bin/bash");
    EXPECT_EQ(commandInterpreter(), "/bin/bash");
  }
  {
    ScopedEnv comspec("COMSPEC", "C:\\WINDOWS\\system32\\CMD.EXE");
    EXPECT_EQ(commandInterpreter(), "/bin/sh");
  }
  ScopedEnv noShell("SHELL", "");
  EXPECT_EQ(commandInterpreter(), "/bin/sh");
  ScopedEnv comspec("COMSPEC", "/nonexistent/interpreter");
  CommandStartFailure failure;
  EXPECT_EQ(runShellCommand("true", "", &failure), -1);
  EXPECT_FALSE(failure.directory);
  EXPECT_EQ(failure.reason, "No such file or directory");
}

TEST_F(ProcessTest, TheChildGetsDefaultSignalsAndTheProgramItsOwnBack) {
  struct sigaction ignore {};
  struct sigaction before {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ASSERT_EQ(sigaction(SIGPIPE, &ignore, &before), 0);
  // With SIGPIPE inherited as ignored, "yes" would run forever writing into a closed pipe.
  EXPECT_EQ(runShellCommand("yes | head -n 1 > /dev/null", ""), 0);
  // An interrupt the child sends its parent group does not end the waiting program.
  EXPECT_EQ(runShellCommand("kill -INT $PPID; exit 4", ""), 4);
  struct sigaction after {};
  sigaction(SIGINT, nullptr, &after);
  EXPECT_NE(after.sa_handler, SIG_IGN);
  sigaction(SIGPIPE, &before, nullptr);
}

}  // namespace
}  // namespace corvane
