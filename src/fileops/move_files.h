// Moving and renaming: moveFile, the move commands on the cursor entry and (operation 4 of
// the selected-files loop) on the selection, SUBMOVE, and the rename of the cursor entry. A
// move within one file system is a rename; anything else is copied and its source deleted
// only after the copy succeeded.
#pragma once

#include <string_view>

#include "actions/command_context.h"
#include "actions/selected_files.h"

namespace corvane {

// Bits of moveFile's flag word that count.
enum MoveFlag : int {
  MoveKeepProgressWindow = 0x04,  // passed on as CopyKeepProgressWindow
  MoveSharedAnswer = 0x80,        // passed on as CopySharedAnswer
};

// Moves the entry source (a file, a link, or a directory when attributes has 0x10) into the
// directory destination, under its own name, and returns a CopyResult (or the system's error
// number of a failed rename or delete). The same file (same full path or the same device and
// inode) shows "Source and Destination are identical !\n%s" and gives 0 without moving. A
// directory is renamed when nothing of its name is at the destination, else walked and
// merged (WalkCopyDelete). A file is renamed where both lie on one file system (never over an
// existing file); otherwise copied (the " FILE EXISTS : ... Continue execution ?" wording)
// and deleted after a result of 0. Any result but 0 shows "MOVE ERROR %s -> %s\n R:%d,E:%s".
int moveFile(std::string_view source, std::string_view destination, int attributes, int flags);

// "m" on the entry under the cursor (nothing on ".."): the destination dialog, moveFile, and
// the entry out of the list once its source is gone. 4115 is SUBMOVE: "Mask :",
// " Copy with subdirectories ? " and "Submove %s -> %s"; it changes nothing.
int moveCommand(CommandContext& context, CommandId code);

// "r": " Rename File : %-13s\n New Name    : " for the entry under the cursor; the new name
// must be one name; the entry takes it in place (no re-sort) and the cursor moves on.
int renameCommand(CommandContext& context, CommandId code);

// Operation 4 of the selected-files loop: the copy's dialogs, then moveFile per entry.
int prepareMoveSelection(SelectedFilesRun& run);
int moveSelectedFile(SelectedFilesRun& run, SelectedFile& file);
void finishMoveSelection(SelectedFilesRun& run);

}  // namespace corvane
