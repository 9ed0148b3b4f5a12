// Text straight into the screen image at screen coordinates, for the few writers below the
// window layer (the clock's status line, the key test display).
#pragma once

#include <string_view>

#include "platform/color.h"

namespace corvane {

// Writes text from (column, row), 0-based, into at most width cells, padded with blanks to
// width. keepAttributes leaves the attributes on screen as they are, else attr is used.
// Flushes the cells unless a hold is raised. Takes semaphore 0.
void putScreenText(int column, int row, std::string_view text, int width, bool keepAttributes,
                   ColorAttr attr = 0x07);

}  // namespace corvane
