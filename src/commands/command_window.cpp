#include "commands/command_window.h"

#include <algorithm>

#include "commands/command_line.h"
#include "commands/external_commands.h"
#include "commands/screen_layout.h"
#include "config/setup_block.h"
#include "exec/command_template.h"
#include "exec/run_command.h"
#include "exec/shell_words.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/session.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

// Preference 12: " Refresh filelist after command".
constexpr int PreferenceRefreshAfterCommand = 12;

// The command line's window: only in the COMMANDER layout with the command window on.
ScreenWindow* commandLineWindow(const LoopContext& loop) {
  if (keyboardLayout() != KeyboardCommander || loop.screen == nullptr) return nullptr;
  return loop.screen->commandLine.get();
}

std::string promptDirectory(const LoopContext& loop) {
  return loop.current.panel != nullptr ? loop.current.panel->currentDirectory : std::string();
}

// The first screen row (0-based) of the rows under the panels: the command line, the
// function-key bar, the label rows.
int firstBottomRow(const ScreenPlan& plan) {
  int first = screenRows();
  for (const WindowRect* rect : {&plan.commandLine, &plan.keyBar, &plan.labelRows})
    if (!rect->empty()) first = std::min(first, rect->y - 1);
  return first;
}

// While the panels are hidden the terminal shows the user's screen (the output of earlier
// commands) with the command line on it; once they are shown, the program's screen again.
void followPanelsHidden(const LoopContext& loop) {
  const bool hidden = programState().panelsHidden;
  if (hidden && loop.screen != nullptr && userScreenLineAvailable()) {
    const ScreenWindow* window = commandLineWindow(loop);
    showUserScreenLine(window != nullptr ? windowScreenRow(*window, 1) : -1,
                       firstBottomRow(loop.screen->plan));
  } else if (!hidden) {
    leaveUserScreen();
  }
}

}  // namespace

int executeCommandLine(LoopContext& loop, CommandId) {
  setPanelDirectoriesForTemplates(loop);
  const std::string line = takeCommandLine();
  if (line.empty()) return LoopContinue;
  runCommandLine(line, cursorFileName(loop), ScreenVariant::Console, false, true, false);
  return afterCommand(loop, preference(PreferenceRefreshAfterCommand) != 0);
}

int commandHistory(LoopContext& loop, CommandId) {
  if (commandLineWindow(loop) == nullptr) {
    rejectBeep();
    return LoopContinue;
  }
  pickCommandLineFromHistory();
  return LoopContinue;
}

void commandLineHistory(LoopContext& loop, int direction) {
  if (commandLineWindow(loop) == nullptr) {
    rejectBeep();
    return;
  }
  stepCommandLineHistory(direction > 0 ? HistoryDirection::Forward : HistoryDirection::Back);
}

void appendNameToCommandLine(LoopContext& loop) {
  const std::string name = cursorFileName(loop);
  if (commandLineWindow(loop) == nullptr || name.empty()) {
    rejectBeep();
    return;
  }
  // Written for where it lands: after the line and the blank put before it, inside any quote
  // the line leaves open. The line is expanded as a template when it runs.
  const std::string host = hostFormOfName(name);
  if (const std::string_view refusal = shellWordRefusal(host, true); !refusal.empty()) {
    messageBox(refusal);
    return;
  }
  appendToCommandLine(shellWordAt(commandLine().text + ' ', host));
}

void typeIntoCommandLine(LoopContext&, KeyCode) { rejectBeep(); }

bool clearCommandLine(LoopContext& loop) {
  CommandLine& line = commandLine();
  if (commandLineWindow(loop) == nullptr || line.text.empty()) return false;
  line.text.clear();
  line.cursor = 0;
  loop.barDirty = true;
  return true;
}

bool commandLineReady(const LoopContext& loop) {
  return commandLineWindow(loop) != nullptr && trimCommandLine();
}

KeyCode readLoopKey(LoopContext& loop) {
  followPanelsHidden(loop);
  // Over the user's screen neither the screen saver nor the idle refresh may run: their
  // drawing would bring the program's screen back.
  const bool userScreen = userScreenLineShown();
  if (userScreen) setExternalProgramRunning(true);
  // A function-key page covers the command line: keys come straight from the reader then.
  ScreenWindow* window = loop.functionKeyWindow ? nullptr : commandLineWindow(loop);
  const KeyCode key =
      window != nullptr ? readCommandLineKey(*window, promptDirectory(loop)) : readKey();
  if (userScreen) setExternalProgramRunning(false);
  return key;
}

void leaveUserScreen() {
  if (userScreenLineInUse()) endUserScreenLine();
}

}  // namespace corvane
