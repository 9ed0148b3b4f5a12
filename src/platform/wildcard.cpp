#include "platform/find.h"
#include "platform/paths.h"

namespace corvane {
namespace {

// Length of the character starting at text[0]: a whole UTF-8 sequence, else one byte.
std::size_t characterLength(std::string_view text) {
  auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  if (length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// Glob matching with backtracking to the last "*" only: linear in practice.
bool globMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += characterLength(name.substr(n));
    } else if (p < pattern.size() && foldCase(pattern[p]) == foldCase(name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP;
      starN += characterLength(name.substr(starN));
      n = starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (globMatch(pattern, name)) return true;
  // "x.*" also matches "x": a name without an extension has an empty one.
  return pattern.size() >= 2 && pattern.ends_with(".*") &&
         globMatch(pattern.substr(0, pattern.size() - 2), name);
}

}  // namespace corvane
