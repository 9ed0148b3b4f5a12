#include "commands/commands_state.h"

namespace corvane {

CommandsState& commandsState() {
  static CommandsState state;
  return state;
}

void resetCommandsState() { commandsState() = CommandsState{}; }

}  // namespace corvane
