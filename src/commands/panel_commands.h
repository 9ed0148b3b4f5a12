// The commands of the file panels that the program carries out already: cursor movement,
// changing directory and drive, selection, display modes, sorting, masks, refresh, the
// windows and the function-key pages. Each takes the loop and the command code, changes the
// panel's state and leaves a re-read or redraw request; only cursor moves draw at once (two
// rows). They return LoopContinue, or the code the loop ends with.
#pragma once

#include <string_view>

#include "commands/loop_state.h"

namespace corvane {

int cursorCommand(LoopContext& loop, CommandId code);            // Up, Down, Home, End, Left ...
int enterCommand(LoopContext& loop, CommandId code);             // Enter
int parentCommand(LoopContext& loop, CommandId code);            // Backspace
int rootCommand(LoopContext& loop, CommandId code);              // Ctrl-Backspace
int toggleCommand(LoopContext& loop, CommandId code);            // "!"
int displayCycleCommand(LoopContext& loop, CommandId code);      // Space
int displayModeCommand(LoopContext& loop, CommandId code);       // 4148, 4149, 4177
int displayDialogCommand(LoopContext& loop, CommandId code);     // Shift-F3
int autoviewCommand(LoopContext& loop, CommandId code);          // "*", 4151
int invertCommand(LoopContext& loop, CommandId code);            // "-"
int unselectCommand(LoopContext& loop, CommandId code);          // "u"
int selectCommand(LoopContext& loop, CommandId code);            // "s", 4130, "n"
int showFilesCommand(LoopContext& loop, CommandId code);         // "$", 4180, "&", 4181
int sortDialogCommand(LoopContext& loop, CommandId code);        // "#"
int sortCommand(LoopContext& loop, CommandId code);              // 4165 ... 4176
int maskCommand(LoopContext& loop, CommandId code);              // "k", 4163
int refreshCommand(LoopContext& loop, CommandId code);           // F3, 4164
int driveCommand(LoopContext& loop, CommandId code);             // "l", 4153
int gotoCommand(LoopContext& loop, CommandId code);              // "g", 4179
int locateNextCommand(LoopContext& loop, CommandId code);        // Alt-G, 4135
int definedDirectoryCommand(LoopContext& loop, CommandId code);  // Ctrl-F1 .. Ctrl-F10
int nextFileListCommand(LoopContext& loop, CommandId code);      // F4
int driveInformationCommand(LoopContext& loop, CommandId code);  // "?", 4137
int aboutCommand(LoopContext& loop, CommandId code);             // 4103
int functionKeyPageCommand(LoopContext& loop, CommandId code);   // Insert
int stateWindowCommand(LoopContext& loop, CommandId code);       // Alt-Q
int redrawCommand(LoopContext& loop, CommandId code);            // 4178
int writeFilelistCommand(LoopContext& loop, CommandId code);     // Alt-Y
int windowOnOffCommand(LoopContext& loop, CommandId code);       // 4114
int windowBigSmallCommand(LoopContext& loop, CommandId code);    // 4116
int userMenuCommand(LoopContext& loop, CommandId code);          // "/"
int quitCommand(LoopContext& loop, CommandId code);              // Esc, 27
int idleRefreshCommand(LoopContext& loop, CommandId code);       // 1911
int modifierCommand(LoopContext& loop, CommandId code);          // 256

// Changes to a drive (Ctrl with a letter in the CORVANE layout): its remembered directory
// becomes current, the cursor goes to the name remembered there. "Drive not ready" when it
// cannot be read.
int changeDriveCommand(LoopContext& loop, char letter);
// Moves the cursor onto the entry shown at a screen cell of the current panel's list (a
// click); Enter on it as well when enter is set (a double click).
int clickCommand(LoopContext& loop, int column, int row, bool enter);

// Helpers the translations use: the State window on or off (true when it opened) and all
// windows off/on.
bool toggleStateWindow(LoopContext& loop);
void toggleAllWindows(LoopContext& loop);

// The first entry after the cursor whose name matches the text (a prefix, or a mask when it
// holds "*" or "?"), else the first from the top; moves the cursor there. False when none.
bool locate(LoopContext& loop, std::string_view text);

}  // namespace corvane
