#include "platform/term_output.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "platform/charset.h"

namespace corvane {
namespace {

// Just enough of a terminal to replay what the renderer writes: cursor moves, colours,
// characters one or two cells wide, no autowrap. Raw control bytes are a failure.
struct FakeTerminal {
  int columns, rows;
  std::vector<ScreenCell> grid;
  int column = 0, row = 0;
  ColorAttr attr = 0x07;
  int cursorMoves = 0;

  FakeTerminal(int c, int r) : columns(c), rows(r), grid(static_cast<std::size_t>(c) * r) {}
  ScreenCell& at(int c, int r) { return grid[static_cast<std::size_t>(r) * columns + c]; }

  void csi(std::string_view params, char final) {
    std::vector<int> values{0};
    for (char ch : params) {
      if (ch == ';')
        values.push_back(0);
      else if (ch >= '0' && ch <= '9')
        values.back() = values.back() * 10 + (ch - '0');
    }
    auto console = [](int ansi) { return ((ansi & 1) << 2) | (ansi & 2) | ((ansi & 4) >> 2); };
    if (final == 'H') {
      ++cursorMoves;
      row = std::clamp(values[0] - 1, 0, rows - 1);
      column = std::clamp(values.size() > 1 ? values[1] - 1 : 0, 0, columns - 1);
    } else if (final == 'm') {
      for (int v : values) {
        if (v == 0)
          attr = 0x07;
        else if (v >= 30 && v <= 37)
          attr = static_cast<ColorAttr>((attr & 0xF0) | console(v - 30));
        else if (v >= 90 && v <= 97)
          attr = static_cast<ColorAttr>((attr & 0xF0) | 8 | console(v - 90));
        else if (v >= 40 && v <= 47)
          attr = static_cast<ColorAttr>((attr & 0x0F) | console(v - 40) << 4);
        else if (v >= 100 && v <= 107)
          attr = static_cast<ColorAttr>((attr & 0x0F) | (8 | console(v - 100)) << 4);
        else
          ADD_FAILURE() << "unexpected SGR " << v;
      }
    }
  }

  void put(char32_t ch, int width) {
    auto breakAt = [&](int c) {
      if (c >= columns) return;
      if (at(c, row).ch == WideTail && c > 0) at(c - 1, row) = {U' ', at(c - 1, row).attr};
      if (c + 1 < columns && at(c + 1, row).ch == WideTail)
        at(c + 1, row) = {U' ', at(c + 1, row).attr};
    };
    breakAt(column);
    if (width == 2) breakAt(column + 1);
    at(column, row) = {ch, attr};
    if (width == 2 && column + 1 < columns) at(column + 1, row) = {WideTail, attr};
    column = std::min(column + width, columns - 1);
  }

  void write(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
      unsigned char b = static_cast<unsigned char>(bytes[i]);
      if (b == 0x1b && i + 1 < bytes.size() && bytes[i + 1] == '[') {
        std::size_t j = i + 2;
        while (j < bytes.size() && !(bytes[j] >= 0x40 && bytes[j] <= 0x7e)) ++j;
        if (j < bytes.size()) csi(bytes.substr(i + 2, j - i - 2), bytes[j]);
        i = j + 1;
      } else if (b < 0x20 || b == 0x7f) {
        ADD_FAILURE() << "raw control byte " << int(b);
        ++i;
      } else {
        char32_t cp;
        i += decodeChar(bytes, i, cp);
        put(cp, charCells(cp));
      }
    }
  }
};

bool isHead(const ScreenImage& image, int c, int r) {
  return c + 1 < image.columns && image.at(c + 1, r).ch == WideTail &&
         charCells(image.at(c, r).ch) == 2;
}

// What the terminal should show for an image.
std::vector<ScreenCell> expectedScreen(const ScreenImage& image,
                                       OutputCharset charset = OutputCharset::Utf8) {
  std::vector<ScreenCell> out(image.cells.size());
  auto shownAs = [&](char32_t ch) {
    return charset == OutputCharset::Ascii ? static_cast<char32_t>(asciiStandIn(ch)) : ch;
  };
  for (int r = 0; r < image.rows; ++r) {
    for (int c = 0; c < image.columns; ++c) {
      const ScreenCell& cell = image.at(c, r);
      ScreenCell& shown = out[static_cast<std::size_t>(r) * image.columns + c];
      if (isHead(image, c, r)) {
        shown = {shownAs(cell.ch), cell.attr};
        out[static_cast<std::size_t>(r) * image.columns + c + 1] = {
            charset == OutputCharset::Ascii ? shownAs(cell.ch) : WideTail, cell.attr};
        ++c;
      } else if (cell.ch < 0x20) {
        shown = {shownAs(cp437ToUnicode(static_cast<std::uint8_t>(cell.ch))), cell.attr};
      } else {
        bool lone = cell.ch == WideTail || charCells(cell.ch) != 1;
        shown = {lone ? U' ' : shownAs(cell.ch), cell.attr};
      }
    }
  }
  return out;
}

TEST(TermOutput, ColoursMapConsoleOrderToAnsi) {
  const int foreground[16] = {30, 34, 32, 36, 31, 35, 33, 37, 90, 94, 92, 96, 91, 95, 93, 97};
  for (int c = 0; c < 16; ++c) {
    EXPECT_EQ(ansiForeground(c), foreground[c]) << c;
    EXPECT_EQ(ansiBackground(c), foreground[c] + 10) << c;
  }
  std::string sgr;
  appendAttribute(sgr, 0x4E, true);  // yellow on red: the error window
  EXPECT_EQ(sgr, "\x1b[0;93;41m");
}

TEST(TermOutput, CodePage437RoundTrips) {
  std::set<char32_t> seen;
  for (int b = 1; b < 256; ++b) {
    char32_t cp = cp437ToUnicode(static_cast<std::uint8_t>(b));
    seen.insert(cp);
    EXPECT_EQ(unicodeToCp437(cp), b) << b;
  }
  EXPECT_EQ(seen.size(), 255u);
  EXPECT_EQ(unicodeToCp437(U'\u03B2'), 0xE1);
  EXPECT_EQ(unicodeToCp437(U'\u03BC'), 0xE6);
}

TEST(TermOutput, WritesOnlyWhatChangedWithFewMovesAndColours) {
  ScreenImage image(20, 4);
  TerminalMirror mirror;
  std::string out;
  renderRect(image, 0, 0, 19, 3, mirror, out);
  EXPECT_FALSE(out.empty());  // the terminal's content was unknown
  out.clear();
  renderRect(image, 0, 0, 19, 3, mirror, out);
  EXPECT_EQ(out, "");  // nothing differs

  image.at(4, 2) = {U'X', 0x17};
  renderRect(image, 0, 0, 19, 3, mirror, out);
  EXPECT_EQ(out, "\x1b[3;5H\x1b[0;37;44mX");

  out.clear();
  for (int c = 0; c < 5; ++c)
    image.at(10 + c, 1) = {U'a', static_cast<ColorAttr>(c < 3 ? 0x1E : 0x4E)};
  renderRect(image, 0, 0, 19, 3, mirror, out);
  EXPECT_EQ(out, "\x1b[2;11H\x1b[0;93;44maaa\x1b[93;41maa");

  // After the last column the cursor position is not assumed.
  out.clear();
  image.at(19, 0).ch = U'z';
  image.at(0, 1).ch = U'y';
  renderRect(image, 0, 0, 19, 3, mirror, out);
  EXPECT_EQ(out, "\x1b[1;20H\x1b[0;37;40mz\x1b[2;1Hy");
}

TEST(TermOutput, ControlCharactersNeverReachTheTerminalRaw) {
  ScreenImage image(6, 1);
  image.at(0, 0).ch = 0x1B;
  image.at(1, 0).ch = 0x07;
  image.at(2, 0).ch = 0x9B;  // C1 CSI
  image.at(3, 0).ch = 0x7F;
  TerminalMirror mirror;
  std::string out;
  renderRect(image, 0, 0, 5, 0, mirror, out);
  FakeTerminal terminal(6, 1);
  terminal.write(out);
  EXPECT_EQ(terminal.at(0, 0).ch, U'\u2190');
  EXPECT_EQ(terminal.at(1, 0).ch, U'\u2022');
  EXPECT_EQ(terminal.at(2, 0).ch, U' ');
  EXPECT_EQ(terminal.at(3, 0).ch, U'\u2302');
}

TEST(TermOutput, RandomEditsKeepTheTerminalEqualToTheImage) {
  const char32_t glyphs[] = {U'a',     U'Z', U'\u2550', U'\u6F22', U'\u6F22', U'\U0001F600',
                             WideTail, 0x1B, U'\u0301', U'\u00E4', U' ',      U'\u2591'};
  std::mt19937 random(7);
  // Half the runs on a terminal that takes ASCII only: not one byte above 0x7F goes out, and
  // each cell shows its stand-in.
  for (int run = 0; run < 20; ++run) {
    const OutputCharset charset = run % 2 ? OutputCharset::Ascii : OutputCharset::Utf8;
    ScreenImage image(30, 6);
    TerminalMirror mirror;
    FakeTerminal terminal(30, 6);
    std::string out;
    renderRect(image, 0, 0, 29, 5, mirror, out);
    terminal.write(out);
    for (int step = 0; step < 200; ++step) {
      int left = 29, top = 5, right = 0, bottom = 0;
      for (int k = 1 + static_cast<int>(random() % 4); k > 0; --k) {
        int c = static_cast<int>(random() % 30), r = static_cast<int>(random() % 6);
        char32_t g = glyphs[random() % std::size(glyphs)];
        auto attr = static_cast<ColorAttr>(random() % 256);
        image.at(c, r) = {g, attr};
        int last = c;
        if (charCells(g) == 2 && c + 1 < 30 && random() % 4 != 0)
          image.at(++last, r) = {WideTail, attr};
        left = std::min(left, c), right = std::max(right, last);
        top = std::min(top, r), bottom = std::max(bottom, r);
      }
      out.clear();
      renderRect(image, left, top, right, bottom, mirror, out, charset);
      if (charset == OutputCharset::Ascii) {
        ASSERT_TRUE(std::all_of(out.begin(), out.end(), [](char b) { return (b & 0x80) == 0; }));
      }
      terminal.write(out);
      ASSERT_TRUE(terminal.grid == expectedScreen(image, charset))
          << "run " << run << " step " << step;
    }
  }
}

TEST(TermOutput, SessionSequences) {
  TerminalModes modes;
  std::string enter = enterSequence(modes, "NT-Corvane \x1b]0;evil\x07 test");
  EXPECT_NE(enter.find("\x1b]2;NT-Corvane ]0;evil test\x07"), std::string::npos);
  EXPECT_EQ(enter.find("\x1b[>27u"), std::string::npos);
  EXPECT_LT(enter.find("\x1b[?1049h"), enter.find("\x1b[2J"));

  modes.kittyKeyboard = true;
  EXPECT_NE(enterSequence(modes, "t").find("\x1b[>27u"), std::string::npos);
  std::string leave = leaveSequence(modes);
  EXPECT_EQ(leave[0], '\x18');
  std::size_t pop = leave.find("\x1b[<u"), screen = leave.find("\x1b[?1049l");
  ASSERT_NE(pop, std::string::npos);
  ASSERT_NE(screen, std::string::npos);
  EXPECT_LT(pop, screen);  // the kitty stack belongs to the alternate screen
  for (const char* mode :
       {"\x1b[?1000l", "\x1b[?1002l", "\x1b[?1006l", "\x1b[?2004l", "\x1b[?25h", "\x1b[?7h"})
    EXPECT_NE(leave.find(mode), std::string::npos) << mode + 1;

  EXPECT_EQ(cursorShapeSequence(CursorSmall), "\x1b[3 q\x1b[?25h");
  EXPECT_EQ(cursorShapeSequence(CursorLarge), "\x1b[1 q\x1b[?25h");
  EXPECT_EQ(cursorShapeSequence(CursorHidden), "\x1b[?25l");
  EXPECT_EQ(cursorShapeSequence(CursorOff), "\x1b[?25l");
}

}  // namespace
}  // namespace corvane
