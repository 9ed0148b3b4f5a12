#include "ui/allocation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/color.h"
#include "scripted_console.h"
#include "ui/boxes.h"
#include "ui/window.h"

namespace corvane {
namespace {

using AllocationTest = testing::DialogTest;

constexpr std::size_t Impossible = SIZE_MAX;

TEST_F(AllocationTest, BlocksAreZeroedAndResizedKeepingTheirContents) {
  ZeroedBlock block = allocateZeroed(64);
  ASSERT_TRUE(block);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(block[i], 0);
  block[10] = 7;
  ASSERT_TRUE(reallocateZeroed(block, 64, 128));
  EXPECT_EQ(block[10], 7);
  for (int i = 64; i < 128; ++i) EXPECT_EQ(block[i], 0) << i;
  ASSERT_TRUE(reallocateZeroed(block, 128, 16));
  EXPECT_EQ(block[10], 7);
  EXPECT_TRUE(screen_.writes.empty());  // no report
}

TEST_F(AllocationTest, ErrorWindowIsBuiltOffScreenAndShownWithoutRedraw) {
  ASSERT_EQ(prebuildErrorWindow(), 0);
  EXPECT_TRUE(screen_.writes.empty());
  EXPECT_FALSE(drawingOffScreen());
  EXPECT_EQ(imageRow(12), std::string(80, ' '));
  EXPECT_EQ(currentWindow(), nullptr);

  ASSERT_EQ(reopenErrorWindow(), 0);
  EXPECT_EQ(screen_.shownText(35, 12, 7), ErrorWindowTitle);  // centred on 60 cells from 9
  EXPECT_EQ(screen_.shownAt(10, 13).attr, color(ColorErrorWindow));
  closeErrorWindow();
  EXPECT_EQ(imageRow(12), std::string(80, ' '));
}

TEST_F(AllocationTest, FailedAllocationShowsTheReportAndReturnsNothing) {
  ScreenWindow* error = errorWindow();
  const std::vector<ScreenCell> before = screenImage().cells;
  screen_.pushModifier(ModifierKey::Shift);
  screen_.pushKey(key::Enter);
  ZeroedBlock block = allocateZeroed(Impossible);
  EXPECT_FALSE(block);
  ASSERT_GE(screen_.screens.size(), 1u);
  // The window is at column 10, row 13 (1-based): the text after its line feed on row 2.
  EXPECT_EQ(screen_.rowAtRead(0, 14, 10, 58),
            "Memory allocation error !, Program abort" + std::string(18, ' '));
  EXPECT_EQ(screen_.rowAtRead(0, 16, 11, 26), "Bytes 18446744073709551615");
  EXPECT_EQ(screenImage().cells, before);
  EXPECT_EQ(errorWindow(), error ? error : errorWindow());  // the same record is reused

  ZeroedBlock kept = allocateZeroed(8);
  kept[0] = 1;
  screen_.pushKey(key::Enter);
  EXPECT_FALSE(reallocateZeroed(kept, 8, Impossible));
  EXPECT_EQ(screen_.rowAtRead(-1, 16, 11, 27), " Bytes 18446744073709551615");
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept[0], 1);
}

TEST_F(AllocationTest, EndingVariantEndsTheProgramWithStatusMinusOne) {
  EXPECT_EXIT(
      {
        screen_.pushKey(key::Enter);
        allocateZeroedOrEnd(Impossible);
      },
      ::testing::ExitedWithCode(255), "");
}

}  // namespace
}  // namespace corvane
