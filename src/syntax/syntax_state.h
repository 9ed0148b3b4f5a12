// The mutable state of the colouring: the keyword set of the file on screen and the editor's
// search string that every drawn line shows. Only the main thread touches it. Tests start
// from resetSyntaxState().
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "syntax/keywords.h"

namespace corvane {

// What identifies a keyword set read from the keyword file: the file as it was, and the
// extension its section was chosen by.
struct KeywordFileStamp {
  std::string path, extension;
  std::uint64_t size = 0, device = 0, inode = 0;
  std::uint16_t date = 0, time = 0;
  bool operator==(const KeywordFileStamp&) const = default;
};

struct SyntaxState {
  // The set of the file on screen (never null); shared with the cache below.
  std::shared_ptr<const KeywordSet> keywords = std::make_shared<const KeywordSet>();
  bool loaded = false;
  std::string loadedFor;  // the file name the set was loaded for
  // The editor's search string, shown in every line (a to z in any case when folded).
  TextFinder highlightFinder{{}, false};
  std::vector<std::uint8_t> paint;  // scratch of the line being drawn
  // The last set read from the keyword file, taken again while the file is unchanged (the
  // viewer's panel mode loads on every cursor move).
  std::optional<KeywordFileStamp> cachedStamp;
  std::shared_ptr<const KeywordSet> cachedSet;
};

SyntaxState& syntaxState();
void resetSyntaxState();

}  // namespace corvane
