#include "editor/edit_search.h"

#include <algorithm>

#include "editor/edit_commands.h"
#include "editor/edit_texts.h"
#include "editor/editor_state.h"
#include "platform/charset.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "syntax/keywords.h"
#include "syntax/line_colours.h"
#include "syntax/text_find.h"
#include "ui/boxes.h"
#include "ui/form.h"

namespace corvane {
namespace {

namespace t = edit_text;

constexpr int SearchFormWidth = 60;

int columnOf(std::string_view text, std::size_t offset) {
  return static_cast<int>(textChars(text.substr(0, offset)));
}

// The hits of one line from byte from on replaced (all of them, or the first); the text is
// built in one pass. hit gets the byte offset of the last replacement made (or of the one
// that would pass the line limit, then the result is TooLong).
SearchOutcome replaceInLine(std::string_view text, std::size_t from, const TextFinder& finder,
                            const SearchRequest& request, std::string& out, std::size_t& hit) {
  const std::string& replacement = *request.replacement;
  out.clear();
  std::size_t copied = 0;
  for (std::size_t at = finder.find(text, from); at != std::string_view::npos;
       at = finder.find(text, copied)) {
    const std::size_t rest = text.size() - at - finder.size();
    if (out.size() + (at - copied) + replacement.size() + rest > MaxLineBytes) {
      hit = out.size() + (at - copied);
      out.append(text.substr(copied));
      return SearchOutcome::TooLong;
    }
    out.append(text.substr(copied, at - copied));
    hit = out.size();
    out += replacement;
    copied = at + finder.size();
    if (!request.allMatches) break;
  }
  out.append(text.substr(copied));
  return SearchOutcome::Found;
}

void placeCursor(EditedFile& file, EditLine* line, long lineNumber, int column, int rows) {
  const long before = file.lineNumber;
  file.currentLine = line;
  file.lineNumber = lineNumber;
  file.cursorRow += static_cast<int>(std::clamp<long>(lineNumber - before, -rows, rows));
  file.cursorColumn = column;
  clampView(file, rows);
}

void sayNotFound(std::string_view text) {
  messageBox(textf(t::NotFoundFormat, std::string(text).c_str()));
}

// The settings' string searched for from the cursor; the drawn lines show it.
void runSearch(EditedFile& file, int rows, bool withReplacement) {
  EditorSearch& search = editorState().search;
  setHighlight(search.pattern, search.caseSensitive == 0);
  SearchRequest request;
  request.pattern = search.pattern;
  request.ignoreCase = search.caseSensitive == 0;
  request.allMatches = search.allMatches != 0;
  if (withReplacement && !search.replacement.empty()) request.replacement = &search.replacement;
  searchForward(file, request, rows);
}

}  // namespace

SearchOutcome searchLines(EditedFile& file, EditLine*& line, long& lineNumber, int& column,
                          const SearchRequest& request) {
  if (request.pattern.empty()) return SearchOutcome::NotFound;
  const TextFinder finder(request.pattern, request.ignoreCase);
  EditLine* at = line;
  long number = lineNumber;
  std::size_t from = 0;
  if (at->isSentinel()) {
    at = at->next;
    ++number;
  } else {
    from = charOffset(at->view(), static_cast<std::size_t>(std::max(column, 0)) + 1);
  }
  bool replacedAny = false;
  std::string changed;
  for (; at != nullptr; at = at->next, ++number, from = 0) {
    const std::string_view text = at->view();
    if (finder.find(text, from) == std::string_view::npos) continue;
    if (request.replacement == nullptr) {
      line = at, lineNumber = number;
      column = columnOf(text, finder.find(text, from));
      return SearchOutcome::Found;
    }
    std::size_t hit = 0;
    const SearchOutcome outcome = replaceInLine(text, from, finder, request, changed, hit);
    if (changed != text && !noteChange(file, replaceLineText(file, *at, changed)))
      return replacedAny ? SearchOutcome::Replaced : SearchOutcome::NotFound;
    replacedAny = true;
    if (outcome == SearchOutcome::TooLong || !request.allMatches) {
      line = at, lineNumber = number;
      column = columnOf(changed, hit);
      return outcome;
    }
  }
  return replacedAny ? SearchOutcome::Replaced : SearchOutcome::NotFound;
}

void searchForward(EditedFile& file, const SearchRequest& request, int rows) {
  if (request.pattern.empty()) return;
  EditLine* line = file.currentLine;
  long number = file.lineNumber;
  int column = file.cursorColumn;
  switch (searchLines(file, line, number, column, request)) {
    case SearchOutcome::NotFound:
      sayNotFound(request.pattern);
      return;
    case SearchOutcome::Replaced:
      return;
    case SearchOutcome::TooLong:
      placeCursor(file, line, number, column, rows);
      messageBox(t::ReplaceTooLong);
      return;
    case SearchOutcome::Found:
      placeCursor(file, line, number, column, rows);
      return;
  }
}

bool findMatchingBracket(EditLine*& line, long& lineNumber, int& column) {
  constexpr std::string_view Opening = "([{", Closing = ")]}";
  EditLine* at = line;
  if (at->isSentinel()) return false;
  std::string_view text = at->view();
  std::size_t pos = charOffset(text, static_cast<std::size_t>(std::max(column, 0)));
  if (pos >= text.size()) return false;
  const char self = text[pos];
  const std::size_t open = Opening.find(self), close = Closing.find(self);
  if (open == std::string_view::npos && close == std::string_view::npos) return false;
  const bool forward = open != std::string_view::npos;
  const char partner = forward ? Closing[open] : Opening[close];
  long number = lineNumber, depth = 0;
  // Counts the bracket at i; true where the count comes back to 0.
  auto counts = [&](std::size_t i) {
    depth += text[i] == self ? 1 : text[i] == partner ? -1 : 0;
    return depth == 0;
  };
  for (;;) {
    if (forward) {
      for (std::size_t i = pos; i < text.size(); ++i)
        if (counts(i)) return line = at, lineNumber = number, column = columnOf(text, i), true;
    } else {
      for (std::size_t i = pos + 1; i-- > 0;)
        if (counts(i)) return line = at, lineNumber = number, column = columnOf(text, i), true;
    }
    do {
      at = forward ? at->next : at->previous;
      if (at == nullptr || at->isSentinel()) return false;
      number += forward ? 1 : -1;
      text = at->view();
    } while (text.empty());
    pos = forward ? 0 : text.size() - 1;
  }
}

void matchBracket(EditedFile& file, int rows) {
  EditLine* line = file.currentLine;
  long number = file.lineNumber;
  int column = file.cursorColumn;
  if (findMatchingBracket(line, number, column)) {
    placeCursor(file, line, number, column, rows);
    return;
  }
  // Said only for a bracket under the cursor.
  if (file.currentLine->isSentinel()) return;
  const std::string_view text = file.currentLine->view();
  const std::size_t pos =
      charOffset(text, static_cast<std::size_t>(std::max(file.cursorColumn, 0)));
  if (pos >= text.size()) return;
  constexpr std::string_view Brackets = "()[]{}", Partners = ")(][}{";
  const std::size_t which = Brackets.find(text[pos]);
  if (which != std::string_view::npos) sayNotFound(Partners.substr(which, 1));
}

void searchWithForm(EditedFile& file, bool caseSensitive, int rows) {
  EditorSearch& search = editorState().search;
  search.replacement.clear();
  search.allMatches = 0;
  search.caseSensitive = caseSensitive ? 1 : 0;
  const FormItem items[] = {
      {.label = t::SearchLabel,
       .type = FormText,
       .text = &search.pattern,
       .maxLength = SearchFieldLength},
      {.label = t::ReplaceLabel,
       .type = FormText,
       .text = &search.replacement,
       .maxLength = SearchFieldLength},
      {.label = t::AllMatchesLabel, .type = FormSwitch, .flag = &search.allMatches},
      {.label = t::CaseLabel, .type = FormSwitch, .flag = &search.caseSensitive},
      {.type = FormSeparator},
      {.label = FormKeyLine, .type = FormStatic},
  };
  FormDescriptor form = centredForm(SearchFormWidth, t::SearchFormTitle, items);
  form.valueColumn = static_cast<int>(t::SearchLabel.size()) + 1;
  if (runForm(form) != FormAccepted) return;
  runSearch(file, rows, true);
}

void searchAgain(EditedFile& file, int rows) {
  EditorSearch& search = editorState().search;
  search.replacement.clear();
  search.allMatches = 0;
  runSearch(file, rows, false);
}

void searchCurrentWord(EditedFile& file, int rows) {
  if (file.currentLine->isSentinel()) return;
  const std::string_view text = file.currentLine->view();
  const std::string word = delimitedWordAt(
      keywords(), text, charOffset(text, static_cast<std::size_t>(std::max(file.cursorColumn, 0))));
  if (word.empty()) return;
  EditorSearch& search = editorState().search;
  search.pattern = word.substr(0, SearchFieldLength);
  search.replacement.clear();
  runSearch(file, rows, false);
}

void searchCommand(EditedFile& file, std::string_view pattern, bool caseSensitive, int rows) {
  if (pattern.empty()) return;
  EditorSearch& search = editorState().search;
  search.pattern = std::string(pattern.substr(0, SearchFieldLength));
  search.replacement.clear();
  search.allMatches = 0;
  search.caseSensitive = caseSensitive ? 1 : 0;
  runSearch(file, rows, false);
}

}  // namespace corvane
