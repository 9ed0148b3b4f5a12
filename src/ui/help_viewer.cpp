#include "ui/help_viewer.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int HelpWindowFlags = WindowClear | WindowShadow | WindowSingle;
constexpr int TabStop = 8;

std::string& helpPath() { return uiState().helpPath; }

// Marks help as open for the scope, so that F1 inside the viewer does not open it again.
struct HelpOpenScope {
  HelpOpenScope() { uiState().helpOpen = true; }
  ~HelpOpenScope() { uiState().helpOpen = false; }
  HelpOpenScope(const HelpOpenScope&) = delete;
  HelpOpenScope& operator=(const HelpOpenScope&) = delete;
};

// Reads one line without its line end (LF or CR LF). At most HelpLineLimit bytes are kept,
// cut before a character that would be split; the rest of a longer line is skipped, so that it
// can never be taken for a page line. False at the end of the file.
bool readHelpLine(std::FILE* file, std::string& line) {
  line.clear();
  bool any = false;
  for (int ch; (ch = std::getc(file)) != EOF;) {
    any = true;
    if (ch == '\n') break;
    if (line.size() < static_cast<std::size_t>(HelpLineLimit) + 1)
      line.push_back(static_cast<char>(ch));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > static_cast<std::size_t>(HelpLineLimit)) {
    std::size_t end = 0;
    while (end < line.size()) {
      char32_t ch;
      std::size_t next = end + decodeChar(line, end, ch);
      if (next > static_cast<std::size_t>(HelpLineLimit)) break;
      end = next;
    }
    line.resize(end);
  }
  return any;
}

// Tabs become blanks up to the next multiple of eight cells.
std::string expandTabs(std::string_view line) {
  if (line.find('\t') == std::string_view::npos) return std::string(line);
  std::string out;
  int cells = 0;
  for (std::size_t pos = 0; pos < line.size();) {
    if (line[pos] == '\t') {
      do {
        out.push_back(' ');
        ++cells;
      } while (cells % TabStop != 0);
      ++pos;
      continue;
    }
    char32_t ch;
    std::size_t length = decodeChar(line, pos, ch);
    out.append(line.substr(pos, length));
    cells += charCells(ch);
    pos += length;
  }
  return out;
}

KeyCode readRealKey() {
  for (;;) {
    KeyCode key = readKey();
    if (key != key::ModifierEvent && key != key::IdleEvent) return key;
  }
}

// Blanks the interior rows of the help window.
void clearHelpWindow(const ScreenWindow& window) {
  const int width = windowLastColumn(window);
  raiseHold(1);
  for (int row = 1; row <= windowLastRow(window); ++row) writeText({}, width - 1, 1, row, WritePad);
  if (lowerHold(1) == 0) flushWindowRect(window.x, window.y, window.width, window.height);
}

// "Press any key !" at the bottom right of the frame in the Message window colour; waits for
// a key and puts the frame line back. Returns the key.
KeyCode pauseHelp(ScreenWindow& window) {
  const int bottom = window.height - 1;
  const int cells = static_cast<int>(PressAnyKeyText.size());
  const int column = std::max(window.width - 1 - cells, 1);
  const ColorAttr saved = window.textColor;
  window.textColor = color(ColorMessageWindow);
  writeText(PressAnyKeyText, cells - 1, column, bottom);
  window.textColor = saved;

  KeyCode key = readRealKey();

  const FrameStyle& set = window.frame ? *window.frame : frameSet(window.flags);
  std::string line;
  for (int i = 0; i < cells; ++i) appendUtf8(line, cp437ToUnicode(set.chars[FrameBottom]));
  writeText(line, cells - 1, column, bottom, WriteFrameColor);
  return key;
}

}  // namespace

void setHelpFilePath(std::string_view path) { helpPath() = std::string(path); }

const std::string& helpFilePath() { return helpPath(); }

std::optional<int> helpPageNumber(std::string_view line) {
  std::size_t pos = line.find_first_not_of(" \t");
  if (pos == std::string_view::npos || line[pos] != '>') return std::nullopt;
  pos = line.find_first_not_of(" \t", pos + 1);
  if (pos == std::string_view::npos) return 0;
  bool negative = false;
  if (line[pos] == '-' || line[pos] == '+') negative = line[pos++] == '-';
  long long number = 0;
  for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
    number = number * 10 + (line[pos] - '0');
    if (number > std::numeric_limits<int>::max()) return std::nullopt;
  }
  return static_cast<int>(negative ? -number : number);
}

bool helpIsOpen() { return uiState().helpOpen; }

void helpForCurrentWindow() { help(currentHelpContext()); }

void help(int page) {
  if (uiState().helpOpen) return;
  HelpOpenScope openScope;

  ScopedWindow window;
  const ColorAttr attr = color(ColorNormal);
  if (window.open(2, 3, screenColumns() - 2, screenRows() - 3, attr, attr, HelpWindowFlags,
                  textf(HelpTitleFormat, page)) != 0)
    return;
  const int width = windowLastColumn(*window);
  const int lastRow = windowLastRow(*window);

  FileHandle file;
  if (!helpFilePath().empty() && openRegularFile(helpFilePath(), file)) {
    std::string line;
    bool inPage = false;
    int row = 1;
    while (readHelpLine(file.get(), line)) {
      std::optional<int> number = helpPageNumber(line);
      if (number) {
        if (inPage) break;  // only what is shown is read
        inPage = *number == page;
        continue;
      }
      if (!inPage) continue;
      if (row > lastRow) {
        if (pauseHelp(*window) == key::Escape) return;
        clearHelpWindow(*window);
        row = 1;
      }
      writeText(expandTabs(line), width - 1, 1, row++, WritePad);
    }
  }
  pauseHelp(*window);
}

}  // namespace corvane
