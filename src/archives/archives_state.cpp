#include "archives/archives_state.h"

#include "archives/archive_operations.h"

namespace corvane {

ArchivesState& archivesState() {
  static ArchivesState state;
  return state;
}

void resetArchivesState() {
  releaseAllExtracted();
  archivesState() = ArchivesState{};
}

}  // namespace corvane
