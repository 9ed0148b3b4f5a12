// Archive panels. The panel mask of an archive panel holds the archive's path, "/", the
// directory inside the archive (components each followed by "/", empty at the top) and the
// file mask: "C:\src\pack.zip/lib/util/*.c". The archive readers fill the panel through an
// ArchiveListing, which shows only what lies directly below that inner directory.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "panels/panel.h"
#include "panels/sort_order.h"

namespace corvane {

struct ArchiveMaskParts {
  std::string archivePath;     // before the first "/"
  std::string innerDirectory;  // "" or "lib/util/"
  std::string fileMask;        // after the last "/"
};

// An archive panel mask without a "/" is all archive path, with the file mask "*.*".
ArchiveMaskParts splitArchiveMask(std::string_view panelMask);
std::string joinArchiveMask(const ArchiveMaskParts& parts);
// Enter on a directory: its name and "/" go before the file mask.
std::string enterArchiveDirectory(std::string_view panelMask, std::string_view name);
// Backspace, or Enter on "..": the last inner component goes. False, with the mask as it
// was, at the top level of the archive (the caller then leaves the archive panel).
bool leaveArchiveDirectory(std::string& panelMask);

// Fills an archive panel. Construction empties the list and puts in "..", so the user can
// leave the archive; each stored path is then offered with add(), and finish() orders the
// list and counts it.
class ArchiveListing {
 public:
  ArchiveListing(Panel& panel, SortMode mode);
  // storedPath uses "/" or "\" between components; a final one marks a directory entry.
  // Paths below the inner directory give a directory (their first component below it) or,
  // when they end there, the entry itself; files only when they match the file mask. Every
  // name is listed once. The entry's name field is ignored.
  void add(std::string_view storedPath, const FileEntry& fields);
  void finish();

 private:
  Panel& panel_;
  SortMode mode_;
  std::string inner_;  // folded, "/"-separated, with a final "/" unless empty
  std::string fileMask_;
  std::unordered_set<std::string> seen_;  // folded names listed
};

}  // namespace corvane
