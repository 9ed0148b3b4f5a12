#include "exec/run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exec/exec_texts.h"
#include "exec_fixture.h"
#include "platform/clock.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "ui/window.h"

namespace corvane {
namespace {

using testing::ExecTest;
using testing::normalScreenEvents;

std::vector<std::string>& openedFiles() {
  static std::vector<std::string> files;
  return files;
}

class RunCommandTest : public ExecTest {
 protected:
  RunCommandTest() {
    openedFiles().clear();
    // Something on the screen that must come back exactly.
    EXPECT_EQ(panel_.open(3, 3, 40, 8, 0x1F, 0x1E, WindowDouble | WindowClear, " Panel "), 0);
    writeText("report.txt", 20, 2, 2);
    before_ = screenImage().cells;
  }

  // The program came back with its screen as it was, shown in full.
  void expectScreenBack() {
    EXPECT_EQ(screenImage().cells, before_);
    EXPECT_EQ(console_.shown, before_);
    EXPECT_FALSE(externalProgramRunning());
  }

  ScopedWindow panel_;
  std::vector<ScreenCell> before_;
};

TEST_F(RunCommandTest, ExternalCommandsRunAndTheScreenComesBack) {
  EXPECT_EQ(runCommand("touch made", true, false, false), 0);
  EXPECT_TRUE(tree_.exists("made"));
  EXPECT_EQ(console_.leaveCount, 1);
  EXPECT_EQ(console_.enterCount, 1);
  expectScreenBack();
  EXPECT_EQ(normalScreenEvents(), (std::vector<std::string>{"write:\n", "write:\n"}));

  // Failing, missing and killed commands come back the same way.
  EXPECT_EQ(runCommand("exit 3", true, false, false), 3);
  EXPECT_EQ(runCommand("no-such-command-anywhere 2>/dev/null", true, false, false), 127);
  EXPECT_EQ(runCommand("kill -KILL $$", false, false, false), 128 + 9);
  EXPECT_EQ(console_.leaveCount, 4);
  EXPECT_EQ(console_.enterCount, 4);
  expectScreenBack();

  // In the current directory.
  tree_.makeDir("sub");
  ASSERT_TRUE(changeDirectory("T:\\sub"));
  runCommand("pwd > here", true, false, false);
  EXPECT_EQ(tree_.readFile("sub/here"), tree_.host("sub") + "\n");
}

TEST_F(RunCommandTest, ClearingAndTheKeyPromptOnTheNormalScreen) {
  runCommand("true", true, true, true);  // waiting asked, preference 3 off
  EXPECT_EQ(normalScreenEvents(), (std::vector<std::string>{"clear", "write:\n", "write:\n"}));

  normalScreenEvents().clear();
  setupBlock().preferences[3].set(1);
  runCommand("true", true, true, false);
  EXPECT_EQ(normalScreenEvents(),
            (std::vector<std::string>{"write:\n", "write:\n", "wait:Press any key !"}));
  expectScreenBack();
}

TEST_F(RunCommandTest, KeepScreenVariantAsksInAWindowAfterComingBack) {
  setupBlock().preferences[3].set(1);
  keys_ = {'x'};
  runCommandKeepScreen("true", true, true);
  EXPECT_TRUE(shownAtKey(0, "Press any key !"));
  EXPECT_EQ(console_.leaveCount, 1);
  EXPECT_EQ(console_.enterCount, 1);
  EXPECT_EQ(normalScreenEvents(), (std::vector<std::string>{"write:\n", "write:\n"}));
  expectScreenBack();
}

TEST_F(RunCommandTest, BuiltinsStartNoProcess) {
  tree_.makeDir("docs");
  tree_.makeDir("my dir");
  struct Case {
    const char* command;
    int result;
    const char* directory;  // current directory afterwards ("" for drive C:)
  } cases[] = {
      {"  cd docs  ", BuiltinDone, "T:\\docs"},
      {"CD ..", BuiltinDone, "T:\\"},
      {"cd \"my dir\"", BuiltinDone, "T:\\my dir"},
      {"cd T:\\docs", BuiltinDone, "T:\\docs"},
      {"cd no-such-dir", BuiltinRefused, "T:\\docs"},
      {"C:", BuiltinDone, ""},
      {"t:", BuiltinDone, "T:\\docs"},  // back on T: in its own current directory
      {"Q:", BuiltinRefused, "T:\\docs"},
  };
  int beeps = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(runCommand(c.command, true, true, true), c.result) << c.command;
    if (*c.directory == '\0') {
      EXPECT_EQ(currentDrive(), 'C') << c.command;
    } else {
      EXPECT_EQ(currentDirectory(), c.directory) << c.command;
    }
    if (c.result == BuiltinRefused) ++beeps;
  }
  EXPECT_EQ(console_.beeps, beeps);
  EXPECT_EQ(console_.leaveCount, 0);
  EXPECT_TRUE(normalScreenEvents().empty());

  // A host path is taken as one.
  EXPECT_EQ(runCommand("cd " + tree_.host("my dir"), true, false, false), BuiltinDone);
  EXPECT_EQ(currentDirectory(), "T:\\my dir");
  // One-character paths change the directory too, without a process.
  tree_.makeDir("my dir/a");
  EXPECT_EQ(runCommand("cd a", true, false, false), BuiltinDone);
  EXPECT_EQ(currentDirectory(), "T:\\my dir\\a");
  EXPECT_EQ(runCommand("cd .", true, false, false), BuiltinDone);
  EXPECT_EQ(currentDirectory(), "T:\\my dir\\a");
  EXPECT_EQ(runCommand("cd \\", true, false, false), BuiltinDone);
  EXPECT_EQ(currentDirectory(), "T:\\");
  EXPECT_EQ(console_.leaveCount, 0);
}

TEST_F(RunCommandTest, EditorAndViewerGoToTheirHooks) {
  runCommand("[CSEDIT] notes.txt", true, false, false);
  EXPECT_EQ(console_.beeps, 1);  // nothing registered yet
  setInternalProgramHooks(
      {[](std::string_view name) { openedFiles().push_back("edit " + std::string(name)); },
       [](std::string_view name) { openedFiles().push_back("view " + std::string(name)); }});
  runCommand("[CSEDIT] notes.txt", true, false, false);
  runCommand(" [CSVIEW]  'my notes.txt' ", true, false, false);
  runCommand("[CSVIEW] " + tree_.host("a.txt"), true, false, false);
  runCommand("[CSVIEW]", true, false, false);
  EXPECT_EQ(openedFiles(),
            (std::vector<std::string>{"edit notes.txt", "view my notes.txt", "view T:\\a.txt"}));
  EXPECT_EQ(console_.beeps, 2);
  EXPECT_EQ(console_.leaveCount, 0);
}

TEST_F(RunCommandTest, LinesSplitAtSemicolonsAndWaitAfterTheLast) {
  setupBlock().preferences[3].set(1);
  EXPECT_EQ(
      runCommandLine("echo 1 > one; ;echo 2 > two", "", ScreenVariant::Console, false, true, true),
      ExpandDone);
  EXPECT_EQ(tree_.readFile("one"), "1\n");
  EXPECT_EQ(tree_.readFile("two"), "2\n");
  EXPECT_EQ(console_.leaveCount, 2);
  EXPECT_EQ(normalScreenEvents(),
            (std::vector<std::string>{"clear", "write:\n", "write:\n", "write:\n", "write:\n",
                                      "wait:Press any key !"}));
  expectScreenBack();

  // A leading "0" runs nothing.
  runCommandLine("0touch x", "", ScreenVariant::Console, false, false, false);
  EXPECT_FALSE(tree_.exists("x"));
  EXPECT_EQ(console_.leaveCount, 2);

  // Quoted and escaped ";" stay in their command; a line break makes one command of the line.
  runCommandLine("echo 'a;b' > q; find . -name q -exec cp {} q2 \\;", "", ScreenVariant::Console,
                 false, false, false);
  EXPECT_EQ(tree_.readFile("q2"), "a;b\n");
  EXPECT_EQ(console_.leaveCount, 4);
  runCommandLine("touch l1\ntouch l2; touch l3", "", ScreenVariant::Console, false, false, false);
  EXPECT_TRUE(tree_.exists("l1") && tree_.exists("l2") && tree_.exists("l3"));
  EXPECT_EQ(console_.leaveCount, 5);
}

TEST_F(RunCommandTest, TheFileNameFillsEachCommand) {
  tree_.writeFile("it's here.txt", "x");
  // The second command has no placeholder: the name is appended.
  runCommandLine("cp % %%.bak; rm", "it's here.txt", ScreenVariant::Console, true, false, false);
  EXPECT_EQ(tree_.readFile("it's here.bak"), "x");
  EXPECT_FALSE(tree_.exists("it's here.txt"));
  EXPECT_EQ(console_.leaveCount, 2);
}

TEST_F(RunCommandTest, AnExpansionErrorStopsTheLine) {
  keys_ = {key::Enter, key::Enter};  // "LNG ERROR 1", then "ERROR"
  const std::string tooLong = "echo " + std::string(400, 'x') + " > never";
  EXPECT_EQ(runCommandLine("touch first;" + tooLong + ";touch third", "", ScreenVariant::Console,
                           false, false, false),
            ExpandError);
  EXPECT_TRUE(shownAtKey(0, "LNG ERROR 1"));
  EXPECT_TRUE(shownAtKey(1, "ERROR"));
  EXPECT_TRUE(tree_.exists("first"));
  EXPECT_FALSE(tree_.exists("never"));
  EXPECT_FALSE(tree_.exists("third"));
  expectScreenBack();
}

TEST_F(RunCommandTest, AParameterLeftWithEscapeRunsNothing) {
  keys_ = {'a', key::Escape};
  EXPECT_EQ(runCommandLine("touch [ ]", "", ScreenVariant::KeepScreen, false, false, false),
            key::Escape);
  EXPECT_FALSE(tree_.exists("[ ]"));
  EXPECT_FALSE(tree_.exists("a"));
  EXPECT_EQ(console_.leaveCount, 0);
}

}  // namespace
}  // namespace corvane
