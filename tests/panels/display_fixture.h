// A headless console with a panel window to draw into, for the display tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "list_test_helpers.h"
#include "panels/panel.h"
#include "panels/panel_geometry.h"
#include "platform/color.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"
#include "ui/window.h"

namespace corvane::testing {

inline std::uint16_t dosDate(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}
inline std::uint16_t dosTime(int hour, int minute) {
  return static_cast<std::uint16_t>((hour << 11) | (minute << 5));
}

// Appends n files "f00.txt", "f01.txt" ... of sizes 0, 1 ..., counts the panel and puts
// cursor and top on the head.
inline void appendFiles(Panel& panel, int n) {
  for (int i = 0; i < n; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "f%02d.txt", i);
    append(panel.list, fileEntry(name, static_cast<std::uint64_t>(i)));
  }
  countList(panel);
  panel.cursor = panel.top = panel.list.head;
}

class DisplayTest : public HeadlessTest {
 protected:
  DisplayTest() { resetKeyReader(); }
  ~DisplayTest() override { clearMouseZones(); }

  // Opens a double-framed window of the given interior size at screen column 0, row 1 and
  // gives it to the panel.
  void giveWindow(Panel& panel, int columns, int rows, WindowHandle& handle) {
    ASSERT_EQ(openWindow(handle, 1, 2, columns + 2, rows + 2, color(ColorMainWindow),
                         color(ColorMainWindowFrame), WindowDouble | WindowClear),
              0);
    panel.window = handle.get();
  }
  void giveWindow(Panel& panel, int columns, int rows) {
    giveWindow(panel, columns, rows, window_);
  }

  // Text of cells cells from the 1-based interior (column, row) of the panel window.
  std::string cellText(const Panel& panel, int column, int row, int cells) const {
    return imageText(panel.window->x + column, panel.window->y + row, cells);
  }
  ColorAttr cellAttr(const Panel& panel, int column, int row) const {
    return imageAttr(panel.window->x + column, panel.window->y + row);
  }

  static void addFiles(Panel& panel, int n) { appendFiles(panel, n); }

  WindowHandle window_;
};

}  // namespace corvane::testing
