// The readers of file contents in the search commands over any bytes: the input is a pattern
// and a file (separated by a NUL byte; the file may hold NULs). The streaming scan finds the
// pattern exactly when a plain search of the bytes does, in either case mode; the binary
// compare calls the file equal to its copy and different from the copy with one byte changed
// or one byte more.
#include <string>

#include "fuzz_support.h"
#include "search/compare.h"
#include "search/file_search.h"

namespace {

char fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool plainFind(std::string_view text, std::string_view pattern, bool ignoreCase) {
  if (pattern.empty() || pattern.size() > text.size()) return false;
  for (std::size_t i = 0; i + pattern.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < pattern.size() &&
           (ignoreCase ? fold(text[i + k]) == fold(pattern[k]) : text[i + k] == pattern[k]))
      ++k;
    if (k == pattern.size()) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const std::string_view input = fuzz::asText(data, size);
  const std::size_t cut = input.find('\0');
  const std::string_view pattern = input.substr(0, std::min(cut, input.size()));
  const std::string_view content =
      cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
  const std::string path = fuzz::writeScratchFile("content", content);
  for (bool ignoreCase : {false, true}) {
    const bool expected = plainFind(content, pattern, ignoreCase);
    FUZZ_CHECK((scanFile(path, pattern, ignoreCase) == FileScan::Found) == expected, pattern);
  }

  const std::string copy = fuzz::writeScratchFile("copy", content);
  FUZZ_CHECK(compareContents(path, copy) == ContentComparison::Equal, content);
  std::string longer(content);
  longer.push_back('\0');
  FUZZ_CHECK(
      compareContents(path, fuzz::writeScratchFile("longer", longer)) == ContentComparison::Differ,
      content);
  if (!content.empty()) {
    std::string changed(content);
    changed[pattern.size() % changed.size()] ^= 0x20;
    FUZZ_CHECK(compareContents(path, fuzz::writeScratchFile("changed", changed)) ==
                   ContentComparison::Differ,
               content);
  }
  return 0;
}
