// The menu bar: one row of pulldown titles, each opening its pulldown (or calling the entry's
// handler). Left and Right walk the bar; Alt with a title's hotkey letter opens that entry
// directly from wherever the caller reads keys.
#pragma once

#include <span>

#include "platform/keycodes.h"
#include "ui/pulldown.h"
#include "ui/window.h"

namespace corvane {

// The width that stands for the whole screen width.
inline constexpr int MenuBarFullWidth = 80;

struct MenuBar {
  int x = 1, y = 1;                        // 1-based position of the bar row
  int width = MenuBarFullWidth;            // MenuBarFullWidth: the whole screen width
  int currentEntry = 0;                    // the highlighted entry, kept from one run to the next
  std::span<PulldownMenu* const> menus{};  // the entries; their titles are the bar labels
  // The bar window left on screen by a show-only run, until dropMenuBar.
  WindowHandle shown{};
};

enum class MenuBarMode {
  Interactive,  // highlight the current entry and read keys
  ShowOnly,     // draw the labels without highlight and leave the bar on screen
};

// Lays the labels out (the first at column 2, each next one after the previous label's cells
// and one blank) and places each pulldown under its label, one row below the bar.
// Returns the 1-based window column of each label in columns (at most columns.size()).
void layoutMenuBar(MenuBar& bar, std::span<int> columns);

// Runs the bar. With a direct Alt key (0 for none) whose letter is no title hotkey, that key
// is returned at once and nothing is drawn; with one that is, its pulldown opens at once.
// Returns the command chosen in a pulldown, 0 when none was (Escape, or a handler ran).
// ShowOnly without a direct key draws the bar and returns 0 with the bar window open and
// current; the caller releases it with dropMenuBar. ShowOnly with a direct key runs the bar
// and leaves it drawn, its window dropped. Otherwise the screen under the bar is put back.
[[nodiscard]] int runMenuBar(MenuBar& bar, KeyCode directAltKey, MenuBarMode mode);

// Releases the window a show-only run left, without touching the screen, and makes the window
// that was current before it current again. Nothing when no bar is held.
void dropMenuBar(MenuBar& bar);

}  // namespace corvane
