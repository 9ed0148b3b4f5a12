// The mutable state of the toolkit, in one record: the window stack, the open help viewer,
// the user-menu mode of the pulldowns, the pre-built error window and the input history.
// Only the main thread touches it. Tests start from resetUiState().
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "ui/input_history.h"
#include "ui/line_input.h"
#include "ui/window.h"

namespace corvane {

struct HistoryState {
  std::vector<HistoryEntry> entries;
  bool loaded = false;
  std::string path;  // empty: in memory only
  bool saving = false;
  bool record = true;
  // The texts of the file as this program last read or wrote it, and the texts added here
  // since: what another instance added meanwhile is what the file holds beyond the first.
  std::unordered_set<std::string> fileTexts;
  std::unordered_set<std::string> addedTexts;
};

// The line input's modes shared by every field: insert or type-over, the character class
// of the field being edited, and the COMMANDER layout's key rules.
struct LineInputState {
  bool insert = false;
  int characterClass = CharacterClassText;
  bool commander = false;
};

struct UiState {
  // The window stack: the current (topmost) window, the teletype's wrap and scroll state,
  // the counter that orders windows, and whether they are lifted off the screen.
  ScreenWindow* currentWindow = nullptr;
  bool noWrap = false;
  int scrollCount = 0;
  int stackCounter = 0;
  bool windowsLifted = false;

  int frameStyle = 0;         // 0 not chosen yet, 1 graphic, 2 ASCII (chosen once at start)
  bool helpOpen = false;      // F1 inside the help viewer opens nothing
  std::string helpPath;       // the help file ("" for none)
  bool userMenuMode = false;  // pulldowns of the user menu: Left and Right beep
  WindowHandle errorWindow;   // the pre-built window of the console error report
  HistoryState history;
  LineInputState lineInput;
};

UiState& uiState();
// Back to the state of a fresh start: the error window's record is released without drawing,
// other windows still open are forgotten.
void resetUiState();

}  // namespace corvane
