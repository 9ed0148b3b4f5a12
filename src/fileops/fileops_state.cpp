#include "fileops/fileops_state.h"

namespace corvane {

FileopsState& fileopsState() {
  static FileopsState state;
  return state;
}

void resetFileopsState() {
  FileopsState& state = fileopsState();
  FileopsHooks hooks = state.hooks;
  freeWindow(state.progressWindow);
  freeWindow(state.deleteWindow);
  state = FileopsState{};
  state.hooks = hooks;
}

void noteWrittenTarget(std::uint64_t device, std::uint64_t inode) {
  FileopsState& state = fileopsState();
  if (state.operationDepth > 0) state.writtenTargets.emplace(device, inode);
}

FileOperation::FileOperation() {
  FileopsState& state = fileopsState();
  if (state.operationDepth++ == 0) {
    state.sharedAnswer = 0;
    state.cancelRequested = false;
    state.writtenTargets.clear();
    state.existingDirectory.clear();
    state.spaceDirectory.clear();
  }
}

FileOperation::~FileOperation() {
  FileopsState& state = fileopsState();
  if (--state.operationDepth == 0) freeWindow(state.progressWindow);
}

}  // namespace corvane
