// The mutable state of the command loop's folder, in one record: what lives for the whole run
// (ProgramState), the COMMANDER command line, the "Goto :" text, and the menus, which keep
// their highlighted entries from one use to the next. Only the main thread touches it. Tests
// start from resetCommandsState().
#pragma once

#include <array>
#include <memory>
#include <string>

#include "commands/command_line.h"
#include "commands/loop_state.h"
#include "ui/menu_bar.h"

namespace corvane {

// One menu bar and its five pulldowns; the bar points into the record, which therefore stays
// where it was built.
struct MenuBarSet {
  std::array<PulldownMenu, 5> menus;
  std::array<PulldownMenu*, 5> entries{};
  MenuBar bar;
  MenuBarSet() = default;
  MenuBarSet(const MenuBarSet&) = delete;
  MenuBarSet& operator=(const MenuBarSet&) = delete;
};

// The function-key form while it runs (its "Next Functionkeys" button turns its pages).
struct FunctionKeyForm;

struct CommandsState {
  ProgramState program;
  CommandLine commandLine;
  std::string gotoText;                                  // the text typed into "Goto :" last time
  std::unique_ptr<MenuBarSet> corvaneBar, commanderBar;  // built at first use
  int actualOrSelectedItem = 0;  // the highlighted items of the two small choices
  int renameOrMoveItem = 0;
  int switchColumns = 0, switchRows = 0;  // the /S and /Z switches (0: the terminal's size)
  FunctionKeyForm* functionKeyForm = nullptr;
};

CommandsState& commandsState();
// Back to the state of a fresh start (the line input, key reader and toolkit are not touched).
void resetCommandsState();

}  // namespace corvane
