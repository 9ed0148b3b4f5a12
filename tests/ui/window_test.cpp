#include "ui/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/color.h"
#include "support/headless_fixture.h"

namespace corvane {
namespace {

class WindowTest : public testing::HeadlessTest {
 protected:
  // A busy background: every cell a different letter and colour, shown on the console.
  void paintBackground() {
    ScreenImage& image = screenImage();
    for (int row = 0; row < image.rows; ++row)
      for (int col = 0; col < image.columns; ++col)
        image.at(col, row) = {static_cast<char32_t>(U'a' + (row * 7 + col) % 26),
                              static_cast<ColorAttr>((row + col) % 7 + 1)};
    flushScreen();
    console_.writes.clear();
  }

  static char32_t glyph(std::uint8_t cp437) { return cp437ToUnicode(cp437); }
};

TEST_F(WindowTest, ShadowedWindowOpenedAndClosedLeavesTheScreenAsItWas) {
  paintBackground();
  const std::vector<ScreenCell> imageBefore = screenImage().cells;
  const std::vector<ScreenCell> shownBefore = console_.shown;

  WindowHandle window;
  ASSERT_EQ(openWindow(window, 5, 3, 20, 6, 0x1E, 0x1F, WindowSingle | WindowShadow | WindowClear,
                       " Title "),
            0);
  EXPECT_EQ(imageText(4, 2, 20),
            "\u250C\u2500\u2500\u2500\u2500\u2500 Title "
            "\u2500\u2500\u2500\u2500\u2500\u2500\u2510");
  EXPECT_EQ(imageAttr(4, 2), 0x1F);
  EXPECT_EQ(imageAttr(5, 3), 0x1E);
  // Shadow: right column from the second row, bottom row from the second column, characters
  // kept.
  EXPECT_EQ(imageAttr(24, 2), imageBefore[2 * 80 + 24].attr);
  EXPECT_EQ(imageAttr(24, 3), ShadowAttr);
  EXPECT_EQ(screenImage().at(24, 3).ch, imageBefore[3 * 80 + 24].ch);
  EXPECT_EQ(imageAttr(4, 8), imageBefore[8 * 80 + 4].attr);
  EXPECT_EQ(imageAttr(5, 8), ShadowAttr);
  EXPECT_EQ(imageAttr(24, 8), ShadowAttr);
  // One flush covering the window and its shadow.
  ASSERT_EQ(console_.writes.size(), 1u);
  EXPECT_EQ(console_.writes[0].left, 4);
  EXPECT_EQ(console_.writes[0].right, 24);
  EXPECT_EQ(console_.writes[0].bottom, 8);

  closeWindow(window);
  EXPECT_EQ(screenImage().cells, imageBefore);
  EXPECT_EQ(console_.shown, shownBefore);
  EXPECT_EQ(currentWindow(), nullptr);
}

// The owner of the first window places it over the whole new screen and writes into it.
std::vector<std::string> relayoutCalls;
void fillTheScreen(ScreenWindow& window, void* owner) {
  relayoutCalls.push_back(static_cast<const char*>(owner));
  moveWindow(window, 1, 1, screenColumns(), screenRows());
  CurrentWindowScope scope(window);
  writeText("owned", 4, 1, 1);
}

TEST_F(WindowTest, RelayoutLetsOwnersPlaceTheirWindowsAndMovesOthersInsideWithTheirPicture) {
  relayoutCalls.clear();
  WindowHandle base, dialog;
  ASSERT_EQ(openWindow(base, 1, 1, 80, 25, 0x17, 0x17, WindowClear), 0);
  base->relayout = fillTheScreen;
  base->relayoutOwner = const_cast<char*>("base");
  ASSERT_EQ(openWindow(dialog, 60, 18, 15, 5, 0x4F, 0x4F, WindowSingle | WindowShadow | WindowClear,
                       " Ask "),
            0);
  writeText("dlg", 2, 1, 1);
  const std::string dialogRows = imageText(59, 17, 15) + imageText(59, 18, 15);

  relayoutWindows(70, 20);
  EXPECT_EQ(screenColumns(), 70);
  EXPECT_EQ(relayoutCalls, std::vector<std::string>{"base"});
  EXPECT_EQ(base->width, 70);
  EXPECT_EQ(imageText(0, 0, 5), "owned");
  // Moved left and up so that it and its shadow end on the last column and row.
  EXPECT_EQ(dialog->x, 54);
  EXPECT_EQ(dialog->y, 14);
  EXPECT_EQ(imageText(54, 14, 15) + imageText(54, 15, 15), dialogRows);
  EXPECT_EQ(imageAttr(69, 15), ShadowAttr);
  EXPECT_EQ(imageAttr(55, 19), ShadowAttr);
  EXPECT_EQ(console_.shownAt(55, 15).ch, U'd') << "the whole screen shown";
  EXPECT_EQ(currentWindow(), dialog.get());

  // Closing the dialog shows the owner's new picture under it.
  freeWindow(dialog);
  EXPECT_EQ(imageText(54, 14, 15), std::string(15, ' '));
  EXPECT_EQ(imageAttr(69, 15), 0x17);
  EXPECT_EQ(currentWindow(), base.get());
}

TEST_F(WindowTest, ReopenShowsTheSamePictureAndClosingAgainRestoresTheNewBackground) {
  paintBackground();
  WindowHandle window;
  ASSERT_EQ(
      openWindow(window, 10, 5, 30, 8, 0x17, 0x1E, WindowDouble | WindowShadow | WindowClear, "Re"),
      0);
  writeText("inside", 10, 2, 3);
  const std::vector<ScreenCell> picture = screenImage().cells;
  closeWindow(window);

  screenImage().at(12, 7) = {U'#', 0x44};  // the screen under the window changes meanwhile
  const std::vector<ScreenCell> background = screenImage().cells;

  ASSERT_EQ(openWindow(window, 1, 1, 5, 5, 0, 0, 0), 0);  // geometry of the record is kept
  EXPECT_EQ(screenImage().cells, picture);
  EXPECT_EQ(console_.shownRow(7).substr(10, 30), imageRow(7).substr(10, 30));
  EXPECT_EQ(currentWindow(), window.get());
  freeWindow(window);
  EXPECT_FALSE(window);
  EXPECT_EQ(screenImage().cells, background);
}

TEST_F(WindowTest, WindowPastTheEdgesIsClippedSoItsShadowEndsOnTheLastCell) {
  WindowHandle window;
  ASSERT_EQ(
      openWindow(window, 70, 20, 30, 10, 0x17, 0x17, WindowDouble | WindowShadow | WindowClear), 0);
  EXPECT_EQ(window->width, 10);  // columns - x
  EXPECT_EQ(window->height, 5);  // rows - y
  EXPECT_EQ(screenImage().at(78, 19).ch, glyph(0xBB));
  EXPECT_EQ(screenImage().at(78, 23).ch, glyph(0xBC));
  EXPECT_EQ(imageAttr(79, 20), ShadowAttr);
  EXPECT_EQ(imageAttr(70, 24), ShadowAttr);
  closeWindow(window);

  // Corners that lie off the screen entirely still give a usable one-cell window.
  WindowHandle far;
  ASSERT_EQ(openWindow(far, 200, 100, 10, 10, 0x17, 0x17, WindowSingle | WindowClear), 0);
  EXPECT_EQ(far->x, 79);
  EXPECT_EQ(far->y, 24);
  EXPECT_EQ(far->width, 1);
  EXPECT_EQ(far->flags & WindowFrameMask, 0);
}

TEST_F(WindowTest, WindowsBelowThreeCellsHaveNoFrame) {
  WindowHandle window;
  ASSERT_EQ(
      openWindow(window, 3, 3, 20, 2, 0x17, 0x1E, WindowDouble | WindowClear | WindowVerticalBar),
      0);
  EXPECT_FALSE(windowFramed(*window));
  EXPECT_EQ(imageText(2, 2, 20), std::string(20, ' '));
  EXPECT_EQ(imageText(2, 3, 20), std::string(20, ' '));
  EXPECT_EQ(imageAttr(2, 2), 0x17);
  // Text starts on the first cell of a window without frame.
  writeText("xy", 1, 1, 1);
  EXPECT_EQ(imageText(2, 2, 2), "xy");
}

TEST_F(WindowTest, TitleIsCentredOrShortenedToItsEnd) {
  WindowHandle window;
  ASSERT_EQ(openWindow(window, 1, 2, 12, 4, 0x17, 0x1E, WindowSingle | WindowClear,
                       "A very long window title"),
            0);
  // width - 2 = 10 cells at most: "~" and the last 9 characters, centred.
  EXPECT_EQ(imageText(1, 1, 10), "~dow title");
  EXPECT_EQ(imageAttr(1, 1), 0x1E);  // written over the frame, frame colour kept
  freeWindow(window);

  ASSERT_EQ(openWindow(window, 1, 2, 12, 4, 0x17, 0x1E, WindowSingle | WindowClear, "ab"), 0);
  EXPECT_EQ(imageText(5, 1, 2), "ab");
}

TEST_F(WindowTest, FrameSetsAndFill) {
  struct Case {
    int flags;
    std::uint8_t corner, side;
  } cases[] = {{WindowDouble, 0xC9, 0xBA}, {WindowSingle, 0xDA, 0xB3}, {WindowBlock, 0xDF, 0x20}};
  for (const Case& c : cases) {
    WindowHandle window;
    ASSERT_EQ(openWindow(window, 2, 2, 6, 4, 0x17, 0x4E, c.flags | WindowFill), 0);
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(screenImage().at(1, 1).ch, glyph(c.corner));
    EXPECT_EQ(screenImage().at(1, 2).ch, glyph(c.side));
    // The block set draws its sides in the text colour, the others in the frame colour.
    EXPECT_EQ(imageAttr(1, 2), c.flags == WindowBlock ? 0x17 : 0x4E);
    EXPECT_EQ(screenImage().at(2, 2).ch, glyph(FillBlock));
    freeWindow(window);
  }
}

TEST_F(WindowTest, StackKeepsCursorAndHelpContextAndSurvivesOutOfOrderRelease) {
  WindowHandle a, b, c;
  ASSERT_EQ(openWindow(a, 1, 1, 40, 10, 0x17, 0x17, WindowSingle | WindowClear), 0);
  setHelpContext(62);
  windowCursor(4, 3);
  ASSERT_EQ(openWindow(b, 10, 5, 20, 6, 0x17, 0x17, WindowSingle | WindowClear), 0);
  EXPECT_EQ(currentHelpContext(), 62);
  EXPECT_EQ(console_.cursorColumn, 10);  // (1, 1) of b
  ASSERT_EQ(openWindow(c, 12, 7, 10, 4, 0x17, 0x17, WindowKeepCursor | WindowClear), 0);
  EXPECT_EQ(console_.cursorColumn, 10);  // kept

  c.reset();  // released while open: b becomes current again
  EXPECT_EQ(currentWindow(), b.get());
  closeWindow();
  EXPECT_EQ(currentWindow(), a.get());
  EXPECT_EQ(console_.cursorColumn, 4);
  EXPECT_EQ(console_.cursorRow, 3);

  // A window released under another one: the upper one falls back to what lay below.
  ASSERT_EQ(openWindow(b, 10, 5, 20, 6, 0, 0, 0), 0);
  dropWindow(a);
  EXPECT_EQ(b->previous, nullptr);
  closeWindow(b);
  EXPECT_EQ(currentWindow(), nullptr);
}

TEST_F(WindowTest, WriteTextOptions) {
  WindowHandle window;
  ASSERT_EQ(openWindow(window, 1, 1, 40, 10, 0x17, 0x1E, WindowSingle | WindowClear), 0);
  struct Case {
    const char* text;
    int width, options;
    const char* shown;  // cells from column 1 of row 1
  } cases[] = {
      {"ab.c", 12, WriteFileName, "ab      .c   "},
      {"my.long.name", 12, WriteFileName, "my.long.name "},
      {".gitignore", 12, WriteFileName, ".gitignore   "},
      {"page.html", 12, WriteFileName, "page.html    "},
      {"abcdefghi.c", 12, WriteFileName, "abcdefghi.c  "},
      {"..", 12, WriteFileName, "..           "},
      {"abcdefghi.txt", 12, WriteFileName, "abcdefghi.txt"},
      {"noext", 12, WriteFileName, "noext        "},
      {"abc", 5, WritePad, "abc   "},                 // the field is width + 1 cells
      {"abcdefghij", 5, 0, "abcdef       "},          // cut at width + 1
      {"^Copy", 5, WriteHotkey | WritePad, "Copy "},  // width cells with a hotkey
      {"ab^", 5, WriteHotkey | WritePad, "ab^  "},    // a final caret is shown
  };
  for (const Case& c : cases) {
    writeText(std::string(20, ' '), 19, 1, 1);
    writeText(c.text, c.width, 1, 1, c.options);
    EXPECT_EQ(imageText(1, 1, static_cast<int>(std::string(c.shown).size())), c.shown) << c.text;
  }

  writeText("^Copy", 5, 1, 2, WriteHotkey);
  EXPECT_EQ(imageAttr(1, 2), color(ColorHotkey));
  EXPECT_EQ(imageAttr(2, 2), 0x17);
  writeText("^Copy", 5, 1, 3, 0);  // without the option the caret is text
  EXPECT_EQ(imageText(1, 3, 5), "^Copy");

  writeText("frame", 4, 1, 4, WriteFrameColor);
  EXPECT_EQ(imageAttr(1, 4), 0x1E);

  screenImage().at(1, 5).attr = 0x4F;
  writeText("keep", 3, 1, 5, WriteKeepAttr);
  EXPECT_EQ(imageText(1, 5, 4), "keep");
  EXPECT_EQ(imageAttr(1, 5), 0x4F);
  EXPECT_EQ(imageAttr(2, 5), 0x17);

  // Screen coordinates: column 1-based, row 0-based, clipped to the screen.
  writeTextAbsolute("edge", 3, 78, 24);
  EXPECT_EQ(imageText(77, 24, 3), "edg");
}

TEST_F(WindowTest, WriteTextFlushesOnlyItsCellsAndNothingUnderAHold) {
  WindowHandle window;
  ASSERT_EQ(openWindow(window, 1, 1, 40, 10, 0x17, 0x1E, WindowSingle | WindowClear), 0);
  console_.writes.clear();
  writeText("abc", 2, 3, 2);
  ASSERT_EQ(console_.writes.size(), 1u);
  EXPECT_EQ(console_.writes[0].left, 3);
  EXPECT_EQ(console_.writes[0].right, 5);
  EXPECT_EQ(console_.writes[0].top, 2);
  EXPECT_EQ(console_.writes[0].bottom, 2);

  raiseHold(1);
  writeText("xyz", 2, 3, 3);
  lowerHold(1);
  EXPECT_EQ(console_.writes.size(), 1u);
  EXPECT_EQ(imageText(3, 3, 3), "xyz");
}

TEST_F(WindowTest, WideCharactersTakeTwoCellsAndAreNeverSplit) {
  WindowHandle window;
  ASSERT_EQ(openWindow(window, 1, 1, 20, 5, 0x17, 0x17, WindowSingle | WindowClear), 0);
  writeText("a\u65E5b", 5, 1, 1);
  EXPECT_EQ(screenImage().at(2, 1).ch, U'\u65E5');
  EXPECT_EQ(screenImage().at(3, 1).ch, WideTail);
  EXPECT_EQ(screenImage().at(4, 1).ch, U'b');

  // The field ends in the middle of the wide character: a blank instead.
  writeText("abc\u65E5", 3, 1, 2, WritePad);
  EXPECT_EQ(imageText(1, 2, 5), "abc  ");
  EXPECT_NE(screenImage().at(5, 2).ch, WideTail);

  // A byte that is not UTF-8 shows through code page 437.
  writeText("\xC4", 1, 1, 3);
  EXPECT_EQ(screenImage().at(1, 3).ch, glyph(0xC4));
}

TEST_F(WindowTest, TeletypeWrapsAndScrollsOnlyTheInterior) {
  ScreenImage& image = screenImage();
  for (ScreenCell& cell : image.cells) cell = {U'.', 0x07};
  WindowHandle window;
  ASSERT_EQ(openWindow(window, 3, 3, 7, 4, 0x17, 0x1E, WindowSingle | WindowClear), 0);
  // Interior 5 x 2: "hello" fills row 1, "ab" wraps to row 2, the line feed scrolls.
  for (char32_t ch : std::u32string(U"helloab\nxy")) putChar(ch);
  EXPECT_EQ(imageText(3, 3, 5), "ab   ");
  EXPECT_EQ(imageText(3, 4, 5), "xy   ");
  EXPECT_EQ(image.at(2, 3).ch, glyph(0xB3));  // frame untouched
  EXPECT_EQ(image.at(8, 3).ch, glyph(0xB3));
  EXPECT_EQ(imageText(2, 5, 7), "\u2514\u2500\u2500\u2500\u2500\u2500\u2518");
  EXPECT_EQ(imageText(0, 3, 2), "..");  // outside untouched
  EXPECT_EQ(console_.cursorColumn, 5);
  EXPECT_EQ(console_.cursorRow, 4);

  putChar(8);  // backspace blanks the cell left of the cursor
  EXPECT_EQ(imageText(3, 4, 2), "x ");
  putChar(13);
  putChar(8);  // not left of column 1
  EXPECT_EQ(window->cursorColumn, 1);
  putChar(9);  // a tab that would leave the window is ignored
  EXPECT_EQ(window->cursorColumn, 1);

  windowCursor(5, 1);  // a wide character does not fit the last cell: blank, then wrap
  putChar(U'\u65E5');
  EXPECT_EQ(image.at(7, 3).ch, U' ');
  EXPECT_EQ(image.at(3, 4).ch, U'\u65E5');
  EXPECT_EQ(image.at(4, 4).ch, WideTail);

  setTeletypeNoWrap(true);
  windowCursor(4, 1);
  for (char32_t ch : std::u32string(U"1234")) putChar(ch);
  setTeletypeNoWrap(false);
  EXPECT_EQ(imageText(3, 3, 5), "ab 12");
  EXPECT_EQ(window->cursorRow, 1);
}

TEST_F(WindowTest, OutputWhileTheScreenSaverRunsWakesItAndIsKept) {
  WindowHandle window;
  ASSERT_EQ(openWindow(window, 1, 1, 20, 5, 0x17, 0x1E, WindowSingle | WindowClear), 0);
  screenSaverOn();
  writeText("abc", 2, 1, 1);
  EXPECT_FALSE(screenSaverActive());
  EXPECT_EQ(imageText(1, 1, 3), "abc");
  EXPECT_EQ(console_.shownAt(1, 1).ch, U'a');
  EXPECT_EQ(screenImage().at(0, 0).ch, glyph(0xDA));  // the picture from before is back

  screenSaverOn();
  WindowHandle box;
  ASSERT_EQ(openWindow(box, 30, 10, 10, 4, 0x4E, 0x4E, WindowDouble | WindowClear), 0);
  EXPECT_FALSE(screenSaverActive());
  EXPECT_EQ(screenImage().at(29, 9).ch, glyph(0xC9));
  freeWindow(box);
  EXPECT_EQ(screenImage().at(29, 9).ch, U' ');  // the saved cells were the real ones
  EXPECT_EQ(imageText(1, 1, 3), "abc");
}

TEST_F(WindowTest, FrameStyleIsChosenOnce) {
  chooseFrameStyle(FrameChoice::Graphic);
  chooseFrameStyle(FrameChoice::Ascii);  // too late: no effect
  EXPECT_FALSE(asciiFrames());
  EXPECT_EQ(&frameSet(WindowSingle), &SingleFrame);
  EXPECT_EQ(&frameSet(WindowBlock, FrameChoice::Ascii), &AsciiFrame);
  EXPECT_EQ(fillCharacter(), FillBlock);
}

TEST_F(WindowTest, SeparatorLineAndScrollBars) {
  WindowHandle window;
  ASSERT_EQ(openWindow(window, 1, 1, 10, 12, 0x17, 0x1E,
                       WindowSingle | WindowClear | WindowVerticalBar | WindowHorizontalBar),
            0);
  separatorLine(nullptr, 0, 4);
  EXPECT_EQ(imageText(0, 4, 10), "\u251C\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2524");
  EXPECT_EQ(imageAttr(3, 4), 0x1E);

  // Arrows at the ends of the frame lines; the thumb runs from row 2 to row height - 3.
  EXPECT_EQ(screenImage().at(9, 1).ch, glyph(ScrollUp));
  EXPECT_EQ(screenImage().at(9, 10).ch, glyph(ScrollDown));
  EXPECT_EQ(screenImage().at(1, 11).ch, glyph(ScrollLeft));
  EXPECT_EQ(screenImage().at(8, 11).ch, glyph(ScrollRight));
  struct Case {
    int percent, row;
  } cases[] = {{0, 2}, {50, 5}, {100, 9}, {250, 9}};
  for (const Case& c : cases) {
    drawVerticalScrollBar(*window, c.percent);
    for (int row = 2; row <= 9; ++row)
      EXPECT_EQ(screenImage().at(9, row).ch, glyph(row == c.row ? ScrollThumb : ScrollTrack))
          << c.percent << " row " << row;
  }
  drawHorizontalScrollBar(*window, 100);
  EXPECT_EQ(screenImage().at(7, 11).ch, glyph(ScrollThumb));
}

}  // namespace
}  // namespace corvane
