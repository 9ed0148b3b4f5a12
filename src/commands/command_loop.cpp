#include "commands/command_loop.h"

#include "platform/keyboard.h"

namespace corvane {

// The start screen until the panels exist: the title line and the clock, Esc or F10 end.
int runCommandLoop(const CommandLoopSettings&) {
  for (;;) {
    KeyCode code = readKey();
    if (code == key::Escape || code == key::F10) return 27;
    if (takeResizeRequest()) return 170;
  }
}

}  // namespace corvane
