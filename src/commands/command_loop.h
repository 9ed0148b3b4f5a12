// The command loop: one pass per key over the panels, until Esc, a rebuild (170) or the user
// menu (187). A pass brings the panels up to date (re-reading, re-sorting or redrawing as the
// previous command asked), draws the bottom rows, reads a key, translates it through the
// keyboard layout, the menu bar and the choice between the current file and the selected
// files, and dispatches it through the command table.
#pragma once

#include <string>
#include <string_view>

#include "commands/loop_state.h"

namespace corvane {

struct CommandLoopSettings {
  std::string setupPath;        // program path of the setup file ("" when there is none)
  std::string osText;           // "LINUX x.y"
  std::string startDirectory1;  // "" keeps the current directory
  std::string startDirectory2;
  bool userMenu = false;  // open the user menu before the loop
};

// Runs the outermost loop on the panels of the setup's screen layout (windows built for the
// screen size and keyboard layout); returns 27 to end the program, 170 or 187 to start another
// pass. Leaving with 27 asks " Setup data altered, save it ?" when the setup changed and
// writes the previous-directories file.
int runCommandLoop(const CommandLoopSettings& settings);

// Writes the previous-directories file (".__S") with the directories the outermost loop's
// panels show now; nothing without a setup path or outside the loop.
void writeLastDirectories();

// Runs passes on the loop's panels until a command ends the loop; the per-drive memory is
// freed and the nesting counter lowered on the way out.
int runPanelLoop(LoopContext& loop);

// Opens a nested panel on a directory ("" for the current one) over the current panel's
// window and runs a loop on it; nothing when MaxNesting loops run already. Afterwards the
// current panel's directory is current again. LoopContinue, or the rebuild code the nested
// loop ended with.
int runNestedPanel(LoopContext& loop, std::string_view directory);

// Makes a window one that the loop lays out again when the screen size changes (it must be
// one of the loop's own: the screen's, the nested panel's, the page or the cover window).
void adoptLoopWindow(ScreenWindow* window, LoopContext& loop);

// Mouse-zone codes of the loop: a click into the current panel's list and the key reader's
// double click of it, and the menu titles on the top row (base + title index).
inline constexpr KeyCode PanelClickCode = 0xFE0D;
inline constexpr KeyCode PanelDoubleClickCode = 0x7E0D;
inline constexpr KeyCode MenuTitleClickBase = 0x7C00;

}  // namespace corvane
