// The one function every text row of the viewer is drawn through.
#pragma once

#include "platform/color.h"
#include "viewer/line_format.h"

namespace corvane {

// What a row hands on to the next one of the same page; a page starts from a fresh one
// (outside a comment).
struct RowCarry {
  bool inComment = false;  // the row ended inside a block comment
};

// Draws a formatted row into window row row of the current window, from the cell firstColumn
// on, with the keyword colours and the editor's search string on the normal colour, and
// clears the rest of the row to the window's right edge.
void drawTextRow(const LineText& text, int row, int firstColumn, ColorAttr normal, RowCarry& carry);

}  // namespace corvane
