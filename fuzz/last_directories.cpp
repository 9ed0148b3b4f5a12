// The last-directories file (".__S"): any bytes read as the file never fail, and two
// directories written (names of any bytes but line breaks, blanks at either end too) are read
// back exactly. The input is the file, then after a NUL byte the two names, split by another.
#include <string>

#include "config/previous_directories.h"
#include "fuzz_support.h"
#include "platform/paths.h"

namespace {

// A directory on the scratch drive holding the name's bytes, line breaks replaced, within the
// longest path.
std::string directoryFrom(std::string_view name) {
  std::string path = "T:\\";
  for (char c : name) path += c == '\n' || c == '\r' ? '_' : c;
  if (path.size() > corvane::MaxPath) path.resize(corvane::MaxPath);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const auto parts = fuzz::splitInput(fuzz::asText(data, size), '\0', 3);

  const std::string file = fuzz::writeScratchFile("last.__S", parts[0]);
  readPreviousDirectories(file);

  const std::string first = directoryFrom(parts[1]), second = directoryFrom(parts[2]);
  FUZZ_CHECK(writePreviousDirectories(file, first, second), first);
  const PreviousDirectories read = readPreviousDirectories(file);
  FUZZ_CHECK(read.panel1 == first, first + " came back as " + read.panel1);
  FUZZ_CHECK(read.panel2 == second, second + " came back as " + read.panel2);
  return 0;
}
