// The commands of the loop that run external programs through the command templates: run
// by extension, the shell, executing the file under the cursor, the "Command :" input, the
// configured viewer, editor and word processor, and the user-defined function keys. After a
// command the entry under the cursor is read again, and with preference 12 the panels are
// re-read.
#pragma once

#include "commands/loop_state.h"

namespace corvane {

int runByExtensionCommand(LoopContext& loop, CommandId code);     // "q"
int shellCommand(LoopContext& loop, CommandId code);              // 4101
int executeFileCommand(LoopContext& loop, CommandId code);        // "x"
int commandInputCommand(LoopContext& loop, CommandId code);       // "o"
int configuredProgramCommand(LoopContext& loop, CommandId code);  // "v", "e", "w", Ctrl-P
int functionKeyCommand(LoopContext& loop, CommandId code);        // F5 .. F10
// The selected-files forms (Alt-V, Alt-E, Alt-W, Alt-X) run through the selected-files loop,
// which does not exist yet: the rejection beep.
int selectedFilesProgram(LoopContext& loop, CommandId code);

// The directories the templates' %1 and %2 stand for: the current panel's and the other's.
void setPanelDirectoriesForTemplates(const LoopContext& loop);

}  // namespace corvane
