#include "panels/panels_state.h"

namespace corvane {

PanelsState& panelsState() {
  static PanelsState state;
  return state;
}

void resetPanelsState() { panelsState() = PanelsState{}; }

}  // namespace corvane
