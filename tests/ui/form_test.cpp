#include "ui/form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/keyboard.h"
#include "scripted_console.h"
#include "ui/input_history.h"
#include "ui/line_input.h"
#include "ui/prompt_box.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

// Remembers, at every read, the help context of the current window: it names the item that
// has the focus.
class FormConsole : public testing::ScriptedConsole {
 public:
  using ScriptedConsole::ScriptedConsole;
  bool readInput(InputRecord& record, int timeoutMs) override {
    contexts.push_back(currentHelpContext());
    return ScriptedConsole::readInput(record, timeoutMs);
  }
  std::vector<int> contexts;
};

class FormTest : public testing::HeadlessTest {
 protected:
  FormTest() {
    setConsole(&screen_);
    resetKeyReader();
    resetUiState();
  }
  ~FormTest() override {
    EXPECT_TRUE(screen_.input.empty()) << "scripted input left unread";
    clearMouseZones();
    resetUiState();
    setConsole(&console_);
  }
  FormConsole screen_{80, 25};
};

// The form used by most tests: at column 10, row 5, so item i is on screen row 5 + i and
// the value column 12 is screen column 21.
std::string name = "abc";
std::string count = "7";
std::uint16_t enabled = 0;
int applyResult = ButtonStay;
int applyCalls = 0;
int apply(std::string_view label, int index) {
  ++applyCalls;
  EXPECT_EQ(label, "Apply");
  EXPECT_EQ(index, 5);
  name = "changed";
  return applyResult;
}

constexpr FormItem Items[] = {
    {.label = "Name :", .type = FormText, .text = &name, .maxLength = 20, .helpContext = 100},
    {.label = "Enabled ?", .type = FormSwitch, .flag = &enabled, .helpContext = 101},
    {.type = FormSeparator, .helpContext = 102},
    {.label = "A static line", .type = FormStatic, .helpContext = 103},
    {.label = "Count :", .type = FormNumber, .text = &count, .maxLength = 5, .helpContext = 104},
    {.label = "Apply", .type = FormButton, .handler = apply, .helpContext = 105},
    {.label = FormKeyLine, .type = FormStatic, .helpContext = 106},
};
constexpr FormDescriptor Form{
    .x = 10, .y = 5, .width = 44, .valueColumn = 12, .title = " Test ", .items = Items};

class SampleFormTest : public FormTest {
 protected:
  SampleFormTest() {
    name = "abc";
    count = "7";
    enabled = 0;
    applyResult = ButtonStay;
    applyCalls = 0;
  }
};

TEST_F(SampleFormTest, DrawsEveryKindOfItem) {
  enabled = 1;
  screen_.pushKey(key::Escape);
  EXPECT_EQ(runForm(Form), FormCancelled);
  EXPECT_EQ(screen_.rowAtRead(0, 4, 29, 6), " Test ");  // centred in the 47 cells
  EXPECT_EQ(screen_.rowAtRead(0, 5, 10, 14), "Name :     abc");
  EXPECT_EQ(screen_.rowAtRead(0, 6, 10, 16), "Enabled ?  [YES]");
  EXPECT_EQ(screen_.rowAtRead(0, 7, 9, 3), "\u251C\u2500\u2500");  // separator joined to the frame
  EXPECT_EQ(screen_.rowAtRead(0, 8, 10, 13), "A static line");
  EXPECT_EQ(screen_.rowAtRead(0, 9, 10, 12), "Count :    7");
  EXPECT_EQ(screen_.rowAtRead(0, 10, 10, 7), "<Apply>");
  EXPECT_EQ(screen_.rowAtRead(0, 11, 10, 40), FormKeyLine);
  EXPECT_EQ(screen_.attrAtRead(0, 10, 5), color(ColorLineeditor));
  EXPECT_EQ(screen_.attrAtRead(0, 56, 6), ShadowAttr);  // 47 wide: shadow at column 56
}

TEST_F(SampleFormTest, LabelsLongerThanTheValueColumnMoveTheValues) {
  static std::string text;
  static std::uint16_t flag = 1;
  static constexpr FormItem Long[] = {
      {.label = "A rather long label :", .type = FormText, .text = &text, .maxLength = 10},
      {.label = "Short ?", .type = FormSwitch, .flag = &flag},
      {.label = "Value column :", .type = FormText, .text = &text, .maxLength = 10},
  };
  FormLayout layout = layoutForm({.x = 5, .y = 3, .width = 10, .valueColumn = 8, .items = Long});
  EXPECT_EQ(layout.valueColumn, 24);  // 21 cells + 3
  EXPECT_GE(layout.innerWidth, 24 + 3);

  // A label exactly as long as the value column moves it too: its last cell stays visible.
  static constexpr FormItem Exact[] = {
      {.label = "Exactly8", .type = FormSwitch, .flag = &flag},
  };
  EXPECT_EQ(layoutForm({.width = 20, .valueColumn = 8, .items = Exact}).valueColumn, 11);
  EXPECT_EQ(layoutForm({.width = 20, .valueColumn = 9, .items = Exact}).valueColumn, 9);

  text = "xyz";
  screen_.pushKey(key::Escape);
  runForm({.x = 5, .y = 3, .width = 10, .valueColumn = 8, .items = Long});
  EXPECT_EQ(screen_.rowAtRead(0, 3, 5, 26), "A rather long label :  xyz");
  EXPECT_EQ(screen_.rowAtRead(0, 4, 5, 28), "Short ?                [YES]");
}

TEST_F(SampleFormTest, WidthIsCappedAndTheFormMovedLeftToFit) {
  static constexpr FormItem Wide[] = {{.label = "x", .type = FormStatic}};
  FormLayout layout = layoutForm({.x = 60, .width = 200, .valueColumn = 2, .items = Wide});
  EXPECT_EQ(layout.innerWidth, 76);
  EXPECT_EQ(layout.x, 1);
  layout = layoutForm({.x = 60, .width = 30, .valueColumn = 2, .items = Wide});
  EXPECT_EQ(layout.x, 47);  // 47 + 30 + 3 = 80: the shadow column is the last one
  layout = layoutForm({.x = 60, .width = 10, .valueColumn = 2, .items = Items});
  EXPECT_EQ(layout.innerWidth, 40);  // the key line is 40 cells
}

TEST_F(SampleFormTest, NavigationPassesStaticItemsAndSeparatorsBothWays) {
  struct Case {
    std::vector<KeyCode> keys;
    std::vector<int> focus;  // help context at each read
  } cases[] = {
      {{key::Tab, key::Tab, key::Tab, key::Tab, key::Escape}, {100, 101, 104, 105, 100}},
      {{key::ShiftTab, key::ShiftTab, key::ShiftTab, key::Escape}, {100, 105, 104, 101}},
      {{key::Down, key::Down, key::Up, key::Escape}, {100, 101, 104, 101}},
      {{key::Up, key::Escape}, {100, 105}},  // Up on the first item: the last that can hold it
      // Home and End inside a text field move its cursor; from a switch they move the focus.
      {{key::Tab, key::End, key::Home, key::Escape}, {100, 101, 105, 100}},
  };
  for (const Case& c : cases) {
    screen_.contexts.clear();
    for (KeyCode k : c.keys) screen_.pushKey(k);
    EXPECT_EQ(runForm(Form), FormCancelled);
    EXPECT_EQ(screen_.contexts, c.focus) << c.keys.size() << " keys";
  }
}

TEST_F(SampleFormTest, HomeOnAStaticFirstItemGoesForward) {
  static std::uint16_t flag = 0;
  static constexpr FormItem Items2[] = {
      {.label = "Heading", .type = FormStatic, .helpContext = 1},
      {.label = "One ?", .type = FormSwitch, .flag = &flag, .helpContext = 2},
      {.label = "Two ?", .type = FormSwitch, .flag = &flag, .helpContext = 3},
  };
  screen_.pushKeys({key::Down, key::Home, key::Escape});
  runForm({.x = 5, .y = 3, .width = 20, .valueColumn = 8, .items = Items2});
  EXPECT_EQ(screen_.contexts, (std::vector<int>{2, 3, 2}));
}

TEST_F(SampleFormTest, SpaceAndAClickFlipASwitch) {
  screen_.pushKeys({key::Tab, key::Space});
  screen_.pushKey(key::Space);
  screen_.pushKey(key::Space);
  screen_.pushClick(12, 6);  // the switch's row, away from its value: toggles and focuses
  screen_.pushKey(key::Enter);
  EXPECT_EQ(runForm(Form), FormAccepted);
  EXPECT_EQ(enabled, 0);  // three Spaces and one click
  ASSERT_EQ(screen_.screens.size(), 6u);
  EXPECT_EQ(screen_.rowAtRead(2, 6, 21, 5), "[YES]");
  EXPECT_EQ(screen_.rowAtRead(3, 6, 21, 5), "[NO ]");
  EXPECT_EQ(screen_.rowAtRead(4, 6, 21, 5), "[YES]");
  EXPECT_EQ(screen_.rowAtRead(5, 6, 21, 5), "[NO ]");

  // A click from the text field focuses the switch and flips it at once.
  screen_.contexts.clear();
  screen_.pushClick(30, 6);
  screen_.pushKey(key::Escape);
  runForm(Form);
  EXPECT_EQ(enabled, 1);
  EXPECT_EQ(screen_.contexts, (std::vector<int>{100, 101}));
}

TEST_F(SampleFormTest, KeyLineZonesGiveTheirKeys) {
  // Row 11 holds the key line: "< TAB >" at window columns 12-18 (screen 21-27).
  screen_.pushClick(23, 11);
  screen_.pushClick(33, 11);  // "< SHIFT TAB >": back to the first item
  screen_.pushClick(14, 11);  // "< RETURN >"
  EXPECT_EQ(runForm(Form), FormAccepted);
  EXPECT_EQ(screen_.contexts, (std::vector<int>{100, 101, 100}));
}

TEST_F(SampleFormTest, ButtonHandlerResults) {
  // Any other result: the button reads the next key, everything is drawn again.
  applyResult = ButtonStay;
  screen_.pushKeys({key::ShiftTab, key::Enter, key::Escape});
  EXPECT_EQ(runForm(Form), FormCancelled);
  EXPECT_EQ(applyCalls, 1);
  EXPECT_EQ(screen_.rowAtRead(2, 5, 21, 7), "changed");
  EXPECT_EQ(screen_.contexts.back(), 105);

  // 0: the form closes with 27 at once.
  applyCalls = 0;
  applyResult = ButtonCloseForm;
  screen_.pushKeys({key::ShiftTab, key::Enter});
  EXPECT_EQ(runForm(Form), FormCancelled);
  EXPECT_EQ(applyCalls, 1);

  // 9: the interior is cleared, the items drawn again, the first item has the focus.
  applyResult = ButtonRestartForm;
  screen_.contexts.clear();
  screen_.screens.clear();
  screen_.pushKeys({key::ShiftTab, key::Enter, key::Enter});
  EXPECT_EQ(runForm(Form), FormAccepted);
  EXPECT_EQ(screen_.contexts, (std::vector<int>{100, 105, 100}));
}

TEST_F(SampleFormTest, NumberFieldRefusesLettersAndRestoresTheClass) {
  setCharacterClass(CharacterClassAll);
  screen_.pushKeys({key::Tab, key::Tab, 'x'});  // ends the field with a beep, count unchanged
  screen_.pushText("42");
  screen_.pushKey('y');
  screen_.pushKey(key::Enter);
  EXPECT_EQ(runForm(Form), FormAccepted);
  EXPECT_EQ(count, "42");
  EXPECT_EQ(screen_.beeps, 2);
  EXPECT_EQ(characterClass(), CharacterClassAll);
}

TEST_F(SampleFormTest, TextFieldEditsInPlaceAndKeepsTheFocusUntilAnEndingKey) {
  screen_.pushText("Zed");
  screen_.pushKey(key::F2);  // no edit and no ending key: the field goes on
  screen_.pushKey(key::Down);
  screen_.pushKey(key::Enter);
  EXPECT_EQ(runForm(Form), FormAccepted);
  EXPECT_EQ(name, "Zed");
  EXPECT_EQ(screen_.contexts, (std::vector<int>{100, 100, 100, 100, 100, 101}));
  EXPECT_EQ(historyCount(), 1);  // a changed field goes into the history
}

TEST_F(SampleFormTest, FormRestoresTheScreenAndTheCallersZones) {
  const std::vector<ScreenCell> before = screenImage().cells;
  MouseZone callerZone;
  callerZone.x1 = 0;
  callerZone.x2 = 79;
  callerZone.y1 = callerZone.y2 = 24;
  callerZone.leftCode = 'q';
  registerMouseZones({&callerZone, 1});
  screen_.pushKey(key::Escape);
  runForm(Form);
  EXPECT_EQ(screenImage().cells, before);
  std::vector<MouseZone> zones = activeMouseZones();
  ASSERT_EQ(zones.size(), 1u);
  EXPECT_EQ(zones[0].leftCode, 'q');
}

TEST_F(FormTest, FormWithoutFocusableItemsWaitsForEnterOrEscape) {
  static constexpr FormItem Static[] = {{.label = "Only text", .type = FormStatic}};
  screen_.pushKeys({key::Tab, 'x', key::Enter});
  EXPECT_EQ(runForm({.x = 5, .y = 5, .width = 20, .valueColumn = 2, .items = Static}),
            FormAccepted);
}

// The prompt box: 30 wide at column 10, row 5; the field after the prompt on row 5, the
// OK/CANCEL line on row 6 centred in the 28 interior cells (columns 13-33 of the screen).
TEST_F(FormTest, PromptBoxLayoutTypingAndCancelClick) {
  const std::vector<ScreenCell> before = screenImage().cells;
  std::string text = "old";
  screen_.pushText("new");
  screen_.pushKey(key::Enter);
  EXPECT_EQ(promptBox(text, "Name :", 10, 5, 30, 20), key::Enter);
  EXPECT_EQ(text, "new");
  EXPECT_EQ(screen_.rowAtRead(0, 5, 10, 10), "Name : old");
  EXPECT_EQ(screen_.rowAtRead(0, 6, 10, 28).find("< OK >   < CANCEL >"), 4u);
  EXPECT_EQ(screen_.rowAtRead(0, 7, 9, 1), "\u2514");   // height 4: the frame on row 7
  EXPECT_NE(screen_.attrAtRead(0, 39, 6), ShadowAttr);  // no shadow
  EXPECT_EQ(screen_.cursorShape, CursorHidden);
  EXPECT_FALSE(insertMode());
  EXPECT_EQ(historyCount(), 1);
  EXPECT_EQ(screenImage().cells, before);

  // "< CANCEL >" starts at interior column 14, screen column 23.
  screen_.pushClick(25, 6);
  EXPECT_EQ(promptBox(text, "Name :", 10, 5, 30, 20), key::Escape);
}

TEST_F(FormTest, PromptBoxModesEndOnDifferentKeys) {
  std::string text;
  screen_.pushKey(key::Tab);  // the form mode ends on Tab
  EXPECT_EQ(promptBox(text, "Mask :", 10, 5, 30, 20, PromptMode::Form), key::Tab);
  screen_.pushKeys({key::Tab, key::Down});  // the dialog mode does not
  EXPECT_EQ(promptBox(text, "Mask :", 10, 5, 30, 20, PromptMode::Dialog), key::Down);
}

TEST_F(FormTest, MessagePromptPutsTheFieldAfterTheMessage) {
  std::string text = "a.txt";
  const std::string message = " Rename File : a.txt        \n New Name    : ";
  screen_.pushKey(key::End);
  screen_.pushText("2");
  screen_.pushKey(key::Enter);
  EXPECT_EQ(messagePrompt(10, 8, 30, 12, text, message), key::Enter);
  EXPECT_EQ(text, "a.txt2");  // insert mode: appended, not overwritten
  // m = 28 + line feed + 1 = 30: 60 wide, 4 high, at screen cell (9, 7).
  EXPECT_EQ(screen_.rowAtRead(0, 8, 10, 20), " Rename File : a.txt");
  EXPECT_EQ(screen_.rowAtRead(0, 9, 10, 20), " New Name    : a.txt");
  EXPECT_EQ(screen_.rowAtRead(0, 10, 9, 1), "\u2514");
  EXPECT_EQ(screen_.rowAtRead(0, 7, 68, 1), "\u2510");
  EXPECT_EQ(screen_.attrAtRead(0, 69, 8), ShadowAttr);
  EXPECT_FALSE(insertMode());
}

}  // namespace
}  // namespace corvane
