#include "commands/screen_layout.h"

#include <algorithm>

#include "platform/color.h"

namespace corvane {
namespace {

constexpr int PanelWindowFlags = WindowDouble | WindowClear | WindowVerticalBar;
constexpr int BarWindowFlags = WindowClear;

// Rows under the panels that the layout keeps for its bars.
int bottomRowsOf(const ScreenRequest& request) {
  switch (request.keyboard) {
    case KeyboardCorvane:
      return request.commandWindow ? 2 : 0;
    case KeyboardCommander:
      return request.commandWindow ? 2 : 1;
    case KeyboardXtree:
      return 2;
  }
  return 2;
}

}  // namespace

ScreenLayout panelLayoutFor(int windowLayoutChoice, KeyboardLayout keyboard) {
  switch (windowLayoutChoice) {
    case LayoutSingleList:
      return LayoutSingleList;
    case LayoutListAndTree:
    case LayoutListAndTreeXtree:
      return keyboard == KeyboardXtree ? LayoutListAndTreeXtree : LayoutListAndTree;
    default:
      return LayoutTwoLists;
  }
}

ScreenPlan planScreen(const ScreenRequest& request) {
  ScreenPlan plan;
  const int columns = std::max(request.columns, 1);
  const int rows = std::max(request.rows, 3);
  const int bottom = bottomRowsOf(request);

  plan.topRow = {1, 1, columns, 1};
  plan.firstPanelRow = rows >= TitleRowMinimumRows ? 3 : 2;
  const int available = std::max(rows - (plan.firstPanelRow - 1) - bottom, 1);
  int height = available;
  if (request.smallWindows) {
    height = std::max(std::min(SmallPanelMinimumHeight, available), available * 2 / 3);
    plan.compactInfo = true;
  }
  plan.lastPanelRow = plan.firstPanelRow + height - 1;

  const int half = columns / 2;
  switch (request.layout) {
    case LayoutSingleList:
      plan.panels[0] = {1, plan.firstPanelRow, columns, height};
      break;
    case LayoutListAndTree:
    case LayoutListAndTreeXtree:
      plan.tree = {1, plan.firstPanelRow, half, height};
      plan.panels[0] = {half + 1, plan.firstPanelRow, columns - half, height};
      break;
    case LayoutTwoLists:
      plan.panels[0] = {1, plan.firstPanelRow, half, height};
      plan.panels[1] = {half + 1, plan.firstPanelRow, columns - half, height};
      break;
  }

  if (request.keyboard == KeyboardCommander) {
    plan.keyBar = {1, rows, columns, 1};
    if (request.commandWindow) plan.commandLine = {1, rows - 1, columns, 1};
  } else if (bottom > 0) {
    plan.labelRows = {1, rows - bottom + 1, columns, bottom};
  }
  return plan;
}

int openPanelWindow(WindowHandle& handle, const WindowRect& rect) {
  return openWindow(handle, rect.x, rect.y, rect.width, rect.height, color(ColorMainWindow),
                    color(ColorMainWindowFrame), PanelWindowFlags);
}

int openLoopScreen(LoopScreen& screen, const ScreenPlan& plan, bool twoLists) {
  screen.plan = plan;
  auto openBar = [](WindowHandle& handle, const WindowRect& rect, ColorAttr attr) {
    if (rect.empty()) return 0;
    return openWindow(handle, rect.x, rect.y, rect.width, rect.height, attr, attr, BarWindowFlags);
  };
  int result = openBar(screen.topRow, plan.topRow, color(ColorPulldown));
  // The directory tree draws into its area when it comes; until then a plain frame.
  if (!plan.tree.empty() &&
      openWindow(screen.tree, plan.tree.x, plan.tree.y, plan.tree.width, plan.tree.height,
                 color(ColorTreeWindow), color(ColorTreeFrame), WindowDouble | WindowClear) != 0)
    result = -1;
  if (openPanelWindow(screen.panelWindows[0], plan.panels[0]) != 0) result = -1;
  if (twoLists && !plan.panels[1].empty() &&
      openPanelWindow(screen.panelWindows[1], plan.panels[1]) != 0)
    result = -1;
  if (openBar(screen.labelRows, plan.labelRows, color(ColorPulldown)) != 0) result = -1;
  if (openBar(screen.commandLine, plan.commandLine, ColorAttr{0x07}) != 0) result = -1;
  if (openBar(screen.keyBarWindow, plan.keyBar, color(ColorPulldown)) != 0) result = -1;
  screen.keyBar.window = screen.keyBarWindow.get();
  screen.keyBar.form = KeyBarForm::Plain;
  return result;
}

void closeLoopScreen(LoopScreen& screen) {
  screen.keyBar.window = nullptr;
  freeWindow(screen.keyBarWindow);
  freeWindow(screen.commandLine);
  freeWindow(screen.labelRows);
  freeWindow(screen.panelWindows[1]);
  freeWindow(screen.panelWindows[0]);
  freeWindow(screen.tree);
  freeWindow(screen.topRow);
}

}  // namespace corvane
