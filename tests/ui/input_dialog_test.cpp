#include "ui/input_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/keyboard.h"
#include "scripted_console.h"
#include "ui/input_history.h"
#include "ui/line_input.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

class InputDialogTest : public testing::DialogTest {
 protected:
  InputDialogTest() { resetUiState(); }
  ~InputDialogTest() override { resetUiState(); }
};

TEST_F(InputDialogTest, Layout) {
  struct Case {
    const char* prompt;
    int column, row, width;
    int x, y, layoutWidth, fieldColumn, fieldWidth;
  } cases[] = {
      {"Name :", 10, 5, 40, 10, 5, 40, 8, 30},
      {"Replay: ", 11, 11, 32, 11, 11, 32, 10, 20},
      {"Mask :", 10, 5, 10, 10, 5, 26, 8, 16},  // raised to the OK/CANCEL line + 5
      {"Mask :", 60, 5, 30, 48, 5, 30, 8, 20},  // ends 3 columns before the edge
      {"Mask :", 1, 24, 30, 1, 20, 30, 8, 20},  // kept on the screen
      {"A very long prompt indeed :", 1, 1, 26, 1, 1, 26, 29, 1},
  };
  for (const Case& c : cases) {
    InputDialogLayout layout = layoutInputDialog(c.prompt, c.column, c.row, c.width);
    EXPECT_EQ(layout.x, c.x) << c.prompt << " " << c.column;
    EXPECT_EQ(layout.y, c.y) << c.prompt << " " << c.row;
    EXPECT_EQ(layout.width, c.layoutWidth) << c.prompt;
    EXPECT_EQ(layout.fieldColumn, c.fieldColumn) << c.prompt;
    EXPECT_EQ(layout.fieldWidth, c.fieldWidth) << c.prompt;
  }
}

TEST_F(InputDialogTest, ShowsPromptFieldAndButtonsAndRecordsTheAnswer) {
  const std::vector<ScreenCell> before = screenImage().cells;
  std::string text = "xyz";
  screen_.pushKeys({key::Right, 'Q', key::Enter});
  EXPECT_EQ(inputDialog(text, "Name :", 10, 5, 40, 80), key::Enter);
  EXPECT_EQ(text, "xQyz");  // insert mode, no type-over after Right
  // Window at screen column 9, row 4: prompt and field on row 5, separator on 6, buttons on 7.
  EXPECT_EQ(screen_.rowAtRead(0, 5, 10, 12), "Name : xyz  ");
  EXPECT_EQ(screen_.rowAtRead(0, 7, 18, 21), std::string(InputDialogButtons));
  EXPECT_EQ(screen_.attrAtRead(0, 10, 5), color(ColorLineeditor));
  EXPECT_EQ(screen_.rowAtRead(0, 6, 9, 1), "\u251C");  // the separator's tee
  EXPECT_EQ(historyCount(), 1);
  EXPECT_EQ(historyEntry(0).text, "xQyz");
  EXPECT_FALSE(insertMode());
  EXPECT_EQ(screen_.cursorShape, CursorHidden);
  EXPECT_EQ(screenImage().cells, before);
}

TEST_F(InputDialogTest, ClicksOnTheButtonsAndTheFieldRow) {
  struct Case {
    int column, row;
    KeyCode result;
  } cases[] = {
      {30, 7, key::Escape},  // "< CANCEL >" from screen column 28
      {21, 7, key::Enter},   // "< OK >" from screen column 19
      {40, 5, key::Up},      // the field row
  };
  for (const Case& c : cases) {
    std::string text = "keep";
    screen_.now += 1000;
    screen_.pushClick(c.column, c.row);
    EXPECT_EQ(inputDialog(text, "Name :", 10, 5, 40, 80), c.result) << c.column;
    EXPECT_EQ(text, "keep");
  }
  // Only Enter records the text; Escape and Up do not.
  EXPECT_EQ(historyCount(), 1);
}

TEST_F(InputDialogTest, RecordsNothingEmptyOrWhileRecordingIsOff) {
  std::string text = "abc";
  screen_.pushKeys({0x0820 /* Alt-D */, key::Enter});
  EXPECT_EQ(inputDialog(text, "Name :", 10, 5, 40, 80), key::Enter);
  EXPECT_EQ(text, "");
  setRecordHistory(false);
  text = "abc";
  screen_.pushKey(key::Enter);
  EXPECT_EQ(inputDialog(text, "Name :", 10, 5, 40, 80), key::Enter);
  EXPECT_EQ(historyCount(), 0);
}

TEST_F(InputDialogTest, CallersZonesComeBack) {
  const MouseZone zones[] = {{.x1 = 0, .y1 = 0, .x2 = 3, .y2 = 0, .leftCode = 'q'}};
  registerMouseZones(zones);
  std::string text;
  screen_.pushKey(key::Escape);
  EXPECT_EQ(inputDialog(text, "Name :", 10, 5, 40, 80), key::Escape);
  screen_.pushClick(1, 0);
  EXPECT_EQ(readKey(), 'q');
}

TEST_F(InputDialogTest, ReplayCountPrompt) {
  ScopedWindow panel;
  ASSERT_EQ(panel.open(5, 3, 60, 20, 0x17, 0x17, WindowClear | WindowSingle), 0);
  const std::vector<ScreenCell> before = screenImage().cells;
  struct Case {
    std::vector<KeyCode> keys;
    int count;
  } cases[] = {
      {{key::Enter}, 1},
      {{'2', 'x', '5', key::Enter}, 25},  // letters are refused
      {{'7', key::Escape}, 0},
      {{0x0820 /* Alt-D */, key::Enter}, 0},
      {{'9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', key::Enter},
       2147483647},  // fifteen digits at most, the count saturated
  };
  for (const Case& c : cases) {
    setCharacterClass(CharacterClassText);
    for (KeyCode k : c.keys) screen_.pushKey(k);
    EXPECT_EQ(replayCountPrompt(), c.count);
    EXPECT_EQ(characterClass(), CharacterClassAll);
    EXPECT_TRUE(recordHistory());
    EXPECT_EQ(screenImage().cells, before);
  }
  EXPECT_EQ(historyCount(), 0);
  // The dialog stands 10 columns right of and 10 rows below the window's corner (4, 2).
  EXPECT_EQ(screen_.rowAtRead(0, 13, 15, 10), "Replay:  1");  // one blank after the prompt
  EXPECT_EQ(screen_.beeps, 2);                                // "x" and the sixteenth digit
}

}  // namespace
}  // namespace corvane
