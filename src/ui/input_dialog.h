// The one-line input dialog with OK and CANCEL, and the macro replay-count prompt built on it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/keyboard.h"
#include "platform/keycodes.h"

namespace corvane {

constexpr std::string_view InputDialogButtons = " < OK >   < CANCEL > ";
constexpr std::string_view InputDialogOk = "< OK >";
constexpr std::string_view InputDialogCancel = "< CANCEL >";
constexpr std::string_view ReplayPrompt = "Replay: ";

constexpr int InputDialogHeight = 5;
// Narrowest dialog: the OK/CANCEL line plus 5.
constexpr int InputDialogMinWidth = static_cast<int>(InputDialogButtons.size()) + 5;

// Geometry of the dialog window (1-based x and y as openWindow takes them) and its field.
struct InputDialogLayout {
  int x = 1, y = 1, width = InputDialogMinWidth;
  int fieldColumn = 1, fieldWidth = 1;  // window coordinates, row 1
  int buttonsColumn = 1;                // the OK/CANCEL line on row 3
};
// Width at least InputDialogMinWidth; moved left to end 3 columns before the right screen
// edge when it would pass it (never left of the screen). The field follows the prompt one
// blank later, as wide as the window minus the prompt minus 4.
InputDialogLayout layoutInputDialog(std::string_view prompt, int column, int row, int width);

struct ScreenWindow;

// Draws the prompt on fieldRow and the OK/CANCEL line on buttonsRow of the current window (laid
// out by layoutInputDialog) and gives its mouse zones: the field row gives Up, "< OK >" Enter,
// "< CANCEL >" Escape. Shared by the input dialog and the prompt box.
std::array<MouseZone, 3> drawInputDialogParts(ScreenWindow& window, std::string_view prompt,
                                              const InputDialogLayout& layout, int fieldRow,
                                              int buttonsRow);

// Asks for a text under a prompt in a window of height 5 at (column, row), 1-based. The
// field starts at the beginning in insert mode and also ends on Up and Down; clicking the
// field row gives Up, "< OK >" Enter, "< CANCEL >" Escape. After Enter with a non-empty
// text the text is recorded in the history while recording is on. Returns 13, 27 or the
// ending key; insert mode is off and the cursor hidden afterwards. The caller's mouse zones
// are put back.
KeyCode inputDialog(std::string& text, std::string_view prompt, int column, int row, int width,
                    int maxLength);

// The macro replay-count question (registered as KeyReaderHooks::replayCount): "Replay: "
// with "1" preset, digits only, not recorded in the history, 10 columns right of and 10 rows
// below the current window's corner, the screen put back afterwards. Returns the count, 0
// for an empty answer or Escape. Leaves class 2 and history recording on.
int replayCountPrompt();

}  // namespace corvane
