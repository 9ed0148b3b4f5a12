#include "platform/screen.h"

#include <gtest/gtest.h>

#include "support/headless_fixture.h"

namespace corvane {
namespace {

using ScreenTest = testing::HeadlessTest;

TEST_F(ScreenTest, FlushCellsBeyondARowCoversWholeRowsDownToTheLastCell) {
  flushCells(70, 3, 100);  // 100 cells from column 70: rows 3 and 4 whole
  ASSERT_EQ(console_.writes.size(), 1u);
  const FlushedRect& r = console_.writes.back();
  EXPECT_EQ(r.left, 70);
  EXPECT_EQ(r.top, 3);
  EXPECT_EQ(r.right, 79);
  EXPECT_EQ(r.bottom, 4);
}

TEST_F(ScreenTest, FlushIsClippedToTheLastRowAndColumn) {
  flushWindowRect(75, 22, 10, 5);
  ASSERT_EQ(console_.writes.size(), 1u);
  const FlushedRect& r = console_.writes.back();
  EXPECT_EQ(r.right, 79);
  EXPECT_EQ(r.bottom, 24);
}

TEST_F(ScreenTest, NothingReachesTheConsoleOffScreenOrAfterSuspend) {
  beginOffScreen();
  screenImage().at(0, 0).ch = U'X';
  flushScreen();
  endOffScreen();
  EXPECT_TRUE(console_.writes.empty());
  EXPECT_EQ(screenImage().at(0, 0).ch, U' ');  // the scratch image was separate

  suspendOutput();
  screenImage().at(1, 1).ch = U'Y';
  flushScreen();
  EXPECT_TRUE(console_.writes.empty());
  EXPECT_EQ(screenImage().at(1, 1).ch, U'Y');  // drawing itself still works
}

TEST_F(ScreenTest, LevelTwoHoldSurvivesLevelOneLowering) {
  raiseHold(2);
  raiseHold(1);  // already raised: unchanged
  EXPECT_EQ(holdLevel(), 2);
  EXPECT_EQ(lowerHold(1), 2);
  EXPECT_EQ(lowerHold(2), 0);
  raiseHold(1);
  EXPECT_EQ(lowerHold(2), 0);
}

TEST_F(ScreenTest, ScrollMovesOnlyTheRectangleAndBlanksTheFreedLine) {
  ScreenImage& image = screenImage();
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 5; ++col) image.at(col, row).ch = U'a' + row;
  scrollRect(1, 1, 3, 3, 1, 0x17);
  EXPECT_EQ(image.at(1, 1).ch, U'c');
  EXPECT_EQ(image.at(2, 2).ch, U'd');
  EXPECT_EQ(image.at(3, 3).ch, U' ');
  EXPECT_EQ(image.at(3, 3).attr, 0x17);
  EXPECT_EQ(image.at(0, 1).ch, U'b');  // outside the rectangle
  EXPECT_EQ(image.at(1, 4).ch, U'e');
}

}  // namespace
}  // namespace corvane
