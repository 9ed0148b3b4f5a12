#include "viewer/line_format.h"

#include <algorithm>
#include <string_view>

#include "platform/charset.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "viewer/viewer_state.h"

namespace corvane {
namespace {

constexpr unsigned char LineFeed = 10, CarriageReturn = 13, TabByte = 9, BackspaceByte = 8;

// The length of the UTF-8 sequence a byte leads, 0 for a byte that leads none.
std::size_t sequenceLength(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

std::string_view asText(std::span<const unsigned char> data) {
  return {reinterpret_cast<const char*>(data.data()), data.size()};
}

struct Character {
  std::size_t bytes = 1;  // 0: cut by the end of the data
  char32_t ch = U' ';
  int cells = 1;  // 0: left out
};

Character characterAt(std::span<const unsigned char> data, std::size_t pos, bool dataEndsFile,
                      int filter) {
  const unsigned char b = data[pos];
  if (filter == FilterAscii) {
    if (b < 32 || b > 128) return {1, U' ', 0};
    return {1, cp437ToUnicode(b), 1};
  }
  if (b < 0x80) return {1, filter == FilterPrint && b < 32 ? U'.' : cp437ToUnicode(b), 1};
  const std::size_t n = sequenceLength(b);
  if (n > 0 && pos + n > data.size() && !dataEndsFile) {
    bool continues = true;
    for (std::size_t i = pos + 1; i < data.size(); ++i)
      if ((data[i] & 0xC0) != 0x80) continues = false;
    if (continues) return {0, U' ', 0};
  }
  Character c;
  c.bytes = decodeChar(asText(data), pos, c.ch);
  c.cells = charCells(c.ch);
  return c;
}

// The first byte of the character that ends right before pos (pos > 0).
std::size_t characterStart(std::span<const unsigned char> data, std::size_t pos, int filter) {
  if (filter != FilterAscii) {
    for (std::size_t k = 2; k <= 4 && k <= pos; ++k) {
      const std::size_t q = pos - k;
      char32_t ch;
      if (sequenceLength(data[q]) == k && decodeChar(asText(data), q, ch) == k) return q;
    }
  }
  return pos - 1;
}

// Writes cells of a line at a column; what a wide character leaves half is blanked.
class LineWriter {
 public:
  explicit LineWriter(LineText* text) : text_(text) {}

  void put(int column, char32_t ch, int cells) {
    if (text_ == nullptr) return;
    LineText& t = *text_;
    const auto at = static_cast<std::size_t>(column);
    const auto end = at + static_cast<std::size_t>(cells);
    if (t.size() < end) t.resize(end, U' ');
    if (t[at] == WideTail && at > 0) t[at - 1] = U' ';  // the head of a character cut in two
    if (end < t.size() && t[end] == WideTail) t[end] = U' ';
    t[at] = ch;
    if (cells == 2) t[at + 1] = WideTail;
  }
  void blanksTo(int column) {
    if (text_ != nullptr && text_->size() < static_cast<std::size_t>(column))
      text_->resize(static_cast<std::size_t>(column), U' ');
  }

 private:
  LineText* text_;
};

int limitOf(const DivisionRules& rules) { return std::clamp(rules.limit, 1, LineLimit); }

}  // namespace

LineEnd divideLine(std::span<const unsigned char> data, std::size_t pos, bool dataEndsFile,
                   const DivisionRules& rules, LineText* text) {
  if (text != nullptr) text->clear();
  LineWriter writer(text);
  const int limit = limitOf(rules);
  const std::size_t start = pos;
  int column = 0;
  while (pos < data.size()) {
    const unsigned char b = data[pos];
    if (b == LineFeed) return {pos + 1, true};
    if (b == CarriageReturn) {
      ++pos;
      if (pos < data.size() && data[pos] == LineFeed) ++pos;
      return {pos, true};
    }
    if (column >= limit || pos - start >= LineMaxBytes) return {pos, true};
    if (b == TabByte) {
      const int stop = (column / TabWidth + 1) * TabWidth;
      if (stop > limit) return {pos + 1, true};
      writer.blanksTo(stop);
      column = stop;
      ++pos;
      continue;
    }
    if (b == BackspaceByte) {
      column = std::max(column - 1, 0);
      ++pos;
      continue;
    }
    const Character c = characterAt(data, pos, dataEndsFile, rules.filter);
    if (c.bytes == 0) return {pos, false};
    if (c.cells > 0) {
      if (column + c.cells > limit) return {pos, true};
      writer.put(column, c.ch, c.cells);
      column += c.cells;
    }
    pos += c.bytes;
  }
  return {pos, dataEndsFile};
}

std::size_t lineStartBefore(std::span<const unsigned char> data, std::size_t pos,
                            const DivisionRules& rules) {
  const int limit = limitOf(rules);
  std::size_t p = pos;
  int columns = 0;
  while (p > 0) {
    const std::size_t q = characterStart(data, p, rules.filter);
    if (pos - q > LineMaxBytes) break;
    const unsigned char b = data[q];
    const int cells = b == TabByte         ? TabWidth
                      : b == BackspaceByte ? 0
                                           : characterAt(data, q, true, rules.filter).cells;
    if (columns + cells > limit) break;
    columns += cells;
    p = q;
  }
  return p;
}

LineText hexRow(std::int64_t offset, std::span<const unsigned char> bytes, bool pastEnd,
                int filter) {
  constexpr std::size_t RowBytes = 16;
  std::string head = pastEnd ? std::string("-------- ")
                             : textf("%08llx ", static_cast<unsigned long long>(offset));
  for (std::size_t i = 0; i < RowBytes; ++i) {
    if (i < bytes.size())
      head += textf("%02x%c", bytes[i], i == 7 ? '-' : ' ');
    else
      head += "   ";
  }
  LineText row(head.begin(), head.end());
  row += cp437ToUnicode(0xB3);
  row += U' ';
  for (std::size_t i = 0; i < bytes.size() && i < RowBytes; ++i)
    row += filter == FilterPrint && bytes[i] < 32 ? U'.' : cp437ToUnicode(bytes[i]);
  return row;
}

std::string rowText(const LineText& line, int firstColumn, int width) {
  std::string out;
  const int end = firstColumn + width;
  for (int column = std::max(firstColumn, 0); column < end; ++column) {
    const auto at = static_cast<std::size_t>(column);
    char32_t ch = at < line.size() ? line[at] : U' ';
    const bool wide = at + 1 < line.size() && line[at + 1] == WideTail;
    if (ch == WideTail || (wide && column + 1 >= end)) {
      ch = U' ';
    } else if (wide) {
      appendUtf8(out, ch);
      ++column;
      continue;
    }
    appendUtf8(out, ch);
  }
  return out;
}

}  // namespace corvane
