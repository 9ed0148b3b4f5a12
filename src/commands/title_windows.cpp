#include "commands/title_windows.h"

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/product.h"
#include "platform/screen.h"

namespace corvane {
namespace {

constexpr int TitleColumn = 53;  // 1-based, on screen row 2
constexpr int TitleRow = 2;

// The Background colour with foreground and background swapped; white on red when the two
// are equal.
ColorAttr titleColor() {
  ColorAttr background = color(ColorBackground);
  ColorAttr swapped = static_cast<ColorAttr>(((background & 0x0F) << 4) | (background >> 4));
  return (background & 0x0F) == (background >> 4) ? ColorAttr{0x4F} : swapped;
}

int titleWidth() { return textCells(ProductTitle) + 3; }
int systemWidth(const TitleWindows& windows) { return textCells(windows.osText) + 1; }
int systemColumn(const TitleWindows& windows) { return screenColumns() - systemWidth(windows) + 1; }

void drawTitle(ScreenWindow& window) {
  CurrentWindowScope scope(window);
  writeText(ProductTitle, titleWidth() - 2, 2, 1, WritePad);
}

void drawSystem(ScreenWindow& window, const TitleWindows& windows) {
  CurrentWindowScope scope(window);
  writeText(windows.osText, systemWidth(windows) - 1, 1, 1, WritePad);
}

// Their relayout hook: the background fills the screen, the system's name stays at the
// right edge.
void relayoutTitleWindow(ScreenWindow& window, void* owner) {
  TitleWindows& windows = *static_cast<TitleWindows*>(owner);
  if (&window == windows.background.get()) {
    moveWindow(window, 1, 1, screenColumns(), screenRows());
  } else if (&window == windows.title.get()) {
    moveWindow(window, TitleColumn, TitleRow, titleWidth(), 1);
    drawTitle(window);
  } else if (&window == windows.system.get()) {
    moveWindow(window, systemColumn(windows), TitleRow, systemWidth(windows), 1);
    drawSystem(window, windows);
  }
}

void adopt(WindowHandle& handle, TitleWindows& windows) {
  if (!handle) return;
  handle->relayout = relayoutTitleWindow;
  handle->relayoutOwner = &windows;
}

}  // namespace

void openTitleWindows(TitleWindows& windows, bool ownLayout, std::string_view osText) {
  windows.osText = osText;
  if (ownLayout && openWindow(windows.background, 1, 1, screenColumns(), screenRows(),
                              color(ColorBackground), color(ColorBackground), WindowClear) == 0) {
    adopt(windows.background, windows);  // cleared by the open
  }
  if (openWindow(windows.title, TitleColumn, TitleRow, titleWidth(), 1, titleColor(), titleColor(),
                 WindowClear) == 0) {
    adopt(windows.title, windows);
    drawTitle(*windows.title);
  }
  if (openWindow(windows.system, systemColumn(windows), TitleRow, systemWidth(windows), 1,
                 color(ColorPulldown), color(ColorPulldown), WindowClear) == 0) {
    adopt(windows.system, windows);
    drawSystem(*windows.system, windows);
  }
}

void closeTitleWindows(TitleWindows& windows) {
  freeWindow(windows.system);
  freeWindow(windows.title);
  freeWindow(windows.background);
}

}  // namespace corvane
