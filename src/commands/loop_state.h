// The state of the command loop: what lives for the whole program (layout choices, nesting
// counters, the innermost loop) and what each loop keeps for its panel.
#pragma once

#include <memory>
#include <string>

#include "actions/command_context.h"
#include "actions/command_ids.h"
#include "panels/cursor_memory.h"
#include "panels/panel.h"
#include "panels/panel_geometry.h"
#include "ui/window.h"

namespace corvane {

struct LoopContext;
struct LoopScreen;

// Lives for the whole run, across the restarts of the loop.
struct ProgramState {
  std::string setupPath;
  std::string osText;
  int windowLayoutChoice = -1;  // 0 or 3 (or 1); -1 until taken from the setup
  bool smallWindows = false;    // the small arrangement of Ctrl-Q
  bool panelsHidden = false;    // all windows off (Ctrl-O)
  int panelLoops = 0;           // nesting counters
  int globalLoops = 0;
  // The directories of the two panels when the outermost loop last ended, so that a restart
  // shows them again.
  std::string lastDirectory1, lastDirectory2;
  LoopContext* innermost = nullptr;
  // The outermost loop's two panels (left, right) with their lists, marks, cursors and
  // display modes, the active one and the per-drive memory: a restart of the loop (window
  // layout, big/small, user menu) shows them again as they were.
  std::unique_ptr<Panel> panels[2];
  int activePanel = 0;
  DriveCursorMemory driveMemory;
  // The user left the "too small" screen with Esc: the loops end through the normal exit.
  bool leaveRequested = false;
  // The active panel's directory when the outermost loop ended the program ("" before).
  std::string endDirectory;
};
ProgramState& programState();
// The sum of the nesting counters (1 while only the outermost loop runs).
int nestingLevel();
inline constexpr int MaxNesting = 20;

// A panel as one loop shows it.
struct PanelView {
  Panel* panel = nullptr;
  int cursorIndex = 0;   // index of panel.cursor in the list
  int lastPercent = -1;  // position marker drawn last (-1: draw it)
};

struct LoopContext : CommandContext {
  PanelView current;
  PanelView other;  // panel null when there is no other panel
  bool outermost = true;
  bool globalList = false;

  Panel& currentPanel() override { return *current.panel; }
  Panel* otherPanel() override { return globalList ? nullptr : other.panel; }
  const Panel* panelBeside() override { return viewBeside().panel; }
  // The view of the panel beside the current one: a global list's loop has none of its own,
  // the one on the screen belongs to the loop the list was opened from.
  PanelView& viewBeside() {
    return other.panel == nullptr && globalList && outer != nullptr ? outer->other : other;
  }
  bool inGlobalList() const override { return globalList; }
  int runNestedLoop(Panel& panel) override;

  // Read without the " Reading directory " note: the idle refresh must not count as user
  // activity (the note's text would), or the screen saver could never start.
  bool quietRead = false;
  std::string previousDirectory;
  DriveCursorMemory driveMemory;

  bool autoview = false;
  bool autoviewShown = false;  // the other panel's window shows the file under the cursor
  bool treeFocus = false;
  int functionKeyPage = 0;
  CommandId pending = 0;
  // The key's translation asked already which form is meant (Ctrl-F9): the loop does not
  // ask again.
  bool formChosen = false;
  std::string locateText;
  // The bottom rows must be drawn again (layout of the labels, bar form or page changed).
  bool barDirty = true;
  std::string promptDirectory;  // the directory the command line's prompt shows

  LoopContext* outer = nullptr;  // the loop this one is nested in
  LoopScreen* screen = nullptr;  // the windows of the outermost loop
  WindowHandle nestedWindow;     // a nested loop's own panel window
  WindowHandle functionKeyWindow;
  WindowHandle hiddenCover;  // over the panels while all windows are off
  // The partner a nested loop of the two-list layout creates at the first Tab.
  std::unique_ptr<Panel> createdOther;
  WindowHandle createdOtherWindow;
};

// Makes a layout active everywhere it matters: key reader, clock, line input.
void applyKeyboardLayout(KeyboardLayout layout);

// The geometry of a panel in its window with the current settings.
PanelGeometry geometryOf(const Panel& panel);

// Display bits of the setup's file display value (0 short, 1 long with attributes, 2 long
// without) and back.
int displayBitsForSetting(int fileDisplay);
int settingForDisplayBits(int displayBits);

}  // namespace corvane
