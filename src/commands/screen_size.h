// The screen follows the terminal: it has the terminal's size, or the "/S" columns and "/Z"
// rows where they ask for less (a larger setting is kept only as the stored value). Below
// 80 x 24 (or below the smaller size the switches ask for) the terminal is too small: a
// message says so, whole, the clock's status line stopped, until the terminal grows or the
// user presses Esc.
#pragma once

#include "platform/keycodes.h"

namespace corvane {

inline constexpr int MinimumScreenColumns = 80;
inline constexpr int MinimumScreenRows = 24;

// The "/S" columns and "/Z" rows (0: the terminal's).
void setScreenSizeSwitches(int columns, int rows);

// The size to draw at for a terminal of terminalColumns x terminalRows (0 when unknown: the
// switches' size, else 80 x 25). False when the terminal is too small.
bool screenSizeFor(int terminalColumns, int terminalRows, int& columns, int& rows);

// Shows the "too small" message until the terminal is large enough (true, with the size to
// draw at) or the user presses Esc (false). The windows must be lifted (or none open): the
// image shows only the message meanwhile.
bool waitForUsableTerminal(int& columns, int& rows);

// The key reader's resize hook: every window is laid out again at the terminal's new size
// (after the "too small" message while it is too small). Returns the modifier event, or Esc
// when the user left the message with Esc: then the screen has the terminal's size, drawn as
// far as it fits, and programState().leaveRequested is set so that the loops end through the
// normal exit.
KeyCode followTerminalSize();

}  // namespace corvane
