#include "support/headless_fixture.h"

#include "platform/charset.h"
#include "platform/color.h"

namespace corvane::testing {

HeadlessTest::HeadlessTest(int columns, int rows) : console_(columns, rows) {
  setConsole(&console_);
  resumeOutput();
  initScreenImage(columns, rows);
  loadDefaultColors();
  console_.onInputExhausted = [](HeadlessConsole&) {
    ADD_FAILURE() << "the test ran out of scripted input";
  };
}

HeadlessTest::~HeadlessTest() {
  endOffScreen();
  while (holdLevel() != 0) lowerHold(2);
  setConsole(nullptr);
}

std::string HeadlessTest::imageRow(int row) const { return imageText(0, row, screenColumns()); }

std::string HeadlessTest::imageText(int column, int row, int width) const {
  std::string out;
  const ScreenImage& image = screenImage();
  for (int col = column; col < column + width && col < image.columns; ++col) {
    char32_t ch = image.at(col, row).ch;
    if (ch != WideTail) appendUtf8(out, ch);
  }
  return out;
}

ColorAttr HeadlessTest::imageAttr(int column, int row) const {
  return screenImage().at(column, row).attr;
}

}  // namespace corvane::testing
