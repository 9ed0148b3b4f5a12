// The setup file over any bytes (any length, any content): loading gives usable settings and
// writes them at once; loading that file again gives the very same settings.
#include "config/setup_file.h"

#include <cstring>
#include <string>

#include "config/setup_block.h"
#include "fuzz_support.h"
#include "platform/color.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  loadDefaultColors();
  const std::string path = fuzz::writeScratchFile("corvane.SET", fuzz::asText(data, size));

  loadSetup(path);
  SetupBlock first;
  std::memcpy(&first, &setupBlock(), sizeof first);
  loadSetup(path);
  FUZZ_CHECK(std::memcmp(&first, &setupBlock(), sizeof first) == 0, path);
  return 0;
}
