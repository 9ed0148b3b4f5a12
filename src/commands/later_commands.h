// The commands of subsystems that are not part of the program yet. Each is the entry point
// the command table routes to; until its subsystem exists it gives the rejection beep and
// does nothing else. The selected-files forms named here run through the selected-files loop
// (selected_files.h), whose table beeps for an operation not built yet.
#pragma once

#include "commands/loop_state.h"

namespace corvane {

int openArchive(LoopContext& loop, CommandId code);          // 2072, 4131
int compressFiles(LoopContext& loop, CommandId code);        // 4133, 4134
int decompressArchive(LoopContext& loop, CommandId code);    // 4146, Alt-F6

}  // namespace corvane
