// The program from start to end: setup file, console, passes of the command loop, shutdown.
#pragma once

#include <string>

#include "platform/startup_switches.h"

namespace corvane {

struct StartupContext {
  std::string programPath;  // argv[0]
  StartupSwitches switches;
};

// Runs the program on the console session; returns the exit status.
int runProgram(StartupContext& context);

// The passes of the command loop: 170 and 187 start another pass (187 after the user menu),
// anything else ends the program.
constexpr int RestartRebuild = 170;
constexpr int RestartUserMenu = 187;

}  // namespace corvane
