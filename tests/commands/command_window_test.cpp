// The command window: the command line of the COMMANDER layout with its history, executing
// it and what follows, all windows off with the user's screen, the CORVANE label rows.
#include "commands/command_window.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "commands/command_line.h"
#include "commands/loop_fixture.h"
#include "commands/loop_texts.h"
#include "exec/exec_fixture.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/session.h"
#include "ui/input_history.h"

namespace corvane::testing {
namespace {

using Texts = std::vector<std::string>;

TEST(CommandHistoryBrowse, StepsWrapAndStartFromTheLineJustExecuted) {
  struct Case {
    const char* what;
    HistoryBrowse start;
    int count;
    HistoryDirection direction;
    int taken;
  };
  constexpr auto F = HistoryDirection::Forward, B = HistoryDirection::Back;
  const Case cases[] = {
      {"right after executing: the newest", {1, true}, 3, F, 2},
      {"forward from the newest wraps to the oldest", {2, false}, 3, F, 0},
      {"forward", {0, false}, 3, F, 1},
      {"back", {2, false}, 3, B, 1},
      {"back from the oldest wraps to the newest", {0, false}, 3, B, 2},
      {"back right after executing: the one before", {2, true}, 3, B, 1},
      {"nothing taken yet: forward starts at the oldest", {-1, false}, 3, F, 0},
      {"nothing taken yet: back starts at the newest", {-1, false}, 3, B, 2},
      {"entries removed behind the position: forward", {7, false}, 3, F, 0},
      {"entries removed behind the position: back", {7, false}, 3, B, 2},
      {"empty history", {-1, true}, 0, F, -1},
  };
  for (const Case& c : cases) {
    HistoryBrowse browse = c.start;
    EXPECT_EQ(stepHistory(browse, c.count, c.direction), c.taken) << c.what;
    if (c.taken >= 0) {
      EXPECT_EQ(browse.position, c.taken) << c.what;
      EXPECT_FALSE(browse.justExecuted) << c.what;
    }
  }
}

TEST(CommandPrompt, LongDirectoriesAreCutAtTheLeft) {
  EXPECT_EQ(commandPrompt("T:\\", 80), "T:\\>");
  const std::string deep = "T:\\" + std::string(70, 'd');
  const std::string prompt = commandPrompt(deep, 80);
  EXPECT_EQ(prompt.substr(0, 3), "...");
  EXPECT_EQ(static_cast<int>(prompt.size()), 80 - CommandLineMinFieldCells);
  EXPECT_EQ(prompt.back(), '>');
}

// The COMMANDER layout on T: (alpha/, beta/, a.txt, b.txt), commands run by /bin/sh, no key
// prompt after them, the normal screen recorded instead of written.
class CommandWindowTest : public LoopTest {
 protected:
  CommandWindowTest() {
    t_.makeDir("alpha");
    t_.makeDir("beta");
    t_.writeFile("a.txt", std::string(300, 'a'));
    t_.writeFile("b.txt", "b");
    useLayout(KeyboardCommander, LayoutTwoLists);
    setupBlock().preferences[3].set(0);
    setupBlock().preferences[12].set(0);
    resetHistory();
    normalScreenEvents().clear();
    setNormalScreenOps({[] { normalScreenEvents().push_back("clear"); },
                        [](std::string_view text) {
                          normalScreenEvents().push_back("write:" + std::string(text));
                        },
                        [](std::string_view) { normalScreenEvents().push_back("wait"); }});
  }
  ~CommandWindowTest() override {
    resetNormalScreenOps();
    resetHistory();
    resetCommandLine();
  }

  // Types a line and Enter (the last key of a step: running a command drops what follows).
  void typeLine(std::string_view text) {
    console_.pushText(text);
    pushKeys({key::Enter});
  }
  static std::string line() { return commandLine().text; }
  static Texts history() {
    Texts texts;
    for (int i = 0; i < historyCount(); ++i) texts.push_back(historyEntry(i).text);
    return texts;
  }
  std::string commandRow() const { return console_.shownRow(23); }

  ScopedEnv comspec_{"COMSPEC", nullptr};
  ScopedEnv shell_{"SHELL", "/bin/sh"};
};

TEST_F(CommandWindowTest, HistoryAfterAnExecutionStartsWithItAndWrapsBothWays) {
  run({
      [&] { typeLine("true one"); },
      [&] { typeLine("true two"); },
      [&] {
        EXPECT_EQ(history(), (Texts{"true one", "true two"}));
        EXPECT_EQ(line(), "");
        EXPECT_EQ(commandRow().substr(0, 8), "T:\\>    ");
        pushKeys({key::ctrl('E')});
      },
      [&] {
        EXPECT_EQ(line(), "true two") << "the command just executed";
        EXPECT_EQ(commandRow().substr(0, 12), "T:\\>true two");
        pushKeys({key::ctrl('E')});
      },
      [&] {
        EXPECT_EQ(line(), "true one") << "from the newest round to the oldest";
        pushKeys({key::ctrl('E')});
      },
      [&] {
        EXPECT_EQ(line(), "true two");
        pushKeys({key::ctrl('X')});
      },
      [&] {
        EXPECT_EQ(line(), "true one");
        pushKeys({key::ctrl('X')});
      },
      [&] {
        EXPECT_EQ(line(), "true two") << "from the oldest round to the newest";
        console_.pushText("x");  // editing goes on at the end of the entry
      },
      [&] {
        EXPECT_EQ(line(), "true twox");
        pushKeys({key::F10});
      },
  });
}

TEST_F(CommandWindowTest, F1WhileTypingShowsTheHelpOfTheCommanderPanels) {
  static int shownContext = -1;
  KeyReaderHooks hooks;
  hooks.help = [] { shownContext = currentHelpContext(); };
  setKeyReaderHooks(hooks);
  run({
      [&] { pushKeys({key::F1}); },
      [&] {
        EXPECT_EQ(shownContext, 500);
        pushKeys({key::F10});
      },
  });
  setKeyReaderHooks({});
}

TEST_F(CommandWindowTest, ExecutingRunsTheLineOnceAndKeepsOneHistoryEntryForIt) {
  run({
      [&] { typeLine("echo made >made.txt"); },
      [&] {
        EXPECT_TRUE(fileExists("T:\\made.txt"));
        EXPECT_EQ(console_.leaveCount, 1);
        EXPECT_EQ(console_.enterCount, 1);
        typeLine("true other");
      },
      [&] { typeLine("echo made >made.txt   "); },  // the same line, blanks at its end
      [&] {
        EXPECT_EQ(history(), (Texts{"true other", "echo made >made.txt"}));
        pushKeys({key::ctrl('E')});
      },
      [&] {
        EXPECT_EQ(line(), "echo made >made.txt");
        pushKeys({key::F10});
      },
  });
}

TEST_F(CommandWindowTest, ABlankLineRunsNothingAndEnterActsOnTheCursorEntry) {
  run({
      [&] {
        EXPECT_EQ(cursorName(), "alpha");
        typeLine("   ");
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\alpha");
        EXPECT_EQ(console_.leaveCount, 0) << "no command ran";
        EXPECT_EQ(historyCount(), 0);
        EXPECT_EQ(line(), "");
        pushKeys({key::F10});
      },
  });
}

TEST_F(CommandWindowTest, CtrlJAppendsTheCursorNameButNotWhileThePanelsAreHidden) {
  t_.writeFile("my file.txt", "m");
  run({
      [&] {
        console_.pushText("cat");
        pushKeys({key::End, key::ctrl('J')});  // End: the last entry, "my file.txt"
      },
      [&] {
        EXPECT_EQ(line(), "cat 'my file.txt'") << "quoted for the interpreter";
        pushKeys({key::Home, key::Down, key::Down, key::ctrl('J')});
      },
      [&] {
        EXPECT_EQ(line(), "cat 'my file.txt' a.txt");
        pushKeys({key::ctrl('O'), key::ctrl('J')});
      },
      [&] {
        EXPECT_EQ(line(), "cat 'my file.txt' a.txt");
        pushKeys({key::ctrl('O'), key::F10});
      },
  });
}

// A name that holds ";" and "%" is one word when the line runs: neither the cut into
// commands nor the placeholders of the line reach inside it.
TEST_F(CommandWindowTest, ANamePutOnTheLineRunsAsOneWord) {
  t_.writeFile("z%;touch INJECTED;b", "z");
  run({
      [&] {
        console_.pushText("cp");
        pushKeys({key::End, key::ctrl('J')});
      },
      [&] {
        console_.pushText(" \"copy");
        pushKeys({key::End, key::ctrl('J')});
      },
      [&] { typeLine("\""); },
      [&] {
        EXPECT_FALSE(t_.exists("INJECTED"));
        EXPECT_EQ(t_.readFile("copy z%;touch INJECTED;b"), "z") << "inside double quotes too";
        pushKeys({key::F10});
      },
  });
}

TEST_F(CommandWindowTest, TheCursorEntryIsReadAgainAfterACommand) {
  run({
      [&] {
        pushKeys({key::Down, key::Down});
        typeLine("printf 12345 >a.txt; echo new >new.txt");
      },
      [&] {
        EXPECT_EQ(cursorName(), "a.txt");
        const FileEntry& entry = panel().list.nodes[panel().cursor].entry;
        EXPECT_EQ(entry.size, 5u);
        EXPECT_EQ(panel().totalSize, 5u + 1u) << "a.txt and b.txt";
        bool listed = false;
        for (NodeId id : chain(panel().list))
          listed |= panel().list.nodes[id].entry.name == "new.txt";
        EXPECT_FALSE(listed) << "without preference 12 the list is not read again";
        setupBlock().preferences[12].set(1);
        typeLine("printf 1234567 >a.txt; echo new >new2.txt");
      },
      [&] {
        EXPECT_EQ(cursorName(), "a.txt") << "the cursor stays on its entry";
        EXPECT_EQ(panel().list.nodes[panel().cursor].entry.size, 7u);
        EXPECT_TRUE(shows("new2")) << "re-read with preference 12";
        const Panel& other = *loop().other.panel;
        bool listed = false;
        for (NodeId id : chain(other.list)) listed |= other.list.nodes[id].entry.name == "new2.txt";
        EXPECT_TRUE(listed) << "the other panel shows the same directory";
        pushKeys({key::F10});
      },
  });
}

TEST_F(CommandWindowTest, AltF8PicksTheLineFromTheHistoryWindow) {
  addToHistory("true picked", HistoryKindInput);
  addToHistory("true newest", HistoryKindInput);
  run({
      [&] { pushKeys({key::fkey(8, key::ModAlt)}); },
      [&] {
        EXPECT_TRUE(shows(" Select text "));
        pushKeys({key::Up, key::Enter});  // from the newest to the one before
      },
      [&] {
        EXPECT_FALSE(shows(" Select text "));
        EXPECT_EQ(line(), "true picked");
        pushKeys({key::F10});
      },
  });
}

// All windows off on a terminal: the user's screen (here a pipe) with the prompt line on it.
class UserScreenTest : public CommandWindowTest {
 protected:
  UserScreenTest() {
    EXPECT_EQ(pipe2(pipe_, O_NONBLOCK), 0);
    setUserScreenLineOutput(pipe_[1]);
  }
  ~UserScreenTest() override {
    setUserScreenLineOutput(-1);
    close(pipe_[0]);
    close(pipe_[1]);
  }
  std::string written() {
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipe_[0], buffer, sizeof buffer)) > 0)
      out.append(buffer, static_cast<std::size_t>(n));
    return out;
  }
  int pipe_[2] = {-1, -1};
};

TEST_F(UserScreenTest, CtrlOShowsTheUserScreenWithAUsableCommandLine) {
  setupBlock().preferences[1].set(1);   // Escape asks
  setupBlock().preferences[12].set(1);  // the list read again after a command
  run({
      [&] {
        EXPECT_FALSE(userScreenLineInUse());
        EXPECT_FALSE(externalProgramRunning());
        pushKeys({key::ctrl('O')});
        console_.pushText("ls");
      },
      [&] {
        EXPECT_TRUE(userScreenLineShown());
        EXPECT_TRUE(externalProgramRunning()) << "no screen saver over the user's screen";
        EXPECT_EQ(console_.leaveCount, 1) << "the program's screen is left";
        EXPECT_NE(written().find("\rT:\\>ls\x1b[K"), std::string::npos);
        pushKeys({key::Backspace, key::Backspace});
        typeLine("echo hi >from-user-screen.txt");
      },
      [&] {
        EXPECT_TRUE(fileExists("T:\\from-user-screen.txt"));
        EXPECT_TRUE(userScreenLineShown()) << "the command ran on the user's screen";
        EXPECT_EQ(console_.enterCount, 0);
        pushKeys({key::Up});  // the history, as Ctrl-E
      },
      [&] {
        EXPECT_EQ(line(), "echo hi >from-user-screen.txt");
        EXPECT_NE(written().find("\rT:\\>echo hi"), std::string::npos);
        // The first Escape clears the line; on the empty line the exit question needs the
        // program's screen.
        pushKeys({key::Escape, key::Escape});
      },
      [&] {
        EXPECT_EQ(console_.enterCount, 1);
        EXPECT_TRUE(shows(TextExitQuestion));
        console_.pushText("n");
      },
      [&] {
        EXPECT_TRUE(userScreenLineShown()) << "back to the user's screen";
        EXPECT_EQ(console_.leaveCount, 2);
        pushKeys({key::ctrl('O')});
      },
      [&] {
        EXPECT_FALSE(userScreenLineInUse());
        EXPECT_FALSE(programState().panelsHidden);
        EXPECT_EQ(console_.enterCount, 2);
        EXPECT_TRUE(shows("alpha"));
        bool listed = false;
        for (NodeId id : chain(panel().list))
          listed |= panel().list.nodes[id].entry.name == "from-user-screen.txt";
        EXPECT_TRUE(listed) << "the re-read left while hidden was not lost";
        pushKeys({key::F10});
        console_.pushText("y");
      },
  });
}

TEST_F(CommandWindowTest, ClicksOnHiddenLabelsDoNothing) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  applyProfile(ProfileBeginner);
  run({
      [&] {
        pushKeys({key::End, '!'});  // b.txt selected
      },
      [&] {
        ASSERT_EQ(selectedNames(), Texts{"b.txt"});
        EXPECT_EQ(console_.shownRow(23).find("Unsel"), std::string::npos);
        console_.pushClick(59, 23);  // where "^Unsel" would be
      },
      [&] {
        EXPECT_EQ(selectedNames(), Texts{"b.txt"});
        applyProfile(ProfileProfessional);
        loop().barDirty = true;
        pushKeys({key::Home});
      },
      [&] {
        EXPECT_NE(console_.shownRow(23).find("Unsel"), std::string::npos);
        console_.pushClick(59, 23);
      },
      [&] {
        EXPECT_TRUE(selectedNames().empty());
        pushKeys({key::Escape});
      },
  });
}

}  // namespace
}  // namespace corvane::testing
