#include "commands/screen_layout.h"

#include <gtest/gtest.h>

#include "commands/bottom_rows.h"
#include "config/user_profile.h"
#include "panels/panel_geometry.h"
#include "support/headless_fixture.h"
#include "ui/key_bar.h"
#include "ui/line_input.h"

namespace corvane::testing {
namespace {

int bottomOf(const WindowRect& r) { return r.y + r.height - 1; }

TEST(ScreenLayout, PanelsFillTheRowsBetweenTheTopRowAndTheBars) {
  struct Case {
    int columns, rows;
    ScreenLayout layout;
    KeyboardLayout keyboard;
    bool commandWindow;
    int barRows;  // rows under the panels
  };
  const Case cases[] = {
      {80, 25, LayoutTwoLists, KeyboardCommander, true, 2},
      {80, 25, LayoutTwoLists, KeyboardCommander, false, 1},
      {80, 25, LayoutSingleList, KeyboardCorvane, true, 2},
      {80, 25, LayoutSingleList, KeyboardCorvane, false, 0},
      {80, 25, LayoutListAndTreeXtree, KeyboardXtree, false, 2},
      {132, 50, LayoutTwoLists, KeyboardXtree, true, 2},
      {81, 24, LayoutListAndTree, KeyboardCorvane, true, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.columns << "x" << c.rows << " layout " << c.layout
                                      << " keyboard " << c.keyboard);
    const ScreenPlan plan = planScreen({c.columns, c.rows, c.layout, c.keyboard, c.commandWindow});
    EXPECT_EQ(plan.topRow.y, 1);
    EXPECT_EQ(plan.topRow.width, c.columns);
    // The title row stays visible from 25 rows on.
    EXPECT_EQ(plan.firstPanelRow, c.rows >= TitleRowMinimumRows ? 3 : 2);
    EXPECT_EQ(plan.lastPanelRow, c.rows - c.barRows);
    EXPECT_EQ(bottomOf(plan.panels[0]), plan.lastPanelRow);
    EXPECT_FALSE(plan.compactInfo);
    // Side by side, together as wide as the screen.
    const WindowRect& left = c.layout == LayoutTwoLists ? plan.panels[0] : plan.tree;
    const WindowRect& right = c.layout == LayoutTwoLists ? plan.panels[1] : plan.panels[0];
    if (c.layout == LayoutSingleList) {
      EXPECT_EQ(plan.panels[0].width, c.columns);
      EXPECT_TRUE(plan.panels[1].empty());
      EXPECT_TRUE(plan.tree.empty());
    } else {
      EXPECT_EQ(left.x, 1);
      EXPECT_EQ(right.x, left.x + left.width);
      EXPECT_EQ(left.width + right.width, c.columns);
      EXPECT_EQ(left.height, right.height);
    }
    // The bars take exactly the rows under the panels.
    if (c.keyboard == KeyboardCommander) {
      EXPECT_EQ(plan.keyBar.y, c.rows);
      EXPECT_EQ(plan.commandLine.empty(), !c.commandWindow);
      if (c.commandWindow) {
        EXPECT_EQ(plan.commandLine.y, c.rows - 1);
      }
      EXPECT_TRUE(plan.labelRows.empty());
    } else {
      EXPECT_EQ(plan.labelRows.empty(), c.barRows == 0);
      if (c.barRows > 0) {
        EXPECT_EQ(bottomOf(plan.labelRows), c.rows);
        EXPECT_EQ(plan.labelRows.y, plan.lastPanelRow + 1);
      }
    }
  }
}

TEST(ScreenLayout, SmallArrangementLeavesRoomAndKeepsTheCompactInfoColumn) {
  for (int rows : {24, 25, 50, 60}) {
    const ScreenPlan big = planScreen({80, rows, LayoutSingleList, KeyboardCorvane, true, false});
    const ScreenPlan small = planScreen({80, rows, LayoutSingleList, KeyboardCorvane, true, true});
    EXPECT_TRUE(small.compactInfo);
    EXPECT_LT(small.panels[0].height, big.panels[0].height) << rows;
    EXPECT_GE(small.panels[0].height, SmallPanelMinimumHeight) << rows;
    // The info column of the single list fits: the full form in the big arrangement (17
    // rows, volume and level), the compact one (12 rows, volume and level) in the small.
    EXPECT_GE(big.panels[0].height - 2, 19) << rows;
    EXPECT_GE(small.panels[0].height - 2, 14) << rows;
  }
}

TEST(ScreenLayout, PanelLayoutOfTheKeyboardLayout) {
  EXPECT_EQ(panelLayoutFor(1, KeyboardXtree), LayoutListAndTreeXtree);
  EXPECT_EQ(panelLayoutFor(1, KeyboardCorvane), LayoutListAndTree);
  EXPECT_EQ(panelLayoutFor(0, KeyboardXtree), LayoutSingleList);
  EXPECT_EQ(panelLayoutFor(3, KeyboardCommander), LayoutTwoLists);
  EXPECT_EQ(panelLayoutFor(7, KeyboardCommander), LayoutTwoLists);
}

class BottomRowsTest : public HeadlessTest {
 protected:
  ~BottomRowsTest() override {
    commandWindowFlags() = initialEntryFlags();
    closeLoopScreen(screen_);
  }
  void open(KeyboardLayout keyboard) {
    ASSERT_EQ(openLoopScreen(screen_, planScreen({80, 25, LayoutTwoLists, keyboard, true}), true),
              0);
  }
  LoopScreen screen_;
};

TEST_F(BottomRowsTest, FunctionKeyBarSlotsAreClickable) {
  open(KeyboardCommander);
  std::vector<MouseZone> zones = bottomRowZones(screen_, KeyboardCommander, "T:\\");
  ASSERT_EQ(zones.size(), 11u);
  // The last one is the command line's field, behind the prompt "T:\>".
  EXPECT_EQ(zones.back().leftCode, KeyFieldClick);
  EXPECT_EQ(zones.back().y1, 23);
  EXPECT_EQ(zones.back().x1, 4);
  zones.pop_back();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(zones[static_cast<std::size_t>(i)].leftCode, key::fkey(i + 1));
    EXPECT_EQ(zones[static_cast<std::size_t>(i)].y1, 24);
    if (i > 0) {
      EXPECT_EQ(zones[static_cast<std::size_t>(i)].x1,
                zones[static_cast<std::size_t>(i) - 1].x2 + 1);
    }
  }
  // " 1Help   2Menue ..." : F1 starts on the digit, F10 covers "10Quit" to the edge.
  EXPECT_EQ(zones[0].x1, 1);
  EXPECT_EQ(zones[1].x1, 9);
  EXPECT_EQ(zones[9].x1, 73);
  EXPECT_EQ(zones[9].x2, 79);
}

TEST_F(BottomRowsTest, CommandLabelsFollowTheUserProfile) {
  open(KeyboardCorvane);
  applyProfile(ProfileBeginner);
  drawBottomRows(screen_, KeyboardCorvane, "T:\\");
  const std::string first = imageRow(23), second = imageRow(24);
  EXPECT_EQ(first.substr(0, 40), "Att Cop Del Ed Fed Go fInd              ");
  // Always shown, whatever the profile.
  EXPECT_NE(first.find("View"), std::string::npos);
  EXPECT_NE(first.find("exe"), std::string::npos);
  EXPECT_NE(second.find("F1=HELP"), std::string::npos);
  EXPECT_NE(second.find("INSERT"), std::string::npos);
  EXPECT_EQ(second.find("Mask"), std::string::npos);
  EXPECT_EQ(second[58], ' ') << "the label \".\" is never shown";

  const std::vector<MouseZone> zones = bottomRowZones(screen_, KeyboardCorvane);
  ASSERT_EQ(zones.size(), std::size(CommandLabels));
  EXPECT_FALSE(zones[0].disabled);   // ^Att, one of the first seven
  EXPECT_TRUE(zones[7].disabled);    // ^Move hidden for beginners
  EXPECT_FALSE(zones[15].disabled);  // ^View always
  EXPECT_TRUE(zones[26].disabled);   // "."
  EXPECT_EQ(zones[1].rightCode, key::alt('C'));
  EXPECT_EQ(zones[1].y1, 23);
  EXPECT_EQ(zones[18].y1, 24);
  EXPECT_EQ(imageAttr(0, 23), color(ColorHotkey)) << "the hotkey letter of ^Att";
}

TEST_F(BottomRowsTest, XtreeLetterBarWordsGiveTheirLetters) {
  open(KeyboardXtree);
  drawBottomRows(screen_, KeyboardXtree, "T:\\");
  EXPECT_EQ(imageRow(24).substr(0, 20), "Att Cop Del Ed Fed G");
  const std::vector<MouseZone> zones = bottomRowZones(screen_, KeyboardXtree);
  auto codeAt = [&](int column, int row) {
    for (const MouseZone& z : zones)
      if (z.y1 == row && column >= z.x1 && column <= z.x2) return z.leftCode;
    return 0;
  };
  EXPECT_EQ(codeAt(0, 24), 'a');
  EXPECT_EQ(codeAt(5, 24), 'c');
  const std::string bottom = imageRow(24);
  EXPECT_EQ(codeAt(static_cast<int>(bottom.find("Inv")), 24), 'n');
  EXPECT_EQ(codeAt(static_cast<int>(bottom.find("eXe")) + 2, 24), 'x');
  const std::string top = imageRow(23);
  EXPECT_EQ(codeAt(static_cast<int>(top.find("F1=HELP")), 23), key::F1);
  EXPECT_EQ(codeAt(static_cast<int>(top.find("Insert")), 23), key::Ins);
  EXPECT_EQ(codeAt(static_cast<int>(top.find("Mask")), 23), 'k');
}

}  // namespace
}  // namespace corvane::testing
