#include "ui/input_dialog.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "ui/input_history.h"
#include "ui/line_input.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int InputDialogFlags = WindowClear | WindowShadow | WindowSingle;
constexpr int FieldRow = 1, SeparatorRow = 2, ButtonsRow = 3;
// The right edge of the dialog stays this many columns before the screen's.
constexpr int RightMargin = 3;

constexpr int ReplayFieldWidth = 20;
constexpr int ReplayMaxLength = 15;
constexpr int ReplayOffset = 10;  // columns right of and rows below the window's corner
constexpr std::string_view ReplayPreset = "1";

int cellsOf(std::string_view text) { return textCells(text); }

// The digits of a count, saturated at INT_MAX.
int parseCount(std::string_view text) {
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
  }
  return static_cast<int>(value);
}

}  // namespace

InputDialogLayout layoutInputDialog(std::string_view prompt, int column, int row, int width) {
  InputDialogLayout layout;
  const int columns = screenColumns(), rows = screenRows();
  layout.width = std::max(width, InputDialogMinWidth);
  layout.x = column;
  if (layout.x + layout.width - 1 > columns - RightMargin)
    layout.x = columns - RightMargin - layout.width + 1;
  layout.x = std::max(layout.x, 1);
  // Kept on the screen with its shadow row, so that the field row is never cut off.
  layout.y = std::clamp(row, 1, std::max(rows - InputDialogHeight, 1));
  const int promptCells = cellsOf(prompt);
  layout.fieldColumn = promptCells + 2;
  layout.fieldWidth = std::max(layout.width - promptCells - 4, 1);
  const int interior = layout.width - 2;
  layout.buttonsColumn =
      std::max((interior - static_cast<int>(InputDialogButtons.size())) / 2, 0) + 1;
  return layout;
}

std::array<MouseZone, 3> drawInputDialogParts(ScreenWindow& window, std::string_view prompt,
                                              const InputDialogLayout& layout, int fieldRow,
                                              int buttonsRow) {
  writeText(prompt, cellsOf(prompt) - 1, 1, fieldRow);
  writeText(InputDialogButtons, static_cast<int>(InputDialogButtons.size()) - 1,
            layout.buttonsColumn, buttonsRow);
  const int okColumn = layout.buttonsColumn + static_cast<int>(InputDialogButtons.find('<'));
  const int cancelColumn =
      layout.buttonsColumn + static_cast<int>(InputDialogButtons.find(InputDialogCancel));
  return {
      windowZone(window, 1, windowLastColumn(window), fieldRow, key::Up),
      windowZone(window, okColumn, static_cast<int>(InputDialogOk.size()), buttonsRow, key::Enter),
      windowZone(window, cancelColumn, static_cast<int>(InputDialogCancel.size()), buttonsRow,
                 key::Escape),
  };
}

KeyCode inputDialog(std::string& text, std::string_view prompt, int column, int row, int width,
                    int maxLength) {
  const InputDialogLayout layout = layoutInputDialog(prompt, column, row, width);
  ScopedWindow box;
  const ColorAttr attr = color(ColorLineeditor);
  const int opened =
      box.open(layout.x, layout.y, layout.width, InputDialogHeight, attr, attr, InputDialogFlags);
  if (opened != 0) return key::Escape;
  separatorLine(box.get(), 0, SeparatorRow);
  const auto zones = drawInputDialogParts(*box, prompt, layout, FieldRow, ButtonsRow);
  SavedMouseZones callerZones;
  registerMouseZones(zones);

  setInsertMode(true);
  int cursor = 0;
  KeyCode ending = lineInput(layout.fieldColumn, FieldRow, layout.fieldWidth, text, maxLength,
                             LineInputVertical, cursor);
  if (ending == key::Enter && !text.empty() && recordHistory())
    addToHistory(text, HistoryKindInput);
  setInsertMode(false);
  setCursorShape(CursorHidden);
  return ending;
}

int replayCountPrompt() {
  const ScreenWindow* window = currentWindow();
  const int column = (window ? window->x : 0) + 1 + ReplayOffset;
  const int row = (window ? window->y : 0) + 1 + ReplayOffset;
  SavedScreen saved = saveScreen();
  setCharacterClass(CharacterClassDigits);
  setRecordHistory(false);

  std::string text(ReplayPreset);
  const int width = cellsOf(ReplayPrompt) + 4 + ReplayFieldWidth;
  KeyCode ending = inputDialog(text, ReplayPrompt, column, row, width, ReplayMaxLength);

  setCharacterClass(CharacterClassAll);
  setRecordHistory(true);
  if (saved) restoreScreen(std::move(saved));
  return ending == key::Enter ? parseCount(text) : 0;
}

}  // namespace corvane
