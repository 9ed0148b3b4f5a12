// The one-line editor every dialogue types into: the command line, the input dialog, the
// fields of forms and (through its callback) the lines of the internal editor. It edits a
// UTF-8 text in place, character by character, and returns the key that ended the editing.
#pragma once

#include <string>
#include <string_view>

#include "platform/keycodes.h"

namespace corvane {

// Mode flags. The low four bits choose where the cursor starts.
enum LineInputFlag : int {
  LineInputStartMask = 0x0F,
  LineInputStartEnd = 4,          // at the end of the text (below 4: at the beginning)
  LineInputStartCursor = 5,       // at the position given in cursor
  LineInputEditor = 0x10,         // the callback draws the line; ends on most special keys
  LineInputVertical = 0x20,       // ends on Up and Down
  LineInputHistory = 0x40,        // a changed text goes into the history at the end
  LineInputForm = 0x80,           // ends on Tab, Shift-Tab, Up, Down, PgUp, PgDn
  LineInputCommand = 0x100,       // ends on every key that is not plain editing, and on
                                  // Backspace when the text is empty
  LineInputNoTypeOver = 0x200,    // the first typed character does not clear the preset
  LineInputModifierEnds = 0x400,  // ends on the modifier event, the case and undo keys
};

// Character classes: the character codes (code page 437) a field accepts.
enum CharacterClass : int {
  CharacterClassText = 0,    // 32..255, the default
  CharacterClassDigits = 1,  // "0".."9"
  CharacterClassAll = 2,     // 0..255 (control characters too)
};

// Internal codes of the COMMANDER layout's Ctrl-D and Ctrl-S inside a field: cursor one
// right and one left without ending it.
constexpr KeyCode KeyFieldRight = 0x1101;
constexpr KeyCode KeyFieldLeft = 0x1100;
// Mouse-zone codes that put the field's cursor on the clicked cell.
constexpr KeyCode KeyFieldClick = 0xFE0D;
constexpr KeyCode KeyFieldClickOther = 0xFD0D;
// Alt-J: in editor mode the only ending key that keeps the trailing blanks.
constexpr KeyCode KeyEditorJoin = 0x0824;

// Shown for a moment when a paste does not fit into the field (it is not inserted at all).
constexpr std::string_view TextPasteTooLong = " Paste too long, not inserted ";

// What the editor-mode callback draws: the text, the field's place and the first character
// shown (the field scrolls so that the cursor stays inside the visible width).
struct LineInputView {
  std::string_view text;
  int column = 1, row = 1;  // window coordinates of the field
  int visibleWidth = 0;     // cells
  int firstChar = 0;        // index of the first character shown
  int cursor = 0;           // character index of the cursor
};
// It returns 0 to go on, or a key code that ends the field at once (the editor ends it that
// way when the screen changed its size under the field).
using LineInputCallback = KeyCode (*)(const LineInputView& view, void* context);

// Edits text in place in a field of visibleWidth cells at (column, row) of the current
// window. maxLength is the most bytes the text may hold (stored formats have byte-sized
// buffers): a character that would not fit is refused with a beep, and a longer preset is
// cut at a character boundary. cursor counts characters (code points; a byte that is not
// UTF-8 counts as one): read for LineInputStartCursor, always written at the end. The
// callback is used only with LineInputEditor: it replaces the field's own drawing. In that
// mode Right at the end of the text ends the field too (the editor's cursor may stand past
// a line's end), and firstShown, when given, is the first character shown: read at the start
// and kept while the cursor stays in view, written at the end.
// A paste (key::Paste) is typed whole, as its characters would be one by one, or not at
// all: a character outside the class refuses it with a beep, a text that would pass the
// maximum length with a beep and TextPasteTooLong; it never ends the field.
// Returns the key that ended the editing: Enter, Escape or an ending key of the mode. The
// text stays edited on Escape too. The cursor is hidden at the end.
KeyCode lineInput(int column, int row, int visibleWidth, std::string& text, int maxLength,
                  int flags, int& cursor, LineInputCallback callback = nullptr,
                  void* context = nullptr, int* firstShown = nullptr);

// Process-wide insert mode (overwrite by default); insert shows the large cursor.
void setInsertMode(bool on);
bool insertMode();

// Process-wide character class (CharacterClass); other values are ignored.
void setCharacterClass(int characterClass);
int characterClass();

// The COMMANDER keyboard layout is active: Ctrl-D and Ctrl-S move the cursor in command
// fields, the modifier event ends editor fields, command fields leave the keypad codes alone
// (everywhere else they are their characters).
void setLineInputCommanderLayout(bool active);
bool lineInputCommanderLayout();

// Upper- and lower-case forms of a text (ASCII and Latin-1 letters; the byte length never
// changes, so a full field stays within its maximum).
std::string upperCaseText(std::string_view text);
std::string lowerCaseText(std::string_view text);

// Back to the start state: overwrite, class 0, own layout (tests).
void resetLineInputState();

}  // namespace corvane
