#include "commands/screen_size.h"

#include <algorithm>
#include <string>
#include <vector>

#include "commands/commands_state.h"
#include "commands/loop_state.h"
#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/screen.h"
#include "platform/semaphores.h"
#include "platform/textf.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int DefaultColumns = 80;
constexpr int DefaultRows = 25;
constexpr const char* FormatTooSmall =
    "Corvane needs at least %d x %d (now %d x %d). Enlarge the terminal, or press Esc to quit.";

// The smallest usable size in one direction: the minimum, or less when a switch asks for
// less.
int minimumOf(int minimum, int switchValue) {
  return switchValue > 0 ? std::min(minimum, switchValue) : minimum;
}

// The text broken into lines of at most width cells at blanks (a longer word is cut).
std::vector<std::string> wrapped(const std::string& text, int width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    std::string word = text.substr(pos, end - pos);
    pos = end + 1;
    const int cells = textCells(line) + (line.empty() ? 0 : 1) + textCells(word);
    if (!line.empty() && cells > width) {
      lines.push_back(line);
      line.clear();
    }
    while (textCells(word) > width) {
      lines.push_back(word.substr(0, static_cast<std::size_t>(width)));
      word.erase(0, static_cast<std::size_t>(width));
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void showTooSmall(int terminalColumns, int terminalRows) {
  const int columns = std::max(terminalColumns, 1), rows = std::max(terminalRows, 1);
  {
    OutputLock lock;  // the clock may be writing into the image it replaces
    initScreenImage(columns, rows);
  }
  ScreenImage& image = screenImage();
  const std::string text =
      textf(FormatTooSmall, MinimumScreenColumns, MinimumScreenRows, terminalColumns, terminalRows);
  int row = 0;
  for (const std::string& line : wrapped(text, columns)) {
    if (row >= rows) break;
    int column = 0;
    for (std::size_t pos = 0; pos < line.size() && column < columns;) {
      char32_t ch;
      pos += decodeChar(line, pos, ch);
      image.at(column++, row) = {ch, 0x07};
    }
    ++row;
  }
  flushScreen();
}

}  // namespace

void setScreenSizeSwitches(int columns, int rows) {
  commandsState().switchColumns = columns;
  commandsState().switchRows = rows;
}

bool screenSizeFor(int terminalColumns, int terminalRows, int& columns, int& rows) {
  if (terminalColumns <= 0 || terminalRows <= 0) {
    columns = commandsState().switchColumns > 0 ? commandsState().switchColumns : DefaultColumns;
    rows = commandsState().switchRows > 0 ? commandsState().switchRows : DefaultRows;
    return true;
  }
  columns = commandsState().switchColumns > 0
                ? std::min(commandsState().switchColumns, terminalColumns)
                : terminalColumns;
  rows = commandsState().switchRows > 0 ? std::min(commandsState().switchRows, terminalRows)
                                        : terminalRows;
  return columns >= minimumOf(MinimumScreenColumns, commandsState().switchColumns) &&
         rows >= minimumOf(MinimumScreenRows, commandsState().switchRows);
}

bool waitForUsableTerminal(int& columns, int& rows) {
  // Neither the status line nor the screen saver may draw over the message.
  const bool running = externalProgramRunning();
  setExternalProgramRunning(true);
  bool usable = false;
  for (bool waiting = true; waiting;) {
    int terminalColumns = 0, terminalRows = 0;
    console().terminalSize(terminalColumns, terminalRows);
    if (screenSizeFor(terminalColumns, terminalRows, columns, rows)) {
      usable = true;
      break;
    }
    showTooSmall(terminalColumns, terminalRows);
    for (;;) {
      InputRecord record;
      if (!console().readInput(record, -1)) continue;
      if (record.kind == InputRecord::Kind::Resize) break;
      if (record.kind == InputRecord::Kind::Key && record.keyDown && record.character == 27) {
        waiting = false;
        break;
      }
    }
  }
  setExternalProgramRunning(running);
  return usable;
}

KeyCode followTerminalSize() {
  int terminalColumns = 0, terminalRows = 0, columns = 0, rows = 0;
  console().terminalSize(terminalColumns, terminalRows);
  if (!screenSizeFor(terminalColumns, terminalRows, columns, rows)) {
    liftWindows();
    if (!waitForUsableTerminal(columns, rows)) {
      console().terminalSize(terminalColumns, terminalRows);
      relayoutWindows(std::max(terminalColumns, 1), std::max(terminalRows, 1));
      programState().leaveRequested = true;
      return key::Escape;
    }
    relayoutWindows(columns, rows);
    return key::ModifierEvent;
  }
  if (columns != screenColumns() || rows != screenRows()) relayoutWindows(columns, rows);
  return key::ModifierEvent;
}

}  // namespace corvane
