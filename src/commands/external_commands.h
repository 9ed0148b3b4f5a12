// The commands of the loop that run external programs through the command templates: run
// by extension, the shell, executing the file under the cursor, the "Command :" input, the
// configured viewer, editor and word processor, and the user-defined function keys. After a
// command the entry under the cursor is read again, and with preference 12 the panels are
// re-read.
#pragma once

#include <string>

#include "actions/selected_files.h"
#include "commands/loop_state.h"

namespace corvane {

int runByExtensionCommand(LoopContext& loop, CommandId code);     // "q"
int shellCommand(LoopContext& loop, CommandId code);              // 4101
int executeFileCommand(LoopContext& loop, CommandId code);        // "x"
int commandInputCommand(LoopContext& loop, CommandId code);       // "o"
int configuredProgramCommand(LoopContext& loop, CommandId code);  // "v", "e", "w", Ctrl-P
int functionKeyCommand(LoopContext& loop, CommandId code);        // F5 .. F10

// Operations 5, 6, 9 and 16 of the selected-files loop (the configured viewer, editor,
// hex editor and word processor; Alt-V, Alt-E, Alt-H, Alt-W) and 7 (Alt-X, a command typed
// at "Command :"): the program run for each file in turn. The preparation checks the
// configured program (an empty one beeps) or asks for the command; the finish leaves the
// re-reads of preference 12.
int prepareConfiguredProgram(SelectedFilesRun& run);
int prepareCommandForEach(SelectedFilesRun& run);
int runProgramForFile(SelectedFilesRun& run, SelectedFile& file);
void finishPrograms(SelectedFilesRun& run);

// The directories the templates' %1 and %2 stand for: the current panel's and the other's.
void setPanelDirectoriesForTemplates(const LoopContext& loop);

// The name the templates get for the entry under the cursor: its name, or its full path in
// the global list ("" when there is none).
std::string cursorFileName(const LoopContext& loop);

// What follows every external command: the entry under the cursor read again from the file
// system (attribute, size, date and time; the panel's total size follows; not ".."), then the
// panels re-read when reread is set (preference 12: the current one keeping the cursor's
// name, the other one when it shows the same directory), else the list redrawn. A built-in
// "cd" may have changed the directory, which the next pass sees. LoopContinue.
int afterCommand(LoopContext& loop, bool reread);

}  // namespace corvane
