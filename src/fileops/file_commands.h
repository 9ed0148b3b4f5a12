// What the file commands share: the entry under the cursor and its path, the panels read
// again after a change, and an entry that left the disk taken out of its list.
#pragma once

#include <string>
#include <string_view>

#include "actions/command_context.h"

namespace corvane {

// The path of a listed entry: its name in the panel's directory, its full path in the global
// list.
std::string entryPath(const Panel& panel, NodeId id);
// The entry under the cursor, nullptr when there is none (an empty list's placeholder).
const FileNode* cursorEntry(CommandContext& context);
// Whether the entry at path is a symbolic link (which file commands treat as a file, even
// when it points to a directory).
bool isLinkEntry(std::string_view path);

// Leaves the requests after a command changed the file system: the current panel read again
// in place (keeping its marks), the other panel too when it shows changed or a directory
// inside it, or the current panel's directory; both when a directory was made meanwhile
// (the state's flag, cleared here).
void requestPanelsReread(CommandContext& context, std::string_view changed);

// Takes a node whose entry is gone out of the current panel's list: cursor, first visible
// line and counters follow.
void removeEntry(CommandContext& context, NodeId id);

}  // namespace corvane
