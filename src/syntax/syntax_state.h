// The mutable state of the colouring: the keyword set of the file on screen and the editor's
// search string that every drawn line shows. Only the main thread touches it. Tests start
// from resetSyntaxState().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "syntax/keywords.h"

namespace corvane {

struct SyntaxState {
  KeywordSet keywords;
  bool loaded = false;
  std::string loadedFor;  // the file name the set was loaded for
  // The editor's search string, shown in every line (a to z in any case when folded).
  std::string highlight;
  bool highlightFolded = false;
  TextFinder highlightFinder{{}, false};
  std::vector<std::uint8_t> paint;  // scratch of the line being drawn
  // The last set read from the keyword file, for the next load of the same extension while
  // the file is unchanged (the viewer's panel mode loads on every cursor move).
  struct KeywordCache {
    bool valid = false;
    std::string path, extension;
    std::uint64_t size = 0, device = 0, inode = 0;
    std::uint16_t date = 0, time = 0;
    KeywordSet set;
  } keywordCache;
};

SyntaxState& syntaxState();
void resetSyntaxState();

}  // namespace corvane
