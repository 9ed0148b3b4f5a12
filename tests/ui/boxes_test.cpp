#include "ui/boxes.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/color.h"
#include "scripted_console.h"
#include "ui/window.h"

namespace corvane {
namespace {

using BoxesTest = testing::DialogTest;

using BoxLayoutTest = testing::HeadlessTest;

TEST_F(BoxLayoutTest, WidthHeightAndPlace) {
  struct Case {
    std::string text;
    int extra, width, height, x, y;
  } cases[] = {
      {"Word", 4, 30, 4, 25, 15},
      {std::string(29, 'a'), 4, 30, 4, 25, 15},  // m = 30
      {std::string(30, 'a'), 4, 33, 4, 23, 15},  // m = 31
      {std::string(40, 'a'), 4, 43, 4, 18, 15},  // no line feed: m = 41
      {std::string(40, 'a') + "\n", 4, 44, 5, 18, 15},
      {"a\nb\nc", 5, 30, 7, 25, 15},
      {std::string(100, 'a'), 3, 103, 3, 1, 15},  // wider than the screen: not left of it
  };
  for (const Case& c : cases) {
    BoxLayout layout = layoutBox(c.text, c.extra);
    EXPECT_EQ(layout.width, c.width) << c.text;
    EXPECT_EQ(layout.height, c.height) << c.text;
    EXPECT_EQ(layout.x, c.x) << c.text;
    EXPECT_EQ(layout.y, c.y) << c.text;
  }
  // Twenty lines on 25 rows leave no room below row 15: centred instead.
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += i ? "\nline" : "line";
  EXPECT_EQ(layoutBox(twenty, 4).y, 1);
  EXPECT_EQ(layoutBox("a\nb\nc\nd\ne", 4).y, 15);       // 8 + 15 < 25
  EXPECT_EQ(layoutBox("a\nb\nc\nd\ne\nf\ng", 4).y, 7);  // 10 rows: (25 - 10) / 2
}

TEST_F(BoxesTest, MessageBoxWaitsForARealKeyAndRestoresTheScreen) {
  const std::vector<ScreenCell> before = screenImage().cells;
  screen_.pushModifier(ModifierKey::Shift);
  screen_.pushIdle();
  screen_.pushKey('x');
  EXPECT_EQ(messageBox("Hello ^world"), 'x');
  ASSERT_EQ(screen_.screens.size(), 3u);
  // Block frame at row 14 (y = 15), text on row 15, the prompt centred on row 16.
  EXPECT_EQ(screen_.rowAtRead(0, 15, 25, 11), "Hello world");
  EXPECT_EQ(screen_.rowAtRead(0, 16, 25, 28), "      Press any key !       ");
  EXPECT_EQ(screen_.attrAtRead(0, 25, 15), color(ColorMessageWindow));
  EXPECT_EQ(screen_.attrAtRead(0, 31, 15), color(ColorHotkey));
  EXPECT_EQ(screenImage().cells, before);
  EXPECT_EQ(screen_.shown, before);
}

TEST_F(BoxesTest, QuestionAnswers) {
  struct Case {
    int defaultAnswer;
    std::vector<KeyCode> keys;
    int answer;
  } cases[] = {
      {QuestionDefaultYes, {key::Enter}, QuestionYes},
      {QuestionDefaultNo, {key::Enter}, QuestionNo},
      {QuestionDefaultYes, {key::Left, key::Left, key::Enter}, QuestionYes},
      {QuestionDefaultNo, {key::Right, key::Right, key::Enter}, QuestionNo},
      {QuestionDefaultYes, {key::Left, key::Enter}, QuestionNo},
      {QuestionDefaultNo, {'y'}, QuestionYes},
      {QuestionDefaultNo, {'Y'}, QuestionYes},
      {QuestionDefaultYes, {'n'}, QuestionNo},
      {QuestionDefaultYes, {'q', key::Escape}, 0},  // Escape is not "N"
  };
  for (const Case& c : cases) {
    for (KeyCode k : c.keys) screen_.pushKey(k);
    EXPECT_EQ(question(c.defaultAnswer, " Delete it ? "), c.answer)
        << "default " << c.defaultAnswer << ", " << c.keys.size() << " keys";
    EXPECT_TRUE(screen_.input.empty());
  }
}

TEST_F(BoxesTest, QuestionButtonsSelectionAndMouse) {
  // Width 30 from screen column 24: "< No >" at column 12 (cell 36), "< Yes >" at column 22
  // (cell 46), on row 16.
  screen_.pushKey(key::Right);
  screen_.pushClick(52, 16);  // the ">" of Yes: outside its zone, ignored
  screen_.pushClick(47, 16);
  EXPECT_EQ(question(QuestionDefaultYes, "Sure ?"), QuestionYes);
  ASSERT_EQ(screen_.screens.size(), 3u);
  EXPECT_EQ(screen_.rowAtRead(0, 16, 36, 17), "< No >    < Yes >");
  EXPECT_EQ(screen_.attrAtRead(0, 46, 16), color(ColorSelectFiles));
  EXPECT_EQ(screen_.attrAtRead(0, 36, 16), color(ColorQuestionWindow));
  EXPECT_EQ(screen_.attrAtRead(1, 36, 16), color(ColorSelectFiles));
  EXPECT_EQ(screen_.attrAtRead(1, 46, 16), color(ColorQuestionWindow));

  // The caller's zones are put back when the box ends.
  const MouseZone callers[] = {{.x1 = 0, .y1 = 0, .x2 = 9, .y2 = 0, .leftCode = 0x0500}};
  registerMouseZones(callers);
  screen_.pushClick(38, 16);
  EXPECT_EQ(question(QuestionDefaultYes, "Sure ?"), QuestionNo);
  std::vector<MouseZone> after = activeMouseZones();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].leftCode, 0x0500);
}

constexpr std::string_view Buttons = "   < ^Skip >   < ^All >   < ^Cancel >   <^Yes >   < ^No   >";

TEST_F(BoxesTest, ButtonLineIsParsedIntoLettersAndCells) {
  ButtonLine line = parseButtonLine(Buttons);
  ASSERT_EQ(line.count, 5);
  EXPECT_EQ(line.cells, 54);  // carets take no cell
  const int letters[] = {'S', 'A', 'C', 'Y', 'N'};
  const int first[] = {3, 14, 24, 37, 46}, last[] = {10, 20, 33, 42, 53};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(line.letters[i], letters[i]);
    EXPECT_EQ(line.first[i], first[i]);
    EXPECT_EQ(line.last[i], last[i]);
  }
}

TEST_F(BoxesTest, ButtonBoxChoices) {
  struct Case {
    std::vector<KeyCode> keys;
    int answer;
  } cases[] = {
      {{'a'}, 'A'},
      {{'C'}, 'C'},
      {{key::Enter}, 'S'},
      {{key::Left, key::Enter}, 'N'},  // from the first to the last
      {{key::Left, key::Right, key::Right, key::Enter}, 'A'},
      {{'z', key::Escape}, 0},
  };
  for (const Case& c : cases) {
    for (KeyCode k : c.keys) screen_.pushKey(k);
    EXPECT_EQ(buttonBox(Buttons, "File exists"), c.answer) << c.keys.size() << " keys";
  }
}

TEST_F(BoxesTest, ButtonBoxLayoutAndMouse) {
  // Widened to the button line: 54 + 2 = 56 wide from screen column 11, rows 14 to 18; the
  // button line starts at cell 12 of row 17, the separator is on row 16.
  screen_.pushKey(key::Left);
  screen_.pushClick(12 + 24, 17);  // the "<" of Cancel
  EXPECT_EQ(buttonBox(Buttons, "File exists"), 'C');
  EXPECT_EQ(screen_.rowAtRead(0, 15, 12, 11), "File exists");
  EXPECT_EQ(screen_.rowAtRead(0, 16, 11, 3), "\u251C\u2500\u2500");
  EXPECT_EQ(screen_.rowAtRead(0, 16, 66, 1), "\u2524");
  EXPECT_EQ(screen_.rowAtRead(0, 17, 12, 54),
            "   < Skip >   < All >   < Cancel >   <Yes >   < No   >");
  EXPECT_EQ(screen_.attrAtRead(0, 15, 17), color(ColorSelectFiles));
  EXPECT_EQ(screen_.attrAtRead(0, 26, 17), color(ColorQuestionWindow));
  EXPECT_EQ(screen_.attrAtRead(1, 58, 17), color(ColorSelectFiles));
  EXPECT_EQ(screen_.attrAtRead(1, 15, 17), color(ColorQuestionWindow));
}

TEST_F(BoxesTest, InformationWindowAndTimedNote) {
  const std::vector<ScreenCell> before = screenImage().cells;
  WindowHandle info;
  ASSERT_EQ(openInfoWindow(info, " Reading directory   "), 0);
  EXPECT_EQ(screen_.shownText(25, 15, 21), " Reading directory   ");
  EXPECT_EQ(screen_.shownAt(25, 15).attr, color(ColorInfoWindow));
  closeInfoWindow(info);
  EXPECT_FALSE(info);
  EXPECT_EQ(screen_.shown, before);

  const std::uint64_t start = screen_.now;
  timedNote("Macro starts");
  EXPECT_EQ(screen_.now - start, 320u);
  EXPECT_EQ(screen_.shown, before);
  EXPECT_TRUE(screen_.writes.size() >= 2u);  // shown, then taken away
}

}  // namespace
}  // namespace corvane
