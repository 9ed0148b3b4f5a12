// The viewer: one file shown read-only as text or as a hexadecimal dump, full screen or in a
// window of the caller's, with search.
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/keycodes.h"

namespace corvane {

struct ScreenWindow;

enum ViewMode : int {
  ViewInteractive = 0,  // read keys until the user leaves
  ViewDrawOnce = 1,     // draw the first page into the target window and return
  ViewInWindow = 2,     // read keys inside the target window
};

// Results of viewFile besides the keys it returns.
constexpr int ViewNoMemory = -2;
constexpr int ViewOpenFailed = -1;
constexpr int ViewDone = 0;           // drawn once; or in search-result mode: the string is absent
constexpr int ViewLeft = 42;          // Esc or Ctrl-F2
constexpr int ViewEnter = key::Down;  // Enter (336, Down, for the caller to act on)

struct ViewRequest {
  std::string_view fileName;
  ScreenWindow* target = nullptr;  // none: the whole screen (ViewInteractive only)
  int mode = ViewInteractive;
  bool hex = false;
  // An open file of the caller's, read instead of opening fileName, and left open.
  std::FILE* file = nullptr;
  // Search-result mode: the string is searched from the file's start first; absent, nothing
  // is shown. Its hit is shown above a row of answers, and E, F, I and S (either case) leave
  // with that key. The case flag is the search settings'.
  std::optional<std::string_view> searchString;
};

// Shows the file. Returns ViewNoMemory, ViewOpenFailed (after "File open error %s \n", which
// drawing once does not show), ViewDone, ViewLeft, ViewEnter, or the key that ended
// search-result mode (E, F, I, S) or the mode inside a window (Z, z, Tab).
int viewFile(const ViewRequest& request);

}  // namespace corvane
