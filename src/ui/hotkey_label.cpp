#include "ui/hotkey_label.h"

#include <algorithm>
#include <cstdarg>
#include <string>

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr std::size_t FormattedLimit = 800;

}  // namespace

void printHotkeyLabel(int column, int width, int row, std::string_view text, int mode) {
  ScreenWindow* window = currentWindow();
  if (window == nullptr) return;
  raiseHold(1);
  windowCursor(column, row);
  const int scrollsBefore = teletypeScrollCount();
  bool otherRows = false;
  int farthest = column;
  if (mode & LabelNoWrap) setTeletypeNoWrap(true);

  const int limit = width + 1;
  int count = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    bool hotkey = false;
    if (text[pos] == '^' && pos + 1 < text.size()) {
      hotkey = true;
      ++pos;
    }
    unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (byte == 10 || byte == 13) {
      putChar(byte);
      ++pos;
      count = 0;
      otherRows = true;
      continue;
    }
    if (byte == 8) {
      if (window->cursorColumn > 1) count = std::max(count - 1, 0);
      putChar(byte);
      ++pos;
      continue;
    }
    char32_t ch;
    if (byte == 9) {
      ch = 9;
      ++pos;
    } else {
      pos += decodeChar(text, pos, ch);
    }
    int cells = ch == 9 ? 1 : charCells(ch);
    if (count + cells > limit) continue;  // past the field: skipped up to the next line
    count += cells;
    if (hotkey) {
      ColorAttr saved = window->textColor;
      window->textColor = color(ColorHotkey);
      putChar(ch);
      window->textColor = saved;
    } else {
      putChar(ch);
    }
    farthest = std::max(farthest, window->cursorColumn);
  }
  if (mode & LabelPad) {
    for (; count < limit; ++count) {
      putChar(U' ');
      farthest = std::max(farthest, window->cursorColumn);
    }
  }
  setTeletypeNoWrap(false);

  if (lowerHold(1) != 0) return;
  if (otherRows || window->cursorRow != row || teletypeScrollCount() != scrollsBefore) {
    flushWindowRect(window->x, window->y, window->width, window->height);
  } else {
    int start = windowScreenColumn(*window, column);
    // farthest is the cursor after the last cell printed.
    int end = std::min(windowScreenColumn(*window, farthest) - 1, window->x + window->width - 1);
    if (end >= start) flushCells(start, windowScreenRow(*window, row), end - start + 1);
  }
}

int hotkeyLetter(std::string_view label) {
  std::size_t caret = label.find('^');
  if (caret == std::string_view::npos || caret + 1 >= label.size()) return NoHotkey;
  return static_cast<unsigned char>(label[caret + 1]) & ~0x20;
}

int typedLetter(KeyCode key) {
  if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
  if (key >= 'A' && key <= 'Z') return key;
  return 0;
}

int labelCells(std::string_view label) {
  int cells = 0;
  for (std::size_t pos = 0; pos < label.size();) {
    if (label[pos] == '^' && pos + 1 < label.size()) ++pos;
    char32_t ch;
    pos += decodeChar(label, pos, ch);
    cells += charCells(ch);
  }
  return cells;
}

void printFormatted(int column, int row, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = vtextf(format, args);
  va_end(args);
  text.resize(fittingPrefix(text, FormattedLimit));
  printHotkeyLabel(column, static_cast<int>(FormattedLimit), row, text);
}

void printFormattedAtCursor(const char* format, ...) {
  ScreenWindow* window = currentWindow();
  if (window == nullptr) return;
  std::va_list args;
  va_start(args, format);
  std::string text = vtextf(format, args);
  va_end(args);
  std::size_t limit = static_cast<std::size_t>(screenRows()) * screenColumns();
  text.resize(fittingPrefix(text, limit));
  printHotkeyLabel(window->cursorColumn, static_cast<int>(limit), window->cursorRow, text);
}

}  // namespace corvane
