// The user-defined function-key pages of the CORVANE layout: Insert steps through pages 0 to
// 3; on pages 1 to 3 a window over the bottom rows shows the page and the labels of F5 to
// F10, which then run the page's commands.
#pragma once

#include <string>
#include <vector>

#include "exec/exec_commands.h"
#include "platform/keyboard.h"
#include "ui/window.h"

namespace corvane {

// The page after this one (3 wraps to 0).
int nextFunctionKeyPage(int page);

// Shows the page: opens the window (two rows at the bottom of the screen) when needed and
// draws the page number and the six labels; page 0 closes and frees it.
void showFunctionKeyPage(WindowHandle& window, int page);
// The zones of a page window: F5 .. F10 on their labels, Insert on "Insert".
std::vector<MouseZone> functionKeyPageZones(const ScreenWindow& window);

}  // namespace corvane
