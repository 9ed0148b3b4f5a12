#include "tree/tree_state.h"

namespace corvane {

TreeFolderState& treeFolderState() {
  static TreeFolderState state;
  return state;
}

void resetTreeFolderState() { treeFolderState() = TreeFolderState{}; }

}  // namespace corvane
