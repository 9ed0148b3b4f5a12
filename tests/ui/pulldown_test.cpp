#include "ui/pulldown.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "menu_fixture.h"
#include "platform/color.h"
#include "platform/keycodes.h"

namespace corvane {
namespace {

using PulldownTest = testing::MenuTest;

constexpr MenuItem Items[] = {
    {.label = " ^Alpha", .helpContext = 11, .command = 101},
    {.label = " ^Beta", .helpContext = 12, .command = 102},
    menuSeparator(),
    {.label = " ^Gamma long", .helpContext = 13, .command = 103},
    {.label = " ^Delta", .helpContext = 14, .command = 104},
};

// At (5, 3): inner width 11 (" Gamma long"), so the window takes columns 4..16 and rows 2..8
// (0-based); item i is on row 3 + i, its cells in columns 5..15.
PulldownMenu testMenu() { return {.x = 5, .y = 3, .items = Items}; }
constexpr int ItemColumn = 5;
int itemRow(int item) { return 3 + item; }

TEST_F(PulldownTest, DrawsFramedItemsWithSeparatorHighlightAndShadow) {
  ASSERT_NE(color(ColorPulldown), color(ColorPulldownLine));
  PulldownMenu menu = testMenu();
  menu.title = " ^Menu";
  menu.showTitle = true;
  screen_.pushKey(key::Escape);
  int command = -1;
  EXPECT_EQ(runPulldown(menu, command), MenuCancelled);
  EXPECT_EQ(command, 0);

  const char* expected[] = {
      "\u250C\u2500\u2500\u2500 Menu\u2500\u2500\u2500\u2510",
      "\u2502 Alpha     \u2502",
      "\u2502 Beta      \u2502",
      "\u251C\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2524",
      "\u2502 Gamma long\u2502",
      "\u2502 Delta     \u2502",
      "\u2514\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2518",
  };
  for (int row = 0; row < 7; ++row)
    EXPECT_EQ(screen_.rowAtRead(0, 2 + row, 4, 13), expected[row]) << "row " << row;

  EXPECT_EQ(screen_.attrAtRead(0, 4, 2), color(ColorPulldownFrame));
  EXPECT_EQ(screen_.attrAtRead(0, 4, 5), color(ColorPulldownFrame));  // separator tee
  EXPECT_EQ(screen_.attrAtRead(0, ItemColumn, itemRow(0)), color(ColorPulldownLine));
  EXPECT_EQ(screen_.attrAtRead(0, 15, itemRow(0)), color(ColorPulldownLine));  // padded
  EXPECT_EQ(screen_.attrAtRead(0, ItemColumn + 1, itemRow(0)), color(ColorHotkey));
  EXPECT_EQ(screen_.attrAtRead(0, ItemColumn, itemRow(1)), color(ColorPulldown));
  EXPECT_EQ(screen_.attrAtRead(0, ItemColumn + 1, itemRow(1)), color(ColorHotkey));
  EXPECT_EQ(screen_.attrAtRead(0, 17, 3), ShadowAttr);
  EXPECT_EQ(screen_.attrAtRead(0, 10, 9), ShadowAttr);
}

TEST_F(PulldownTest, KeysMoveTheHighlight) {
  struct Case {
    std::vector<KeyCode> keys;
    int command;
  } cases[] = {
      {{key::Up}, 104},  // from the first to the last
      {{key::End, key::Up}, 103},
      {{key::End, key::Up, key::Up}, 102},  // the separator above Gamma is skipped
      {{key::Down}, 102},
      {{key::Down, key::Down}, 103},  // and skipped going down
      {{key::End, key::Down}, 101},   // from the last to the first
      {{key::End, key::Home}, 101},
      {{key::Down, key::Down, key::Down}, 104},
  };
  for (const Case& c : cases) {
    PulldownMenu menu = testMenu();
    for (KeyCode k : c.keys) screen_.pushKey(k);
    screen_.pushKey(key::Enter);
    int command = 0;
    EXPECT_EQ(runPulldown(menu, command), MenuChosen);
    EXPECT_EQ(command, c.command) << "after " << c.keys.size() << " keys to " << c.command;
    EXPECT_EQ(menu.items[static_cast<std::size_t>(menu.currentItem)].command, c.command);
  }
  EXPECT_EQ(screen_.beeps, 0);
}

TEST_F(PulldownTest, RemembersTheHighlightedItemAcrossRuns) {
  PulldownMenu menu = testMenu();
  screen_.pushKeys({key::Down, key::Enter});
  int command = 0;
  ASSERT_EQ(runPulldown(menu, command), MenuChosen);
  EXPECT_EQ(command, 102);

  screen_.pushKey(key::Enter);
  ASSERT_EQ(runPulldown(menu, command), MenuChosen);
  EXPECT_EQ(command, 102);
  // The second run opened with Beta highlighted.
  EXPECT_EQ(screen_.attrAtRead(2, ItemColumn, itemRow(0)), color(ColorPulldown));
  EXPECT_EQ(screen_.attrAtRead(2, ItemColumn, itemRow(1)), color(ColorPulldownLine));
}

TEST_F(PulldownTest, AMoveRedrawsOnlyTheTwoItemsConcerned) {
  PulldownMenu menu = testMenu();
  screen_.pushKeys({key::Down, key::Escape});
  int command = 0;
  ASSERT_EQ(runPulldown(menu, command), MenuCancelled);
  std::vector<FlushedRect> redrawn = screen_.writesAfterRead(0);
  ASSERT_EQ(redrawn.size(), 2u);
  EXPECT_EQ(redrawn[0].top, itemRow(0));
  EXPECT_EQ(redrawn[1].top, itemRow(1));
  for (const FlushedRect& rect : redrawn) {
    EXPECT_EQ(rect.top, rect.bottom);
    EXPECT_GE(rect.left, ItemColumn);
    EXPECT_LE(rect.right, 15);
  }
}

TEST_F(PulldownTest, HelpContextFollowsTheHighlightedItem) {
  PulldownMenu menu = testMenu();
  screen_.pushKeys({key::Down, key::Down, key::Escape});
  int command = 0;
  ASSERT_EQ(runPulldown(menu, command), MenuCancelled);
  EXPECT_EQ(screen_.helpAtRead, (std::vector<int>{11, 12, 13}));
}

TEST_F(PulldownTest, HotkeyLettersChooseAndOtherKeysBeep) {
  struct Case {
    std::vector<KeyCode> keys;
    int result, command, beeps;
  } cases[] = {
      {{'g'}, MenuChosen, 103, 0},  // lower case folded
      {{'D'}, MenuChosen, 104, 0},
      {{'x', 'b'}, MenuChosen, 102, 1},  // no hotkey: beep, the menu stays
      {{'7', key::F5, key::Escape}, MenuCancelled, 0, 2},
      {{key::Left}, MenuLeft, 0, 0},
      {{key::Right}, MenuRight, 0, 0},
      {{key::ModifierEvent, key::Enter}, MenuChosen, 101, 0},  // a modifier change: no beep
  };
  for (const Case& c : cases) {
    PulldownMenu menu = testMenu();
    for (KeyCode k : c.keys) screen_.pushKey(k);
    const int beepsBefore = screen_.beeps;
    int command = -1;
    EXPECT_EQ(runPulldown(menu, command), c.result) << c.keys.front();
    EXPECT_EQ(command, c.command) << c.keys.front();
    EXPECT_EQ(screen_.beeps - beepsBefore, c.beeps) << c.keys.front();
  }
  EXPECT_EQ(screen_.lastBeepFrequency, 3000);
}

TEST_F(PulldownTest, UserMenuModeKeepsLeftAndRightInside) {
  setUserMenuMode(true);
  PulldownMenu menu = testMenu();
  screen_.pushKeys({key::Right, key::Left, key::Escape});
  int command = 0;
  EXPECT_EQ(runPulldown(menu, command), MenuCancelled);
  EXPECT_EQ(screen_.beeps, 2);
}

TEST_F(PulldownTest, ClicksChooseItemsOrCancel) {
  {
    PulldownMenu menu = testMenu();
    screen_.pushClick(9, itemRow(3));
    int command = 0;
    EXPECT_EQ(runPulldown(menu, command), MenuChosen);
    EXPECT_EQ(command, 103);
    EXPECT_EQ(menu.currentItem, 3);
  }
  {
    // The separator line does nothing and leaves the highlight where it was.
    PulldownMenu menu = testMenu();
    menu.currentItem = 1;
    screen_.pushClick(8, itemRow(2));
    screen_.pushClick(40, 20);  // outside the menu
    int command = 0;
    EXPECT_EQ(runPulldown(menu, command), MenuCancelled);
    EXPECT_EQ(command, 0);
    EXPECT_EQ(menu.currentItem, 1);
    EXPECT_EQ(screen_.attrAtRead(-1, ItemColumn, itemRow(1)), color(ColorPulldownLine));
  }
  EXPECT_EQ(screen_.beeps, 0);
}

// Handler calls of the handler test: (data, item), and the results to give back in turn.
std::vector<std::pair<const void*, int>> handlerCalls;
std::vector<int> handlerResults;

int recordingHandler(const void* data, int item) {
  handlerCalls.emplace_back(data, item);
  int result = handlerResults.front();
  handlerResults.erase(handlerResults.begin());
  return result;
}

constexpr int OptionOne = 1, OptionTwo = 2;
constexpr MenuItem HandlerItems[] = {
    {.label = " ^One", .handler = recordingHandler, .data = &OptionOne, .command = 7},
    {.label = " ^Two", .handler = recordingHandler, .data = &OptionTwo, .command = 8},
};

TEST_F(PulldownTest, AHandlerClosesTheMenuOnlyWithTheChoiceResult) {
  handlerCalls.clear();
  handlerResults = {0, 13, MenuChosen};
  PulldownMenu menu{.x = 10, .y = 5, .items = HandlerItems};
  screen_.pushKeys({key::Enter, 't', key::Up});
  screen_.pushKey(key::Enter);
  int command = -1;
  EXPECT_EQ(runPulldown(menu, command), MenuChosen);
  EXPECT_EQ(command, 0);  // a handler ran: no command for the caller
  const std::vector<std::pair<const void*, int>> calls = {
      {&OptionOne, 0}, {&OptionTwo, 1}, {&OptionOne, 0}};
  EXPECT_EQ(handlerCalls, calls);
  // After each handler that did not close, the menu was still there for the next key.
  EXPECT_EQ(screen_.rowAtRead(1, 5, 9, 6), "\u2502 One\u2502");
  EXPECT_EQ(screen_.rowAtRead(2, 6, 9, 6), "\u2502 Two\u2502");
  EXPECT_EQ(screen_.attrAtRead(2, 10, 6), color(ColorPulldownLine));
}

TEST_F(PulldownTest, AMenuPlacedPastTheScreenEdgeIsMovedOntoIt) {
  PulldownMenu menu = testMenu();
  menu.x = 75;
  menu.y = 22;
  screen_.pushClick(70, 23);
  int command = 0;
  EXPECT_EQ(runPulldown(menu, command), MenuChosen);
  EXPECT_EQ(command, 104);
  // Ends at the last column and the last row, every item shown.
  EXPECT_EQ(screen_.rowAtRead(0, 18, 67, 13),
            "\u250C\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2510");
  EXPECT_EQ(screen_.rowAtRead(0, 23, 67, 13), "\u2502 Delta     \u2502");
}

TEST_F(PulldownTest, AMenuWithoutItemsCanOnlyBeCancelled) {
  PulldownMenu menu{.x = 10, .y = 5, .minimumWidth = 8};
  screen_.pushKeys({key::Down, key::End, key::Enter, 'a', key::Escape});
  int command = 0;
  EXPECT_EQ(runPulldown(menu, command), MenuCancelled);
  EXPECT_EQ(command, 0);
}

TEST(MenuLabelTest, OnlyTheFirstCaretIsHidden) {
  EXPECT_EQ(menuLabelCells(" ^File"), 5);
  EXPECT_EQ(menuLabelCells(" ^1^0Quit"), 8);  // the second caret shows
  EXPECT_EQ(menuLabelCells("Plain"), 5);
  EXPECT_EQ(menuLabelCells("End^"), 4);
}

}  // namespace
}  // namespace corvane
