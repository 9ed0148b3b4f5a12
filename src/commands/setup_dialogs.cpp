#include "commands/setup_dialogs.h"

#include <algorithm>
#include <span>
#include <string>

#include "commands/loop_state.h"
#include "commands/loop_texts.h"
#include "config/setup_block.h"
#include "config/setup_file.h"
#include "config/user_profile.h"
#include "platform/screen.h"

namespace corvane {
namespace {

constexpr int UnsortedItemValue = 8;
constexpr int DialogX = 40, DialogY = 6;

constexpr MenuItem SortItems[] = {
    {.label = TextSortAlphabetic, .command = 0},
    {.label = TextSortSize, .command = 1},
    {.label = TextSortDate, .command = 2},
    {.label = TextSortExtension, .command = 3},
    {.label = TextSortMode, .command = 4},
    {.label = TextSortUnsorted, .command = UnsortedItemValue},
};
constexpr MenuItem ProfileItems[] = {
    {.label = TextProfileBeginner, .command = ProfileBeginner},
    {.label = TextProfileAdvanced, .command = ProfileAdvanced},
    {.label = TextProfileProfessional, .command = ProfileProfessional},
};
constexpr MenuItem LayoutItems[] = {
    {.label = TextSingleFilelist, .command = LayoutSingleList},
    {.label = TextFilelistAndTree, .command = LayoutListAndTree},
    {.label = TextTwoFilelists, .command = LayoutTwoLists},
};
constexpr MenuItem CommandWindowItems[] = {
    {.label = TextWithCommandWindow, .command = 0},
    {.label = TextWithoutCommandWindow, .command = 1},
};
constexpr MenuItem FileDisplayItems[] = {
    {.label = TextShortFileDisplay, .command = 0},
    {.label = TextLongWithAttributes, .command = 1},
    {.label = TextLongWithoutAttributes, .command = 2},
};
constexpr MenuItem ScreenSizeItems[] = {
    {.label = TextScreen80x25, .command = 0},
    {.label = TextScreen80x50, .command = 1},
    {.label = TextScreen80x60, .command = 2},
};
constexpr MenuItem KeyboardItems[] = {
    {.label = TextLayoutCorvane, .command = KeyboardCorvane},
    {.label = TextLayoutCommander, .command = KeyboardCommander},
    {.label = TextLayoutXtree, .command = KeyboardXtree},
};

// A title as the frame shows it: the caret that marks its hotkey is not drawn.
std::string_view shownTitle(std::string_view title) {
  return !title.empty() && title.front() == '^' ? title.substr(1) : title;
}

// Runs a selection pulldown with the item of the current value highlighted. True with the
// chosen item's value, false after Escape.
bool selectValue(std::string_view title, std::span<const MenuItem> items, int current,
                 int& chosen) {
  PulldownMenu menu;
  menu.x = std::min(DialogX, std::max(screenColumns() - 40, 1));
  menu.y = DialogY;
  menu.items = items;
  menu.title = shownTitle(title);
  menu.showTitle = !title.empty();
  menu.currentItem = 0;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].command == current) menu.currentItem = static_cast<int>(i);
  int command = 0;
  if (runPulldown(menu, command) != MenuChosen) return false;
  chosen = command;
  return true;
}

// Stores a 16-bit setup value and marks the setup as changed.
void store(SetupWord& field, int value) {
  field.set(static_cast<std::uint16_t>(value));
  markSetupChanged();
}

LoopContext* innermost() { return programState().innermost; }

void requestRebuild() {
  if (LoopContext* loop = innermost()) loop->exitRequest = LoopRebuild;
}

bool sortDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue(TitleSortmode, SortItems,
                   block.sortMode.get() >= 5 ? UnsortedItemValue : block.sortMode.get(), value))
    return false;
  store(block.sortMode, storedSortValue(value));
  if (LoopContext* loop = innermost()) {
    loop->reread = RereadResort;
    loop->otherRequest = OtherResort;
  }
  return true;
}

bool profileDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue(TitleUserprofile, ProfileItems, block.userProfile.get(), value)) return false;
  store(block.userProfile, value);
  applyProfile(value);
  if (LoopContext* loop = innermost()) loop->barDirty = true;
  return true;
}

bool fileDisplayDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue({}, FileDisplayItems, block.fileDisplay.get(), value)) return false;
  store(block.fileDisplay, value);
  if (LoopContext* loop = innermost()) {
    Panel& panel = *loop->current.panel;
    panel.displayBits = (panel.displayBits & ~DisplayModeBits) | displayBitsForSetting(value);
    loop->reread = RereadRedraw;
  }
  return true;
}

// The screen layout and then the command window; both rebuild the screen.
bool windowsDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  bool chosen = false;
  if (selectValue({}, LayoutItems, block.screenLayout.get(), value)) {
    store(block.screenLayout, value);
    programState().windowLayoutChoice = value;
    chosen = true;
  }
  if (selectValue({}, CommandWindowItems, block.commandWindow.get(), value)) {
    store(block.commandWindow, value);
    chosen = true;
  }
  if (chosen) requestRebuild();
  return chosen;
}

bool screenSizeDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue({}, ScreenSizeItems, block.screenSize.get(), value)) return false;
  store(block.screenSize, value);
  requestRebuild();
  return true;
}

bool keyboardDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue({}, KeyboardItems, keyboardLayout(), value)) return false;
  store(block.keyboardLayout, value);
  applyKeyboardLayout(keyboardLayout());
  requestRebuild();
  return true;
}

}  // namespace

int storedSortValue(int itemValue) { return std::clamp(itemValue, 0, 5); }

bool runSetupDialog(SetupDialog dialog) {
  switch (dialog) {
    case SetupSort:
      return sortDialog();
    case SetupPreferences:
      return profileDialog();
    case SetupDisplayMode:
      return fileDisplayDialog();
    case SetupFileDisplay:
      return windowsDialog();
    case SetupVideoMode:
      return screenSizeDialog();
    case SetupEmulation:
      return keyboardDialog();
    case SetupSave:
      if (!programState().setupPath.empty() && saveSetup(programState().setupPath))
        clearSetupChanged();
      return true;
    default:
      rejectBeep();
      return false;
  }
}

int setupMenuItem(const void* data, int) {
  const int dialog = data != nullptr ? *static_cast<const int*>(data) : -1;
  if (dialog < 0 || dialog >= SetupDialogCount) return 0;
  return runSetupDialog(static_cast<SetupDialog>(dialog)) ? MenuChosen : 0;
}

}  // namespace corvane
