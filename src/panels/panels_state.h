// The mutable state of the panels' folder, in one record: the cursor mark chosen for the
// display and the values of the selection form, kept from one use to the next. Only the main
// thread touches it. Tests start from resetPanelsState().
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

struct PanelsState {
  bool alternativeCursorMark = false;
  std::string selectPattern;           // "Select" / "Inverse Select" pattern
  std::uint16_t addSelectionFlag = 0;  // its "Add Selection ?" switch
};

PanelsState& panelsState();
void resetPanelsState();

}  // namespace corvane
