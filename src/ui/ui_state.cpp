#include "ui/ui_state.h"

namespace corvane {

UiState& uiState() {
  static UiState state;
  return state;
}

void resetUiState() { uiState() = UiState{}; }

}  // namespace corvane
