// Printing files unchanged to a printer port (platform/printer_port.h): the cursor file ("p",
// 4117) and the selected files (Alt-P, 4118, through the selected-files loop).
#pragma once

#include <string_view>

#include "actions/command_context.h"
#include "actions/selected_files.h"

namespace corvane {

enum PrintResult : int {
  PrintDone = 0,
  PrintCancelled = 1,     // Esc and " Cancel operation ? " answered "Y"
  PrintPortFailed = 2,    // the port could not be opened or written (reported)
  PrintSourceFailed = 3,  // the file could not be opened or read (reported)
};

// Sends the file to the printer port of the setup (0 or above 8 meaning 1) in blocks of 1000
// bytes, then a form feed. Esc between blocks, or while the port takes nothing, asks
// " Cancel operation ? "; "Y" stops after the block (a port that was waited on is given up).
// A failure of the port is reported once and ends the file.
int printFile(std::string_view path);

// "Print '%s' ? ", then the cursor file printed. Directories are refused with a beep.
int printCommand(CommandContext& context, CommandId code);

// One selected file ("Print '%s' ? " first when the run is confirmed). The loop ends after
// a cancel or a failed port.
int printSelectedFile(SelectedFilesRun& run, SelectedFile& file);

}  // namespace corvane
