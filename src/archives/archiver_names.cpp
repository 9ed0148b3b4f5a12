#include "archives/archiver_names.h"

#include "exec/shell_words.h"
#include "platform/paths.h"

namespace corvane {
namespace {

enum class NameStyle {
  Literal,    // with "-nw": no patterns at all
  Bracket,    // fnmatch-like patterns: special characters written in brackets
  Wildcards,  // "*" and "?" are patterns and cannot be written otherwise
  Unknown,
};

struct ArchiverRule {
  std::string_view program;
  NameStyle style;
  bool endOfOptions;              // "--" before the names
  std::string_view exactOption;   // an option that exact names need when not adding ("" none)
  std::string_view refusedFirst;  // characters a name may not begin with
};

constexpr ArchiverRule Rules[] = {
    {"zip", NameStyle::Literal, true, "-nw", ""},
    {"unzip", NameStyle::Bracket, false, "", ""},
    {"unar", NameStyle::Bracket, false, "", ""},
    {"arj", NameStyle::Bracket, true, "-p", "!"},
    {"lha", NameStyle::Wildcards, false, "", ""},
    {"lhasa", NameStyle::Wildcards, false, "", ""},
};
constexpr ArchiverRule UnknownRule = {"", NameStyle::Unknown, false, "", "-@!"};

const ArchiverRule& ruleFor(std::string_view program) {
  for (const ArchiverRule& rule : Rules)
    if (rule.program == program) return rule;
  return UnknownRule;
}

// Whether the options hold a word beginning with option ("-p" is there as "-p" or "-p1").
bool hasOption(std::string_view options, std::string_view option) {
  for (std::size_t start = 0; start < options.size();) {
    const std::size_t end = std::min(options.find(' ', start), options.size());
    if (options.substr(start, end - start).starts_with(option)) return true;
    start = end + 1;
  }
  return false;
}

// The name as the archiver is to read it; false when it cannot be written exactly.
bool writeName(const ArchiverRule& rule, bool literal, std::string_view name, std::string& out) {
  out.clear();
  if (name.empty() || rule.refusedFirst.find(name.front()) != std::string_view::npos) return false;
  switch (rule.style) {
    case NameStyle::Literal:
      if (!literal && name.find_first_of("*?[") != std::string_view::npos) return false;
      out = name;
      return true;
    case NameStyle::Bracket:
      if (name.find('\\') != std::string_view::npos) return false;
      for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '*' || c == '?' || c == '[' || (c == '-' && i == 0 && !rule.endOfOptions)) {
          out += '[';
          out += c;
          out += ']';
        } else {
          out += c;
        }
      }
      return true;
    case NameStyle::Wildcards:
      if (name.find_first_of("*?") != std::string_view::npos) return false;
      out = name;
      return true;
    case NameStyle::Unknown:
      if (name.find_first_of("*?[]\\") != std::string_view::npos) return false;
      out = name;
      return true;
  }
  return false;
}

}  // namespace

std::string archiverProgramName(std::string_view program) {
  const std::string word = firstShellWord(program);
  const std::size_t slash = word.find_last_of('/');
  return slash == std::string::npos ? word : word.substr(slash + 1);
}

ArchiverNames archiverNames(std::string_view program, std::string_view options,
                            ArchiverAction action, std::span<const std::string> names) {
  const ArchiverRule& rule = ruleFor(archiverProgramName(program));
  ArchiverNames result;
  result.options = std::string(options);
  const bool exactNeeded =
      !rule.exactOption.empty() && action != ArchiverAction::Add;
  bool literal = false;
  if (!rule.exactOption.empty()) {
    literal = hasOption(options, rule.exactOption);
    if (exactNeeded && !literal) {
      if (!result.options.empty()) result.options += ' ';
      result.options += rule.exactOption;
      literal = true;
    }
  }
  if (rule.endOfOptions && !names.empty()) result.words = "--";
  std::string written;
  for (const std::string& name : names) {
    // A name the interpreter cannot be given as one word (cmd.exe: one with a double quote)
    // is refused like one the archiver cannot take.
    if (!writeName(rule, literal, name, written) || !shellWordRefusal(written, false).empty()) {
      result.refused = name;
      return result;
    }
    if (!result.words.empty()) result.words += ' ';
    result.words += quoteForShell(written);
  }
  return result;
}

}  // namespace corvane
