#include "config/config_state.h"

namespace corvane {

ConfigState& configState() {
  static ConfigState state;
  return state;
}

void resetConfigState() { configState() = ConfigState{}; }

}  // namespace corvane
