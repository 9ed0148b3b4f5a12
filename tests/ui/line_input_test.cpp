#include "ui/line_input.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/charset.h"
#include "platform/keyboard.h"
#include "scripted_console.h"
#include "ui/input_history.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr KeyCode ShiftF1 = 0x023B, ShiftF2 = 0x023C, CtrlF9 = 0x0443, AltD = 0x0820, AltV = 0x082F,
                  CtrlE = 0x0405, CtrlD = 0x0404, CtrlS = 0x0413;
constexpr KeyCode CpUUmlaut = 0x81;  // code page 437 "ü"
constexpr KeyCode CpSharpS = 0xE1;   // code page 437 "ß"

// True when text is well-formed UTF-8 (no stray, overlong or cut sequences).
bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    char32_t cp;
    if (decodeChar(text, i, cp) != n) return false;  // overlong or surrogate
    i += n;
  }
  return true;
}

// A framed window at the top-left corner: field column 1 is screen column 1, row 1 row 1.
class LineInputTest : public testing::DialogTest {
 protected:
  LineInputTest() {
    resetUiState();
    EXPECT_EQ(window_.open(1, 1, 70, 6, 0x17, 0x17, WindowClear | WindowSingle), 0);
  }
  ~LineInputTest() override { resetUiState(); }

  // Runs the field over the keys; returns the ending key.
  KeyCode edit(std::string& text, int flags, const std::vector<KeyCode>& keys, int maxLength = 80,
               int width = 20) {
    for (KeyCode k : keys) screen_.pushKey(k);
    return lineInput(1, 1, width, text, maxLength, flags, cursor_, nullptr, nullptr);
  }

  int cursor_ = 0;
  ScopedWindow window_;
};

TEST_F(LineInputTest, TypeOverClearsThePresetUnlessAnotherKeyComesFirst) {
  struct Case {
    const char* name;
    bool insert;
    int flags;
    std::vector<KeyCode> keys;
    const char* result;
  } cases[] = {
      {"typed first", false, 0, {'a', key::Enter}, "a"},
      {"Right first, overwrite", false, 0, {key::Right, 'x', key::Enter}, "*x*"},
      {"Right first, insert", true, 0, {key::Right, 'x', key::Enter}, "*x.*"},
      {"no type-over flag", false, LineInputNoTypeOver, {'a', key::Enter}, "a.*"},
      {"cursor key first", false, 0, {key::Left, 'b', key::Enter}, "b.*"},
      {"Backspace first keeps the rest",
       false,
       LineInputStartEnd,
       {key::Backspace, 'b', key::Enter},
       "*.b"},
  };
  for (const Case& c : cases) {
    setInsertMode(c.insert);
    std::string text = "*.*";
    EXPECT_EQ(edit(text, c.flags, c.keys), key::Enter) << c.name;
    EXPECT_EQ(text, c.result) << c.name;
  }
  // The modifier and idle events leave type-over pending.
  std::string text = "*.*";
  screen_.pushModifier(ModifierKey::Shift);
  screen_.pushIdle();
  EXPECT_EQ(edit(text, 0, {'z', key::Enter}), key::Enter);
  EXPECT_EQ(text, "z");
}

TEST_F(LineInputTest, OverwriteFillsUpToTheMaximumAndThenRefuses) {
  std::string text;
  EXPECT_EQ(edit(text, 0, {'a', 'b', 'c', 'd', 'e', 'f', 'g', key::Enter}, 5), key::Enter);
  EXPECT_EQ(text, "abcde");
  EXPECT_EQ(screen_.beeps, 2);
  // A full field still takes characters over existing ones.
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {'X', 'Y', key::Enter}, 5), key::Enter);
  EXPECT_EQ(text, "XYcde");
  // Over a one-byte character only what fits the byte limit is taken.
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {CpUUmlaut, key::Enter}, 5), key::Enter);
  EXPECT_EQ(text, "XYcde");
  EXPECT_EQ(screen_.beeps, 3);
}

TEST_F(LineInputTest, InsertIsRefusedWhenTheTextIsFull) {
  setInsertMode(true);
  std::string text = "abcde";
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {'x', key::End, 'y', key::Enter}, 5), key::Enter);
  EXPECT_EQ(text, "abcde");
  EXPECT_EQ(screen_.beeps, 2);
  // Four bytes used of five: "ü" needs two and is refused, "x" fits.
  text = "abcd";
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {CpUUmlaut, 'x', key::Enter}, 5), key::Enter);
  EXPECT_EQ(text, "xabcd");
  EXPECT_EQ(screen_.beeps, 3);
}

// A paste is typed whole or refused whole, never cut; it does not end the field.
TEST_F(LineInputTest, APasteGoesInWholeOrNotAtAll) {
  struct Case {
    const char* name;
    bool insert;
    int flags;
    const char* preset;
    const char* paste;
    int maxLength;
    const char* result;
    int beeps;
  } cases[] = {
      {"insert at the cursor", true, LineInputStartEnd | LineInputNoTypeOver, "ab", "c d", 10,
       "abc d", 0},
      {"overwrite as typed", false, LineInputNoTypeOver, "abcd", "XY", 10, "XYcd", 0},
      {"type-over clears the preset", false, LineInputCommand, "*.*", "x.c", 10, "x.c", 0},
      {"exactly fills", true, LineInputStartEnd | LineInputNoTypeOver, "abc", "de", 5, "abcde", 0},
      {"one too many", true, LineInputStartEnd | LineInputNoTypeOver, "abc", "def", 5, "abc", 1},
      {"too long after type-over keeps the preset", false, 0, "*.*", "abcdef", 5, "*.*", 1},
      {"a byte limit hit inside", true, LineInputStartEnd | LineInputNoTypeOver, "abc", "x\xC3\xBC",
       5, "abc", 1},
  };
  for (const Case& c : cases) {
    setInsertMode(c.insert);
    screen_.beeps = 0;
    std::string text = c.preset;
    screen_.pushPaste(c.paste);
    EXPECT_EQ(edit(text, c.flags, {key::Enter}, c.maxLength), key::Enter) << c.name;
    EXPECT_EQ(text, c.result) << c.name;
    EXPECT_EQ(screen_.beeps, c.beeps) << c.name;
  }
  // Outside the character class: refused whole, with a beep.
  setCharacterClass(CharacterClassDigits);
  screen_.beeps = 0;
  std::string digits = "1";
  screen_.pushPaste("23x4");
  edit(digits, LineInputStartEnd | LineInputNoTypeOver, {key::Enter});
  EXPECT_EQ(digits, "1");
  EXPECT_EQ(screen_.beeps, 1);
}

TEST_F(LineInputTest, PresetLongerThanTheMaximumIsCutAtACharacter) {
  std::string text = "abcü";  // 5 bytes
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {key::Enter}, 4), key::Enter);
  EXPECT_EQ(text, "abc");
}

TEST_F(LineInputTest, UndoBringsBackThePresetAfterAnyEdits) {
  setInsertMode(true);
  std::string text = "hello world";
  EXPECT_EQ(edit(text, LineInputNoTypeOver,
                 {key::End, key::Backspace, key::Backspace, 'x', 'y', ShiftF1, key::Home, key::Del,
                  key::Ins, 'q', key::Right, CtrlE, AltD, 'z', ShiftF2, CtrlF9, key::Enter}),
            key::Enter);
  EXPECT_EQ(text, "hello world");
}

TEST_F(LineInputTest, EditingKeys) {
  struct Case {
    const char* name;
    std::vector<KeyCode> keys;
    const char* result;
    int cursor;
  } cases[] = {
      {"Backspace at the start does nothing", {key::Backspace}, "abcdef", 0},
      {"Del at the end does nothing", {key::End, key::Del}, "abcdef", 6},
      {"Right stops at the end", {key::End, key::Right, key::Right}, "abcdef", 6},
      {"Ctrl-Left and Ctrl-Right move one",
       {key::CtrlRight, key::CtrlRight, key::CtrlLeft},
       "abcdef",
       1},
      {"Ctrl-E deletes to the end", {key::Right, key::Right, CtrlE}, "ab", 2},
      {"Alt-D clears", {key::Right, AltD}, "", 0},
      {"Backspace deletes before", {key::Right, key::Right, key::Backspace}, "acdef", 1},
      {"Del deletes under", {key::Right, key::Del}, "acdef", 1},
      {"Shift-F1 and Ctrl-End", {ShiftF1, key::CtrlEnd}, "ABCDEF", 6},
      {"Ctrl-Home", {key::End, key::CtrlHome}, "abcdef", 0},
  };
  for (const Case& c : cases) {
    std::string text = "abcdef";
    EXPECT_EQ(edit(text, LineInputNoTypeOver,
                   [&] {
                     auto keys = c.keys;
                     keys.push_back(key::Enter);
                     return keys;
                   }()),
              key::Enter)
        << c.name;
    EXPECT_EQ(text, c.result) << c.name;
    EXPECT_EQ(cursor_, c.cursor) << c.name;
  }
}

TEST_F(LineInputTest, StartPositions) {
  struct Case {
    int flags, cursorIn, cursorOut;
  } cases[] = {{0, 3, 0},
               {3, 3, 0},
               {LineInputStartEnd, 0, 4},
               {LineInputStartCursor, 2, 2},
               {LineInputStartCursor, 99, 4},
               {LineInputStartCursor, -5, 0}};
  for (const Case& c : cases) {
    std::string text = "a日üb";
    cursor_ = c.cursorIn;
    EXPECT_EQ(edit(text, c.flags, {key::Enter}), key::Enter);
    EXPECT_EQ(cursor_, c.cursorOut) << c.flags << " " << c.cursorIn;
  }
}

TEST_F(LineInputTest, EndingKeysPerMode) {
  constexpr int Modes[] = {0,
                           LineInputEditor,
                           LineInputVertical,
                           LineInputHistory,
                           LineInputForm,
                           LineInputCommand,
                           LineInputModifierEnds};
  constexpr int E = LineInputEditor, V = LineInputVertical, H = LineInputHistory, F = LineInputForm,
                C = LineInputCommand, M = LineInputModifierEnds;
  struct Case {
    const char* name;
    KeyCode key;  // 0x0100 and 0x0777 are pushed as a Shift press and an idle event
    int endsIn;
  } cases[] = {
      {"Backspace", key::Backspace, 0},
      {"Del", key::Del, C},
      {"Left", key::Left, C},
      {"Ctrl-Left", key::CtrlLeft, 0},
      {"Right", key::Right, C},
      {"Ctrl-Right", key::CtrlRight, 0},
      {"Home", key::Home, E | C},
      {"Ctrl-Home", key::CtrlHome, E},
      {"End", key::End, E | C},
      {"Ctrl-End", key::CtrlEnd, E},
      {"Ins", key::Ins, C},
      {"Ctrl-E", CtrlE, C},
      {"Shift-F1", ShiftF1, C | M},
      {"Shift-F2", ShiftF2, C | M},
      {"Ctrl-F9", CtrlF9, C | M},
      {"Alt-D", AltD, E | C},
      {"Alt-V", AltV, C},
      {"Tab", key::Tab, E | H | F | C},
      {"Shift-Tab", key::ShiftTab, E | H | F | C},
      {"Up", key::Up, E | V | F | C},
      {"Down", key::Down, E | V | F | C},
      {"PgUp", key::PgUp, E | F | C},
      {"PgDn", key::PgDn, E | F | C},
      {"modifier event", key::ModifierEvent, C | M},
      {"idle event", key::IdleEvent, E | C},
      {"F5", key::F5, E | C},
      {"Ctrl-Up (empty history)", key::CtrlUp, E | C},
      {"Alt-J", KeyEditorJoin, E | C},
  };
  for (const Case& c : cases) {
    for (int mode : Modes) {
      resetUiState();
      std::string text = "ab";
      if (c.key == key::ModifierEvent)
        screen_.pushModifier(ModifierKey::Shift);
      else if (c.key == key::IdleEvent)
        screen_.pushIdle();
      else
        screen_.pushKey(c.key);
      const bool ends = (mode & c.endsIn) != 0;
      if (!ends) screen_.pushKey(key::Enter);
      EXPECT_EQ(lineInput(1, 1, 10, text, 20, mode | LineInputNoTypeOver, cursor_),
                ends ? c.key : key::Enter)
          << c.name << " in mode 0x" << std::hex << mode;
      EXPECT_TRUE(screen_.input.empty()) << c.name << " in mode 0x" << std::hex << mode;
      screen_.input.clear();
    }
  }
  // Enter and Escape end every mode; a character outside the class ends editor, history and
  // form fields and is refused in the others.
  for (int mode : Modes) {
    resetLineInputState();
    std::string text = "12";
    EXPECT_EQ(edit(text, mode, {key::Escape}), key::Escape);
    setCharacterClass(CharacterClassDigits);
    const bool ends = (mode & (E | H | F)) != 0;
    EXPECT_EQ(edit(text, mode | LineInputNoTypeOver,
                   ends ? std::vector<KeyCode>{'a'} : std::vector<KeyCode>{'a', key::Enter}),
              ends ? 'a' : key::Enter)
        << std::hex << mode;
    EXPECT_EQ(text, "12");
  }
}

TEST_F(LineInputTest, ClickOnAnotherFormItemEndsFieldsThatEndOnMovement) {
  const MouseZone zones[] = {{.x1 = 0, .y1 = 3, .x2 = 40, .y2 = 3, .leftCode = 0x0503}};
  registerMouseZones(zones);
  std::string text = "ab";
  screen_.pushClick(5, 3);
  EXPECT_EQ(lineInput(1, 1, 10, text, 20, LineInputHistory | LineInputVertical | 2, cursor_),
            0x0503);
  screen_.now += 1000;
  screen_.pushClick(5, 3);
  screen_.pushKey(key::Enter);
  EXPECT_EQ(lineInput(1, 1, 10, text, 20, 0, cursor_), key::Enter);  // a plain field ignores it
}

TEST_F(LineInputTest, ModifierEventEndsEditorFieldsOnlyInTheCommanderLayout) {
  std::string text = "ab";
  screen_.pushModifier(ModifierKey::Control);
  screen_.pushKey(key::Enter);
  EXPECT_EQ(lineInput(1, 1, 10, text, 20, LineInputEditor, cursor_), key::Enter);
  setLineInputCommanderLayout(true);
  screen_.pushModifier(ModifierKey::Control);
  EXPECT_EQ(lineInput(1, 1, 10, text, 20, LineInputEditor, cursor_), key::ModifierEvent);
}

TEST_F(LineInputTest, CommanderCtrlDAndCtrlSMoveTheCursorInCommandFields) {
  std::string text = "abc";
  setLineInputCommanderLayout(true);
  EXPECT_EQ(edit(text, LineInputCommand | LineInputStartEnd, {CtrlS, CtrlS, CtrlD, key::Enter}),
            key::Enter);
  EXPECT_EQ(cursor_, 2);
  EXPECT_EQ(edit(text, LineInputModifierEnds | LineInputStartEnd, {CtrlS, key::Enter}), key::Enter);
  EXPECT_EQ(cursor_, 2);
  // Elsewhere they are keys like any other: a command field hands them back.
  setLineInputCommanderLayout(false);
  EXPECT_EQ(edit(text, LineInputCommand, {CtrlD}), CtrlD);
  EXPECT_EQ(edit(text, 0, {CtrlS, key::Enter}), key::Enter);
  EXPECT_EQ(text, "abc");
}

TEST_F(LineInputTest, DigitClassRefusesLetters) {
  setCharacterClass(CharacterClassDigits);
  std::string text;
  EXPECT_EQ(edit(text, 0, {'1', 'a', '2', 'B', ' ', '3', key::Enter}), key::Enter);
  EXPECT_EQ(text, "123");
  EXPECT_EQ(screen_.beeps, 3);
  // Alt-V switches between the text and all classes only: a digits field stays one.
  EXPECT_EQ(edit(text, 0, {AltV, key::Enter}), key::Enter);
  EXPECT_EQ(characterClass(), CharacterClassDigits);
  EXPECT_EQ(screen_.cursorShape, CursorHidden);  // hidden when the field ends
}

TEST_F(LineInputTest, LongTextScrollsToKeepTheCursorVisible) {
  std::string text = "abcdefghijklmnopqrstuvwxyz";
  EXPECT_EQ(edit(text, LineInputStartEnd | LineInputNoTypeOver,
                 {key::Home, key::Right, key::Right, key::End, key::Left, key::Enter}, 80, 10),
            key::Enter);
  // Read 0: at the end, the last nine letters and the cursor cell; read 1: after Home.
  EXPECT_EQ(screen_.rowAtRead(0, 1, 1, 10), "rstuvwxyz ");
  EXPECT_EQ(screen_.rowAtRead(1, 1, 1, 10), "abcdefghij");
  EXPECT_EQ(screen_.rowAtRead(3, 1, 1, 10), "abcdefghij");
  EXPECT_EQ(screen_.rowAtRead(4, 1, 1, 10), "rstuvwxyz ");
  // Off the end the whole tail fits again, one letter more.
  EXPECT_EQ(screen_.rowAtRead(5, 1, 1, 10), "qrstuvwxyz");
  EXPECT_EQ(screen_.cursorColumn, 1 + 9);  // on "z"
  // The cell right of the field is not written.
  EXPECT_EQ(screen_.rowAtRead(0, 1, 11, 1), " ");

  // Backspacing at the end brings the start back into view.
  text = "abcdefghijklmnopqrstuvwxyz";
  std::vector<KeyCode> keys(17, key::Backspace);
  keys.push_back(key::Enter);
  EXPECT_EQ(edit(text, LineInputStartEnd | LineInputNoTypeOver, keys, 80, 10), key::Enter);
  EXPECT_EQ(text, "abcdefghi");
  EXPECT_EQ(screen_.rowAtRead(-1, 1, 1, 10), "abcdefghi ");
  EXPECT_EQ(screen_.cursorColumn, 1 + 9);
}

TEST_F(LineInputTest, WideCharactersScrollByCells) {
  std::string text = "日本語テキスト";  // seven characters, fourteen cells
  EXPECT_EQ(edit(text, LineInputStartEnd | LineInputNoTypeOver, {key::Home, key::Enter}, 80, 10),
            key::Enter);
  EXPECT_EQ(screen_.rowAtRead(0, 1, 1, 10), "テキスト  ");
  EXPECT_EQ(screen_.rowAtRead(1, 1, 1, 10), "日本語テキ");
  EXPECT_EQ(screen_.cursorColumn, 1);
}

TEST_F(LineInputTest, Utf8TextIsEditedByCharacters) {
  std::string text = "grüße";
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {key::Right, key::Right, key::Del, key::Enter}),
            key::Enter);
  EXPECT_EQ(text, "grße");
  setInsertMode(true);
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {key::Right, key::Right, CpUUmlaut, key::Enter}),
            key::Enter);
  EXPECT_EQ(text, "grüße");
  EXPECT_EQ(cursor_, 3);
  setInsertMode(false);
  // Overwriting "ß" (two bytes) with "x" (one) and "e" with "ß".
  EXPECT_EQ(edit(text, LineInputStartCursor | LineInputNoTypeOver, {'x', CpSharpS, key::Enter}),
            key::Enter);
  EXPECT_EQ(text, "grüxß");
  EXPECT_EQ(edit(text, LineInputStartEnd | LineInputNoTypeOver,
                 {key::Backspace, key::Backspace, key::Enter}),
            key::Enter);
  EXPECT_EQ(text, "grü");
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {ShiftF1, key::Enter}), key::Enter);
  EXPECT_EQ(text, "GRÜ");
  EXPECT_EQ(screen_.rowAtRead(-1, 1, 1, 4), "GRÜ ");

  text = "a日b";
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {key::Right, key::Del, key::Enter}), key::Enter);
  EXPECT_EQ(text, "ab");
  text = "a日b";
  screen_.screens.clear();
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {key::Right, 'x', key::Enter}), key::Enter);
  EXPECT_EQ(text, "axb");
  EXPECT_EQ(screen_.rowAtRead(0, 1, 1, 4), "a日b");
}

TEST_F(LineInputTest, CaseConversionKeepsByteLengths) {
  struct Case {
    const char* text;
    const char* upper;
    const char* lower;
  } cases[] = {
      {"abc XYZ 123", "ABC XYZ 123", "abc xyz 123"},
      {"grüße Ärger", "GRÜßE ÄRGER", "grüße ärger"},
      {"÷×日", "÷×日", "÷×日"},
      {"a\x81z", "A\x81Z", "a\x81z"},  // a byte that is not UTF-8 stays as it is
  };
  for (const Case& c : cases) {
    EXPECT_EQ(upperCaseText(c.text), c.upper);
    EXPECT_EQ(lowerCaseText(c.text), c.lower);
  }
}

TEST_F(LineInputTest, ClickPlacesTheCursor) {
  const MouseZone zones[] = {{.x1 = 1, .y1 = 1, .x2 = 20, .y2 = 1, .leftCode = KeyFieldClick}};
  registerMouseZones(zones);
  std::string text = "abcdef";
  screen_.pushClick(1 + 3, 1);
  EXPECT_EQ(edit(text, LineInputNoTypeOver, {'X', key::Enter}), key::Enter);
  EXPECT_EQ(text, "abcXef");
  // Beyond the text: the end. Command fields end with the click, the cursor placed.
  screen_.pushClick(1 + 15, 1);
  EXPECT_EQ(lineInput(1, 1, 20, text, 80, LineInputCommand, cursor_), KeyFieldClick);
  EXPECT_EQ(cursor_, 6);
  screen_.now += 1000;  // not a double click
  screen_.pushClick(1 + 1, 1);
  EXPECT_EQ(lineInput(1, 1, 20, text, 80, LineInputEditor | LineInputStartEnd, cursor_),
            KeyFieldClick);
  EXPECT_EQ(cursor_, 1);
}

struct Drawn {
  std::vector<std::string> texts;
  std::vector<int> cursors;
};

KeyCode recordView(const LineInputView& view, void* context) {
  auto* drawn = static_cast<Drawn*>(context);
  drawn->texts.emplace_back(view.text);
  drawn->cursors.push_back(view.cursor);
  return 0;
}

TEST_F(LineInputTest, EditorModeDrawsThroughTheCallbackAndTrimsBlanks) {
  Drawn drawn;
  std::string text = "ab  ";
  screen_.pushKeys({'c', key::Down});
  EXPECT_EQ(lineInput(1, 1, 20, text, 2000, LineInputEditor | LineInputNoTypeOver | 2, cursor_,
                      recordView, &drawn),
            key::Down);
  EXPECT_EQ(text, "cb");
  EXPECT_EQ(cursor_, 1);
  EXPECT_EQ(drawn.texts, (std::vector<std::string>{"ab  ", "cb  "}));
  EXPECT_EQ(drawn.cursors, (std::vector<int>{0, 1}));
  EXPECT_EQ(screen_.rowAtRead(-1, 1, 1, 4), "    ");  // the field did not draw itself

  // Alt-J keeps the blanks; the cursor stays within the trimmed text otherwise.
  text = "ab  ";
  screen_.pushKey(KeyEditorJoin);
  EXPECT_EQ(lineInput(1, 1, 20, text, 2000, LineInputEditor | LineInputStartEnd, cursor_,
                      recordView, &drawn),
            KeyEditorJoin);
  EXPECT_EQ(text, "ab  ");
  EXPECT_EQ(cursor_, 4);
  screen_.pushKey(key::Up);
  EXPECT_EQ(lineInput(1, 1, 20, text, 2000, LineInputEditor | LineInputStartEnd, cursor_,
                      recordView, &drawn),
            key::Up);
  EXPECT_EQ(text, "ab");
  EXPECT_EQ(cursor_, 2);
}

// Editor mode: Right at the end of the text hands the key back; the caller's first character
// shown stays while the cursor is in view; a callback may end the field.
TEST_F(LineInputTest, EditorModeLeavesScrollingAndTheLineEndToTheEditor) {
  std::string text = "abcdefghijklmnopqrstuvwxyz";
  int first = 10;
  screen_.pushKeys({key::Left, key::Right, key::Right, key::Right});
  cursor_ = 25;
  EXPECT_EQ(lineInput(1, 1, 20, text, 2000, LineInputEditor | LineInputStartCursor, cursor_,
                      nullptr, nullptr, &first),
            key::Right);
  EXPECT_EQ(cursor_, 26);
  EXPECT_EQ(first, 10);  // a field that pulled back would show from 7

  int draws = 0;
  const LineInputCallback endAtSecond = [](const LineInputView&, void* context) -> KeyCode {
    return ++*static_cast<int*>(context) == 2 ? key::ModifierEvent : 0;
  };
  screen_.pushKey('x');
  EXPECT_EQ(
      lineInput(1, 1, 20, text, 2000, LineInputEditor | LineInputNoTypeOver | LineInputStartEnd,
                cursor_, endAtSecond, &draws),
      key::ModifierEvent);
  EXPECT_EQ(text, "abcdefghijklmnopqrstuvwxyzx");
}

TEST_F(LineInputTest, HistoryModeRecordsChangedTexts) {
  std::string text = "old";
  EXPECT_EQ(edit(text, LineInputHistory, {'n', 'e', 'w', key::Enter}), key::Enter);
  EXPECT_EQ(edit(text, LineInputHistory, {key::Enter}), key::Enter);  // unchanged
  setRecordHistory(false);
  EXPECT_EQ(edit(text, LineInputHistory, {'x', key::Enter}), key::Enter);
  setRecordHistory(true);
  EXPECT_EQ(edit(text, 0, {'y', key::Enter}), key::Enter);  // not a history field
  ASSERT_EQ(historyCount(), 1);
  EXPECT_EQ(historyEntry(0).text, "new");
  EXPECT_EQ(historyEntry(0).kind, HistoryKindInput);
}

TEST_F(LineInputTest, CtrlUpPicksFromTheHistoryCutToTheMaximum) {
  addToHistory("first entry", 0);
  addToHistory("second", 3);
  std::string text = "x";
  // The pick window starts at the newest entry; Up goes to the older one.
  EXPECT_EQ(edit(text, LineInputVertical, {key::CtrlUp, key::Up, key::Enter, 'Z', key::Enter}, 8),
            key::Enter);
  EXPECT_EQ(text, "first en");  // cut to 8 bytes, the cursor at its end
  EXPECT_EQ(screen_.beeps, 1);  // "Z" did not fit
  // Not a history, vertical or form field: Ctrl-Up does nothing.
  text = "x";
  EXPECT_EQ(edit(text, 0, {key::CtrlUp, key::Enter}), key::Enter);
  EXPECT_EQ(text, "x");
}

// Random keys over many fields: the text stays within its maximum and well-formed, the
// cursor inside the text and the console cursor inside the field.
TEST_F(LineInputTest, RandomKeysKeepTheInvariants) {
  const std::vector<KeyCode> keys = {
      'a',       'Z',       '0',           ' ',           '*',
      CpUUmlaut, CpSharpS,  0xB0,          0x1F,          key::Backspace,
      key::Del,  key::Left, key::Right,    key::CtrlLeft, key::CtrlRight,
      key::Home, key::End,  key::CtrlHome, key::CtrlEnd,  key::Ins,
      CtrlE,     ShiftF1,   ShiftF2,       CtrlF9,        AltD,
      AltV,      key::F5,   key::CtrlUp};
  const char* presets[] = {
      "", "*.*", "grüße", "日本語テキスト", "a日b c", "C:\\path\\to\\file.txt"};
  // Every field takes Ctrl-Up, so that the pick window reads the key pushed for it.
  constexpr int Flags[] = {LineInputVertical, LineInputVertical | LineInputNoTypeOver,
                           LineInputVertical | LineInputStartEnd,
                           LineInputVertical | LineInputStartCursor,
                           LineInputVertical | LineInputStartCursor | LineInputNoTypeOver};
  addToHistory("from the history, a long entry", 0);
  std::mt19937 random(20240611);
  for (int run = 0; run < 300; ++run) {
    std::string text = presets[random() % std::size(presets)];
    const int maxLength = 1 + static_cast<int>(random() % 24);
    const int width = 1 + static_cast<int>(random() % 12);
    const int flags = Flags[random() % std::size(Flags)];
    cursor_ = static_cast<int>(random() % 10) - 2;
    setInsertMode(random() % 2 == 0);
    setCharacterClass(static_cast<int>(random() % 3));
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      KeyCode k = keys[random() % keys.size()];
      screen_.pushKey(k);
      if (k == key::CtrlUp) screen_.pushKey(random() % 2 ? key::Enter : key::Escape);
    }
    screen_.pushKey(key::Enter);
    ASSERT_EQ(lineInput(1, 1, width, text, maxLength, flags, cursor_), key::Enter) << "run " << run;
    SCOPED_TRACE("run " + std::to_string(run) + " text \"" + text + "\"");
    EXPECT_TRUE(screen_.input.empty());
    EXPECT_LE(text.size(), static_cast<std::size_t>(maxLength));
    EXPECT_TRUE(validUtf8(text));
    EXPECT_GE(cursor_, 0);
    EXPECT_LE(cursor_, static_cast<int>(textChars(text)));
    EXPECT_GE(screen_.cursorColumn, 1);
    EXPECT_LT(screen_.cursorColumn, 1 + width);
    screen_.screens.clear();
  }
}

}  // namespace
}  // namespace corvane
