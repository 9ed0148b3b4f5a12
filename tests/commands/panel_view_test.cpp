#include "commands/panel_view.h"

#include <gtest/gtest.h>

#include "commands/screen_layout.h"
#include "panels/list_test_helpers.h"
#include "support/headless_fixture.h"

namespace corvane::testing {
namespace {

TEST(PanelView, PositionPercentRoundsToWholeNumbers) {
  struct Case {
    int index, count, percent;
  };
  const Case cases[] = {{0, 1, 100}, {0, 3, 33},  {1, 3, 67},    {2, 3, 100},
                        {0, 200, 1}, {0, 201, 0}, {99, 200, 50}, {0, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(positionPercent(c.index, c.count), c.percent) << c.index << "/" << c.count;
}

TEST(PanelView, NestedPanelsNameTheirLevel) {
  Panel panel;
  panel.currentDirectory = "T:\\src";
  EXPECT_EQ(panelTitle(panel, 1), "T:\\src");
  EXPECT_EQ(panelTitle(panel, 3), " Files  Nr. 3 T:\\src");
}

class PanelTitleTest : public HeadlessTest {
 protected:
  PanelTitleTest() { EXPECT_EQ(openPanelWindow(window_, {1, 3, 30, 10}), 0); }
  ~PanelTitleTest() override { freeWindow(window_); }
  WindowHandle window_;
};

TEST_F(PanelTitleTest, TitleIsCentredAndALongPathShowsItsEnd) {
  Panel panel;
  panel.window = window_.get();
  PanelView view{&panel};
  panel.currentDirectory = "T:\\src";
  drawPanelTitle(view, true, 1);
  EXPECT_EQ(imageText(0, 2, 30), "╔══════════ T:\\src ══════════╗");

  // A shorter title afterwards leaves nothing of the longer one.
  panel.currentDirectory = "T:\\a\\very\\long\\directory\\name";
  drawPanelTitle(view, false, 1);
  EXPECT_EQ(imageText(0, 2, 30), "╔~a\\very\\long\\directory\\name ╗");
  panel.currentDirectory = "T:\\";
  drawPanelTitle(view, false, 1);
  EXPECT_EQ(imageText(0, 2, 30), "╔═══════════ T:\\ ════════════╗");
}

TEST_F(PanelTitleTest, PositionMarkerIsDrawnOnlyWhenItChanges) {
  Panel panel;
  panel.window = window_.get();
  for (int i = 0; i < 10; ++i) append(panel.list, fileEntry("f" + std::to_string(i)));
  PanelView view{&panel};
  view.cursorIndex = 4;
  drawPositionMarker(view);
  EXPECT_EQ(view.lastPercent, 50);
  const std::size_t writes = console_.writes.size();
  drawPositionMarker(view);
  EXPECT_EQ(console_.writes.size(), writes) << "the same percentage draws nothing";
  view.cursorIndex = 9;
  drawPositionMarker(view);
  EXPECT_EQ(view.lastPercent, 100);
  EXPECT_GT(console_.writes.size(), writes);
}

TEST_F(PanelTitleTest, PositionMarkerLeavesTheCornersAndTheSeparatorTee) {
  Panel panel;
  panel.layout = LayoutTwoLists;  // info lines under a separator
  panel.window = window_.get();
  for (int i = 0; i < 200; ++i) append(panel.list, fileEntry("f" + std::to_string(i)));
  PanelView view{&panel};
  const std::string frame = imageText(0, 2, 30) + imageText(0, 11, 30);
  const std::string tee = "\u2563";  // the frame's right tee
  for (int index = 0; index < 200; ++index) {
    view.cursorIndex = index;
    view.lastPercent = -1;
    drawPositionMarker(view);
    ASSERT_EQ(imageText(0, 2, 30) + imageText(0, 11, 30), frame) << index;
    ASSERT_EQ(imageText(29, 8, 1), tee) << "the tee above the info lines at " << index;
    int thumbs = 0;
    for (int row = 3; row < 11; ++row) thumbs += imageText(29, row, 1) == "\u2588";
    ASSERT_EQ(thumbs, 1) << index;
  }
}

}  // namespace
}  // namespace corvane::testing
