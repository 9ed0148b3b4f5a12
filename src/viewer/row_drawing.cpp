#include "viewer/row_drawing.h"

#include "ui/window.h"

namespace corvane {

void drawTextRow(const LineText& text, int row, int firstColumn, ColorAttr normal, RowCarry&) {
  ScreenWindow* window = currentWindow();
  if (window == nullptr) return;
  const int width = windowLastColumn(*window);
  if (width <= 0) return;
  const ColorAttr saved = window->textColor;
  window->textColor = normal;
  writeText(rowText(text, firstColumn, width), width - 1, 1, row, WritePad);
  window->textColor = saved;
}

}  // namespace corvane
