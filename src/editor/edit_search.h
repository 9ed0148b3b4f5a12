// Searching and replacing in the lines of the current file, and the matching bracket. The
// settings (string, replacement, all matches, case) live for the whole run and serve every
// edited file; the string is shown in every drawn line.
#pragma once

#include <string>
#include <string_view>

#include "editor/edit_buffer.h"

namespace corvane {

// The most bytes the search and replace fields take.
constexpr int SearchFieldLength = 259;

struct SearchRequest {
  std::string_view pattern;
  bool ignoreCase = false;            // only a to z fold
  const std::string* replacement = nullptr;  // none: a plain search
  bool allMatches = false;
};

enum class SearchOutcome {
  Found,     // the cursor stands on the hit (a plain search, or the one replacement made)
  Replaced,  // every later hit replaced; the cursor stays where it was
  NotFound,
  TooLong,  // a replacement would have passed the line limit: the cursor stands on that hit
};

// Searches from one character after column on the line, then from the start of each
// following line to the end of the file (no wrap; the title line never). Moves line and
// column to where the cursor goes; replacements mark the file modified.
SearchOutcome searchLines(EditedFile& file, EditLine*& line, long& lineNumber, int& column,
                          const SearchRequest& request);

// The search from the cursor with its messages: the cursor moves as searchLines says.
void searchForward(EditedFile& file, const SearchRequest& request, int rows);

// The matching bracket of the one under the cursor (( ) [ ] { }): forward to the end of the
// file from an opening one, backward to its start from a closing one, counting every
// bracket of the pair. False when the character is none of them or no partner is found.
bool findMatchingBracket(EditLine*& line, long& lineNumber, int& column);
// Alt+K: the cursor to the partner, or "String '%s' not found ! " with the partner.
void matchBracket(EditedFile& file, int rows);

// The search commands: Ctrl+S (exact case) and Ctrl+I (any case) open the form on the
// settings (replacement cleared, all matches NO) and search on Return; Ctrl+F and Ctrl+N
// search again with the last string and case, without replacement; Ctrl+W searches for the
// word under the cursor (bounded by the keyword set's delimiters).
void searchWithForm(EditedFile& file, bool caseSensitive, int rows);
void searchAgain(EditedFile& file, int rows);
void searchCurrentWord(EditedFile& file, int rows);
// Command mode's "/text" (exact case) and "\text" (any case).
void searchCommand(EditedFile& file, std::string_view pattern, bool caseSensitive, int rows);

}  // namespace corvane
