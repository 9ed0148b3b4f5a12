#include "editor/overwrite.h"

#include "platform/screen.h"

namespace corvane {

// PENDING-MERGE: confirmOverwrite of the copy engine.
bool confirmReplaceExisting(std::string_view, std::string_view) {
  rejectBeep();
  return false;
}

}  // namespace corvane
