// File masks: patterns separated by ";", each matched against a whole name without regard
// to case. "*" matches any run of characters (dots too), "?" one character, "[...]" one
// character of a set with ranges ("a-z"), "!" first negating it and "\" taking the next
// character literally. "*.*" matches every name; a final "." limits the pattern to names
// without an extension ("*." and "readme."). A pattern beginning with "<" excludes what it
// matches: with any "<" in the mask the patterns are weighed left to right, a matching
// exclusion ending the test with "no match".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "panels/file_list.h"

namespace corvane {

inline constexpr std::string_view MaskAll = "*.*";

// A mask split and folded once, for testing many names.
struct CompiledMask {
  struct Pattern {
    std::string text;  // folded; without the "<" and without a final "."
    bool exclusion = false;
    bool withoutExtension = false;  // had a final "."
    bool matchesAll = false;        // "*.*"
    bool suffixOnly = false;        // "*" and then plain ASCII ("*.c"): text holds the rest
  };
  std::vector<Pattern> patterns;
  bool weighed = false;  // a "<" stands somewhere in the mask
};

CompiledMask compileMask(std::string_view mask);
bool maskMatches(const CompiledMask& mask, std::string_view name);
bool maskMatches(std::string_view mask, std::string_view name);

// One pattern without ";" and "<" handling.
bool patternMatches(std::string_view pattern, std::string_view name);

// The first node whose name matches the mask, NoNode when none does.
NodeId firstMatchingNode(const FileList& list, std::string_view mask);

}  // namespace corvane
