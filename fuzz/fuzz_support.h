// What every fuzz harness shares: the entry point libFuzzer calls, one headless console and a
// scratch directory mapped as drive T: for the whole process, and property checks that stop
// the run (libFuzzer keeps the input that failed; the replay program reports it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless_console.h"

// Each harness defines this: one input, any bytes. Returns 0.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace corvane::fuzz {

// Prepared on the first call: a headless console of 80 x 25 as the back end, the screen image
// and the default colours, a scratch directory mapped as T: (current), CS and the
// interpreter variables pointing into it. Removed at exit.
void prepareProcess();
HeadlessConsole& fuzzConsole();

// The scratch directory and its files: program paths ("T:\name") and host paths.
std::string scratchProgramPath(std::string_view name);
std::string scratchHostPath(std::string_view name);
// Writes bytes to a scratch file (replacing it); its program path.
std::string writeScratchFile(std::string_view name, std::string_view bytes);

// The input as text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
// The input cut at each separator byte into at most parts pieces (the last takes the rest);
// missing pieces are empty.
std::vector<std::string_view> splitInput(std::string_view data, char separator, std::size_t parts);

// A property that failed: the message and the detail on stderr, then abort().
[[noreturn]] void propertyFailed(const char* what, std::string_view detail);

}  // namespace corvane::fuzz

#define FUZZ_CHECK(condition, detail)                                        \
  do {                                                                       \
    if (!(condition)) ::corvane::fuzz::propertyFailed(#condition, (detail)); \
  } while (false)
