// The mutable state of the archive commands, in one record: the definitions loaded last
// with what they were loaded for, the directories extracted copies live in, the copy Autoview shows, and
// the names a selection's packing collects. Only the main thread touches it. Tests start
// from resetArchivesState() (which removes what extractions left on disk).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/archiver_defs.h"

namespace corvane {

// The extracted member Autoview shows, kept while the cursor stays on it.
struct AutoviewCopy {
  std::string archive;  // program path of the archive
  std::string member;   // its stored path
  std::uint64_t archiveSize = 0;
  std::uint16_t archiveDate = 0, archiveTime = 0;
  std::string file;  // the extracted copy ("" when none)
};

// Archiver definitions as loaded for an archive, with the definitions file as it was then:
// they serve that archive again while the file is unchanged.
struct LoadedDefinitions {
  std::string archive;  // program path of the archive ("" when none is loaded)
  std::uint64_t fileSize = 0, fileInode = 0;
  std::int64_t fileSeconds = 0, fileNanoseconds = 0;
  ArchiverDefs defs;
};

struct ArchivesState {
  LoadedDefinitions definitions;
  // Program paths of the fresh directories holding extracted copies not yet released.
  std::vector<std::string> extractionDirectories;
  AutoviewCopy autoview;
  // The names the selected-files loop hands to the packer at its end.
  std::vector<std::string> packNames;
  std::vector<std::string> packDirectories;  // packed with their contents
};

ArchivesState& archivesState();
// Removes every extracted copy left and starts afresh.
void resetArchivesState();

}  // namespace corvane
