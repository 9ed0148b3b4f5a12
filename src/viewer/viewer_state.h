// The viewer's settings that live for the whole run and are shared by every viewer of the
// run: the filter, word wrap and the text search's string and case flag; and the viewer's
// menus, which keep their highlighted items. Only the main thread touches it. Tests start
// from resetViewerState().
#pragma once

#include <array>
#include <string>

#include "ui/menu_bar.h"
#include "ui/pulldown.h"

namespace corvane {

enum ViewFilter : int {
  FilterNone = 0,
  FilterPrint = 1,  // bytes below 32 shown as '.'
  FilterAscii = 2,  // bytes below 32 and above 128 left out
};

// The most bytes the search string holds.
constexpr int SearchStringMaxLength = 160;

struct ViewerState {
  int filter = FilterNone;
  bool wordWrap = false;
  std::string searchString;
  int caseFlag = 0;  // 1: letters compare without regard to case

  std::array<PulldownMenu, 2> menus;
  std::array<PulldownMenu*, 2> entries{};
  MenuBar bar;

  ViewerState();
  ViewerState(const ViewerState&) = delete;
  ViewerState& operator=(const ViewerState&) = delete;
};

ViewerState& viewerState();
void resetViewerState();

}  // namespace corvane
