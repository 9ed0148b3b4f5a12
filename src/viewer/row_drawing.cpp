#include "viewer/row_drawing.h"

#include "platform/charset.h"
#include "platform/screen.h"
#include "syntax/line_colours.h"

namespace corvane {

void drawTextRow(const LineText& text, int row, int firstColumn, ColorAttr normal,
                 RowCarry& carry) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const char32_t cell : text)
    if (cell != WideTail) appendUtf8(bytes, cell);
  drawColouredLine(bytes, row, firstColumn, LineLook{.normal = normal, .unit = ColumnUnit::Cells},
                   carry.inComment);
}

}  // namespace corvane
