// File masks over any mask and name (mask and name separated by a NUL byte): the compiled
// and the direct test agree, "*.*" takes every name, and a name without wildcards matches
// itself as a pattern; a pattern starting with one "*" (which may take the suffix shortcut)
// matches what the same pattern with "**" (which never does) matches ("*.*" aside: it takes
// every name).
#include <string>

#include "fuzz_support.h"
#include "panels/mask.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const auto parts = fuzz::splitInput(fuzz::asText(data, size), '\0', 2);
  const std::string_view mask = parts[0], name = parts[1];

  const bool matches = maskMatches(mask, name);
  FUZZ_CHECK(maskMatches(compileMask(mask), name) == matches, mask);
  FUZZ_CHECK(maskMatches(MaskAll, name), name);
  const bool single = patternMatches(mask, name);
  if (mask.starts_with('*') && mask != MaskAll)
    FUZZ_CHECK(patternMatches("*" + std::string(mask), name) == single, mask);

  // A name without wildcards and without a final "." is a pattern that matches itself.
  if (name.find_first_of("*?[") == std::string_view::npos && !name.ends_with('.') &&
      name != MaskAll)
    FUZZ_CHECK(patternMatches(name, name), name);
  return 0;
}
