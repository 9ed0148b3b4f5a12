// The viewer as the command loop and the command templates use it: "z" and "h" on the file
// under the cursor, "[CSVIEW] name", and Autoview in the other half of the screen.
#pragma once

#include <string>
#include <string_view>

#include "actions/command_context.h"
#include "actions/selected_files.h"

namespace corvane {

struct ScreenWindow;

// "z" (text) and "h" (hexadecimal): the viewer on the whole screen for the file under the
// cursor. LoopContinue; the panels are as they were.
int viewCommand(CommandContext& context, CommandId code);

// One entry of the selected-files loop's "View " (Alt-Z): the viewer on the whole screen.
// Viewed, its mark goes; one that cannot be opened keeps it. With confirmation, " Continue ? "
// follows each file ("N" or Esc ends the loop).
int viewSelectedFile(SelectedFilesRun& run, SelectedFile& file);

// "[CSVIEW] name" and an association of "[CSVIEW]": the viewer on the whole screen.
void viewFileByName(std::string_view fileName);

// The name of the file under the cursor as the viewer opens it (its path in a global list);
// "" on a directory, "..", an entry that failed, or in an archive panel.
std::string cursorFileForViewer(CommandContext& context);

// Autoview: the file under the cursor drawn into the window once. False when there is none
// or it cannot be shown (a directory, a FIFO, a device, a file that cannot be read): then
// nothing was drawn.
bool drawAutoview(CommandContext& context, ScreenWindow& target);
// The keys go into the Autoview window until Tab, Z, z, Esc or Enter; returns what the viewer
// ended with (ViewEnter for Enter).
int enterAutoview(CommandContext& context, ScreenWindow& target);
// The same for a file named by the caller (an archive member's extracted copy); "" is a
// file that cannot be shown.
bool drawAutoviewOf(const std::string& fileName, ScreenWindow& target);
int enterAutoviewOf(const std::string& fileName, ScreenWindow& target);

}  // namespace corvane
