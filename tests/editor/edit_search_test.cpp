#include "editor/edit_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor_fixture.h"

namespace corvane {
namespace {

using testing::EditorTest;

class EditSearchTest : public EditorTest {
 protected:
  void fill(const std::vector<std::string>& lines) {
    EditLine* after = file_.firstLine();
    for (const std::string& text : lines) after = insertLineAfter(file_, after, text);
    file_.lineCount = static_cast<long>(lines.size());
  }

  EditedFile file_;
};

struct Place {
  long line;
  int column;
  bool operator==(const Place&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Place& p) {
  return out << "(" << p.line << "," << p.column << ")";
}

TEST_F(EditSearchTest, SearchAndReplaceOverLines) {
  struct Case {
    std::vector<std::string> lines;
    Place start;
    std::string pattern;
    bool ignoreCase;
    std::optional<std::string> replacement;
    bool all;
    SearchOutcome outcome;
    Place end;
    std::vector<std::string> after;
  };
  const std::string full = "a" + std::string(1998, 'x');  // 1999 bytes
  const std::vector<Case> cases = {
      // From column 0 the hit at the cursor is passed by; the next line is searched from 0.
      {{"abc abc", "abc"}, {1, 0}, "abc", false, {}, false, SearchOutcome::Found, {1, 4}, {}},
      {{"abc", "xabc"}, {1, 0}, "abc", false, {}, false, SearchOutcome::Found, {2, 1}, {}},
      // The title line is never searched: from it the first line is searched from 0.
      {{"abc"}, {0, 0}, "abc", false, {}, false, SearchOutcome::Found, {1, 0}, {}},
      // No wrap; the cursor stays.
      {{"abc", "x"}, {2, 0}, "abc", false, {}, false, SearchOutcome::NotFound, {2, 0}, {}},
      // Only a to z fold; columns are characters.
      {{"ÄäxAa"}, {1, 0}, "a", true, {}, false, SearchOutcome::Found, {1, 3}, {}},
      {{"Ää"}, {0, 0}, "ä", true, {}, false, SearchOutcome::Found, {1, 1}, {}},
      {{"Ä"}, {0, 0}, "ä", true, {}, false, SearchOutcome::NotFound, {0, 0}, {}},
      {{"ABC"}, {0, 0}, "abc", false, {}, false, SearchOutcome::NotFound, {0, 0}, {}},
      // One replacement: the cursor on it.
      {{"xaya", "a"}, {1, 0}, "a", false, "bb", false, SearchOutcome::Found, {1, 1},
       {"xbbya", "a"}},
      // All matches in this line after the cursor and in every later line; the cursor stays.
      {{"aaa"}, {0, 0}, "a", false, "bb", true, SearchOutcome::Replaced, {0, 0}, {"bbbbbb"}},
      {{"aaa", "xa a", "b"}, {1, 0}, "a", false, "b", true, SearchOutcome::Replaced, {1, 0},
       {"abb", "xb b", "b"}},
      // A replacement holding the string ends.
      {{"a a"}, {0, 0}, "a", false, "aa", true, SearchOutcome::Replaced, {0, 0}, {"aa aa"}},
      // Passing 2000 bytes: not made, the cursor on that hit; earlier ones stay made.
      {{full, "a"}, {0, 0}, "a", false, "bb", true, SearchOutcome::Replaced, {0, 0},
       {"bb" + std::string(1998, 'x'), "bb"}},
      {{"a" + std::string(1997, 'x') + "a"}, {0, 0}, "a", false, "bb", true,
       SearchOutcome::TooLong, {1, 1999}, {"bb" + std::string(1997, 'x') + "a"}},
      {{"a" + full}, {0, 0}, "a", false, "bb", true, SearchOutcome::TooLong, {1, 0}, {}},
      // Folded replace.
      {{"Abc aBC"}, {0, 0}, "ABC", true, "x", true, SearchOutcome::Replaced, {0, 0}, {"x x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines[0].substr(0, 20) + " / " + c.pattern);
    EditedFile& file = file_;
    while (file.sentinel.next != nullptr) removeLine(file, file.sentinel.next);
    file.modified = 0;
    fill(c.lines);
    EditLine* line = lineAt(file, c.start.line);
    long number = c.start.line;
    int column = c.start.column;
    SearchRequest request{.pattern = c.pattern,
                          .ignoreCase = c.ignoreCase,
                          .replacement = c.replacement ? &*c.replacement : nullptr,
                          .allMatches = c.all};
    EXPECT_EQ(searchLines(file, line, number, column, request), c.outcome);
    EXPECT_EQ((Place{number, column}), c.end);
    EXPECT_EQ(lineNumberOf(line), number);
    if (!c.after.empty()) {
      EXPECT_EQ(linesOf(file), c.after);
      EXPECT_EQ(file.modified, 1);
    } else {
      EXPECT_EQ(linesOf(file), c.lines);
      EXPECT_EQ(file.modified, 0);
    }
  }
}

TEST_F(EditSearchTest, MatchingBrackets) {
  fill({"(a(b)c)", "(a)(b)", "{", "  x [", "}", "a ( b", "", "c ) ]", "(("});
  struct Case {
    Place start;
    std::optional<Place> end;
  };
  const Case cases[] = {
      {{1, 6}, Place{1, 0}},  // backward along the line to its start
      {{1, 0}, Place{1, 6}},  {{1, 2}, Place{1, 4}},
      {{2, 2}, Place{2, 0}},  // from the cursor backward, not from the line's end
      {{3, 0}, Place{5, 0}},  {{5, 0}, Place{3, 0}},  // across lines
      {{6, 2}, Place{8, 2}},  {{8, 2}, Place{6, 2}},  // over an empty line
      {{4, 4}, Place{8, 4}},  {{8, 4}, Place{4, 4}},
      {{9, 1}, std::nullopt},                           // no partner
      {{1, 1}, std::nullopt},                           // a letter
      {{1, 40}, std::nullopt},                          // past the end
      {{0, 0}, std::nullopt},                           // the title line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.start);
    EditLine* line = lineAt(file_, c.start.line);
    long number = c.start.line;
    int column = c.start.column;
    const bool found = findMatchingBracket(line, number, column);
    EXPECT_EQ(found, c.end.has_value());
    if (found) {
      EXPECT_EQ((Place{number, column}), *c.end);
    }
  }
}

}  // namespace
}  // namespace corvane
