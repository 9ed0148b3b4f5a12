// How an archive member is listed: its stored name decoded for the screen and cleaned of
// everything that could lead out of the directory it would be unpacked into.
#pragma once

#include <string>

#include "archives/archive_reader.h"

namespace corvane {

struct ListedName {
  // "/"-separated, UTF-8, never empty: no empty, "." or ".." components, no leading
  // separator or drive letter, control bytes shown as "?"; "_" when nothing is left.
  std::string path;
  // The stored name had to be changed for that (or was cut short): extracting the member
  // could write outside the target, and the archive is not unpacked.
  bool unsafe = false;
};

// Both "/" and "\" separate components. The bytes are read as the member's encoding says
// (code page 437 bytes become their glyphs).
ListedName listedNameOf(const ArchiveMember& member);

}  // namespace corvane
