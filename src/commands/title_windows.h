// The windows every pass of the command loop starts with: the full-screen background of the
// own keyboard layout, the title window and the window with the system's name.
#pragma once

#include <string>
#include <string_view>

#include "ui/window.h"

namespace corvane {

struct TitleWindows {
  WindowHandle background;
  WindowHandle title;
  WindowHandle system;
  std::string osText;
};

// Opens them; the background only with the own (CORVANE) keyboard layout. They follow a new
// screen size on their own while open (the record must stay where it is meanwhile).
void openTitleWindows(TitleWindows& windows, bool ownLayout, std::string_view osText);
void closeTitleWindows(TitleWindows& windows);

}  // namespace corvane
