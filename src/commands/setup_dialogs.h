// The setup menu's items and the selection dialogs behind them. A selection dialog is a
// pulldown with the current value preselected; choosing an entry stores its value in the
// setup block, marks the setup as changed and leaves what the loop must do next (re-sort,
// redraw, rebuild the screen) in the innermost loop.
#pragma once

#include "ui/pulldown.h"

namespace corvane {

// Which dialog a setup item opens.
enum SetupDialog : int {
  SetupPrograms = 0,
  SetupColors,
  SetupSort,
  SetupDarkScreen,
  SetupPreferences,
  SetupUserPulldown,
  SetupFunctionKeys,
  SetupDisplayMode,
  SetupClock,
  SetupDirectories,
  SetupFileDisplay,
  SetupVideoMode,
  SetupPrinter,
  SetupEmulation,
  SetupArchiver,
  SetupConfirmations,
  SetupSave,
  SetupDialogCount
};

// The item data of the setup items: SetupDefinitions[d] stands for dialog d.
inline constexpr int SetupDefinitions[SetupDialogCount] = {
    SetupPrograms,      SetupColors,       SetupSort,        SetupDarkScreen, SetupPreferences,
    SetupUserPulldown,  SetupFunctionKeys, SetupDisplayMode, SetupClock,      SetupDirectories,
    SetupFileDisplay,   SetupVideoMode,    SetupPrinter,     SetupEmulation,  SetupArchiver,
    SetupConfirmations, SetupSave};

// The handler of every setup item (data points into SetupDefinitions). Runs the dialog;
// MenuChosen after a choice or a save (the menus close), 0 after Escape (the setup menu stays
// open). Items whose dialogs do not exist yet give the rejection beep and keep the menu open.
int setupMenuItem(const void* data, int item);

// Runs one setup dialog directly ("#" runs the sort dialog): true when a value was chosen.
bool runSetupDialog(SetupDialog dialog);

// The values the selection dialogs store.
// Sort: the item of "^Unsorted" carries 8; every value above 5 is stored as 5.
int storedSortValue(int itemValue);

}  // namespace corvane
