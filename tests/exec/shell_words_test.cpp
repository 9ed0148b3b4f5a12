// Where a command line is cut and how names are written into it, each checked against the
// interpreter itself: /bin/sh runs the lines and reports what it did.
#include "exec/shell_words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "exec/command_template.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using testing::TempTree;

// Runs a script with /bin/sh in the tree's directory; its standard output, "" when it could
// not run. stderr is dropped: lines under test may call commands that do not exist.
std::string runSh(const TempTree& tree, const std::string& script) {
  tree.writeFile("script.sh", script);
  const std::string command = "cd '" + tree.root() + "' && /bin/sh script.sh > output 2>/dev/null";
  if (std::system(command.c_str()) == -1) return {};
  return tree.readFile("output");
}

bool parsesInSh(const TempTree& tree, const std::string& line) {
  tree.writeFile("parse.sh", line + "\n");
  const std::string command = "cd '" + tree.root() + "' && /bin/sh -n parse.sh 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

// The offsets of the ";" after which sh ran a marker command in its own process: the line
// with " M <offset>" put after each ";" at the given offsets; markers in subshells are lost.
// Nothing when sh gave up before the end (an expansion error ends it).
std::optional<std::set<std::size_t>> markersRun(const TempTree& tree, const std::string& line,
                                                const std::vector<std::size_t>& offsets) {
  std::string marked;
  std::size_t from = 0;
  for (std::size_t at : offsets) {
    marked += line.substr(from, at + 1 - from);
    marked += " M " + std::to_string(at) + " ";
    from = at + 1;
  }
  marked += line.substr(from);
  std::remove(tree.host("marks").c_str());
  runSh(tree,
        "M() { marks=\"$marks $1\"; }\nmarks=\n" + marked + "\n\nprintf '%s' \"$marks\" > marks\n");
  if (!tree.exists("marks")) return std::nullopt;
  const std::string out = tree.readFile("marks");
  std::set<std::size_t> run;
  for (std::size_t pos = 0; pos < out.size();) {
    const std::size_t end = out.find(' ', pos + 1);
    const std::string number = out.substr(pos + 1, end - pos - 1);
    if (!number.empty()) run.insert(std::stoul(number));
    pos = end == std::string::npos ? out.size() : end;
  }
  return run;
}

// The line with its line breaks shown as "\n".
std::string escaped(std::string_view line) {
  std::string out;
  for (char c : line) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

std::vector<std::string> pieces(std::string_view line) {
  std::vector<std::string> out;
  for (std::string_view piece : splitCommandLine(line)) out.emplace_back(piece);
  return out;
}

TEST(CommandLineSplit, CutsOnlyWhereTheInterpreterEndsACommand) {
  TempTree tree;
  struct Case {
    const char* line;
    std::vector<std::string> pieces;
  } cases[] = {
      {"echo 1; echo 2", {"echo 1", " echo 2"}},
      {"echo 'a;b'", {"echo 'a;b'"}},
      {"echo \"a;b\" ;ls", {"echo \"a;b\" ", "ls"}},
      {"find . -exec echo {} \\;", {"find . -exec echo {} \\;"}},
      {"echo \\\\;ls", {"echo \\\\", "ls"}},
      {"echo \"\\\";\";x", {"echo \"\\\";\"", "x"}},
      {"cat 'a;touch INJECTED;b'", {"cat 'a;touch INJECTED;b'"}},
      {"cat 'it'\"'\"';touch X'", {"cat 'it'\"'\"';touch X'"}},
      {"echo $(a;b);c", {"echo $(a;b)", "c"}},
      {"echo \"$(a ')' \";\")\";c", {"echo \"$(a ')' \";\")\"", "c"}},
      {"echo `a;b`;c", {"echo `a;b`", "c"}},
      {"echo ${x:-a;b};c", {"echo ${x:-a;b}", "c"}},
      {"echo $((1+(2)));c", {"echo $((1+(2)))", "c"}},
      {"echo a # b;c", {"echo a # b;c"}},
      {"echo a#b;c", {"echo a#b", "c"}},
      {"(a; b); c", {"(a; b)", " c"}},
      {"{ a; b; }; c", {"{ a; b; }", " c"}},
      {"if true; then a; else b; fi; c", {"if true; then a; else b; fi", " c"}},
      {"for i in 1 2; do echo $i; done;x", {"for i in 1 2; do echo $i; done", "x"}},
      {"while false; do :; done; e", {"while false; do :; done", " e"}},
      {"case x in a) echo 1;; (b|c) echo 2;; esac; y",
       {"case x in a) echo 1;; (b|c) echo 2;; esac", " y"}},
      {"case x in esac; y", {"case x in esac", " y"}},
      {"f() { a; }; f", {"f() { a; }", " f"}},
      {"echo if; echo fi; x", {"echo if", " echo fi", " x"}},
      {"a && b; c || d", {"a && b", " c || d"}},
      {" ; ;echo x; ", {"echo x"}},
      // A line break: one command for the interpreter as it stands.
      {"echo a\necho b; echo c", {"echo a\necho b; echo c"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pieces(c.line), c.pieces) << c.line;
    const std::string line = c.line;
    if (line.find('\n') != std::string::npos || !parsesInSh(tree, line)) continue;
    // sh ends a command at each cut, and every piece stands alone.
    const std::vector<std::size_t> cuts = scanShellText(line).separators;
    EXPECT_EQ(markersRun(tree, line, cuts), std::set<std::size_t>(cuts.begin(), cuts.end()))
        << line;
    for (const std::string& piece : c.pieces) EXPECT_TRUE(parsesInSh(tree, piece)) << piece;
  }
}

// A random piece of shell text: words, blanks, ";", escapes, quotes, substitutions, subshells
// and comments nested up to depth, now and then a lone quote or parenthesis.
std::string randomShellText(std::mt19937& random, int depth) {
  const auto pick = [&random](std::string_view from) { return from[random() % from.size()]; };
  const auto quoted = [&](std::string_view from) {
    std::string out;
    for (int n = static_cast<int>(random() % 4); n > 0; --n) out += pick(from);
    return out;
  };
  std::string out;
  for (int items = 1 + static_cast<int>(random() % 5); items > 0; --items) {
    switch (random() % (depth > 0 ? 14 : 8)) {
      case 0:
      case 1:
        out += pick("ab;; ");
        break;
      case 2:
        out += std::string("\\") + pick(";'\"\\a ");
        break;
      case 3:
        out += "'" + quoted(";\"$()`\\a #}") + "'";
        break;
      case 4:
        out += "\"" + quoted(";'()a #}") + "\"";
        break;
      case 5:
        out += "# " + quoted(";'\"a") + "\n";
        break;
      case 6:
        out += pick("'\"`()$}\n");
        break;
      case 7:
        out += "`" + quoted(";'\"a ") + "`";
        break;
      case 8:
        out += "$(" + randomShellText(random, depth - 1) + ")";
        break;
      case 9:
        out += "\"$(" + randomShellText(random, depth - 1) + ")\"";
        break;
      case 10:
        out += "(" + randomShellText(random, depth - 1) + ")";
        break;
      case 11:
        out += "${x:-" + randomShellText(random, depth - 1) + "}";
        break;
      case 12:
        out += "\"${x:-" + quoted(";'a") + "}\"";
        break;
      default:
        out += " echo ";
        break;
    }
  }
  return out;
}

// For every random line sh accepts (no compound commands, no pipes, whose parts run in
// subshells), the scan finds exactly the ";" after which sh runs the next command in its own
// process.
TEST(CommandLineSplit, AgreesWithShOnRandomLines) {
  TempTree tree;
  std::mt19937 random(20240611);
  int checked = 0;
  for (int attempt = 0; attempt < 1500 && checked < 120; ++attempt) {
    const std::string line = randomShellText(random, 2);
    // The markers put a blank after each ";": that would make a "#" after it a comment.
    if (line.find(";;") != std::string::npos || line.find(";#") != std::string::npos ||
        line.find(';') == std::string::npos || !parsesInSh(tree, line))
      continue;
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < line.size(); ++i)
      if (line[i] == ';') all.push_back(i);
    const std::optional<std::set<std::size_t>> run = markersRun(tree, line, all);
    if (!run) continue;
    ++checked;
    const std::vector<std::size_t> cuts = scanShellText(line).separators;
    EXPECT_EQ(*run, std::set<std::size_t>(cuts.begin(), cuts.end())) << "line: " << escaped(line);
  }
  EXPECT_GE(checked, 100);
}

// Names of every awkward kind, written by shellWordAt into templates that leave them in
// every kind of quote and substitution: sh must pass each exactly and run nothing of it.
TEST(ShellWordAt, ShReadsExactlyTheNameWhereverItLands) {
  TempTree tree;
  struct Context {
    const char* before;
    const char* after;
    std::string (*expected)(const std::string& name);
  };
  const auto same = [](const std::string& name) { return "1|" + name; };
  // A command substitution drops the line breaks its output ends with.
  const auto substituted = [](const std::string& name) {
    return "1|" + name.substr(0, name.find_last_not_of('\n') + 1);
  };
  const Context contexts[] = {
      {"o ", "", same},
      {"o \"", "\"", same},
      {"o '", "'", same},
      {"o \"x", "y\"", [](const std::string& n) { return "1|x" + n + "y"; }},
      {"o \"$(p ", ")\"", substituted},
      {"o \"$(p \"", "\")\"", substituted},
      {"o \"`p ", "`\"", substituted},
      {"o \"`p \\\"", "\\\"`\"", substituted},
      {"o \"`p '", "'`\"", substituted},
      {"o ${u:-", "}", same},
      {"o \"${u:-", "}\"", same},
      {"o \\", "", [](const std::string& n) { return "1|\\" + n; }},
      {"o \"a\\", "\"", [](const std::string& n) { return "1|a\\" + n; }},
      {"o $", "", [](const std::string& n) { return "1|$" + n; }},
      {"o # ", "", [](const std::string&) { return std::string("0|"); }},
      {"o $((", "))", nullptr},  // nonsense there: only nothing may run
  };
  const char* parts[] = {
      "a",     " ", "\t", "\n",       "'",          "\"",        "\\",        "$",
      "`",     "(", ")",  ";",        "&",          "|",         "*",         "?",
      "[",     "]", "{",  "}",        "~",          "#",         "%",         "!",
      "<",     ">", "=",  "\xC3\xA4", "$(touch P)", "`touch P`", ";touch P;", "'\"$(touch P)\"'",
      "$HOME", "-n"};
  std::mt19937 random(7);
  std::vector<std::string> names = {"plain", "a b", "it's", "100%", "%%", "\\", ")); touch P; (("};
  for (int i = 0; i < 60; ++i) {
    std::string name;
    const int length = 1 + static_cast<int>(random() % 6);
    for (int j = 0; j < length; ++j) name += parts[random() % std::size(parts)];
    names.push_back(name);
  }
  for (const std::string& name : names) {
    // o prints its argument count and arguments, each call ended by a NUL.
    std::string script =
        "o() { printf '%s|%s' \"$#\" \"$*\"; printf '\\0'; }\n"
        "p() { printf '%s' \"$1\"; }\n";
    for (const Context& c : contexts) {
      const std::string word = shellWordAt(c.before, name);
      EXPECT_EQ(word.find('%'), std::string::npos) << "a '%' left in " << word;
      script += c.before + word + c.after + "\n";
    }
    const std::string out = runSh(tree, script);
    EXPECT_FALSE(tree.exists("P")) << "name ran a command: " << name;
    std::size_t pos = 0;
    for (const Context& c : contexts) {
      const std::size_t end = std::min(out.find('\0', pos), out.size());
      if (c.expected != nullptr) {
        EXPECT_EQ(out.substr(pos, end - pos), c.expected(name)) << c.before << " name: " << name;
      }
      pos = std::min(end + 1, out.size());
    }
  }
}

// Text that a template expansion reads again (a name put on the command line, a preset)
// keeps its "%" as a name byte, not a placeholder.
TEST(ShellWordAt, NamesStayTheSameThroughASecondExpansion) {
  for (const char* name : {"100%.txt", "a%;touch INJECTED;b", "%%"}) {
    const std::string line = "cat " + shellWordAt("cat ", name);
    const TemplateExpansion e = expandPlaceholders("other", line, CommandLengthLimit, false);
    EXPECT_EQ(e.text, line) << name;
    EXPECT_EQ(unquoteShellText(shellWordAt("", name)), name);
  }
}

}  // namespace
}  // namespace corvane
