// The ARJ reader over any bytes, as an archive and as a self-extractor, listed at the top and
// one directory down (archive_reading.h says what is checked).
#include "archive_reading.h"
#include "config/archiver_defs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::readAsArchive(ArchiveArj, data, size, "a.arj", "");
  fuzz::readAsArchive(ArchiveArj, data, size, "SETUP.EXE", "sub/");
  return 0;
}
