// Pulldown menus. A menu is data: a descriptor (position, minimum width, title, the highlighted
// item) over a constant array of item records, run by one routine. An item either hands its
// command back to the caller or calls its handler in place (option setters that change a
// variable and keep the menu logic generic).
//
//   constexpr MenuItem SortItems[] = {
//       {.label = " ^Name", .helpContext = 25, .command = CmdSortName},
//       menuSeparator(),
//       {.label = " ^Size", .handler = setSort, .data = &SortBySize, .helpContext = 28},
//   };
//   PulldownMenu SortMenu{.x = 10, .y = 3, .items = SortItems};  // keeps its current item
#pragma once

#include <span>
#include <string_view>

#include "platform/keycodes.h"

namespace corvane {

// Results of runPulldown. Item handlers return MenuChosen to close the menu.
inline constexpr int MenuChosen = 12345;
inline constexpr int MenuCancelled = key::Escape;
inline constexpr int MenuLeft = key::Left;  // the user asks for the neighbouring pulldown
inline constexpr int MenuRight = key::Right;

inline constexpr int MaxPulldownItems = 25;
// Mouse-zone code of the first item (or bar entry); the next ones follow.
inline constexpr KeyCode MenuItemCode = 0x0500;

// Called with (data, item index) when the item is chosen; MenuChosen closes the menu, any
// other result keeps it open for another choice.
using MenuHandler = int (*)(const void* data, int item);

// An item whose data points at this value is a separator line. Items are told apart by the
// address, not by reading through their data (which may point at anything).
inline constexpr int MenuSeparatorValue = 0x7FFF;

struct MenuItem {
  std::string_view label{};       // hotkey label; only its first caret counts
  MenuHandler handler = nullptr;  // none: the command goes back to the caller
  const void* data = nullptr;     // handed to the handler; &MenuSeparatorValue: a separator
  int helpContext = 0;            // the menu window's help page while the item is highlighted
  int command = 0;                // returned when the item has no handler
};

constexpr MenuItem menuSeparator() { return MenuItem{.data = &MenuSeparatorValue}; }
inline bool isSeparator(const MenuItem& item) { return item.data == &MenuSeparatorValue; }

struct PulldownMenu {
  int x = 1, y = 1;          // top-left corner, 1-based (a menu bar sets them for its pulldowns)
  int minimumWidth = 0;      // the inner width is at least this, else the longest label
  int currentItem = 0;       // the highlighted item, kept from one run to the next
  std::string_view title{};  // bar label in a menu bar; shown in the top frame with showTitle
  bool showTitle = false;
  // Menu-bar use: called with (handlerData, bar entry index) instead of opening the pulldown;
  // its result is taken as the pulldown's.
  MenuHandler handler = nullptr;
  const void* handlerData = nullptr;
  std::span<const MenuItem> items{};  // the first MaxPulldownItems are used
};

// Runs the pulldown until a choice or a cancel. Returns MenuChosen with the item's command in
// command (0 when a handler closed the menu), MenuCancelled on Escape or a click outside, or
// MenuLeft / MenuRight when the user moves on to a neighbouring menu (never in user-menu
// mode). command is 0 unless an item without handler was chosen. The screen under the menu
// is put back and no mouse zones are left registered.
[[nodiscard]] int runPulldown(PulldownMenu& menu, int& command);

// User-menu mode (set while start-up runs the user menu on its own): Left and Right do not
// leave a pulldown.
void setUserMenuMode(bool on);
bool userMenuMode();

// Cells a menu label takes on screen: its first marking caret is not shown.
int menuLabelCells(std::string_view label);

}  // namespace corvane
