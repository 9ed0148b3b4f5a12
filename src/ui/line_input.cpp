#include "ui/line_input.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/charset.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "ui/boxes.h"
#include "ui/input_history.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

LineInputState& state() { return uiState().lineInput; }

// A refused paste is told for about 1.3 s: long enough to read, since nothing else shows it.
constexpr int PasteNoteUnits = 40;

// Editing keys that keycodes.h does not name.
constexpr KeyCode KeyCtrlE = 0x0405;
constexpr KeyCode KeyCtrlD = 0x0404;
constexpr KeyCode KeyCtrlS = 0x0413;
constexpr KeyCode KeyUpperCase = 0x023B;    // Shift-F1
constexpr KeyCode KeyLowerCase = 0x023C;    // Shift-F2
constexpr KeyCode KeyUndo = 0x0443;         // Ctrl-F9
constexpr KeyCode KeyClear = 0x0820;        // Alt-D
constexpr KeyCode KeyClassSwitch = 0x082F;  // Alt-V
// Mouse-zone codes of list and form items (0x0500 + index).
constexpr KeyCode ItemZoneFirst = 0x0500, ItemZoneLast = 0x05FF;

// One character of the text: where its bytes start and the cells it takes.
struct Glyph {
  std::size_t offset;
  int cells;
};

// The field being edited.
struct Field {
  int column, row, visibleWidth;
  std::string& text;
  std::size_t maxLength;
  int flags;
  int cursor = 0;          // character index, 0 .. glyphs.size()
  int firstChar = 0;       // first character shown
  bool keepFirst = false;  // the caller's scroll stays while the cursor is in view
  std::vector<Glyph> glyphs;
  LineInputCallback callback;
  void* context;

  bool mode(int bits) const { return (flags & bits) != 0; }
  int length() const { return static_cast<int>(glyphs.size()); }
  std::size_t offsetOf(int index) const {
    return index < length() ? glyphs[static_cast<std::size_t>(index)].offset : text.size();
  }
  int cellsOf(int index) const {
    return index < length() ? glyphs[static_cast<std::size_t>(index)].cells : 0;
  }
};

void indexText(Field& f) {
  f.glyphs.clear();
  for (std::size_t pos = 0; pos < f.text.size();) {
    char32_t ch;
    std::size_t taken = decodeChar(f.text, pos, ch);
    f.glyphs.push_back({pos, charCells(ch)});
    pos += taken;
  }
  f.cursor = std::clamp(f.cursor, 0, f.length());
}

// Scrolls so that the cursor and the character under it are inside the visible width,
// showing as much of the text as fits.
void scrollToCursor(Field& f) {
  f.firstChar = std::clamp(f.firstChar, 0, f.cursor);
  int before = 0;  // cells from the first shown character to the cursor
  for (int i = f.firstChar; i < f.cursor; ++i) before += f.cellsOf(i);
  const int under = std::max(f.cellsOf(f.cursor), 1);
  while (before + under > f.visibleWidth && f.firstChar < f.cursor)
    before -= f.cellsOf(f.firstChar++);
  if (f.keepFirst) return;
  // Pull back while everything from one character earlier still fits (after deletions).
  int tail = before;
  for (int i = f.cursor; i < f.length(); ++i) tail += f.cellsOf(i);
  if (f.cursor == f.length()) tail += 1;
  while (f.firstChar > 0 && tail + f.cellsOf(f.firstChar - 1) <= f.visibleWidth)
    tail += f.cellsOf(--f.firstChar);
}

void showCursorShape() { setCursorShape(state().insert ? CursorLarge : CursorSmall); }

// Draws the field; a key code when the editor's callback ends it.
KeyCode draw(Field& f) {
  scrollToCursor(f);
  KeyCode ending = 0;
  if (f.mode(LineInputEditor) && f.callback != nullptr) {
    LineInputView view{f.text, f.column, f.row, f.visibleWidth, f.firstChar, f.cursor};
    ending = f.callback(view, f.context);
  } else {
    std::string_view shown = std::string_view(f.text).substr(f.offsetOf(f.firstChar));
    writeText(shown, f.visibleWidth - 1, f.column, f.row, WritePad);
  }
  int cells = 0;
  for (int i = f.firstChar; i < f.cursor; ++i) cells += f.cellsOf(i);
  windowCursor(f.column + cells, f.row);
  return ending;
}

bool inClass(KeyCode code) {
  switch (state().characterClass) {
    case CharacterClassDigits:
      return code >= '0' && code <= '9';
    case CharacterClassAll:
      return true;
    default:
      return code >= 32;
  }
}

// A key that stands for a typed character (code page 437).
bool isCharacterKey(KeyCode code) {
  return code >= 0 && code <= 0xFF && code != key::Backspace && code != key::Tab &&
         code != key::Enter && code != key::Escape;
}

// Overwrites or inserts a typed character at the cursor; false when it does not fit.
bool typeCharacter(Field& f, KeyCode code) {
  const std::string piece = cp437CharToText(static_cast<std::uint8_t>(code));
  const std::size_t at = f.offsetOf(f.cursor);
  std::size_t replaced = 0;
  if (!state().insert && f.cursor < f.length()) replaced = f.offsetOf(f.cursor + 1) - at;
  if (f.text.size() - replaced + piece.size() > f.maxLength) return false;
  f.text.replace(at, replaced, piece);
  ++f.cursor;
  return true;
}

enum class PasteResult { Typed, OutsideClass, TooLong };

// Types the characters of the last paste (clearing the text first on type-over); on any
// refusal the text and the cursor are left as they were.
PasteResult typePaste(Field& f, bool typeOver) {
  const PastedText& paste = pastedText();
  const std::string savedText = f.text;
  const int savedCursor = f.cursor;
  PasteResult result = paste.cut ? PasteResult::TooLong : PasteResult::Typed;
  if (result == PasteResult::Typed && typeOver) {
    f.text.clear();
    f.cursor = 0;
    indexText(f);
  }
  for (std::size_t i = 0; i < paste.characters.size() && result == PasteResult::Typed; ++i) {
    const auto code = static_cast<unsigned char>(paste.characters[i]);
    if (!inClass(code)) {
      result = PasteResult::OutsideClass;
    } else if (!typeCharacter(f, code)) {
      result = PasteResult::TooLong;
    }
    indexText(f);
  }
  if (result != PasteResult::Typed) {
    f.text = savedText;
    f.cursor = savedCursor;
    indexText(f);
  }
  return result;
}

void eraseChars(Field& f, int from, int to) {
  std::size_t begin = f.offsetOf(from), end = f.offsetOf(to);
  f.text.erase(begin, end - begin);
}

// Puts the cursor on the character under the last click.
void placeAtClick(Field& f) {
  int clickColumn, clickRow;
  lastClickPosition(clickColumn, clickRow);
  const ScreenWindow* window = currentWindow();
  if (window == nullptr) return;
  int offset = clickColumn - windowScreenColumn(*window, f.column);
  int index = f.firstChar, cells = 0;
  while (index < f.length() && cells + f.cellsOf(index) <= offset) cells += f.cellsOf(index++);
  f.cursor = offset < 0 ? f.firstChar : index;
}

bool pickInto(Field& f) {
  std::optional<std::string> chosen = pickFromHistory(HistoryAllKinds);
  if (!chosen) return false;
  f.text.assign(*chosen, 0, fittingPrefix(*chosen, f.maxLength));
  f.cursor = static_cast<int>(textChars(f.text));
  return true;
}

// Keys as the field takes them: the COMMANDER layout's Ctrl-D and Ctrl-S in command fields;
// the keypad's character keys as their characters, except in the COMMANDER layout's command
// line, which hands them to the loop (they select there).
KeyCode translateKey(KeyCode code, int flags) {
  if (state().commander) {
    if (flags & (LineInputCommand | LineInputModifierEnds)) {
      if (code == KeyCtrlD) return KeyFieldRight;
      if (code == KeyCtrlS) return KeyFieldLeft;
    }
    if (flags & LineInputCommand) return code;
  }
  const char character = key::keypadCharacter(code);
  return character != 0 ? character : code;
}

// Modes in which a key ends the field instead of doing its edit (0: never).
int endingModes(KeyCode code) {
  constexpr int Editor = LineInputEditor, Vertical = LineInputVertical, History = LineInputHistory,
                Form = LineInputForm, Command = LineInputCommand,
                ModifierEnds = LineInputModifierEnds;
  switch (code) {
    case key::Backspace:
    case key::CtrlLeft:
    case key::CtrlRight:
    case KeyFieldLeft:
    case KeyFieldRight:
      return 0;
    case key::Del:
    case key::Left:
    case key::Right:
    case key::Ins:
    case KeyCtrlE:
    case KeyClassSwitch:
      return Command;
    case key::Home:
    case key::End:
    case KeyClear:
      return Editor | Command;
    case key::CtrlHome:
    case key::CtrlEnd:
      return Editor;
    case KeyUpperCase:
    case KeyLowerCase:
    case KeyUndo:
      return Command | ModifierEnds;
    case key::Tab:
    case key::ShiftTab:
      return Editor | History | Form | Command;
    case key::Up:
    case key::Down:
      return Editor | Vertical | Form | Command;
    case key::PgUp:
    case key::PgDn:
      return Editor | Form | Command;
    case key::ModifierEvent:
      return Command | ModifierEnds | (state().commander ? Editor : 0);
    default:
      // A click on another item of a form or list moves the focus there: the fields that
      // hand back movement keys hand it back too.
      if (code >= ItemZoneFirst && code <= ItemZoneLast)
        return Editor | Vertical | History | Form | Command;
      // The idle event, the click codes and every key without an edit: editor and command
      // fields hand them back.
      return Editor | Command;
  }
}

std::string caseMapped(std::string_view text, bool upper) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t ch;
    std::size_t taken = decodeChar(text, pos, ch);
    auto byte = static_cast<unsigned char>(text[pos]);
    if (taken == 1) {
      // ASCII (or a byte that is not UTF-8, kept as it is).
      if (upper && byte >= 'a' && byte <= 'z') byte = static_cast<unsigned char>(byte - 0x20);
      if (!upper && byte >= 'A' && byte <= 'Z') byte = static_cast<unsigned char>(byte + 0x20);
      out.push_back(static_cast<char>(byte));
    } else {
      // Latin-1 letters: their two cases are both two bytes long.
      char32_t mapped = ch;
      if (upper && ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) mapped = ch - 0x20;
      if (!upper && ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) mapped = ch + 0x20;
      if (mapped != ch)
        appendUtf8(out, mapped);
      else
        out.append(text.substr(pos, taken));
    }
    pos += taken;
  }
  return out;
}

void trimTrailingBlanks(std::string& text) {
  std::size_t end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
}

}  // namespace

KeyCode lineInput(int column, int row, int visibleWidth, std::string& text, int maxLength,
                  int flags, int& cursor, LineInputCallback callback, void* context,
                  int* firstShown) {
  Field f{.column = column,
          .row = row,
          .visibleWidth = std::max(visibleWidth, 1),
          .text = text,
          .maxLength = static_cast<std::size_t>(std::max(maxLength, 0)),
          .flags = flags,
          .glyphs = {},
          .callback = callback,
          .context = context};
  text.resize(fittingPrefix(text, f.maxLength));
  const std::string startText = text;

  const int start = flags & LineInputStartMask;
  f.cursor = start == LineInputStartEnd      ? static_cast<int>(textChars(text))
             : start == LineInputStartCursor ? cursor
                                             : 0;
  indexText(f);
  if (firstShown != nullptr && f.mode(LineInputEditor)) {
    f.firstChar = std::max(*firstShown, 0);
    f.keepFirst = true;
  }
  bool typeOver = !(flags & LineInputNoTypeOver);

  KeyCode ending = 0;
  for (;;) {
    ending = draw(f);
    if (ending != 0) break;
    showCursorShape();
    KeyCode code = translateKey(readKey(), flags);

    if (code == key::Paste) {
      const PasteResult pasted = typePaste(f, typeOver);
      typeOver = false;
      if (pasted != PasteResult::Typed) rejectBeep();
      if (pasted == PasteResult::TooLong) timedNote(TextPasteTooLong, PasteNoteUnits);
      continue;
    }

    const bool character = isCharacterKey(code);
    const bool accepted = character && inClass(code);
    if (typeOver && code != key::ModifierEvent && code != key::IdleEvent) {
      typeOver = false;
      if (accepted) {
        text.clear();
        f.cursor = 0;
        indexText(f);
      }
    }

    if (character) {
      if (accepted) {
        if (!typeCharacter(f, code)) rejectBeep();
      } else if (f.mode(LineInputEditor | LineInputHistory | LineInputForm)) {
        ending = code;
        break;
      } else {
        rejectBeep();
      }
      indexText(f);
      continue;
    }
    if (code == key::Enter || code == key::Escape || f.mode(endingModes(code))) {
      ending = code;
      break;
    }
    // The editor moves its cursor past the end of a line itself.
    if (code == key::Right && f.mode(LineInputEditor) && f.cursor >= f.length()) {
      ending = code;
      break;
    }
    // Backspace on an empty command field is a command of its own (up one directory).
    if (code == key::Backspace && f.mode(LineInputCommand) && f.text.empty()) {
      ending = code;
      break;
    }

    switch (code) {
      case key::Backspace:
        if (f.cursor > 0) {
          eraseChars(f, f.cursor - 1, f.cursor);
          --f.cursor;
        }
        break;
      case key::Del:
        if (f.cursor < f.length()) eraseChars(f, f.cursor, f.cursor + 1);
        break;
      case key::Left:
      case key::CtrlLeft:
      case KeyFieldLeft:
        if (f.cursor > 0) --f.cursor;
        break;
      case key::Right:
      case key::CtrlRight:
      case KeyFieldRight:
        if (f.cursor < f.length()) ++f.cursor;
        break;
      case key::Home:
      case key::CtrlHome:
        f.cursor = 0;
        break;
      case key::End:
      case key::CtrlEnd:
        f.cursor = f.length();
        break;
      case key::Ins:
        state().insert = !state().insert;
        break;
      case KeyCtrlE:
        text.resize(f.offsetOf(f.cursor));
        break;
      case KeyUpperCase:
        text = upperCaseText(text);
        break;
      case KeyLowerCase:
        text = lowerCaseText(text);
        break;
      case KeyUndo:
        text = startText;
        break;
      case KeyClear:
        text.clear();
        f.cursor = 0;
        break;
      case KeyClassSwitch:
        if (state().characterClass == CharacterClassText)
          state().characterClass = CharacterClassAll;
        else if (state().characterClass == CharacterClassAll)
          state().characterClass = CharacterClassText;
        break;
      case key::CtrlUp:
        if (f.mode(LineInputVertical | LineInputHistory | LineInputForm)) pickInto(f);
        break;
      case KeyFieldClick:
      case KeyFieldClickOther:
        placeAtClick(f);
        break;
      default:
        break;
    }
    indexText(f);
  }

  if (ending == KeyFieldClick || ending == KeyFieldClickOther) placeAtClick(f);
  setCursorShape(CursorHidden);
  if (f.mode(LineInputEditor) && ending != KeyEditorJoin) trimTrailingBlanks(text);
  if (f.mode(LineInputHistory) && recordHistory() && text != startText)
    addToHistory(text, HistoryKindInput);
  indexText(f);
  cursor = f.cursor;
  if (firstShown != nullptr) *firstShown = f.firstChar;
  return ending;
}

void setInsertMode(bool on) { state().insert = on; }
bool insertMode() { return state().insert; }

void setCharacterClass(int characterClass) {
  if (characterClass >= CharacterClassText && characterClass <= CharacterClassAll)
    state().characterClass = characterClass;
}
int characterClass() { return state().characterClass; }

void setLineInputCommanderLayout(bool active) { state().commander = active; }
bool lineInputCommanderLayout() { return state().commander; }

std::string upperCaseText(std::string_view text) { return caseMapped(text, true); }
std::string lowerCaseText(std::string_view text) { return caseMapped(text, false); }

void resetLineInputState() { state() = LineInputState{}; }

}  // namespace corvane
