#include "ui/menu_bar.h"

#include <algorithm>
#include <vector>

#include "platform/color.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "ui/hotkey_label.h"

namespace corvane {
namespace {

// Entries up to the first empty one (a table may end with an empty entry).
int entryCount(const MenuBar& bar) {
  int count = 0;
  for (PulldownMenu* menu : bar.menus) {
    if (menu == nullptr) break;
    ++count;
  }
  return count;
}

// The bar window of one run and the label columns in it.
struct BarView {
  MenuBar& bar;
  ScreenWindow& window;
  const std::vector<int>& columns;
  int count = 0;
};

const PulldownMenu& entry(const MenuBar& bar, int index) {
  return *bar.menus[static_cast<std::size_t>(index)];
}

void drawLabel(const BarView& view, int index, bool highlighted) {
  CurrentWindowScope scope(view.window);
  std::string_view title = entry(view.bar, index).title;
  const ColorAttr saved = view.window.textColor;
  if (highlighted) view.window.textColor = color(ColorPulldownLine);
  writeText(title, menuLabelCells(title), view.columns[static_cast<std::size_t>(index)], 1,
            WriteHotkey);
  view.window.textColor = saved;
}

// All labels under one flush of the bar row; highlight is the entry drawn highlighted (-1:
// none).
void drawLabels(const BarView& view, int highlight) {
  raiseHold(2);
  for (int i = 0; i < view.count; ++i) drawLabel(view, i, i == highlight);
  lowerHold(2);
  if (holdLevel() == 0)
    flushWindowRect(view.window.x, view.window.y, view.window.width, view.window.height);
}

// One zone per label on the bar row, and the fallback that turns a click elsewhere into
// Escape.
void registerLabelZones(const BarView& view) {
  std::vector<MouseZone> zones(static_cast<std::size_t>(view.count) + 1);
  for (int i = 0; i < view.count; ++i) {
    MouseZone& zone = zones[static_cast<std::size_t>(i)];
    zone.x1 = windowScreenColumn(view.window, view.columns[static_cast<std::size_t>(i)]);
    zone.x2 = zone.x1 + std::max(menuLabelCells(entry(view.bar, i).title), 1) - 1;
    zone.y1 = zone.y2 = windowScreenRow(view.window, 1);
    zone.leftCode = MenuItemCode + i;
  }
  MouseZone& fallback = zones.back();
  fallback.y1 = fallback.y2 = MouseZoneFallback;
  fallback.leftCode = key::Escape;
  registerMouseZones(zones);
}

// The entry whose title has the letter as hotkey, or -1.
int entryOfLetter(const MenuBar& bar, int count, int letter) {
  if (letter == 0) return -1;
  for (int i = 0; i < count; ++i)
    if (hotkeyLetter(entry(bar, i).title) == letter) return i;
  return -1;
}

// Opens the entry's pulldown, or calls its handler, whose result counts as the pulldown's.
int openEntry(MenuBar& bar, int index, int& command) {
  PulldownMenu& menu = *bar.menus[static_cast<std::size_t>(index)];
  command = 0;
  if (menu.handler != nullptr) return menu.handler(menu.handlerData, index);
  return runPulldown(menu, command);
}

int barWidth(const MenuBar& bar) {
  return bar.width == MenuBarFullWidth ? screenColumns() : bar.width;
}

// How the open pulldown was reached: after a letter, a click or a direct Alt key, Escape in
// the pulldown closes the whole bar; after Enter it goes back to the bar.
enum class OpenedBy { Enter, Letter };

}  // namespace

void layoutMenuBar(MenuBar& bar, std::span<int> columns) {
  const int count = entryCount(bar);
  int column = 2;
  for (int i = 0; i < count; ++i) {
    PulldownMenu& menu = *bar.menus[static_cast<std::size_t>(i)];
    if (static_cast<std::size_t>(i) < columns.size()) columns[static_cast<std::size_t>(i)] = column;
    menu.x = bar.x + column - 1;
    menu.y = bar.y + 1;
    column += menuLabelCells(menu.title) + 1;
  }
}

void dropMenuBar(MenuBar& bar) {
  if (!bar.shown) return;
  dropWindow(bar.shown);  // unlinking makes the window below it current again
  if (ScreenWindow* current = currentWindow()) activateWindow(*current);
}

int runMenuBar(MenuBar& bar, KeyCode directAltKey, MenuBarMode mode) {
  const int count = entryCount(bar);
  std::vector<int> columns(static_cast<std::size_t>(count));
  layoutMenuBar(bar, columns);

  if (directAltKey != 0 && entryOfLetter(bar, count, altLetter(directAltKey)) < 0)
    return directAltKey;

  dropMenuBar(bar);  // a bar still held from a show-only run
  bar.currentEntry = count > 0 ? std::clamp(bar.currentEntry, 0, count - 1) : 0;
  const bool showOnly = mode == MenuBarMode::ShowOnly;

  ScopedWindow window;
  raiseHold(2);
  if (window.open(bar.x, bar.y, barWidth(bar), 1, color(ColorPulldown), color(ColorPulldownFrame),
                  WindowClear) != 0) {
    lowerHold(2);
    return 0;
  }
  BarView view{bar, *window, columns, count};
  drawLabels(view, showOnly ? -1 : bar.currentEntry);

  if (showOnly && directAltKey == 0) {
    bar.shown = std::move(window.handle());
    return 0;
  }

  // The bar of a show-only run starts without a highlight, also on the current entry.
  int highlighted = showOnly ? -1 : bar.currentEntry;
  auto moveTo = [&](int index) {
    bar.currentEntry = index;
    if (index == highlighted) return;
    if (highlighted >= 0) drawLabel(view, highlighted, false);
    highlighted = index;
    drawLabel(view, index, true);
  };
  auto neighbour = [&](KeyCode direction) {
    return (bar.currentEntry + (direction == key::Left ? count - 1 : 1)) % count;
  };

  int chosen = 0;
  KeyCode pending = directAltKey;
  for (bool done = false; !done;) {
    registerLabelZones(view);
    const KeyCode key = pending != 0 ? pending : readKey();
    pending = 0;

    int open = -1;
    OpenedBy openedBy = OpenedBy::Letter;
    if (key == key::Escape || key == 0) break;
    if (key == key::IdleEvent || key == key::ModifierEvent) continue;
    if (count > 0 && (key == key::Left || key == key::Right)) {
      moveTo(neighbour(key));
      continue;
    }
    if (count > 0 && key == key::Enter) {
      open = bar.currentEntry;
      openedBy = OpenedBy::Enter;
    } else if (key >= MenuItemCode && key < MenuItemCode + count) {
      open = key - MenuItemCode;
    } else {
      int letter = typedLetter(key);
      if (letter == 0) letter = altLetter(key);
      open = entryOfLetter(bar, count, letter);
    }
    if (open < 0) {
      if (directAltKey != 0) break;
      rejectBeep();
      continue;
    }

    moveTo(open);
    int command = 0;
    int result = openEntry(bar, bar.currentEntry, command);
    while (result == MenuLeft || result == MenuRight) {
      moveTo(neighbour(result));
      result = openEntry(bar, bar.currentEntry, command);
    }
    if (result == MenuChosen) {
      chosen = command;
      done = true;
    } else if (result == MenuCancelled && openedBy == OpenedBy::Letter) {
      done = true;
    }
  }
  clearMouseZones();

  if (showOnly) {
    // The bar stays on screen as the caller shows it, without a highlight.
    drawLabels(view, -1);
    dropWindow(window.handle());
    if (ScreenWindow* current = currentWindow()) activateWindow(*current);
  }
  return chosen;
}

}  // namespace corvane
