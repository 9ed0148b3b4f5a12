#include "ui/pulldown.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "ui/hotkey_label.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

// The menu window of one run and what it needs to draw its items.
struct PulldownView {
  PulldownMenu& menu;
  ScreenWindow& window;
  int count = 0;       // items shown and reachable
  int innerWidth = 0;  // cells of an item line
};

// Draws one item line: a separator as a line joined to the frame, any other item padded to the
// inner width, in the Pulldown line colour when highlighted.
void drawItem(const PulldownView& view, int index, bool highlighted) {
  CurrentWindowScope scope(view.window);
  const MenuItem& item = view.menu.items[static_cast<std::size_t>(index)];
  if (isSeparator(item)) {
    separatorLine(&view.window, 0, index + 1);
    return;
  }
  const ColorAttr saved = view.window.textColor;
  if (highlighted) view.window.textColor = color(ColorPulldownLine);
  writeText(item.label, view.innerWidth, 1, index + 1, WritePad | WriteHotkey);
  view.window.textColor = saved;
}

// One zone per item line (its interior cells) and the fallback that turns a click anywhere
// else into Escape.
void registerItemZones(const PulldownView& view) {
  std::array<MouseZone, MaxPulldownItems + 1> zones{};
  for (int i = 0; i < view.count; ++i) {
    MouseZone& zone = zones[static_cast<std::size_t>(i)];
    zone.x1 = windowScreenColumn(view.window, 1);
    zone.x2 = zone.x1 + view.innerWidth - 1;
    zone.y1 = zone.y2 = windowScreenRow(view.window, i + 1);
    zone.leftCode = MenuItemCode + i;
  }
  MouseZone& fallback = zones[static_cast<std::size_t>(view.count)];
  fallback.y1 = fallback.y2 = MouseZoneFallback;
  fallback.leftCode = key::Escape;
  registerMouseZones(
      std::span<const MouseZone>(zones.data(), static_cast<std::size_t>(view.count) + 1));
}

// The item a typed letter chooses: the first whose hotkey letter it is, or -1.
int itemOfLetter(const PulldownView& view, int letter) {
  if (letter == 0) return -1;
  for (int i = 0; i < view.count; ++i) {
    const MenuItem& item = view.menu.items[static_cast<std::size_t>(i)];
    if (!isSeparator(item) && hotkeyLetter(item.label) == letter) return i;
  }
  return -1;
}

// One step up or down, wrapping, with one more step when it lands on a separator.
int stepItem(const PulldownView& view, int from, int direction) {
  auto next = [&](int i) { return (i + direction + view.count) % view.count; };
  int to = next(from);
  if (isSeparator(view.menu.items[static_cast<std::size_t>(to)])) to = next(to);
  return to;
}

// Moves the window so that it fits on the screen where it can: a menu placed too far right or
// down would otherwise be cut by the window clipping and lose item lines.
void fitOnScreen(int& x, int& y, int width, int height) {
  if (x + width > screenColumns() + 1) x = std::max(1, screenColumns() + 1 - width);
  if (y + height > screenRows() + 1) y = std::max(1, screenRows() + 1 - height);
}

std::string withoutMarkingCaret(std::string_view label) {
  std::string text(label);
  std::size_t caret = text.find('^');
  if (caret != std::string::npos && caret + 1 < text.size()) text.erase(caret, 1);
  return text;
}

// Clears the zones on every return path: they must not outlive the menu.
struct ZoneScope {
  ~ZoneScope() { clearMouseZones(); }
};

}  // namespace

void setUserMenuMode(bool on) { uiState().userMenuMode = on; }
bool userMenuMode() { return uiState().userMenuMode; }

int menuLabelCells(std::string_view label) {
  std::size_t caret = label.find('^');
  bool marked = caret != std::string_view::npos && caret + 1 < label.size();
  return textCells(label) - (marked ? 1 : 0);
}

int runPulldown(PulldownMenu& menu, int& command) {
  command = 0;
  int count = static_cast<int>(std::min<std::size_t>(menu.items.size(), MaxPulldownItems));
  int innerWidth = std::max(menu.minimumWidth, 0);
  for (int i = 0; i < count; ++i) {
    const MenuItem& item = menu.items[static_cast<std::size_t>(i)];
    if (!isSeparator(item)) innerWidth = std::max(innerWidth, menuLabelCells(item.label));
  }

  int x = menu.x, y = menu.y;
  fitOnScreen(x, y, innerWidth + 2, count + 2);
  // The title is a bar label: its marking caret is not shown in the frame.
  std::string title;
  if (menu.showTitle) title = withoutMarkingCaret(menu.title);
  raiseHold(2);
  ScopedWindow window;
  if (window.open(x, y, innerWidth + 2, count + 2, color(ColorPulldown), color(ColorPulldownFrame),
                  WindowClear | WindowShadow | WindowSingle, title) != 0) {
    lowerHold(2);
    return MenuCancelled;
  }
  // A screen too small for the whole menu: only the lines inside the window exist.
  count = std::max(0, std::min(count, windowLastRow(*window)));
  innerWidth = std::min(innerWidth, windowLastColumn(*window));
  PulldownView view{menu, *window, count, innerWidth};

  if (count > 0) {
    menu.currentItem = std::clamp(menu.currentItem, 0, count - 1);
    // Something must be highlighted: a remembered separator gives way to the next item.
    for (int tries = 0;
         tries < count && isSeparator(menu.items[static_cast<std::size_t>(menu.currentItem)]);
         ++tries)
      menu.currentItem = (menu.currentItem + 1) % count;
  } else {
    menu.currentItem = 0;
  }
  for (int i = 0; i < count; ++i) drawItem(view, i, i == menu.currentItem);
  lowerHold(2);
  if (holdLevel() == 0) flushWindowRect(window->x, window->y, window->width, window->height);

  ZoneScope zoneScope;
  for (;;) {
    const int before = menu.currentItem;
    if (count > 0) window->helpContext = menu.items[static_cast<std::size_t>(before)].helpContext;
    registerItemZones(view);
    const KeyCode key = readKey();

    int chosen = -1;  // the item to run as with Enter
    switch (key) {
      case key::Escape:
        return MenuCancelled;
      case key::Home:
        if (count > 0) menu.currentItem = 0;
        break;
      case key::End:
        if (count > 0) menu.currentItem = count - 1;
        break;
      case key::Up:
        if (count > 0) menu.currentItem = stepItem(view, before, -1);
        break;
      case key::Down:
        if (count > 0) menu.currentItem = stepItem(view, before, +1);
        break;
      case key::Left:
      case key::Right:
        if (!uiState().userMenuMode) return key;
        rejectBeep();
        break;
      case key::Enter:
        chosen = before;
        break;
      case key::ModifierEvent:
      case key::IdleEvent:
        break;
      default:
        if (key >= MenuItemCode && key < MenuItemCode + count) {
          chosen = key - MenuItemCode;
        } else if (int item = itemOfLetter(view, typedLetter(key)); item >= 0) {
          chosen = item;
        } else {
          rejectBeep();
        }
        break;
    }

    bool handlerRan = false;
    if (chosen >= 0 && chosen < count) {
      const MenuItem& item = menu.items[static_cast<std::size_t>(chosen)];
      if (!isSeparator(item)) {
        menu.currentItem = chosen;
        if (item.handler == nullptr) {
          command = item.command;
          return MenuChosen;
        }
        if (before != chosen) {
          drawItem(view, before, false);
          drawItem(view, chosen, true);
        }
        if (item.handler(item.data, chosen) == MenuChosen) return MenuChosen;
        handlerRan = true;
      }
    }
    if (handlerRan) {
      // The handler may have changed what its line shows.
      drawItem(view, menu.currentItem, true);
    } else if (menu.currentItem != before) {
      drawItem(view, before, false);
      drawItem(view, menu.currentItem, true);
    }
  }
}

}  // namespace corvane
