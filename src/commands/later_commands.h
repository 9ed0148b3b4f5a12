// The commands of subsystems that are not part of the program yet. Each is the entry point
// the command table routes to; until its subsystem exists it gives the rejection beep and
// does nothing else. The selected-files forms named here run through the selected-files loop
// (selected_files.h), whose table beeps for an operation not built yet.
#pragma once

#include "commands/loop_state.h"

namespace corvane {

int searchText(LoopContext& loop, CommandId code);           // "i", Alt-I
int compareDirectories(LoopContext& loop, CommandId code);   // 4136, 4147
int findFiles(LoopContext& loop, CommandId code);            // 4102
int commandRecursive(LoopContext& loop, CommandId code);     // 4107
int searchTextRecursive(LoopContext& loop, CommandId code);  // 4106
int directorySize(LoopContext& loop, CommandId code);        // F2, Shift-F1

}  // namespace corvane
