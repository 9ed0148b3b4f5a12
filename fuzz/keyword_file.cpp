// The keyword file over any bytes, and a line painted with what it gives: reading never
// fails; a section keeps to 300 keywords of 1 to 199 bytes without line breaks or zero bytes,
// types 0 to 255, at most 100 delimiters; the comment markers are keywords of the section;
// painting covers every byte and a line outside comment mode never ends inside a comment.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "syntax/keywords.h"
#include "syntax/line_colours.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const std::vector<std::string_view> parts = fuzz::splitInput(fuzz::asText(data, size), '\x01', 2);
  const std::string path = fuzz::writeScratchFile("corvane.COL", parts[0]);
  const std::string_view line = parts[1];

  for (std::string_view name : {"a.c", "B.CPP", "c.bat", "x.py", "README", "y.sh"}) {
    const KeywordSet set = readKeywordFile(path, name);
    FUZZ_CHECK(set.entries.size() <= static_cast<std::size_t>(KeywordLimit), name);
    FUZZ_CHECK(set.delimiters.size() <= DelimiterLimit, set.delimiters);
    auto isKeyword = [&](const std::string& marker) {
      if (marker.empty()) return true;
      for (const KeywordEntry& entry : set.entries)
        if (entry.text == marker) return true;
      return false;
    };
    FUZZ_CHECK(isKeyword(set.commentStart) && isKeyword(set.lineComment) &&
                   isKeyword(set.commentEnd),
               name);
    for (const KeywordEntry& entry : set.entries) {
      FUZZ_CHECK(!entry.text.empty() && entry.text.size() <= KeywordLineLimit, entry.text);
      FUZZ_CHECK(entry.text.find_first_of(std::string_view("\0\n", 2)) == std::string::npos,
                 entry.text);
      FUZZ_CHECK(entry.type >= 0 && entry.type <= 255, entry.text);
    }
    std::vector<std::uint8_t> paint;
    bool inComment = true;
    paintLine(set, line, inComment, paint);
    FUZZ_CHECK(paint.size() == line.size(), name);
    FUZZ_CHECK(set.commentMode || !inComment, name);
    for (std::size_t at = 0; at < line.size() && at < 64; ++at) {
      const std::string word = delimitedWordAt(set, line, at);
      FUZZ_CHECK(line.find(word) != std::string_view::npos, word);
    }
  }
  return 0;
}
