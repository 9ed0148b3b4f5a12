#include "ui/menu_bar.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "menu_fixture.h"
#include "platform/color.h"
#include "platform/keycodes.h"

namespace corvane {
namespace {

constexpr MenuItem FileItems[] = {
    {.label = " ^Open", .command = 201},
    {.label = " ^Save", .command = 202},
};
constexpr MenuItem EditItems[] = {
    {.label = " ^Cut", .command = 301},
    {.label = " C^opy", .command = 302},
};
constexpr MenuItem ViewItems[] = {
    {.label = " ^Zoom", .command = 401},
};

// Bar entries whose handler runs instead of a pulldown: (data, entry) of each call.
std::vector<std::pair<const void*, int>> entryCalls;
int entryResult = 0;
int entryHandler(const void* data, int entry) {
  entryCalls.emplace_back(data, entry);
  return entryResult;
}
constexpr int HelpData = 5;

// The bar row reads "  File  Edit  View": labels at columns 1..5, 7..11 and 13..17
// (0-based), the pulldowns one row below, their frames starting under the labels.
class MenuBarTest : public testing::MenuTest {
 protected:
  MenuBarTest() {
    entryCalls.clear();
    entryResult = 0;
  }

  PulldownMenu file{.title = " ^File", .items = FileItems};
  PulldownMenu edit{.title = " ^Edit", .items = EditItems};
  PulldownMenu view{.title = " ^View", .items = ViewItems};
  PulldownMenu help{.title = " ^Help", .handler = entryHandler, .handlerData = &HelpData};
  std::array<PulldownMenu*, 3> menus{&file, &edit, &view};
  MenuBar bar{.menus = menus};
};

constexpr int FileLabel = 1, EditLabel = 7, ViewLabel = 13;

TEST_F(MenuBarTest, AnAltKeyThatIsNoBarHotkeyComesBackWithoutDrawing) {
  screen_.writes.clear();
  for (KeyCode k : {key::alt('Q'), key::alt('Z'), key::alt('1'), key::F9, KeyCode{'f'}}) {
    EXPECT_EQ(runMenuBar(bar, k, MenuBarMode::Interactive), k);
    EXPECT_EQ(runMenuBar(bar, k, MenuBarMode::ShowOnly), k);
  }
  EXPECT_TRUE(screen_.writes.empty());
  EXPECT_TRUE(screen_.screens.empty());
  EXPECT_EQ(currentWindow(), nullptr);
}

TEST_F(MenuBarTest, LayoutPlacesEachPulldownUnderItsLabel) {
  std::array<int, 3> columns{};
  layoutMenuBar(bar, columns);
  EXPECT_EQ(columns, (std::array<int, 3>{2, 8, 14}));
  EXPECT_EQ(file.x, 2);
  EXPECT_EQ(view.x, 14);
  EXPECT_EQ(edit.y, 2);

  // Carets take no cell; the bar's own position moves everything.
  PulldownMenu window{.title = " Wi^ndow"};
  std::array<PulldownMenu*, 2> two{&window, &file};
  MenuBar moved{.x = 3, .y = 4, .menus = two};
  std::array<int, 2> movedColumns{};
  layoutMenuBar(moved, movedColumns);
  EXPECT_EQ(movedColumns, (std::array<int, 2>{2, 10}));
  EXPECT_EQ(window.x, 4);
  EXPECT_EQ(file.x, 12);
  EXPECT_EQ(file.y, 5);
}

TEST_F(MenuBarTest, DirectAltKeyOpensItsPulldownAtOnce) {
  ASSERT_NE(color(ColorPulldown), color(ColorPulldownLine));
  const std::vector<ScreenCell> before = screenImage().cells;
  screen_.pushKey(key::Enter);
  EXPECT_EQ(runMenuBar(bar, key::alt('E'), MenuBarMode::Interactive), 301);
  ASSERT_EQ(screen_.screens.size(), 1u);
  EXPECT_EQ(screen_.rowAtRead(0, 0, 0, 20), "  File  Edit  View  ");
  EXPECT_EQ(screen_.attrAtRead(0, FileLabel, 0), color(ColorPulldown));
  EXPECT_EQ(screen_.attrAtRead(0, EditLabel, 0), color(ColorPulldownLine));
  EXPECT_EQ(screen_.attrAtRead(0, EditLabel + 1, 0), color(ColorHotkey));
  EXPECT_EQ(screen_.attrAtRead(0, 40, 0), color(ColorPulldown));  // the bar spans the screen
  EXPECT_EQ(screen_.rowAtRead(0, 2, EditLabel, 7), "\u2502 Cut \u2502");
  EXPECT_EQ(bar.currentEntry, 1);
  EXPECT_EQ(screenImage().cells, before);
}

TEST_F(MenuBarTest, LeftAndRightInAPulldownOpenTheNeighbourAndWrap) {
  screen_.pushKeys({key::Right, key::Enter});
  EXPECT_EQ(runMenuBar(bar, key::alt('V'), MenuBarMode::Interactive), 201);
  EXPECT_EQ(bar.currentEntry, 0);
  // The second read was in the File pulldown; the View pulldown was gone.
  EXPECT_EQ(screen_.rowAtRead(1, 2, FileLabel, 7), "\u2502 Open\u2502");
  EXPECT_EQ(screen_.rowAtRead(1, 2, ViewLabel, 7), "       ");
  EXPECT_EQ(screen_.attrAtRead(1, FileLabel, 0), color(ColorPulldownLine));
  EXPECT_EQ(screen_.attrAtRead(1, ViewLabel, 0), color(ColorPulldown));

  screen_.pushKeys({key::Left, key::Enter});
  EXPECT_EQ(runMenuBar(bar, key::alt('F'), MenuBarMode::Interactive), 401);
  EXPECT_EQ(bar.currentEntry, 2);
  EXPECT_EQ(screen_.beeps, 0);
}

TEST_F(MenuBarTest, EscapeLeavesTheWholeBarAfterALetterOrClick) {
  struct Case {
    KeyCode direct;
    std::vector<KeyCode> keys;
    std::vector<std::pair<int, int>> clicks;
    std::size_t reads;
  } cases[] = {
      {0, {'e', key::Escape}, {}, 2},
      {key::alt('F'), {key::Escape}, {}, 1},
      {0, {key::alt('V'), key::Escape}, {}, 2},            // Alt letters work on the bar too
      {0, {}, {{EditLabel + 2, 0}, {40, 20}}, 2},          // opened by click, closed by click
      {0, {key::Enter, key::Escape, key::Escape}, {}, 3},  // by Enter: back to the bar first
  };
  for (const Case& c : cases) {
    screen_.screens.clear();
    for (KeyCode k : c.keys) screen_.pushKey(k);
    for (auto [column, row] : c.clicks) screen_.pushClick(column, row);
    EXPECT_EQ(runMenuBar(bar, c.direct, MenuBarMode::Interactive), 0);
    EXPECT_EQ(screen_.screens.size(), c.reads) << "case with " << c.reads << " reads";
    EXPECT_TRUE(screen_.input.empty());
  }
  EXPECT_EQ(screen_.beeps, 0);
  EXPECT_EQ(currentWindow(), nullptr);
}

TEST_F(MenuBarTest, BarKeysWalkTheEntriesAndOpenThem) {
  // Left wraps to the last entry, a letter that is no hotkey beeps, the idle event does not.
  screen_.pushKeys({key::Left, 'q'});
  screen_.pushIdle();
  screen_.pushKeys({key::Enter, key::Enter});
  EXPECT_EQ(runMenuBar(bar, 0, MenuBarMode::Interactive), 401);
  EXPECT_EQ(screen_.beeps, 1);
  EXPECT_EQ(screen_.attrAtRead(1, ViewLabel, 0), color(ColorPulldownLine));
  EXPECT_EQ(screen_.attrAtRead(1, FileLabel, 0), color(ColorPulldown));

  // Right wraps back to the first; a click on a label opens it.
  screen_.pushKeys({key::Right, key::Escape});
  EXPECT_EQ(runMenuBar(bar, 0, MenuBarMode::Interactive), 0);
  EXPECT_EQ(bar.currentEntry, 0);
  screen_.pushClick(EditLabel + 4, 0);
  screen_.pushKey('o');
  EXPECT_EQ(runMenuBar(bar, 0, MenuBarMode::Interactive), 302);
}

TEST_F(MenuBarTest, AnEntryHandlerRunsInsteadOfAPulldown) {
  std::array<PulldownMenu*, 2> entries{&file, &help};
  MenuBar withHelp{.menus = entries};

  // Opened by a direct Alt key, the bar closes on the next key that is no bar key, silently.
  screen_.pushKey('q');
  EXPECT_EQ(runMenuBar(withHelp, key::alt('H'), MenuBarMode::Interactive), 0);
  EXPECT_EQ(entryCalls, (std::vector<std::pair<const void*, int>>{{&HelpData, 1}}));
  EXPECT_EQ(screen_.beeps, 0);

  // A handler's choice result ends the bar with no command.
  entryResult = MenuChosen;
  screen_.pushKey('h');
  EXPECT_EQ(runMenuBar(withHelp, 0, MenuBarMode::Interactive), 0);
  EXPECT_EQ(entryCalls.size(), 2u);
  EXPECT_EQ(screen_.screens.size(), 2u);
}

TEST_F(MenuBarTest, ShowOnlyDrawsWithoutHighlightAndLeavesTheBar) {
  ScopedWindow panel;
  ASSERT_EQ(panel.open(1, 2, 80, 20, 0x17, 0x1F, WindowDouble | WindowClear), 0);

  EXPECT_EQ(runMenuBar(bar, 0, MenuBarMode::ShowOnly), 0);
  EXPECT_TRUE(screen_.screens.empty());
  EXPECT_EQ(screen_.shownRow(0).substr(0, 18), "  File  Edit  View");
  for (int column : {FileLabel, EditLabel, ViewLabel})
    EXPECT_EQ(screen_.shownAt(column, 0).attr, color(ColorPulldown)) << column;
  EXPECT_EQ(screen_.shownAt(FileLabel + 1, 0).attr, color(ColorHotkey));
  ASSERT_TRUE(bar.shown);
  EXPECT_EQ(currentWindow(), bar.shown.get());

  // A second show-only run does not stack a second bar window.
  EXPECT_EQ(runMenuBar(bar, 0, MenuBarMode::ShowOnly), 0);
  const std::size_t writes = screen_.writes.size();
  dropMenuBar(bar);
  EXPECT_EQ(screen_.writes.size(), writes);  // dropped without redraw
  EXPECT_FALSE(bar.shown);
  EXPECT_EQ(currentWindow(), panel.get());
  EXPECT_EQ(screen_.shownRow(0).substr(0, 18), "  File  Edit  View");

  // With a direct key the bar runs and stays drawn afterwards, again without highlight.
  screen_.pushKey(key::Enter);
  EXPECT_EQ(runMenuBar(bar, key::alt('E'), MenuBarMode::ShowOnly), 301);
  EXPECT_EQ(screen_.attrAtRead(0, EditLabel, 0), color(ColorPulldownLine));
  EXPECT_EQ(screen_.shownRow(0).substr(0, 18), "  File  Edit  View");
  EXPECT_EQ(screen_.shownAt(EditLabel, 0).attr, color(ColorPulldown));
  EXPECT_FALSE(bar.shown);
  EXPECT_EQ(currentWindow(), panel.get());

  // Opening the entry that is current already highlights it as well.
  screen_.pushKey(key::Enter);
  EXPECT_EQ(runMenuBar(bar, key::alt('E'), MenuBarMode::ShowOnly), 301);
  EXPECT_EQ(screen_.attrAtRead(1, EditLabel, 0), color(ColorPulldownLine));
}

}  // namespace
}  // namespace corvane
