// Test fixture: a headless console of a given size installed as the active back end, with
// the screen image allocated and the colour slots at their defaults.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/headless_console.h"

namespace corvane::testing {

class HeadlessTest : public ::testing::Test {
 protected:
  explicit HeadlessTest(int columns = 80, int rows = 25);
  ~HeadlessTest() override;

  // Text of an image row (UTF-8), or of the columns [column, column + width).
  std::string imageRow(int row) const;
  std::string imageText(int column, int row, int width) const;
  ColorAttr imageAttr(int column, int row) const;

  HeadlessConsole console_;
};

}  // namespace corvane::testing
