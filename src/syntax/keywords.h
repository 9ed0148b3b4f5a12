// The keyword set of the file on screen: read from one section of the keyword file beside the
// setup file (".COL"), chosen by the file's extension. The editor and the viewer draw their
// lines with it (line_colours.h); one set is loaded at a time.
//
// The keyword file: lines up to the first header that lists the extension are skipped. A
// header is "F>" at the start of a line followed by extensions ("F> C H CPP"). Inside the
// section each line is a keyword, a ',' and its type number ("if,3", ",,5" for the comma);
// blank lines and lines without ',' are passed over. The section ends at the next line whose
// first '>' follows an 'F'.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/text_find.h"

namespace corvane {

constexpr int KeywordLimit = 300;
constexpr std::size_t DelimiterLimit = 100;
// Longer lines of the keyword file are cut there (the rest is passed over).
constexpr std::size_t KeywordLineLimit = 199;
constexpr std::string_view DefaultDelimiters = "{}()[]; ,*<>=|';?%";
constexpr const char* FormatKeywordMaximum = "Maximum %d Keywords";

// Keyword types with a meaning of their own (the others only choose a colour).
enum KeywordType : int {
  KeywordSearchHit = 10,  // the colour of the editor's search string
  KeywordCommentStart = 20,
  KeywordLineComment = 21,
  KeywordCommentEnd = 22,
};

struct KeywordEntry {
  std::string text;
  int type = 0;
};

struct KeywordSet {
  KeywordSet();  // no keywords, the default delimiters, indexed

  std::vector<KeywordEntry> entries;  // file order: the first that matches wins
  std::string delimiters{DefaultDelimiters};
  // The last keyword of type 20, 21 and 22; empty when there is none.
  std::string commentStart, lineComment, commentEnd;
  bool batchMode = false;    // keywords match in any case (a to z)
  bool commentMode = false;  // block comments are followed from line to line
  bool maximumPassed = false;

  // Filled by indexKeywords: delimiter bytes, where the scan stops between words (delimiters
  // and the first bytes of comment markers), and the entries by their (folded) first byte.
  std::array<bool, 256> isDelimiter{};
  std::array<bool, 256> isStop{};
  std::array<std::vector<std::uint16_t>, 256> byFirstByte;

  bool empty() const { return entries.empty(); }
};

// Builds the lookup tables of a set from its entries and delimiters.
void indexKeywords(KeywordSet& set);

// Reads one line of a section into set (a keyword, or nothing for a line that is none).
void addKeywordLine(KeywordSet& set, std::string_view line);

// Sets batch and comment mode for a file name by its extension.
void applyExtensionModes(KeywordSet& set, std::string_view fileName);

// The section for fileName read from the keyword file at path, indexed, with the modes of
// the name's extension. A name without extension reads nothing; a missing or unreadable file
// gives an empty set.
KeywordSet readKeywordFile(std::string_view path, std::string_view fileName);

// The keyword file beside the setup file; empty without a setup path.
std::string keywordFilePath();

// Replaces the loaded set by the one for fileName (an empty set without a keyword file) and
// says "Maximum 300 Keywords" once when the section holds more.
void loadKeywords(std::string_view fileName);
// Drops the loaded set: lines show without keyword colours.
void freeKeywords();
// The set of the file on screen.
const KeywordSet& keywords();

// Loads the keywords for a viewer's run and drops them at its end.
class KeywordScope {
 public:
  explicit KeywordScope(std::string_view fileName) { loadKeywords(fileName); }
  ~KeywordScope() { freeKeywords(); }
  KeywordScope(const KeywordScope&) = delete;
  KeywordScope& operator=(const KeywordScope&) = delete;
};

}  // namespace corvane
