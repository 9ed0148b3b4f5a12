#include "viewer/line_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/charset.h"
#include "platform/screen.h"
#include "viewer/viewer_state.h"

namespace corvane {
namespace {

std::span<const unsigned char> bytesOf(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::string utf8(const LineText& line) {
  std::string out;
  for (char32_t ch : line)
    if (ch != WideTail) appendUtf8(out, ch);
  return out;
}

// The display lines of a whole text (the data ends the file).
std::vector<std::string> lines(std::string_view text, DivisionRules rules = {}) {
  std::vector<std::string> out;
  for (std::size_t pos = 0; pos < text.size();) {
    LineText line;
    const LineEnd end = divideLine(bytesOf(text), pos, true, rules, &line);
    out.push_back(utf8(line));
    pos = end.next;
  }
  return out;
}

TEST(LineDivision, EndsLinesAsTheBytesSay) {
  struct Case {
    const char* name;
    std::string text;
    DivisionRules rules;
    std::vector<std::string> expected;
  };
  const std::string x1000(1000, 'x');
  const Case cases[] = {
      {"LF, CR, CR LF and an empty line", "a\nb\rc\r\nd\n\ne", {}, {"a", "b", "c", "d", "", "e"}},
      {"1000 characters", x1000, {}, {std::string(498, 'x'), std::string(498, 'x'), "xxxx"}},
      {"a full line takes the line end after it",
       std::string(498, 'y') + "\nz",
       {},
       {std::string(498, 'y'), "z"}},
      {"TAB stops of 8", "a\tb\tc", {}, {"a       b       c"}},
      {"a TAB past the limit ends the line",
       std::string(9, 'a') + "\tb",
       {.limit = 12},
       {std::string(9, 'a'), "b"}},
      {"backspace overwrites", "ab\bc\b\b\bd", {}, {"dc"}},
      {"word wrap at the width", "abcdefghij", {.limit = 4}, {"abcd", "efgh", "ij"}},
      {"print filter",
       std::string("a\x01\x1b"
                   "b"),
       {.filter = FilterPrint},
       {"a..b"}},
      {"ASCII filter keeps 128, drops the rest",
       std::string("a\x01\x80\x81\xff"
                   "b"),
       {.filter = FilterAscii},
       {"aÇb"}},
      {"control bytes as PC glyphs", std::string("\x01\x7f", 2), {}, {"☺⌂"}},
      {"UTF-8 counts columns", "Grüße日本", {.limit = 6}, {"Grüße", "日本"}},
      {"a wide character never splits", "abc日", {.limit = 4}, {"abc", "日"}},
      {"stray bytes through code page 437", std::string("\xb0\xc3("), {}, {"░├("}},
  };
  for (const Case& c : cases) EXPECT_EQ(lines(c.text, c.rules), c.expected) << c.name;
}

TEST(LineDivision, StopsBeforeACharacterCutByTheWindow) {
  const std::string text = "ab\xe6\x97";  // the third byte of 日 is not loaded
  LineText line;
  LineEnd end = divideLine(bytesOf(text), 0, false, {}, &line);
  EXPECT_FALSE(end.complete);
  EXPECT_EQ(end.next, 2u);
  EXPECT_EQ(utf8(line), "ab");
  end = divideLine(bytesOf(text), 0, true, {}, &line);  // the file ends there: shown as bytes
  EXPECT_TRUE(end.complete);
  EXPECT_EQ(end.next, 4u);
}

// Divided back from where forward division put a line end, a line without line ends gives
// the same lines (within a character where a wide one did not fit a line's end), so that
// moving up and down meet.
TEST(LineDivision, BackwardDivisionMeetsForwardDivision) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += i % 7 == 0 ? "ä" : i % 11 == 0 ? "日" : "q";
  for (int limit : {LineLimit, 80, 13}) {
    const DivisionRules rules{.limit = limit};
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size();
         pos = divideLine(bytesOf(text), pos, true, rules).next)
      starts.push_back(pos);
    for (std::size_t i = starts.size() - 1; i > 1; --i) {
      const std::size_t before = lineStartBefore(bytesOf(text), starts[i], rules);
      EXPECT_LE(std::max(before, starts[i - 1]) - std::min(before, starts[i - 1]), 3u)
          << limit << " at " << starts[i];
    }
  }
  const std::string plain(5000, 'p');
  EXPECT_EQ(lineStartBefore(bytesOf(plain), 4980, {}), 4980u - LineLimit);
  EXPECT_EQ(lineStartBefore(bytesOf(plain), 4980, {.limit = 80}), 4900u);
}

TEST(HexRow, ShowsOffsetEntriesAndCharacters) {
  const std::string bytes = "0123456789abcdefABCD";
  EXPECT_EQ(utf8(hexRow(0, bytesOf(bytes).first(16), false, FilterNone)),
            "00000000 30 31 32 33 34 35 36 37-38 39 61 62 63 64 65 66 │ 0123456789abcdef");
  EXPECT_EQ(utf8(hexRow(16, bytesOf(bytes).subspan(16), false, FilterNone)),
            "00000010 41 42 43 44" + std::string(36, ' ') + " │ ABCD");
  EXPECT_EQ(utf8(hexRow(32, {}, true, FilterNone)), "--------" + std::string(49, ' ') + "│ ");
  const std::string control("\x00\x1f\xb3", 3);
  EXPECT_EQ(utf8(hexRow(0x123456789, bytesOf(control), false, FilterNone)),
            "123456789 00 1f b3" + std::string(39, ' ') + " │  ▼│");
  EXPECT_TRUE(utf8(hexRow(0, bytesOf(control), false, FilterPrint)).ends_with("│ ..│"));
}

TEST(RowText, CutsWideCharactersAtBothEdges) {
  LineText line;
  (void)divideLine(bytesOf("a日b日"), 0, true, {}, &line);  // a, 日 (2 cells), b, 日
  EXPECT_EQ(rowText(line, 0, 6), "a日b日");
  EXPECT_EQ(rowText(line, 2, 3), " b ");
  EXPECT_EQ(rowText(line, 4, 4), "日  ");
}

}  // namespace
}  // namespace corvane
