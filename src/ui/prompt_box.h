// Two small boxes that put one line input under a message: the prompt box (a prompt and a
// field above the OK/CANCEL line) and the message prompt (a message of several lines ending
// in the field).
#pragma once

#include <string>
#include <string_view>

#include "platform/keycodes.h"

namespace corvane {

constexpr int PromptBoxHeight = 4;

enum class PromptMode {
  Dialog,  // the field also ends on Up and Down
  Form,    // the field ends on Tab, Shift-Tab, Up, Down, PgUp and PgDn as in a form
};

// The input dialog without its separator line: a box of height 4 at (column, row), 1-based,
// in the Lineeditor colour without shadow, the prompt and the field on row 1 and
// " < OK >   < CANCEL > " on row 2. Width, placement and field as the input dialog; clicking
// the field row gives Up, "< OK >" Enter and "< CANCEL >" Escape. Insert mode is on while the
// field runs; a non-empty text accepted with Enter is recorded in the history while
// recording is on. Returns 13, 27 or the ending key; insert mode is off and the cursor
// hidden afterwards, and the caller's mouse zones are back.
KeyCode promptBox(std::string& text, std::string_view prompt, int column, int row, int width,
                  int maxLength, PromptMode mode = PromptMode::Dialog);

// A box at (column, row), 1-based (moved to stay on the screen), showing the message (lines
// separated by line feeds, carets marking hotkeys) with one field of width cells where the
// message ends, so a message like " Rename File : a.txt\n New Name    : " is followed by
// the field. The box is measured like a message box: n + 3 rows for n line feeds, m + width
// columns for the longest line m; Lineeditor colour, shadow, single frame. The field starts
// at the beginning in insert mode and also ends on Up and Down. Returns 13, 27 or the
// ending key; insert mode is off and the cursor hidden afterwards.
KeyCode messagePrompt(int column, int row, int width, int maxLength, std::string& text,
                      std::string_view message);

}  // namespace corvane
