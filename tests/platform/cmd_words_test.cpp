// cmd.exe's word rules over seeded random names (the real cmd.exe runs them in the Win32
// tests): a name written after any text keeps every byte cmd.exe gives meaning to inside
// quotes or behind "^", leaves the quote state as it found it, and reads back as itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/cmd_words.h"

namespace corvane {
namespace {

// Where each byte of a text stands for cmd.exe: quoted, escaped by "^", or bare.
enum class Place { Bare, Quoted, Escaped, Syntax };
std::vector<Place> places(std::string_view text) {
  std::vector<Place> out(text.size(), Place::Bare);
  bool inQuote = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') {
      inQuote = !inQuote;
      out[i] = Place::Syntax;
    } else if (inQuote) {
      out[i] = Place::Quoted;
    } else if (text[i] == '^' && i + 1 < text.size()) {
      out[i] = Place::Syntax;
      out[++i] = Place::Escaped;
    }
  }
  return out;
}

TEST(CmdWordsTest, RandomNamesStayOneLiteralWordWhereverTheyLand) {
  const std::string alphabet = "ab &|<>^()%!;,=\\'\t\"\xC3\xBC";
  const std::vector<std::string> befores = {"", "prog ", "prog \"open ", "prog ^", "prog \"a\" ",
                                            "x;y \"q;r\" "};
  const std::string meaningful = " \t&|<>()%;,=\"^";
  const std::vector<std::string> follows = {"", "\"", "\" next", " next", "x"};
  std::mt19937 random(20261209);
  for (int round = 0; round < 3000; ++round) {
    std::string name;
    const int length = static_cast<int>(random() % 9);
    for (int i = 0; i < length; ++i) name += alphabet[random() % alphabet.size()];
    const std::string& before = befores[random() % befores.size()];
    // What the line goes on with: a quote after the name must stay a quote.
    const std::string& follow = follows[random() % follows.size()];
    const std::string word = cmdWordAt(before, name, follow);
    const std::string line = before + word;
    SCOPED_TRACE("before [" + before + "] name [" + name + "] word [" + word + "] after [" +
                 follow + "]");

    const CmdScan prior = scanCmdText(before);
    const CmdScan after = scanCmdText(line);
    EXPECT_EQ(after.inQuote, prior.inQuote);
    EXPECT_EQ(after.caretPending, prior.caretPending && word.empty());
    EXPECT_EQ(after.separators, prior.separators);
    // A name with a quote loses it (callers refuse those); a caret before escapes a blank.
    if (name.find('"') == std::string::npos && !prior.caretPending) {
      EXPECT_EQ(unquoteCmdText(line + follow), unquoteCmdText(before) + name + unquoteCmdText(follow));
      EXPECT_EQ(scanCmdText(line + follow).inQuote, scanCmdText(before + follow).inQuote);
    }
    if (!prior.inQuote && word.starts_with(" \"")) {
      EXPECT_TRUE(prior.caretPending);
    }

    // Every byte of the name that means something to cmd.exe is quoted or escaped, but a "%":
    // that one stands outside quotes between two quote marks, so that any variable reference
    // it takes part in names a variable beginning or ending with a quote.
    EXPECT_EQ(std::count(word.begin(), word.end(), '^'), std::count(name.begin(), name.end(), '^'));
    const std::vector<Place> where = places(line);
    for (std::size_t i = before.size(); i < line.size(); ++i) {
      if (where[i] != Place::Bare || line[i] == '%') continue;
      EXPECT_EQ(meaningful.find(line[i]), std::string::npos) << "bare byte at " << i;
    }
    for (std::size_t i = before.size(); i < line.size(); ++i) {
      if (line[i] == '%') {
        EXPECT_EQ(where[i], Place::Bare) << "% at " << i;
        EXPECT_TRUE(line[i - 1] == '"' && i + 1 < line.size() && line[i + 1] == '"') << i;
      }
    }

    if (before.empty() && !name.empty() && name.find('"') == std::string::npos &&
        !follow.starts_with('"')) {
      std::size_t rest = 0;
      EXPECT_EQ(firstCmdWord(word + " next", &rest), name);
      EXPECT_EQ(std::string_view(word + " next").substr(rest), " next");
    }
  }
}

// The C runtime reads backslashes before a double quote as escapes: a name that ends in one
// must double it when the line goes on with a quote, and only then.
TEST(CmdWordsTest, TrailingBackslashesAreDoubledOnlyBeforeAQuote) {
  struct Case {
    std::string_view before, text, after, word;
  };
  for (const Case& c : std::vector<Case>{
           {"prog \"", "C:\\", "\"", "C:\\\\"},
           {"prog \"", "C:\\", " more\"", "C:\\"},
           {"prog \"", "a b\\\\", "\" x", "a b\\\\\\\\"},
           {"prog ", "C:\\", "\"x y\"", "C:\\\\"},
           {"prog ", "C:\\", "", "C:\\"},
           {"prog ", "a b\\", "\"", "\"a b\\\\\""},
           {"prog \"", "\\", "\"", "\\\\"},
           {"prog \"", "50%\\", "\"", "50\"%\"\\\\"},
       })
    EXPECT_EQ(cmdWordAt(c.before, c.text, c.after), c.word) << c.before << c.text << c.after;
}

TEST(CmdWordsTest, SplitsAtSemicolonsOutsideQuotesAndCarets) {
  struct Split {
    std::string_view line;
    std::vector<std::size_t> separators;
  };
  for (const Split& c : std::vector<Split>{
           {"a;b", {1}},
           {"echo \"a;b\";c", {10}},
           {"echo a^;b; ;", {9, 11}},
           {"echo \"^\";x", {8}},
       })
    EXPECT_EQ(scanCmdText(c.line).separators, c.separators) << c.line;
}

}  // namespace
}  // namespace corvane
