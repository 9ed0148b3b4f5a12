// Whole scenarios through the command loop: keys in, the panels' state and the screen out.
#include "commands/command_loop.h"

#include <gtest/gtest.h>

#include "commands/loop_fixture.h"
#include "commands/loop_texts.h"
#include "panels/selection_texts.h"
#include "platform/clock.h"

namespace corvane::testing {
namespace {

using Names = std::vector<std::string>;

class CommandLoopTest : public LoopTest {
 protected:
  CommandLoopTest() {
    for (const char* dir : {"alpha", "beta", "gamma"}) t_.makeDir(dir);
    t_.writeFile("alpha/x.txt", "x");
    t_.writeFile("alpha/y.txt", "yy");
    t_.writeFile("a.txt", std::string(300, 'a'));
    t_.writeFile("b.txt", std::string(100, 'b'));
    t_.writeFile("c.dat", std::string(200, 'c'));
    u_.writeFile("u.txt", "u");
  }
};

TEST_F(CommandLoopTest, EnterAndLeaveDirectoriesWithTheCursorBackOnTheOneLeft) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  const int result = run({
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        EXPECT_EQ(cursorName(), "alpha");
        pushKeys({key::Down, key::Enter});
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\beta");
        EXPECT_EQ(currentDirectory(), "T:\\beta");
        EXPECT_EQ(cursorName(), "..");
        pushKeys({key::Backspace});
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        EXPECT_EQ(cursorName(), "beta");
        EXPECT_EQ(loop().current.cursorIndex, 1);
        pushKeys({key::Up, key::Enter, key::Enter});  // into alpha, then Enter on ".."
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        EXPECT_EQ(cursorName(), "alpha");
        pushKeys({key::CtrlBackspace, key::Escape});
      },
  });
  EXPECT_EQ(result, LoopEnd);
}

TEST_F(CommandLoopTest, EachDriveKeepsItsDirectoryAndCursorName) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] {
        pushKeys({key::Enter, key::Down, key::Down});
      },  // T:\alpha, on y.txt
      [&] {
        EXPECT_EQ(cursorName(), "y.txt");
        pushKeys({key::ctrl('U')});
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "U:\\");
        EXPECT_EQ(cursorName(), "u.txt");
        pushKeys({key::ctrl('T')});
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\alpha");
        EXPECT_EQ(cursorName(), "y.txt");
        EXPECT_EQ(loop().current.cursorIndex, 2);
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, MissingDriveSaysNotReady) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] { pushKeys({key::ctrl('Q')}); },
      [&] {
        EXPECT_TRUE(shows(TextDriveNotReady));
        pushKeys({key::Escape});  // the message box
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, MarksStayOnRefreshAndGoWithTheDirectory) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] {
        pushKeys({key::End, key::Enter, key::Up, '!'});
      },  // c.dat, then b.txt
      [&] {
        EXPECT_EQ(selectedNames(), (Names{"b.txt", "c.dat"}));
        EXPECT_EQ(panel().selectedCount, 2);
        EXPECT_EQ(panel().selectedSize, 300u);
        t_.writeFile("d.txt", "new");
        pushKeys({key::F3});
      },
      [&] {
        EXPECT_EQ(selectedNames(), (Names{"b.txt", "c.dat"}));
        EXPECT_EQ(cursorName(), "c.dat");
        EXPECT_EQ(panel().fileCount, 7);
        pushKeys({key::Home, key::Enter, key::Backspace});
      },
      [&] {
        EXPECT_EQ(selectedNames(), Names{});
        EXPECT_EQ(panel().selectedCount, 0);
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, SelectionFormAndSelectionKeys) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] { pushKeys({'s'}); },
      [&] {
        EXPECT_TRUE(shows(TextSelectTitle));
        EXPECT_TRUE(shows(TextAddSelection));
        console_.pushText("*.txt");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(selectedNames(), (Names{"a.txt", "b.txt"}));
        EXPECT_EQ(panel().selectedSize, 400u);
        pushKeys({'-'});
      },
      [&] {
        EXPECT_EQ(selectedNames(), Names{"c.dat"});
        pushKeys({'&'});  // show selected files only
      },
      [&] {
        EXPECT_EQ(panel().fileCount, 1);
        EXPECT_EQ(cursorName(), "c.dat");
        pushKeys({'u', key::F3});
      },
      [&] {
        EXPECT_EQ(selectedNames(), Names{});
        EXPECT_EQ(panel().fileCount, 6);
        pushKeys({'N'});  // inverse select, the pattern of last time
      },
      [&] {
        EXPECT_TRUE(shows(TextInverseSelectTitle));
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(selectedNames(), Names{"c.dat"});
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, SortKeysOfTheCommanderLayoutKeepTheSelection) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  auto fileOrder = [] {
    Names names;
    for (NodeId id : chain(panel().list))
      if (!panel().list.nodes[id].entry.isDirectory())
        names.push_back(panel().list.nodes[id].entry.name);
    return names;
  };
  run({
      [&] {
        EXPECT_EQ(fileOrder(), (Names{"a.txt", "b.txt", "c.dat"}));
        pushKeys({key::End, key::Ins, key::fkey(6, key::ModCtrl)});  // select c.dat, by size
      },
      [&] {
        EXPECT_EQ(setupBlock().sortMode.get(), 1);
        EXPECT_EQ(fileOrder(), (Names{"a.txt", "c.dat", "b.txt"}));
        EXPECT_EQ(selectedNames(), Names{"c.dat"});
        EXPECT_EQ(cursorName(), "c.dat");
        // The other panel shows the same directory and follows the order.
        const Panel& other = *loop().other.panel;
        EXPECT_EQ(other.list.nodes[other.list.tail].entry.name, "b.txt");
        pushKeys({key::fkey(4, key::ModCtrl)});
      },
      [&] {
        EXPECT_EQ(fileOrder(), (Names{"c.dat", "a.txt", "b.txt"}));
        pushKeys({key::fkey(3, key::ModCtrl), key::F10});
      },
  });
  EXPECT_EQ(setupBlock().sortMode.get(), 0);
}

TEST_F(CommandLoopTest, TabSwitchesBetweenThePanels) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  run({
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\");
            EXPECT_EQ(loop().other.panel->currentDirectory, "U:\\");
            EXPECT_EQ(currentDirectory(), "T:\\");
            pushKeys({key::Tab});
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "U:\\");
            EXPECT_EQ(currentDirectory(), "U:\\");
            EXPECT_EQ(cursorName(), "u.txt");
            pushKeys({key::ShiftTab});
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\");
            EXPECT_EQ(currentDirectory(), "T:\\");
            // Characters typed in this layout belong to the command line, not to commands.
            pushKeys({'g', 'q'});
          },
          [&] {
            EXPECT_EQ(commandLine().text, "gq");
            EXPECT_FALSE(shows(TextGotoPrompt));
            pushKeys({key::Escape});  // clears the line
          },
          [&] {
            EXPECT_EQ(commandLine().text, "");
            EXPECT_FALSE(shows("T:\\>gq"));
            pushKeys({key::Escape});  // on an empty line: the end
          },
      },
      "T:\\", "U:\\");
}

TEST_F(CommandLoopTest, MenuChoiceByAltLetterAndByMouse) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  setupBlock().preferences[13].set(1);  // the titles on the top row
  run({
      [&] {
        EXPECT_EQ(screenText().substr(0, 9), "  Window ");
        pushKeys({key::alt('N')});
      },
      [&] {
        EXPECT_TRUE(shows(" Autoview"));
        console_.pushText("l");
      },
      [&] {
        EXPECT_EQ(panel().displayBits & DisplayModeBits, DisplayLongPlain);
        console_.pushClick(2, 0);  // " Window"
      },
      [&] {
        EXPECT_TRUE(shows(" Autoview"));
        console_.pushClick(5, 3);  // " Full", the second item
      },
      [&] {
        EXPECT_EQ(panel().displayBits & DisplayModeBits, DisplayLongAttributes);
        pushKeys({key::alt('X')});  // no title: Alt-X reaches the command table
      },
      [&] {
        EXPECT_TRUE(shows(" No files selected ! "));
        pushKeys({key::Escape, key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, ActualOrSelectedFilesIsAskedOnlyWithASelection) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  int beeps = 0;
  run({
      [&] {
        pushKeys({key::alt('F'), 'c'});
      },  // " ^Copy": no selection, copies "c" at once
      [&] {
        EXPECT_FALSE(shows(" Actual File "));
        EXPECT_TRUE(shows("Destination :"));
        pushKeys({key::Escape, key::End, '!', key::alt('F'), 'c'});
      },
      [&] {
        EXPECT_TRUE(shows(" Actual File "));
        EXPECT_TRUE(shows(" Select Files "));
        beeps = console_.beeps;
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_FALSE(shows(" Actual File "));
        EXPECT_EQ(console_.beeps, beeps) << "Escape cancels the command";
        pushKeys({key::alt('F'), 'c', 's'});
      },
      [&] {
        EXPECT_TRUE(shows("Destination :")) << "the selected files' copy";
        pushKeys({key::Escape, key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, PrintChoiceOfTheCommanderLayoutIsAskedOnce) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  run({
      [&] {
        pushKeys({key::End, key::Ins, key::fkey(9, key::ModCtrl)});
      },
      [&] {
        EXPECT_TRUE(shows(" Actual File "));
        console_.pushText("s");
      },
      [&] {
        EXPECT_FALSE(shows(" Actual File ")) << "the loop does not ask a second time";
        EXPECT_TRUE(shows(" With confirmation ? ")) << "the selected files are printed";
        pushKeys({key::Escape});
      },
      [&] { pushKeys({key::fkey(9, key::ModCtrl), key::Escape}); },
      [&] {
        EXPECT_EQ(console_.beeps, 0);
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, AllWindowsOffHidesThePanelsUntilOn) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  run({
      [&] { pushKeys({key::ctrl('O')}); },
      [&] {
        EXPECT_TRUE(programState().panelsHidden);
        EXPECT_FALSE(shows("alpha"));
        EXPECT_TRUE(shows("T:\\>")) << "the command line stays";
        pushKeys({key::Down, key::Enter});  // the history while hidden; Enter does nothing
      },
      [&] {
        EXPECT_EQ(cursorName(), "alpha");
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        pushKeys({key::ctrl('O')});
      },
      [&] {
        EXPECT_FALSE(programState().panelsHidden);
        EXPECT_TRUE(shows("alpha"));
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, NextFileListNestsUpToTwentyLoops) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  const int result = run({
      [&] {
        EXPECT_EQ(nestingLevel(), 1);
        for (int i = 0; i < 25; ++i) pushKeys({key::F4});
      },
      [&] {
        EXPECT_EQ(nestingLevel(), MaxNesting);
        EXPECT_TRUE(shows("Files  Nr. 20"));
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        pushKeys({key::Enter});  // the innermost goes into alpha
      },
      [&] {
        EXPECT_EQ(currentDirectory(), "T:\\alpha");
        for (int i = 0; i < 19; ++i) pushKeys({key::Escape});
      },
      [&] {
        EXPECT_EQ(nestingLevel(), 1);
        EXPECT_TRUE(loop().outermost);
        EXPECT_EQ(currentDirectory(), "T:\\") << "the outer panel's directory is back";
        EXPECT_FALSE(shows("Nr. 2"));
        pushKeys({key::Escape});
      },
  });
  EXPECT_EQ(result, LoopEnd);
  EXPECT_EQ(nestingLevel(), 0);
}

TEST_F(CommandLoopTest, EscapeAsksWithOptionOneAndOnlyYesEnds) {
  useLayout(KeyboardCorvane, LayoutTwoLists);
  setupBlock().preferences[1].set(1);
  const int result = run({
      [&] { pushKeys({key::Escape}); },
      [&] {
        EXPECT_TRUE(shows(TextExitQuestion));
        console_.pushText("n");
      },
      [&] {
        EXPECT_FALSE(shows(TextExitQuestion));
        pushKeys({key::F4});  // a nested loop ends on Esc without a question
      },
      [&] {
        EXPECT_EQ(nestingLevel(), 2);
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_EQ(nestingLevel(), 1);
        EXPECT_FALSE(shows(TextExitQuestion));
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_TRUE(shows(TextExitQuestion));
        console_.pushText("y");
      },
  });
  EXPECT_EQ(result, LoopEnd);
}

TEST_F(CommandLoopTest, ChangedSetupIsOfferedForSavingAtTheEnd) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] { pushKeys({'#'}); },  // the sort dialog
      [&] {
        EXPECT_TRUE(shows("Sortmode"));
        console_.pushText("d");  // ^Date
      },
      [&] {
        EXPECT_EQ(setupBlock().sortMode.get(), 2);
        EXPECT_TRUE(setupChanged());
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_TRUE(shows(TextSaveSetupQuestion));
        console_.pushText("n");
      },
  });
}

TEST_F(CommandLoopTest, FunctionKeyPagesCycleWithInsert) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  functionKeyRecord(setupBlock(), 6)->comment.assign("Build");
  run({
      [&] { pushKeys({key::Ins}); },
      [&] {
        EXPECT_TRUE(shows("Function key  1:  F5"));
        EXPECT_EQ(loop().functionKeyPage, 1);
        pushKeys({key::Ins});
      },
      [&] {
        EXPECT_TRUE(shows("Function key  2:"));
        EXPECT_NE(console_.shownRow(24).find("Build"), std::string::npos);
        pushKeys({key::Ins, key::Ins});
      },
      [&] {
        EXPECT_EQ(loop().functionKeyPage, 0);
        EXPECT_FALSE(shows("Function key"));
        EXPECT_TRUE(shows("F1=HELP"));
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, ClicksMoveTheCursorAndADoubleClickEnters) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  run({
          [&] {
            // Left panel: frame on screen row 2 (under the title row), entries from row 3:
            // alpha, beta, gamma, ...
            console_.pushClick(5, 5);
          },
          [&] {
            EXPECT_EQ(cursorName(), "gamma");
            console_.pushClick(5, 4);
            console_.pushClick(5, 4);
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\beta");
            console_.pushClick(50, 5);  // the other panel
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "U:\\");
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(CommandLoopTest, GotoChangesDirectoryOrLocates) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] {
        pushKeys({'g'});
        console_.pushText("gamma");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\gamma");
        pushKeys({key::Backspace, 'g'});
        console_.pushText("b");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        EXPECT_EQ(cursorName(), "b.txt") << "the first match after the cursor (on gamma)";
        pushKeys({key::alt('G')});
      },
      [&] {
        EXPECT_EQ(cursorName(), "beta") << "the next match, from the top";
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, IdleRefreshRereadsQuietlyKeepingMarksAndCursor) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  std::uint32_t activity = 0;
  run({
      [&] {
        pushKeys({key::End, key::Up, '!'});
      },  // b.txt selected, cursor on c.dat
      [&] {
        t_.writeFile("aa.txt", "new");
        advanceTicks(10'000);
        activity = lastActivityTick();
        console_.pushIdle();
      },
      [&] {
        EXPECT_EQ(panel().fileCount, 7) << "aa.txt came in";
        EXPECT_EQ(selectedNames(), Names{"b.txt"});
        EXPECT_EQ(cursorName(), "c.dat");
        EXPECT_EQ(lastActivityTick(), activity) << "the refresh is no user activity";
        EXPECT_FALSE(shows("Reading directory"));
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, NestedPanelOfTheTwoListLayoutGetsAPartnerAtTab) {
  useLayout(KeyboardCorvane, LayoutTwoLists);
  run({
          [&] {
            pushKeys({key::Enter, key::F4});
          },  // T:\alpha, then a nested panel on it
          [&] {
            EXPECT_EQ(nestingLevel(), 2);
            EXPECT_EQ(loop().other.panel, nullptr);
            pushKeys({key::Tab});
          },
          [&] {
            ASSERT_NE(loop().other.panel, nullptr);
            EXPECT_EQ(panel().currentDirectory, "T:\\alpha");
            EXPECT_EQ(panel().fileCount, 3) << "the partner read its directory";
            EXPECT_NE(panel().window->x, loop().other.panel->window->x);
            // One at a time: an Escape typed ahead would ask to cancel the reading.
            pushKeys({key::Backspace});
          },
          [&] {
            EXPECT_EQ(panel().currentDirectory, "T:\\");
            pushKeys({key::Escape});
          },
          [&] {
            EXPECT_EQ(nestingLevel(), 1);
            EXPECT_EQ(panel().currentDirectory, "T:\\alpha");
            EXPECT_EQ(currentDirectory(), "T:\\alpha");
            EXPECT_EQ(loop().other.panel->currentDirectory, "U:\\");
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(CommandLoopTest, SpecialMenuShowsOnlyTheSelectedFiles) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] {
        pushKeys({key::End, '!', key::Home, key::Down, '!', key::alt('S')});
      },
      [&] {
        EXPECT_TRUE(shows(" Show selected files in window "));
        pushKeys({key::End, key::Up, key::Enter});
      },
      [&] {
        Names names;
        for (NodeId id : chain(panel().list)) names.push_back(panel().list.nodes[id].entry.name);
        EXPECT_EQ(names, (Names{"beta", "c.dat"}));
        EXPECT_EQ(panel().fileCount, 2);
        EXPECT_EQ(panel().totalSize, 200u);
        pushKeys({key::Escape});
      },
  });
}

TEST_F(CommandLoopTest, DisplayModesMaskAndStateWindow) {
  useLayout(KeyboardCorvane, LayoutTwoLists);
  run({
          [&] {
            EXPECT_EQ(panel().displayBits & DisplayModeBits, DisplayShort);
            pushKeys({key::Space});
          },
          [&] {
            EXPECT_EQ(panel().displayBits & DisplayModeBits, DisplayLongAttributes);
            EXPECT_TRUE(shows("   <DIR>"));
            pushKeys({key::Space, key::Space});
          },
          [&] {
            EXPECT_EQ(panel().displayBits & DisplayModeBits, DisplayShort);
            pushKeys({key::End, 'k'});
          },
          [&] {
            EXPECT_TRUE(shows("Mask :"));
            console_.pushText("*.txt");
            pushKeys({key::Enter});
          },
          [&] {
            EXPECT_EQ(panel().mask, "*.txt");
            EXPECT_EQ(panel().fileCount, 5) << "three directories and two files";
            pushKeys({key::alt('Q')});
          },
          [&] {
            EXPECT_TRUE(shows(" State "));
            EXPECT_EQ(panel().infoFlag & 1, 1);
            pushKeys({key::alt('Q')});
          },
          [&] {
            EXPECT_FALSE(shows(" State "));
            EXPECT_TRUE(shows("u.txt")) << "the other panel is drawn again";
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(CommandLoopTest, ResizeRebuildsAndTheWindowLayoutToggles) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  EXPECT_EQ(run({[&] {
              InputRecord resize;
              resize.kind = InputRecord::Kind::Resize;
              console_.pushRecord(resize);
            }}),
            LoopRebuild);
  programState().innermost = nullptr;
  EXPECT_EQ(run({[&] { pushKeys({key::fkey(1, key::ModCtrl)}); }}), LoopRebuild);
  EXPECT_EQ(programState().windowLayoutChoice, LayoutSingleList);
  // "/" is typed into the command line in the COMMANDER layout; the user menu is asked for
  // with it in the others.
  setupBlock().keyboardLayout.set(KeyboardCorvane);
  EXPECT_EQ(run({[&] {
              EXPECT_EQ(loop().other.panel, nullptr);
              EXPECT_EQ(panel().layout, LayoutSingleList);
              pushKeys({'/'});
            }}),
            LoopUserMenu);
}

}  // namespace
}  // namespace corvane::testing
