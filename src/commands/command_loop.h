// The command loop: one pass per key over the panels, until Esc, a rebuild (170) or the user
// menu (187).
#pragma once

#include <string>

namespace corvane {

struct CommandLoopSettings {
  std::string setupPath;        // program path of the setup file ("" when there is none)
  std::string osText;           // "LINUX x.y"
  std::string startDirectory1;  // "" keeps the current directory
  std::string startDirectory2;
  bool userMenu = false;        // open the user menu before the loop
};

// Runs the outermost loop; returns 27 to end the program, 170 or 187 to start another pass.
int runCommandLoop(const CommandLoopSettings& settings);

}  // namespace corvane
