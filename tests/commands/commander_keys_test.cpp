// The keys of the COMMANDER layout that a first-time user reaches for: Ctrl-PgUp, "cd .." and
// Goto ".." up a directory, the keypad's selection keys, a function-key page, directories
// that cannot be shown.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/loop_fixture.h"
#include "commands/loop_texts.h"
#include "exec/run_command.h"
#include "panels/selection_texts.h"
#include "platform/textf.h"

namespace corvane::testing {
namespace {

using Names = std::vector<std::string>;

class CommanderKeysTest : public LoopTest {
 protected:
  CommanderKeysTest() {
    useLayout(KeyboardCommander, LayoutTwoLists);
    for (const char* dir : {"alpha", "beta", "alpha/inner"}) t_.makeDir(dir);
    t_.writeFile("a.txt", "a");
    t_.writeFile("b.txt", "bb");
    t_.writeFile("c.dat", "ccc");
    setupBlock().preferences[3].set(0);   // no key prompt after a command
    setupBlock().preferences[12].set(0);  // no re-read after it
    setNormalScreenOps({[] {}, [](std::string_view) {}, [](std::string_view) {}});
  }
  ~CommanderKeysTest() override { resetNormalScreenOps(); }

  // Types a line and Enter (the last key of a step: running a command drops what follows).
  void typeLine(std::string_view text) {
    console_.pushText(text);
    pushKeys({key::Enter});
  }
};

// (Backspace, Esc and the keypad's "+" and "*" are tried through a terminal end to end.)
TEST_F(CommanderKeysTest, UpByAnyKeyOrCommandLandsOnTheDirectoryLeft) {
  run({
          [&] {
            pushKeys({key::Down, key::Enter, key::CtrlPgUp});
          },  // into beta and up
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\");
            EXPECT_EQ(cursorName(), "beta");
            pushKeys({key::Up, key::Enter, key::Down, key::Enter});  // T:\alpha\inner
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\alpha\\inner");
            typeLine("cd ..");
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\alpha");
            EXPECT_EQ(cursorName(), "inner");
            pushKeys({key::F9, key::Right, 'g'});  // Goto from the File menu
            typeLine("..");
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\");
            EXPECT_EQ(cursorName(), "alpha");
            pushKeys({key::KeypadMinus});  // Inverse Select: the files that do not match
          },
          [&] {
            EXPECT_TRUE(shows(TextInverseSelectTitle));
            typeLine("*.txt");
          },
          [&] {
            EXPECT_EQ(selectedNames(), Names{"c.dat"});
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(CommanderKeysTest, FunctionKeyPageShowsOverTheBottomRows) {
  run({
          [&] { pushKeys({key::fkey(10, key::ModCtrl)}); },
          [&] {
            EXPECT_TRUE(shows("Function key  1:  F5"));
            EXPECT_FALSE(shows("1Help"));
            pushKeys({key::fkey(10, key::ModCtrl), key::fkey(10, key::ModCtrl),
                      key::fkey(10, key::ModCtrl)});
          },
          [&] {
            EXPECT_FALSE(shows("Function key"));
            EXPECT_TRUE(shows("1Help   2Menue"));
            EXPECT_TRUE(shows("T:\\>"));
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(CommanderKeysTest, DirectoriesThatCannotBeShown) {
  // A directory that went while it was shown: Ctrl-R goes to the nearest one above, saying so.
  const std::string longName(90, 'n');
  t_.makeDir(longName);
  t_.makeDir(longName + "/" + longName);
  t_.makeDir(longName + "/" + longName + "/" + longName);
  run({
          [&] {
            std::filesystem::remove_all(t_.host("alpha/inner"));
            pushKeys({key::ctrl('R')});
          },
          [&] {
            EXPECT_TRUE(shows("cannot be read, back to T:\\alpha"));
            pushKeys({key::Enter});
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\alpha");
            EXPECT_EQ(currentDirectory(), "T:\\alpha");
            // A command in a directory that went says why it did not run.
            std::filesystem::remove_all(t_.host("alpha"));
            typeLine("true");
          },
          [&] {
            EXPECT_TRUE(shows("The command could not start:"));
            EXPECT_TRUE(shows("T:\\alpha"));
            pushKeys({key::Enter, key::ctrl('R')});  // Ctrl-R leaves it
          },
          [&] {
            EXPECT_TRUE(shows("cannot be read, back to T:\\"));
            pushKeys({key::Enter});
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\");
            // A path longer than the limit is not entered, and that is said.
            typeLine("cd " + longName + "\\" + longName);
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\" + longName + "\\" + longName);
            pushKeys({key::Down, key::Enter});
          },
          [&] {
            EXPECT_TRUE(shows(textf(FormatPathTooLong, 260)));
            EXPECT_EQ(panel().currentDirectory, "T:\\" + longName + "\\" + longName);
            pushKeys({key::Enter, key::Escape});
          },
      },
      "T:\\alpha\\inner", "U:\\");
}

}  // namespace
}  // namespace corvane::testing
