// Where the cursor goes after a read: onto the directory just left after going up, or onto
// the name last under the cursor on a drive when the user comes back to that drive.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "panels/panel.h"

namespace corvane {

// One remembered directory and cursor name per drive letter A to Z.
struct DriveCursorMemory {
  struct Entry {
    std::string directory;
    std::string name;
  };
  std::array<Entry, 26> drives;
};

// Remembers the panel's current directory and the name under its cursor for its drive.
void rememberCursor(DriveCursorMemory& memory, const Panel& panel);
// The remembered entry of a drive letter (either case); nullptr for a letter outside A to Z.
const DriveCursorMemory::Entry* rememberedFor(const DriveCursorMemory& memory, char letter);

// Puts the cursor on the node named name (compared without regard to case, the exact
// spelling first; the name is taken literally, not as a pattern). Returns the node, or
// NoNode with the cursor on the head when there is none. Top and rows are the display's.
NodeId placeCursorOnName(Panel& panel, std::string_view name);
// After going up to the parent: onto the entry of the directory that was left
// (leftDirectory is its full path or its name).
NodeId placeCursorAfterGoingUp(Panel& panel, std::string_view leftDirectory);
// After a change of drive or a return to one: onto the name remembered for the panel's
// drive.
NodeId placeCursorForDrive(Panel& panel, const DriveCursorMemory& memory);

}  // namespace corvane
