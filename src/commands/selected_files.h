// The selected-files loop: every command on the selected files (the Alt-letter forms, 4118,
// 4134, 4104, 4105) asks its operation's questions once, then hands each selected entry to
// the operation and clears, keeps or drops its mark by the answer. The operations are a table
// of data: adding one is an entry here and the functions of the folder that carries it out.
#pragma once

#include <span>
#include <string_view>

#include "actions/selected_files.h"
#include "commands/loop_state.h"

namespace corvane {

struct SelectedOperation {
  int number = 0;
  CommandId command = 0;        // the command that starts it
  std::string_view title = {};  // shown at column 12 of the status line, before the entry's path
  bool directories = false;     // directories are handed to it (copy, delete, move, output)
  // The questions before the loop (destination, mask, command ...): non-zero cancels.
  int (*prepare)(SelectedFilesRun& run) = nullptr;
  // One entry: a SelectedResult. nullptr while the operation is not part of the program:
  // its command gives the rejection beep.
  int (*handle)(SelectedFilesRun& run, SelectedFile& file) = nullptr;
  // The requests left after the loop (re-reads); nullptr: the panel is redrawn.
  void (*finish)(SelectedFilesRun& run) = nullptr;
};

std::span<const SelectedOperation> selectedOperations();
// The operation a command starts, nullptr when none.
const SelectedOperation* findSelectedOperation(CommandId command);

// Runs an operation over the selected entries of the current panel: " No files selected ! "
// without any; the preparation; " With confirmation ? " ("Y" or "N"; anything else cancels
// with every file untouched and selected); then each selected entry in list order in a
// status window at the bottom ("%d/%d : ", the title, the path). In the global list an entry
// is its full path; in an archive panel the member is extracted first (FileopsHooks). Only
// copy, delete, move and output take directories. The loop ends when the operation says so,
// when CancelRequested is set, or after Esc and " Cancel operation ? " answered "Y" between
// entries. LoopContinue.
int runSelectedFiles(CommandContext& context, const SelectedOperation& operation);

// The command table's handler of every selected-files command.
int selectedFilesCommand(LoopContext& loop, CommandId code);

}  // namespace corvane
