// Where the windows of the file panels go for each screen layout, keyboard layout and screen
// size, and the windows themselves while a loop runs.
//
// Row 1 holds the menu bar (shown when preference 13 asks for it) and the clock, row 2 the
// title windows of start-up (the product and the system's name). The panels start on row 3
// (on row 2, over the title, when the screen has fewer than TitleRowMinimumRows rows, so that
// the info column of the single list still fits) and reach down to the bottom rows:
// the two label rows of the command window (CORVANE, unless it is switched off), the command
// line and the function-key bar (COMMANDER; the command line only with the command window),
// or the two-line letter bar (XTREE). The small arrangement (Ctrl-Q) gives the panels about
// two thirds of their height and the info area its compact form.
#pragma once

#include "commands/loop_state.h"
#include "panels/panel.h"
#include "panels/panel_geometry.h"
#include "ui/key_bar.h"
#include "ui/window.h"

namespace corvane {

// A window's place, 1-based as openWindow takes it; height 0 means no window.
struct WindowRect {
  int x = 1, y = 1, width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};

struct ScreenRequest {
  int columns = 80, rows = 25;
  ScreenLayout layout = LayoutTwoLists;  // LayoutListAndTreeXtree is taken as LayoutListAndTree
  KeyboardLayout keyboard = KeyboardCommander;
  bool commandWindow = true;  // the command window is not switched off
  bool smallWindows = false;
};

struct ScreenPlan {
  WindowRect topRow;
  WindowRect panels[2];    // the second only with two lists
  WindowRect tree;         // the directory-tree area of the list-and-tree layouts
  WindowRect labelRows;    // CORVANE: the two label rows; XTREE: the letter bar
  WindowRect commandLine;  // COMMANDER
  WindowRect keyBar;       // COMMANDER
  int firstPanelRow = 2;   // screen rows (1-based) the panels cover
  int lastPanelRow = 2;
  bool compactInfo = false;
};

inline constexpr int TitleRowMinimumRows = 25;

// Smallest panel window height of the small arrangement, which still fits the compact info
// column (twelve rows of values, the volume name and the nesting level, and the frame).
inline constexpr int SmallPanelMinimumHeight = 16;

ScreenPlan planScreen(const ScreenRequest& request);

// The layout a panel gets in a keyboard layout: 1 becomes 2 under XTREE.
ScreenLayout panelLayoutFor(int windowLayoutChoice, KeyboardLayout keyboard);

// The windows of the outermost loop, opened in stacking order and freed in reverse.
struct LoopScreen {
  ScreenRequest request;  // the plan's request; a new screen size gives a new plan
  ScreenPlan plan;
  WindowHandle topRow;
  WindowHandle tree;
  WindowHandle panelWindows[2];
  WindowHandle labelRows;
  WindowHandle commandLine;
  WindowHandle keyBarWindow;
  FunctionKeyBar keyBar;
};

// Opens the windows of a plan (both panel windows only with two lists). 0, or -1 when a
// window could not be opened.
int openLoopScreen(LoopScreen& screen, const ScreenPlan& plan, bool twoLists);
void closeLoopScreen(LoopScreen& screen);

// Opens a panel window at a place (the frame, the scroll bar for the position marker, the
// panel colours).
int openPanelWindow(WindowHandle& handle, const WindowRect& rect);

}  // namespace corvane
