#include "platform/screen_text.h"

#include "platform/charset.h"
#include "platform/screen.h"
#include "platform/semaphores.h"

namespace corvane {

void putScreenText(int column, int row, std::string_view text, int width, bool keepAttributes,
                   ColorAttr attr) {
  OutputLock lock;
  ScreenImage& image = screenImage();
  if (row < 0 || row >= image.rows || column < 0) return;
  int end = column + width;
  if (end > image.columns) end = image.columns;
  auto put = [&](int col, char32_t ch) {
    ScreenCell& cell = image.at(col, row);
    cell.ch = ch;
    if (!keepAttributes) cell.attr = attr;
  };
  int col = column;
  for (std::size_t pos = 0; pos < text.size() && col < end;) {
    char32_t ch;
    pos += decodeChar(text, pos, ch);
    int cells = charCells(ch);
    if (cells == 0) continue;
    if (cells == 2) {
      if (col + 1 >= end) break;
      put(col++, ch);
      put(col++, WideTail);
    } else {
      put(col++, ch);
    }
  }
  while (col < end) put(col++, U' ');
  if (holdLevel() == 0) flushRect(column, row, end - 1, row);
}

}  // namespace corvane
