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

}  // namespace

void openTitleWindows(TitleWindows& windows, bool ownLayout, std::string_view osText) {
  if (ownLayout && openWindow(windows.background, 1, 1, screenColumns(), screenRows(),
                              color(ColorBackground), color(ColorBackground), WindowClear) == 0) {
    // cleared by the open
  }
  int titleWidth = textCells(ProductTitle) + 3;
  if (openWindow(windows.title, TitleColumn, TitleRow, titleWidth, 1, titleColor(), titleColor(),
                 WindowClear) == 0) {
    writeText(ProductTitle, titleWidth - 2, 2, 1, WritePad);
  }
  int osWidth = textCells(osText) + 1;
  if (openWindow(windows.system, screenColumns() - osWidth + 1, TitleRow, osWidth, 1,
                 color(ColorPulldown), color(ColorPulldown), WindowClear) == 0) {
    writeText(osText, osWidth - 1, 1, 1, WritePad);
  }
}

void closeTitleWindows(TitleWindows& windows) {
  freeWindow(windows.system);
  freeWindow(windows.title);
  freeWindow(windows.background);
}

}  // namespace corvane
