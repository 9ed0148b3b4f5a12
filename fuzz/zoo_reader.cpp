// The ZOO reader over any bytes, listed at the top and one directory down (archive_reading.h
// says what is checked).
#include "archive_reading.h"
#include "config/archiver_defs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::readAsArchive(ArchiveZoo, data, size, "a.zoo", "");
  fuzz::readAsArchive(ArchiveZoo, data, size, "A.ZOO", "sub/");
  return 0;
}
