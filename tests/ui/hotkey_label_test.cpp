#include "ui/hotkey_label.h"

#include <gtest/gtest.h>

#include "platform/charset.h"
#include "platform/color.h"
#include "support/headless_fixture.h"
#include "ui/window.h"

namespace corvane {
namespace {

class HotkeyLabelTest : public testing::HeadlessTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(openWindow(window_, 1, 1, 12, 6, 0x17, 0x1E, WindowSingle | WindowClear), 0);
    console_.writes.clear();
  }
  WindowHandle window_;  // interior 10 x 4 from screen cell (1, 1)
};

TEST_F(HotkeyLabelTest, CaretsMarkHotkeysAndAreHidden) {
  struct Case {
    const char* text;
    const char* shown;
    const char* hotkeys;  // 'h' where the cell is in the Hotkey colour
  } cases[] = {
      {"^1^0Quit", "10Quit", "hh    "},
      {"f^Ind", "fInd", " h  "},
      {"end^", "end^", "    "},
      {"^^x", "^x", "h "},
  };
  for (const Case& c : cases) {
    printHotkeyLabel(1, 9, 1, std::string(10, ' '));
    printHotkeyLabel(1, 9, 1, c.text);
    std::string shown = c.shown;
    EXPECT_EQ(imageText(1, 1, static_cast<int>(shown.size())), shown) << c.text;
    for (std::size_t i = 0; i < shown.size(); ++i)
      EXPECT_EQ(imageAttr(1 + static_cast<int>(i), 1),
                c.hotkeys[i] == 'h' ? color(ColorHotkey) : ColorAttr{0x17})
          << c.text << " cell " << i;
  }
}

TEST_F(HotkeyLabelTest, ModesPadWrapAndDrop) {
  writeText("xxxxxxxxxx", 9, 1, 1);
  printHotkeyLabel(1, 3, 1, "^ab", LabelPad);  // field of width + 1 cells
  EXPECT_EQ(imageText(1, 1, 5), "ab  x");

  printHotkeyLabel(6, 20, 2, "abcdefgh");  // wraps at the right edge
  EXPECT_EQ(imageText(6, 2, 5), "abcde");
  EXPECT_EQ(imageText(1, 3, 4), "fgh ");

  printHotkeyLabel(6, 20, 3, "ABCDEFGH", LabelNoWrap);  // dropped at the edge
  EXPECT_EQ(imageText(1, 3, 10), "fgh  ABCDE");
  EXPECT_EQ(imageText(1, 4, 3), "   ");
  putChar(U'z');  // the no-wrap mode ends with the label
  EXPECT_EQ(imageText(1, 4, 1), "z");

  // A line feed starts the count again: each line gets its own field.
  printHotkeyLabel(1, 1, 2, "abcd\nefgh");
  EXPECT_EQ(imageText(1, 2, 4), "ab  ");
  EXPECT_EQ(imageText(1, 3, 4), "efh ");  // "h" is left from the wrap above
}

TEST_F(HotkeyLabelTest, FlushesItsRowOrTheWholeWindow) {
  auto shown = [&](int column, int row, int width) {
    std::string out;
    for (int col = column; col < column + width; ++col)
      appendUtf8(out, console_.shownAt(col, row).ch);
    return out;
  };
  printHotkeyLabel(2, 3, 1, "^Ok");
  ASSERT_EQ(console_.writes.size(), 1u);
  EXPECT_EQ(console_.writes[0].top, 1);
  EXPECT_EQ(console_.writes[0].bottom, 1);
  EXPECT_EQ(console_.writes[0].left, 2);
  EXPECT_EQ(console_.writes[0].right, 3);
  EXPECT_EQ(shown(2, 1, 2), "Ok");

  console_.writes.clear();
  printHotkeyLabel(1, 9, 4, "one\ntwo");  // the line feed on the last row scrolls
  ASSERT_EQ(console_.writes.size(), 1u);
  EXPECT_EQ(console_.writes[0].top, 0);
  EXPECT_EQ(console_.writes[0].bottom, 6);
  EXPECT_EQ(shown(1, 3, 3), "one");
  EXPECT_EQ(shown(1, 4, 3), "two");
}

TEST(HotkeyLetterTest, LetterAfterTheFirstCaret) {
  struct Case {
    const char* label;
    int letter;
  } cases[] = {{"^Retry", 'R'},   {"f^Ind", 'I'}, {"Mas^k", 'K'},         {"CTR^L-", 'L'},
               {"< ^Yes >", 'Y'}, {"^a^b", 'A'},  {"no caret", NoHotkey}, {"end^", NoHotkey}};
  for (const Case& c : cases) EXPECT_EQ(hotkeyLetter(c.label), c.letter) << c.label;

  // Typed letters match in either case; digits and other keys never match a letter.
  EXPECT_EQ(typedLetter('i'), hotkeyLetter("f^Ind"));
  EXPECT_EQ(typedLetter('I'), hotkeyLetter("f^Ind"));
  EXPECT_NE(typedLetter('1'), hotkeyLetter("^1Help"));
  EXPECT_EQ(typedLetter(key::alt('I')), 0);
}

TEST_F(HotkeyLabelTest, PrintFormattedUsesTheLabelPrinter) {
  printFormatted(1, 2, "%d ^%s", 42, "Go");
  EXPECT_EQ(imageText(1, 2, 5), "42 Go");
  EXPECT_EQ(imageAttr(4, 2), color(ColorHotkey));
  windowCursor(3, 3);
  printFormattedAtCursor("%c!", 'z');
  EXPECT_EQ(imageText(3, 3, 2), "z!");
}

}  // namespace
}  // namespace corvane
