// Hotkey labels: a caret marks the next character as the hotkey, shown in the Hotkey colour
// with the caret hidden ("^Retry", "f^Ind", "< ^Yes >"); a caret at the very end is shown.
#pragma once

#include <string_view>

#include "platform/keycodes.h"

namespace corvane {

// Modes of the label printer (bits).
enum LabelMode : int {
  LabelAsIs = 0,     // prints as is
  LabelPad = 1,      // pads with blanks to the field
  LabelNoWrap = 32,  // characters beyond the right edge are dropped instead of wrapping
};

// The hotkey letter of a label that has none.
constexpr int NoHotkey = 255;

// Prints a label at (column, row) of the current window through the teletype output, so
// 8, 9, 10 and 13 work as there. Every caret followed by a character marks a hotkey. At most
// width + 1 cells are printed per line (a line feed or carriage return starts the count
// again; a backspace gives one back); LabelPad fills the rest of that field with blanks.
// Flushes the cells of the row it printed on, or the whole window when the text moved to
// other rows, unless a flush hold remains.
void printHotkeyLabel(int column, int width, int row, std::string_view text, int mode = LabelAsIs);

// The character after the first caret with bit 0x20 cleared (a lower-case letter becomes upper
// case), or NoHotkey.
int hotkeyLetter(std::string_view label);

// The letter a typed key stands for when matched against hotkey letters: 'A'..'Z' for a plain
// letter key (lower case folded), else 0.
int typedLetter(KeyCode key);

// Cells a label takes on screen (marking carets not counted).
int labelCells(std::string_view label);

// Formats (at most 800 bytes) and prints the result as a label at (column, row).
void printFormatted(int column, int row, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// The same at the current window's text cursor, at most rows x columns bytes.
void printFormattedAtCursor(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace corvane
