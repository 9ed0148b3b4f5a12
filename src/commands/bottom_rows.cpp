#include "commands/bottom_rows.h"

#include <algorithm>

#include "commands/command_line.h"
#include "commands/loop_texts.h"
#include "config/user_profile.h"
#include "platform/charset.h"
#include "ui/hotkey_label.h"

namespace corvane {
namespace {

static_assert(std::size(CommandLabels) == CommandWindowLabelCount);

// The clickable words of the XTREE letter bar's first line and what they give.
struct BarWord {
  std::string_view text;
  KeyCode code;
};
constexpr BarWord XtreeTopWords[] = {
    {"F1=HELP", key::F1},
    {"ESC=Quit", key::Escape},
    {"*", '*'},
    {"SPACE", key::Space},
    {"SH_F3", key::fkey(3, key::ModShift)},
    {"Mas^k", 'k'},
    {"^Print", 'p'},
    {"#", '#'},
    {".", '.'},
    {"CTR^L", 'l'},
    {"Insert", key::Ins},
};

MouseZone zoneOn(const ScreenWindow& window, int row, int firstCell, int cells, KeyCode left,
                 KeyCode right = 0) {
  MouseZone zone;
  zone.x1 = windowScreenColumn(window, firstCell);
  zone.x2 = zone.x1 + std::max(cells, 1) - 1;
  zone.y1 = zone.y2 = windowScreenRow(window, row);
  zone.leftCode = left;
  zone.rightCode = right;
  return zone;
}

// The cell (1-based) where a caret-marked part of a bar line starts, or 0.
int cellOf(std::string_view line, std::string_view part) {
  const std::size_t at = line.find(part);
  return at == std::string_view::npos ? 0 : labelCells(line.substr(0, at)) + 1;
}

// Words of the XTREE second line: each gives its hotkey letter in lower case.
void appendLetterWords(std::vector<MouseZone>& zones, const ScreenWindow& window, int row,
                       std::string_view line) {
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::size_t end = line.find(' ', pos);
    if (end == std::string_view::npos) end = line.size();
    if (end == pos) break;
    const std::string_view word = line.substr(pos, end - pos);
    const int letter = hotkeyLetter(word);
    if (letter != NoHotkey && letter >= 'A' && letter <= 'Z')
      zones.push_back(zoneOn(window, row, labelCells(line.substr(0, pos)) + 1, labelCells(word),
                             letter - 'A' + 'a'));
    pos = end;
  }
}

void drawCommandLabels(ScreenWindow& window) {
  CurrentWindowScope scope(window);
  raiseHold(1);
  const int width = windowLastColumn(window);
  for (int row = 1; row <= windowLastRow(window); ++row) writeText({}, width - 1, 1, row, WritePad);
  for (int i = 0; i < CommandWindowLabelCount; ++i) {
    const CommandLabel& label = CommandLabels[i];
    if (!entryVisible(i) || label.row > windowLastRow(window)) continue;
    printHotkeyLabel(label.first, labelCells(label.label), label.row, label.label);
  }
  if (lowerHold(1) == 0) flushWindowRect(window.x, window.y, window.width, window.height);
}

}  // namespace

std::vector<MouseZone> commandLabelZones(const ScreenWindow& window) {
  std::vector<MouseZone> zones;
  for (int i = 0; i < CommandWindowLabelCount; ++i) {
    const CommandLabel& label = CommandLabels[i];
    if (label.row > windowLastRow(window)) continue;
    MouseZone zone = zoneOn(window, label.row, label.first, label.last - label.first + 1,
                            label.left, label.right);
    zone.disabled = !entryVisible(i);
    zones.push_back(zone);
  }
  return zones;
}

void drawBottomRows(LoopScreen& screen, KeyboardLayout layout, std::string_view directory) {
  switch (layout) {
    case KeyboardCorvane:
      if (screen.labelRows) drawCommandLabels(*screen.labelRows);
      break;
    case KeyboardXtree:
      if (screen.labelRows) drawKeyBarLines(*screen.labelRows, XtreeBarLines);
      break;
    case KeyboardCommander:
      if (screen.commandLine) drawCommandLine(*screen.commandLine, directory);
      if (screen.keyBar.window != nullptr) drawFunctionKeyBar(screen.keyBar);
      break;
  }
}

std::vector<MouseZone> bottomRowZones(const LoopScreen& screen, KeyboardLayout layout,
                                      std::string_view directory) {
  std::vector<MouseZone> zones;
  switch (layout) {
    case KeyboardCorvane:
      if (screen.labelRows) zones = commandLabelZones(*screen.labelRows);
      break;
    case KeyboardXtree:
      if (screen.labelRows) {
        const ScreenWindow& window = *screen.labelRows;
        for (const BarWord& word : XtreeTopWords) {
          const int cell = cellOf(XtreeBarTop, word.text);
          if (cell > 0) zones.push_back(zoneOn(window, 1, cell, labelCells(word.text), word.code));
        }
        if (windowLastRow(window) >= 2) appendLetterWords(zones, window, 2, XtreeBarBottom);
      }
      break;
    case KeyboardCommander:
      if (screen.keyBar.window != nullptr)
        zones = keyBarZones(*screen.keyBar.window, keyBarText(screen.keyBar));
      if (screen.commandLine) zones.push_back(commandLineZone(*screen.commandLine, directory));
      break;
  }
  return zones;
}

}  // namespace corvane
