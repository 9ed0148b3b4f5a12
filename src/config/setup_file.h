// Loading and saving the setup block as the setup file.
#pragma once

#include <string>
#include <string_view>

#include "config/setup_block.h"

namespace corvane {

// Loads the setup file (a program path) into the process-wide block, starting from the
// built-in defaults: as many bytes as the file has, at most the block's size. A file of any
// size and content gives usable settings: values nothing can use are replaced (sort mode above
// 5 becomes 5, a screen layout other than 0, 1, 3 becomes 3, file display or screen size above
// 2 becomes 0, printer port 0 or above 9 becomes 1, command window above 1 becomes 0, switches
// and the seconds flag become 0 or 1, unknown clock flag bits are dropped, every text field is
// terminated). Then the colours go to the live colour slots (unless the first 15 bytes are
// zero), the path goes into the block, the idle time (0 or 30000 and more gives 5) becomes the
// idle limit, the reserved fields are reset unless the version was "2.2 ", the professional
// profile is applied to the command window, the profile becomes advanced, the keyboard layout
// COMMANDER, the clock 24 hours, the clock settings reach the status line, and the block is
// saved at once. An empty path (no setup directory) gives the defaults of a missing file and
// writes nothing. Returns whether any byte was read from a file.
bool loadSetup(std::string_view path);

// Copies the live colour slots into the block and writes the block to the file (a program
// path) in one piece, replacing the old file only once the new one is complete. Returns false
// when the file cannot be written (the old file stays); callers ignore it, the settings in
// memory stay as they are.
bool saveSetup(std::string_view path);

// The setup file's path as given to the last loadSetup, in full (the block's copy is cut at
// 80 bytes).
const std::string& loadedSetupPath();

// Hands the block's clock fields (24 hours, seconds) to the status line.
void applyClockSettings();

}  // namespace corvane
