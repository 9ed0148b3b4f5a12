#include "ui/ui_state.h"

#include "ui/line_input.h"

namespace corvane {

UiState& uiState() {
  static UiState state;
  return state;
}

void resetUiState() {
  uiState() = UiState{};
  resetLineInputState();
}

}  // namespace corvane
