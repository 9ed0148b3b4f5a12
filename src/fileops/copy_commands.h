// The copy commands: the entry under the cursor (a file, or a directory with a mask, with or
// without its subdirectories) and, as operation 1 of the selected-files loop, the selection.
#pragma once

#include "actions/command_context.h"
#include "actions/selected_files.h"

namespace corvane {

// "c" and 4098 on the entry under the cursor: the destination dialog, then for a file
// "New name :", for a directory "Mask :" and (for "c") " Copy with subdirectories ? ".
// "c" on ".." does nothing.
int copyCommand(CommandContext& context, CommandId code);

// Operation 1 of the selected-files loop. The preparation: SharedAnswer reset, the
// destination dialog, "Generate Directories ?" on a global list, "Mask :" when directories
// are selected; non-zero cancels.
int prepareCopySelection(SelectedFilesRun& run);
// One selected entry copied (a directory with its subdirectories); a SelectedResult.
int copySelectedFile(SelectedFilesRun& run, SelectedFile& file);
// After the loop: the panels showing the destination read again.
void finishCopySelection(SelectedFilesRun& run);

// What the selection's copy and move share: the destination dialog, "Generate Directories ?"
// and "Mask :"; non-zero cancels.
int prepareDestination(SelectedFilesRun& run);
// The answer to a per-file confirmation (mode 2 with confirmation, else mode 1 while
// SharedAnswer is not All and preference 5 is on), stored into SharedAnswer; an All given
// to the confirmation switches it off for the rest.
int askSelectedFile(SelectedFilesRun& run, std::string_view source, std::string_view target);
// The target of a selected file: the destination directory with its name, or with
// "Generate Directories ?" its own directory path re-created there.
std::string selectedTarget(const SelectedFilesRun& run, const SelectedFile& file);

}  // namespace corvane
