// Start-up: switches, the setup file, the console, the passes of the command loop, shutdown.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands/startup.h"
#include "platform/console.h"
#include "platform/startup_switches.h"
#include "platform/terminal_console.h"
#include "platform/terminal_session.h"

int main(int argc, char** argv) {
  using namespace corvane;

  if (!stdioAreTerminals()) {
    std::fputs(session_text::NotATerminal.data(), stderr);
    return 2;
  }

  std::vector<std::string> arguments(argv + 1, argv + argc);
  StartupSwitches switches = parseSwitches(arguments);

  TerminalConsole terminal;
  StartupContext context;
  context.programPath = argc > 0 ? argv[0] : "corvane";
  context.switches = switches;
  context.terminal = &terminal;
  int status = runProgram(context);
  std::fflush(stdout);
  return status;
}
