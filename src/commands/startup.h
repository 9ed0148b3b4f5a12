// The program from start to end: setup file, console, passes of the command loop, shutdown.
#pragma once

#include <string>

#include "platform/startup_switches.h"

namespace corvane {

struct StartupContext {
  std::string programPath;  // argv[0]
  StartupSwitches switches;
};

// The options a terminal program answers without taking the terminal: "--help" and
// "--version" print to standard output (status 0), an unknown option or "--cwd-file" without
// its file is told on standard error (status 2). -1 when the program is to run.
int answerInformationOptions(const StartupSwitches& switches);

// Runs the program on the console session; returns the exit status. With "--cwd-file" (or
// CORVANE_CWD_FILE) the host path of the active panel's directory is written to that file
// when the program ends normally; a failure is told on standard error and changes nothing
// else.
int runProgram(StartupContext& context);

// The passes of the command loop: 170 and 187 start another pass (187 after the user menu),
// anything else ends the program.
constexpr int RestartRebuild = 170;
constexpr int RestartUserMenu = 187;

}  // namespace corvane
