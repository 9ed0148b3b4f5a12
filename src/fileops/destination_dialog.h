// The "Destination :" dialog of copy, move and compare: a directory typed (or chosen in the
// tree), checked, and made when it does not exist yet.
#pragma once

#include <string>

#include "actions/command_context.h"

namespace corvane {

// The key of the "Destination :" input that opens the directory tree (FileopsHooks).
inline constexpr KeyCode DestinationTreeKey = key::Down;

// Asks for the destination directory, preset with destination, and leaves the accepted full
// path there. 1 when a destination was accepted; 0 after Esc, an empty line, a name that fails
// the name test, a file, a drive letter alone, an inaccessible drive root, or a missing path
// the user did not let be made.
int destinationDialog(std::string& destination);

// The preset of the dialog: in the two-list layout the other panel's directory, else "".
std::string defaultDestination(CommandContext& context);

}  // namespace corvane
