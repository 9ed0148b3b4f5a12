// How the viewer turns bytes into rows: the division of text into display lines and their
// formatting (TAB stops, backspace, the filters, UTF-8), and the rows of the hexadecimal
// dump. Pure functions over a span of bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace corvane {

// The most columns a display line holds, and the most bytes it takes (a line of characters
// that take no cell ends there too).
constexpr int LineLimit = 498;
constexpr std::size_t LineMaxBytes = 2 * LineLimit;
constexpr int TabWidth = 8;

// A formatted row: one code point per cell; a wide character's second cell is WideTail.
using LineText = std::u32string;

struct DivisionRules {
  int filter = 0;         // ViewFilter
  int limit = LineLimit;  // columns: LineLimit, or the text width with word wrap
};

// Where a display line ends.
struct LineEnd {
  std::size_t next = 0;  // where the next line starts
  bool complete = true;  // false: the bytes ran out before the line was complete
};

// The display line that starts at pos of data. A line ends after an LF, a CR or a CR LF; when
// it holds the limit's columns (a line end right after it belongs to it); when a TAB would
// pass the limit (the TAB is taken); and after LineMaxBytes bytes. A TAB advances to the next
// multiple of TabWidth, a backspace steps back one column (not before 0) so that the next
// character overwrites. Without the ASCII filter, UTF-8 sequences are characters (a wide one
// takes two columns, one that takes none is left out); other bytes go through code page 437,
// bytes below 32 as '.' with the print filter. The ASCII filter takes bytes one by one and
// leaves out those below 32 and above 128. dataEndsFile: the data reaches the end of the
// file, so a line running into it is complete; otherwise it is not, and no character is cut.
// text, when given, receives the formatted line.
LineEnd divideLine(std::span<const unsigned char> data, std::size_t pos, bool dataEndsFile,
                   const DivisionRules& rules, LineText* text = nullptr);

// The start of a display line that ends at pos, for text whose line start lies before the
// data: whole characters are taken back from pos while they fit the limit (a TAB counted as
// TabWidth columns) and LineMaxBytes. data before pos holds no line end.
std::size_t lineStartBefore(std::span<const unsigned char> data, std::size_t pos,
                            const DivisionRules& rules);

// One row of the hexadecimal dump: offset as "%08llx " ("-------- " when the row starts at or
// past the file's end), sixteen "%02x " entries with '-' after the eighth (three blanks for
// bytes past the end), the vertical line 0xB3 and a blank, and the bytes as code page 437
// characters one cell each (bytes below 32 as '.' with the print filter).
LineText hexRow(std::int64_t offset, std::span<const unsigned char> bytes, bool pastEnd,
                int filter);

// The UTF-8 text of cells from a first column for width cells: a wide character cut by
// either edge becomes a blank; blanks fill the cells past the line.
std::string rowText(const LineText& line, int firstColumn, int width);

}  // namespace corvane
