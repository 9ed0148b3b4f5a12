// What a command sees of the loop that runs it: the current panel and its partner, and the
// requests it leaves for the loop's next pass. Commands of every folder take this context and
// return LoopContinue or the code the loop ends with (command_ids.h); they never redraw the
// panels themselves.
#pragma once

#include <string>

#include "actions/command_ids.h"
#include "panels/panel.h"

namespace corvane {

// Re-read requests for the current panel, left by a command for the next pass.
enum RereadRequest : int {
  RereadNone = 0,
  RereadPrevious = 1,   // back to the directory shown before, then re-read
  RereadIfChanged = 2,  // check the drive; re-read only when the directory changed
  RereadInPlace = 3,
  RereadRecount = 4,  // counters again, the page placed around the cursor
  RereadResort = 5,
  RereadRedraw = 6,
};

// Requests for the other panel of the two-list layout.
enum OtherRequest : int {
  OtherNone = 0,
  OtherIfSameDirectory = 2,  // re-read when it shows the current panel's directory
  OtherAlways = 3,
  OtherResort = 5,  // the sort order changed: re-sort it in place and redraw
  OtherRedraw = 6,
};

// Where the cursor goes after a re-read.
enum CursorPlacement : int {
  PlaceFirst = 0,
  PlaceRemembered = 1,   // the name remembered for this drive, if still listed
  PlaceDriveChange = 2,  // the same after a change of drive
  PlaceLeftDirectory = 3,
};

// The loop's side of a command. The loop implements it; tests of a folder's commands
// implement it over panels of their own.
struct CommandContext {
  CommandContext() = default;
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;
  virtual ~CommandContext() = default;

  // The panel the command works on, and the other panel of the two-list layout (nullptr
  // when there is none, or while a global list runs).
  virtual Panel& currentPanel() = 0;
  virtual Panel* otherPanel() = 0;
  // The panel on the screen beside the current one, also while a global list runs (then the
  // one beside the panel the list was opened from): where a command's changes must show.
  virtual const Panel* panelBeside() { return otherPanel(); }
  // The current panel is a global list (names are full paths).
  virtual bool inGlobalList() const = 0;
  // Runs a nested loop over a panel the command filled (an archive listing, a list of found
  // files) in the current panel's window; returns LoopContinue, or the rebuild code the
  // nested loop ended with. The panel's directory is current again afterwards.
  virtual int runNestedLoop(Panel& panel) = 0;

  // Requests for the next pass.
  int reread = RereadIfChanged;
  bool freshRead = false;  // read the directory from scratch (the mask changed)
  int otherRequest = OtherNone;
  int placement = PlaceRemembered;
  std::string leftDirectory;  // for PlaceLeftDirectory
  // A result the loop leaves with after the current command (a setup dialog asked for a
  // rebuild); 0 for none.
  int exitRequest = 0;
  // A key a window of the command handed back (the tree window's keys that belong to the
  // loop): the next pass takes it instead of reading one, translated as a key read.
  KeyCode pendingKey = 0;
};

// The entry under the cursor of the current panel.
inline FileNode& cursorNode(CommandContext& context) {
  Panel& panel = context.currentPanel();
  return panel.list.nodes[panel.cursor];
}

}  // namespace corvane
