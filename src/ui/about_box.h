// The about box: the about help page, then the product title until a key is pressed.
#pragma once

#include <string_view>

#include "platform/product.h"

namespace corvane {

// Shows help page 51, then an information window with the product title; waits for a key
// (not the modifier or idle event) and closes it.
void aboutBox();

}  // namespace corvane
