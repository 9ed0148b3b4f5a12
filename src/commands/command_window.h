// The command window in the loop: the commands of the command line (executing it, its
// history, appending the name under the cursor), the key of a pass read through it, and the
// user's own screen while all windows are off.
#pragma once

#include "commands/loop_state.h"

namespace corvane {

// 4120: executes the command line. Trailing blanks removed, nothing for an empty line; the
// panel directories handed to the templates; the line added to the history and cleared; run
// through the command interpreter with the name under the cursor (waiting for a key after it
// when preference 3 says so); then the cursor entry read again and, with preference 12, the
// panels re-read.
int executeCommandLine(LoopContext& loop, CommandId code);
// Alt-F8 (2114): the history's pick window; the chosen entry replaces the command line.
int commandHistory(LoopContext& loop, CommandId code);

// Ctrl-E (direction 1: forward, towards the newest) and Ctrl-X (-1: back), also Up and Down
// while the panels are hidden: the history entry replaces the command line.
void commandLineHistory(LoopContext& loop, int direction);
// Ctrl-J: a blank and the name under the cursor (quoted for the interpreter where needed)
// appended to the command line.
void appendNameToCommandLine(LoopContext& loop);
// A character that reached the loop: only when there is no command line to type into (the
// command window is off), so it is rejected.
void typeIntoCommandLine(LoopContext& loop, KeyCode character);

// Esc in the COMMANDER layout: a command line holding text is cleared (true); an empty one
// leaves Esc its meaning (false).
bool clearCommandLine(LoopContext& loop);

// Enter in the COMMANDER layout: the command line's trailing blanks removed, true when it
// holds text to execute.
bool commandLineReady(const LoopContext& loop);

// The key of a pass: in the COMMANDER layout through the command line (when the command
// window is on), else from the key reader. While the panels are hidden on a terminal, the
// user's own screen is shown for it with the command line on it; when they are shown again
// the program's screen comes back.
KeyCode readLoopKey(LoopContext& loop);

// The end of the outermost loop: the program's screen back if the user's was shown.
void leaveUserScreen();

}  // namespace corvane
