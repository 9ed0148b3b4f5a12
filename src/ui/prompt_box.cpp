#include "ui/prompt_box.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "ui/boxes.h"
#include "ui/hotkey_label.h"
#include "ui/input_dialog.h"
#include "ui/input_history.h"
#include "ui/line_input.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int PromptBoxFlags = WindowClear | WindowSingle;
constexpr int MessagePromptFlags = WindowClear | WindowShadow | WindowSingle;
constexpr int FieldRow = 1, ButtonsRow = 2;
constexpr int MessagePromptExtraRows = 3;
// Start at the beginning of the text.
constexpr int StartAtBeginning = 0x02;

// Insert mode for the field, the caller's mouse zones kept aside; afterwards insert mode is
// off, the cursor hidden and the zones back.
class PromptScope {
 public:
  PromptScope() { setInsertMode(true); }
  ~PromptScope() {
    setInsertMode(false);
    setCursorShape(CursorHidden);
  }
  PromptScope(const PromptScope&) = delete;
  PromptScope& operator=(const PromptScope&) = delete;

 private:
  SavedMouseZones zones_;
};

}  // namespace

KeyCode promptBox(std::string& text, std::string_view prompt, int column, int row, int width,
                  int maxLength, PromptMode mode) {
  InputDialogLayout layout = layoutInputDialog(prompt, column, row, width);
  layout.y = std::clamp(row, 1, std::max(screenRows() - PromptBoxHeight + 1, 1));
  ScopedWindow box;
  const ColorAttr attr = color(ColorLineeditor);
  if (box.open(layout.x, layout.y, layout.width, PromptBoxHeight, attr, attr, PromptBoxFlags) != 0)
    return key::Escape;
  const auto zones = drawInputDialogParts(*box, prompt, layout, FieldRow, ButtonsRow);
  PromptScope scope;
  registerMouseZones(zones);

  const int flags =
      StartAtBeginning | (mode == PromptMode::Form ? LineInputForm : LineInputVertical);
  int cursor = 0;
  KeyCode ending =
      lineInput(layout.fieldColumn, FieldRow, layout.fieldWidth, text, maxLength, flags, cursor);
  if (ending == key::Enter && !text.empty() && recordHistory())
    addToHistory(text, HistoryKindInput);
  return ending;
}

KeyCode messagePrompt(int column, int row, int width, int maxLength, std::string& text,
                      std::string_view message) {
  BoxLayout measure = layoutBox(message, MessagePromptExtraRows);
  const int boxWidth = std::min(measure.longestLine + std::max(width, 1), screenColumns());
  const int boxHeight = std::min(measure.height, screenRows());
  // The window and its shadow stay on the screen.
  const int x = std::clamp(column, 1, std::max(screenColumns() - boxWidth, 1));
  const int y = std::clamp(row, 1, std::max(screenRows() - boxHeight, 1));

  ScopedWindow box;
  const ColorAttr attr = color(ColorLineeditor);
  if (box.open(x, y, boxWidth, boxHeight, attr, attr, MessagePromptFlags) != 0) return key::Escape;
  ScreenWindow& window = *box;
  printHotkeyLabel(1, windowLastColumn(window) - 1, 1, message, LabelNoWrap);

  // The field follows the message, inside the frame.
  const int fieldColumn = std::clamp(window.cursorColumn, 1, windowLastColumn(window));
  const int fieldRow = std::clamp(window.cursorRow, 1, windowLastRow(window));
  const int fieldWidth = std::min(width, windowLastColumn(window) - fieldColumn + 1);

  PromptScope scope;
  clearMouseZones();
  int cursor = 0;
  return lineInput(fieldColumn, fieldRow, fieldWidth, text, maxLength,
                   StartAtBeginning | LineInputVertical, cursor);
}

}  // namespace corvane
