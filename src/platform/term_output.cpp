#include "platform/term_output.h"

#include <algorithm>
#include <cstdio>

#include "platform/charset.h"

namespace corvane {
namespace {

constexpr std::size_t MaxTitleChars = 200;

bool isWideHead(const ScreenImage& image, int column, int row) {
  return column + 1 < image.columns && image.at(column + 1, row).ch == WideTail &&
         charCells(image.at(column, row).ch) == 2;
}

// The first column of the unit (one cell, or a wide character and its tail) holding column.
int unitStart(const ScreenImage& image, int column, int row) {
  if (column > 0 && image.at(column, row).ch == WideTail && isWideHead(image, column - 1, row))
    return column - 1;
  return column;
}

int unitWidth(const ScreenImage& image, int column, int row) {
  return isWideHead(image, column, row) ? 2 : 1;
}

// The code point written for a unit.
char32_t shownChar(const ScreenImage& image, int column, int row, int width) {
  char32_t ch = image.at(column, row).ch;
  if (ch < 0x20) return cp437ToUnicode(static_cast<std::uint8_t>(ch));
  if (ch == 0x7F) return cp437ToUnicode(0x7F);
  if ((ch >= 0x80 && ch < 0xA0) || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return U' ';
  int cells = charCells(ch);
  if (cells == 0 || cells != width) return U' ';  // a lone combining mark or a lone half
  return ch;
}

void appendChar(std::string& out, char32_t ch, OutputCharset charset) {
  if (charset == OutputCharset::Ascii)
    out += asciiStandIn(ch);
  else
    appendUtf8(out, ch);
}

}  // namespace

std::string titleSequence(std::string_view title, OutputCharset charset) {
  std::string out = "\x1b]2;";
  std::size_t chars = 0;
  for (std::size_t pos = 0; pos < title.size() && chars < MaxTitleChars;) {
    auto byte = static_cast<unsigned char>(title[pos]);
    if (byte < 0x20 || byte == 0x7F) {  // decodeChar would show these as PC glyphs
      ++pos;
      continue;
    }
    char32_t cp;
    pos += decodeChar(title, pos, cp);
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) continue;
    appendChar(out, cp, charset);
    ++chars;
  }
  out += '\a';
  return out;
}

std::string enterSequence(const TerminalModes& modes, std::string_view title,
                          OutputCharset charset) {
  std::string out = "\x1b[22;0t";
  out += titleSequence(title, charset);
  out += term::ProgramScreen;
  out += "\x1b[?1h\x1b=";           // application cursor keys and keypad
  out += "\x1b[?1036s\x1b[?1036h";  // xterm: Alt sends ESC (old value saved)
  out += "\x1b[>4;1m";              // modifyOtherKeys
  if (modes.kittyKeyboard) out += term::KittyPush;
  out += "\x1b[?1000h\x1b[?1002h\x1b[?1006h";  // mouse: buttons, drags, SGR form
  out += "\x1b[?2004h";                        // bracketed paste
  if (modes.focusEvents) out += "\x1b[?1004h";
  out += "\x1b[?7l\x1b[?25l";  // no autowrap, hidden cursor
  out += term::ClearScreen;
  return out;
}

std::string leaveSequence(const TerminalModes& modes) {
  std::string out = "\x18\x1b[0m";
  out += term::SyncEnd;
  if (modes.kittyKeyboard) out += "\x1b[<u";  // the kitty stack is per screen: pop first
  out += "\x1b[>4;0m\x1b[?1036r\x1b[?1l\x1b>";
  out += "\x1b[?1006l\x1b[?1002l\x1b[?1000l\x1b[?2004l";
  if (modes.focusEvents) out += "\x1b[?1004l";
  out += "\x1b[0 q\x1b[?25h\x1b[?7h";
  out += term::UserScreen;
  out += "\x1b[23;0t";
  return out;
}

bool cursorShapeVisible(int shape) { return shape == CursorSmall || shape == CursorLarge; }

std::string cursorShapeSequence(int shape) {
  if (shape == CursorSmall) return "\x1b[3 q\x1b[?25h";
  if (shape == CursorLarge) return "\x1b[1 q\x1b[?25h";
  return "\x1b[?25l";
}

int ansiForeground(int color) {
  int a = ((color & 1) << 2) | (color & 2) | ((color & 4) >> 2);
  return (color & 8 ? 90 : 30) + a;
}

int ansiBackground(int color) {
  int a = ((color & 1) << 2) | (color & 2) | ((color & 4) >> 2);
  return (color & 8 ? 100 : 40) + a;
}

void appendAttribute(std::string& out, ColorAttr attr, bool reset) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\x1b[%s%d;%dm", reset ? "0;" : "",
                ansiForeground(attr & 0x0F), ansiBackground(attr >> 4));
  out += buffer;
}

void appendCursorMove(std::string& out, int column, int row) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\x1b[%d;%dH", row + 1, column + 1);
  out += buffer;
}

void resetMirror(TerminalMirror& mirror, int columns, int rows) {
  mirror.columns = columns;
  mirror.rows = rows;
  mirror.cells.assign(static_cast<std::size_t>(columns) * rows, ScreenCell{MirrorUnknown, 0});
  mirror.cursorColumn = mirror.cursorRow = -1;
}

void invalidateMirror(TerminalMirror& mirror) { resetMirror(mirror, mirror.columns, mirror.rows); }

void renderRect(const ScreenImage& image, int left, int top, int right, int bottom,
                TerminalMirror& mirror, std::string& out, OutputCharset charset) {
  if (mirror.columns != image.columns || mirror.rows != image.rows)
    resetMirror(mirror, image.columns, image.rows);
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.columns - 1);
  bottom = std::min(bottom, image.rows - 1);
  if (left > right || top > bottom) return;

  bool attrKnown = false;
  ColorAttr attr = 0;
  std::vector<char> dirty(static_cast<std::size_t>(image.columns));
  for (int row = top; row <= bottom; ++row) {
    std::fill(dirty.begin(), dirty.end(), 0);
    auto differs = [&](int column, int width) {
      for (int c = column; c < column + width; ++c)
        if (!(image.at(c, row) == mirror.at(c, row))) return true;
      return false;
    };
    for (int x = unitStart(image, left, row); x <= right; x += unitWidth(image, x, row))
      if (differs(x, unitWidth(image, x, row))) dirty[x] = 1;

    // Writing over half of a wide character the terminal shows blanks the other half: that
    // unit has to be written again too.
    for (bool changed = true; changed;) {
      changed = false;
      for (int x = 0; x < image.columns; x += unitWidth(image, x, row)) {
        if (!dirty[x]) continue;
        int last = x + unitWidth(image, x, row) - 1;
        int before = x > 0 && mirror.at(x, row).ch == WideTail ? unitStart(image, x - 1, row) : -1;
        int after = last + 1 < image.columns && mirror.at(last + 1, row).ch == WideTail
                        ? unitStart(image, last + 1, row)
                        : -1;
        for (int other : {before, after}) {
          if (other >= 0 && !dirty[other]) {
            dirty[other] = 1;
            changed = true;
          }
        }
      }
    }

    for (int x = 0; x < image.columns; x += unitWidth(image, x, row)) {
      if (!dirty[x]) continue;
      int width = unitWidth(image, x, row);
      if (mirror.cursorRow != row || mirror.cursorColumn != x) appendCursorMove(out, x, row);
      ColorAttr cellAttr = image.at(x, row).attr;
      if (!attrKnown || cellAttr != attr) {
        appendAttribute(out, cellAttr, !attrKnown);
        attrKnown = true;
        attr = cellAttr;
      }
      char32_t shown = shownChar(image, x, row, width);
      appendChar(out, shown, charset);
      if (width == 2 && charset == OutputCharset::Ascii) out += asciiStandIn(shown);
      for (int c = x; c < x + width; ++c) mirror.at(c, row) = image.at(c, row);
      mirror.cursorRow = row;
      mirror.cursorColumn = x + width;
      // At the last column the cursor stays put (no autowrap); after a wide character the
      // terminal's idea of its width may differ from ours: move explicitly next time.
      if (x + width >= image.columns || width == 2) mirror.cursorColumn = mirror.cursorRow = -1;
    }
  }
}

}  // namespace corvane
