// The commands of the panels that use the user's definitions: the details of the entry under
// the cursor ("a") and the list of the defined directories (".").
#pragma once

#include "actions/command_context.h"
#include "actions/selected_files.h"
#include "commands/loop_state.h"

namespace corvane {

// "a": the file details dialog on the entry under the cursor (not "..", not in an archive),
// then the entry read again and the panel re-read in place.
int fileDetailsCommand(CommandContext& context, CommandId code);

// Operation 12 of the selected-files loop (Alt-A): the details dialog on one selected entry.
// Enter goes on with the next entry (the mark cleared); Esc keeps the mark and ends the loop.
int fileDetailsForSelected(SelectedFilesRun& run, SelectedFile& file);
// After it: the panel re-read in place (a global list redrawn).
void finishFileDetails(SelectedFilesRun& run);

// ".": " Change Directory ", a pulldown of the directories defined for Ctrl-F1 to Ctrl-F10;
// choosing one does what its key does. The rejection beep when none is defined.
int changeDirectoryListCommand(LoopContext& loop, CommandId code);

}  // namespace corvane
