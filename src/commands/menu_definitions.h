// The menu bar of the file panels: five pulldowns offering every command, in one set for the
// CORVANE and XTREE keyboard layouts and one for the COMMANDER layout. Items hand their
// CommandId back to the loop; the setup items run their dialog in place.
#pragma once

#include <span>

#include "panels/panel_geometry.h"
#include "ui/menu_bar.h"

namespace corvane {

// The bar of a keyboard layout. The descriptors keep their highlighted entries and items
// from one use to the next.
MenuBar& menuBarFor(KeyboardLayout layout);

// The pulldowns of a bar, in bar order.
std::span<PulldownMenu* const> menusOf(KeyboardLayout layout);

}  // namespace corvane
