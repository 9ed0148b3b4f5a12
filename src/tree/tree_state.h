// The mutable state of the tree folder, in one record: what lives across the trees of the
// panels for the whole run. Only the main thread touches it. Tests start from
// resetTreeFolderState().
#pragma once

#include <set>
#include <string>

namespace corvane {

struct TreeFolderState {
  // The drive of the last tree built: a tree of drive A: or B: is scanned again when the
  // previous one was built for another drive.
  char lastDrive = 0;
  // Cache files whose writing failed in this run: the failure is told once per file, not at
  // every automatic rescan.
  std::set<std::string> failedCacheWrites;
};

TreeFolderState& treeFolderState();
void resetTreeFolderState();

}  // namespace corvane
