// Where the rest of the program enters the editor: a file name from the command loop, the
// command layer ("[CSEDIT] name"), the start-up file argument.
#pragma once

#include <string_view>

#include "actions/command_context.h"
#include "actions/selected_files.h"

namespace corvane {

// Edits the file: an empty name, or one whose first byte is 1, asks for one in the
// file-selection dialog (mask "*.*"). A name starting with "/" is a host path. While the
// editor runs already, the file joins its chain and becomes current. Returns 1 when a file
// was saved, else 0.
int editFile(std::string_view name);

// "f": the file under the cursor in the editor; after a save both panels are read again.
int editFileCommand(CommandContext& context, CommandId code);

// Operation 13 of the selected-files loop: each selected file in the editor in turn; after
// the loop both panels are read again when a file was saved.
int editSelectedFile(SelectedFilesRun& run, SelectedFile& file);
void finishEditSelection(SelectedFilesRun& run);

// The start-up file argument, a host path (relative ones from the working directory).
int editStartupFile(std::string_view hostPath);

// Registers the editor for "[CSEDIT] name" with the command layer.
void registerEditorHooks();

}  // namespace corvane
