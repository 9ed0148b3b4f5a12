// Start-up: switches, the setup file, the console, the passes of the command loop, shutdown.

#include <cstdio>
#include <string>
#include <vector>

#include "commands/startup.h"
#include "platform/session.h"
#include "platform/startup_switches.h"

int main(int argc, char** argv) {
  using namespace corvane;

  StartupContext context;
  context.programPath = argc > 0 ? argv[0] : "corvane";
  context.switches = parseSwitches(std::vector<std::string>(argv + 1, argv + argc));
  if (int status = answerInformationOptions(context.switches); status >= 0) return status;
  // Run from a pipe or a job without a terminal: said once, the terminal and setup untouched.
  if (!consoleSessionPossible()) {
    std::fputs(session_text::NotATerminal.data(), stderr);
    return 1;
  }

  int status = runProgram(context);
  std::fflush(stdout);
  return status;
}
