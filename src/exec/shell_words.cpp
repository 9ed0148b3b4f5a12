#include "exec/shell_words.h"

#include "exec/exec_texts.h"
#include "platform/cmd_words.h"
#include "platform/process.h"

namespace corvane {
namespace {

// Characters the interpreter gives no meaning to in a word.
constexpr std::string_view SafePunctuation = "_-.,/+:@";

// A "%" as the interpreter's own output, for texts that a template expansion reads again.
// Unquoted, and the form inside double quotes or $((...)).
constexpr std::string_view PercentWord = "\"$(printf '\\045')\"";
constexpr std::string_view PercentInDouble = "$(printf '\\045')";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool safeForShell(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x80) return true;  // part of a UTF-8 character: no meaning to the shell
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return SafePunctuation.find(c) != std::string_view::npos;
}

// The scanner's nesting: lists of commands (the line, a subshell, a substitution), quotes,
// expansions and comments.
enum class FrameKind : std::uint8_t {
  Line,
  Subshell,
  Substitution,
  Single,
  Double,
  Parameter,          // ${...} outside double quotes
  ParameterInDouble,  // ${...} inside double quotes
  Arithmetic,
  Backquote,
  Comment,
};

// Compound commands open in a list. A case goes through its phases: the word it tests, "in",
// then patterns and bodies in turn.
enum class Compound : std::uint8_t { Brace, If, Loop, Case };
enum class CasePhase : std::uint8_t { Subject, In, Pattern, Body };
struct OpenCompound {
  Compound kind;
  CasePhase phase = CasePhase::Body;
};

struct Frame {
  FrameKind kind = FrameKind::Line;
  std::size_t start = 0;  // Backquote: where its text begins
  // Lists only.
  bool inWord = false;
  bool wordQuoted = false;  // some of the word is quoted, escaped or expanded
  std::size_t wordStart = 0;
  bool commandStart = true;  // the next word stands where a command begins
  std::vector<OpenCompound> open;
  // Arithmetic only: parentheses open inside it.
  int parens = 0;

  bool isList() const {
    return kind == FrameKind::Line || kind == FrameKind::Subshell ||
           kind == FrameKind::Substitution;
  }
  bool inCasePattern() const {
    return !open.empty() && open.back().kind == Compound::Case &&
           open.back().phase != CasePhase::Body;
  }
};

class Scanner {
 public:
  explicit Scanner(std::string_view text) : s_(text) { frames_.push_back(frame(FrameKind::Line)); }

  ShellScan run() {
    while (i_ < s_.size()) step();
    if (top().isList()) endWord();
    switch (top().kind) {
      case FrameKind::Single:
        result_.quote = ShellQuote::Single;
        break;
      case FrameKind::Double:
        result_.quote = ShellQuote::Double;
        break;
      case FrameKind::ParameterInDouble:
        result_.quote = ShellQuote::Double;
        result_.inParameter = true;
        break;
      case FrameKind::Arithmetic:
        result_.quote = ShellQuote::Arithmetic;
        break;
      case FrameKind::Backquote:
        result_.quote = ShellQuote::Backquote;
        result_.backquoteStart = top().start;
        result_.backquoteInDouble =
            frames_.size() >= 2 &&
            (frames_[frames_.size() - 2].kind == FrameKind::Double ||
             frames_[frames_.size() - 2].kind == FrameKind::ParameterInDouble);
        // What waits there is read again inside the backquotes.
        result_.escapePending = false;
        result_.dollarPending = false;
        break;
      case FrameKind::Comment:
        result_.quote = ShellQuote::Comment;
        break;
      default:
        result_.quote = ShellQuote::None;
        break;
    }
    return std::move(result_);
  }

 private:
  Frame& top() { return frames_.back(); }
  char at(std::size_t pos) const { return pos < s_.size() ? s_[pos] : '\0'; }
  static Frame frame(FrameKind kind) {
    Frame f;
    f.kind = kind;
    return f;
  }
  void push(FrameKind kind) { frames_.push_back(frame(kind)); }
  void pop() {
    frames_.pop_back();
    if (frames_.empty()) frames_.push_back(frame(FrameKind::Line));
  }

  // A word begins (or goes on) at the current byte of a list.
  void wordByte(bool quoted) {
    Frame& f = top();
    if (!f.inWord) {
      f.inWord = true;
      f.wordQuoted = false;
      f.wordStart = i_;
    }
    if (quoted) f.wordQuoted = true;
  }

  // Skips the byte after a backslash; at the end of the text the backslash waits.
  void escape() {
    if (i_ + 1 < s_.size()) {
      ++i_;
    } else {
      result_.escapePending = true;
    }
  }

  // "$" followed by "((", "(" or "{" opens an expansion; a "$" at the end waits.
  void dollar(bool inDouble) {
    if (at(i_ + 1) == '(' && at(i_ + 2) == '(') {
      push(FrameKind::Arithmetic);
      i_ += 2;
    } else if (at(i_ + 1) == '(') {
      push(FrameKind::Substitution);
      ++i_;
    } else if (at(i_ + 1) == '{') {
      push(inDouble ? FrameKind::ParameterInDouble : FrameKind::Parameter);
      ++i_;
    } else if (i_ + 1 == s_.size()) {
      result_.dollarPending = true;
    }
  }

  void openBackquote() {
    push(FrameKind::Backquote);
    top().start = i_ + 1;
  }

  // The bytes that work alike in double quotes, ${...} and $((...)): an escape, an expansion,
  // a backquote; any other byte is text there.
  void nestingByte(char c, bool inDouble) {
    if (c == '\\') {
      escape();
    } else if (c == '$') {
      dollar(inDouble);
    } else if (c == '`') {
      openBackquote();
    }
  }

  void endWord() {
    Frame& f = top();
    if (!f.inWord) return;
    f.inWord = false;
    const std::string_view word = s_.substr(f.wordStart, i_ - f.wordStart);
    const bool plain = !f.wordQuoted;
    if (f.inCasePattern()) {
      OpenCompound& c = f.open.back();
      if (c.phase == CasePhase::Subject) {
        c.phase = CasePhase::In;
      } else if (c.phase == CasePhase::In) {
        c.phase = CasePhase::Pattern;
      } else if (plain && word == "esac") {
        f.open.pop_back();
        f.commandStart = false;
      }
      return;
    }
    const bool reserved = plain && f.commandStart;
    f.commandStart = false;
    if (!reserved) return;
    if (word == "if") {
      f.open.push_back({Compound::If});
      f.commandStart = true;
    } else if (word == "while" || word == "until") {
      f.open.push_back({Compound::Loop});
      f.commandStart = true;
    } else if (word == "for") {
      f.open.push_back({Compound::Loop});
    } else if (word == "case") {
      f.open.push_back({Compound::Case, CasePhase::Subject});
    } else if (word == "{") {
      f.open.push_back({Compound::Brace});
      f.commandStart = true;
    } else if (word == "then" || word == "else" || word == "elif" || word == "do" || word == "!") {
      f.commandStart = true;
    } else if (!f.open.empty() && ((word == "fi" && f.open.back().kind == Compound::If) ||
                                   (word == "done" && f.open.back().kind == Compound::Loop) ||
                                   (word == "}" && f.open.back().kind == Compound::Brace) ||
                                   (word == "esac" && f.open.back().kind == Compound::Case))) {
      f.open.pop_back();
    }
  }

  void stepList() {
    const char c = s_[i_];
    switch (c) {
      case ' ':
      case '\t':
        endWord();
        break;
      case '\n':
        endWord();
        top().commandStart = true;
        break;
      case ';':
        endWord();
        if (at(i_ + 1) == ';') {
          ++i_;
          if (!top().open.empty() && top().open.back().kind == Compound::Case)
            top().open.back().phase = CasePhase::Pattern;
          top().commandStart = false;
        } else {
          if (top().kind == FrameKind::Line && top().open.empty()) result_.separators.push_back(i_);
          top().commandStart = true;
        }
        break;
      case '&':
      case '|':
        endWord();
        if (at(i_ + 1) == c) ++i_;
        top().commandStart = true;
        break;
      case '<':
      case '>':
        endWord();
        break;
      case '(':
        endWord();
        if (!top().inCasePattern()) push(FrameKind::Subshell);
        break;
      case ')':
        endWord();
        if (top().inCasePattern()) {
          top().open.back().phase = CasePhase::Body;
          top().commandStart = true;
        } else if (top().kind == FrameKind::Subshell) {
          pop();
          top().commandStart = true;
        } else if (top().kind == FrameKind::Substitution) {
          pop();  // the word that held it goes on
        }
        break;
      case '\'':
        wordByte(true);
        push(FrameKind::Single);
        break;
      case '"':
        wordByte(true);
        push(FrameKind::Double);
        break;
      case '`':
        wordByte(true);
        openBackquote();
        break;
      case '\\':
        wordByte(true);
        escape();
        break;
      case '$':
        wordByte(true);
        dollar(false);
        break;
      case '#':
        if (!top().inWord) {
          push(FrameKind::Comment);
          break;
        }
        wordByte(false);
        break;
      default:
        wordByte(false);
        break;
    }
  }

  void step() {
    const char c = s_[i_];
    switch (top().kind) {
      case FrameKind::Line:
      case FrameKind::Subshell:
      case FrameKind::Substitution:
        stepList();
        break;
      case FrameKind::Single:
        if (c == '\'') pop();
        break;
      case FrameKind::Double:
        if (c == '"') {
          pop();
        } else {
          nestingByte(c, true);
        }
        break;
      case FrameKind::Parameter:
      case FrameKind::ParameterInDouble: {
        const bool inDouble = top().kind == FrameKind::ParameterInDouble;
        if (c == '}') {
          pop();
        } else if (c == '"') {
          push(FrameKind::Double);
        } else if (c == '\'' && !inDouble) {
          push(FrameKind::Single);
        } else {
          nestingByte(c, inDouble);
        }
        break;
      }
      case FrameKind::Arithmetic:
        if (c == '(') {
          ++top().parens;
        } else if (c != ')') {
          nestingByte(c, true);
        } else if (top().parens > 0) {
          --top().parens;
        } else {
          if (at(i_ + 1) == ')') ++i_;
          pop();
        }
        break;
      case FrameKind::Backquote:
        if (c == '`') {
          pop();
        } else if (c == '\\') {
          escape();
        }
        break;
      case FrameKind::Comment:
        if (c == '\n') {
          pop();
          return;  // the line break ends a command of the list too
        }
        break;
    }
    ++i_;
  }

  std::string_view s_;
  std::size_t i_ = 0;
  std::vector<Frame> frames_;
  ShellScan result_;
};

// The bytes a backslash escapes inside backquotes (inside double quotes "\"" too).
bool escapedInBackquotes(char c, bool inDouble) {
  return c == '\\' || c == '`' || c == '$' || (inDouble && c == '"');
}

// The text of a backquote substitution as the interpreter reads it again: the escaped bytes
// lose their backslash. A backslash at the very end stays.
std::string unescapeBackquoted(std::string_view raw, bool inDouble) {
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
    if (raw[i] == '\\' && escapedInBackquotes(next, inDouble)) {
      out += next;
      ++i;
    } else {
      out += raw[i];
    }
  }
  return out;
}

// True when the text ends in a backslash that is not itself escaped.
bool endsInLoneBackslash(std::string_view raw) {
  std::size_t count = 0;
  while (count < raw.size() && raw[raw.size() - 1 - count] == '\\') ++count;
  return count % 2 == 1;
}

// The text as one unquoted word; always quoted with force.
std::string wordUnquoted(std::string_view text, bool force) {
  bool safe = !force;
  for (char c : text) safe = safe && safeForShell(c);
  if (safe) return std::string(text);
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\"'\"'";
    } else if (c == '%') {
      out += '\'';
      out += PercentWord;
      out += '\'';
    } else {
      out += c;
    }
  }
  out += '\'';
  return out;
}

// The text inside double quotes: backslashes before the four bytes that are special there (and
// before "}" in the word of a "${...}").
std::string wordInDouble(std::string_view text, bool inParameter) {
  std::string out;
  for (char c : text) {
    if (c == '%') {
      out += PercentInDouble;
      continue;
    }
    if (c == '\\' || c == '$' || c == '`' || c == '"' || (inParameter && c == '}')) out += '\\';
    out += c;
  }
  return out;
}

// The text inside $((...)): there is no quoting, so every byte but letters, digits and blanks
// is escaped; the expression is nonsense then, but nothing of the text ends it early.
std::string wordInArithmetic(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '%') {
      out += PercentInDouble;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (!(byte >= 0x80 || c == ' ' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
          (c >= '0' && c <= '9')))
      out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

ShellScan scanShellText(std::string_view text) { return Scanner(text).run(); }

// The line cut at the separators; blank pieces are left out.
static std::vector<std::string_view> splitAt(std::string_view line,
                                             const std::vector<std::size_t>& separators) {
  std::vector<std::string_view> commands;
  const auto add = [&commands](std::string_view piece) {
    if (!trimBlanks(piece).empty()) commands.push_back(piece);
  };
  std::size_t begin = 0;
  for (std::size_t end : separators) {
    add(line.substr(begin, end - begin));
    begin = end + 1;
  }
  add(line.substr(begin));
  return commands;
}

static std::string shWordAt(std::string_view before, std::string_view text) {
  const ShellScan scan = scanShellText(before);
  if (scan.quote == ShellQuote::Backquote) {
    // Written for the command inside, then escaped for the backquotes around it; a lone
    // backslash before pairs with one more of ours.
    const std::string_view raw = before.substr(scan.backquoteStart);
    const bool inDouble = scan.backquoteInDouble;
    const std::string inner = shWordAt(unescapeBackquoted(raw, inDouble), text);
    std::string out = endsInLoneBackslash(raw) ? "\\" : "";
    for (char c : inner) {
      if (escapedInBackquotes(c, inDouble)) out += '\\';
      out += c;
    }
    return out;
  }
  // A backslash before escapes only a backslash of ours; a "$" before is kept from reading
  // the text as a name by an empty quote.
  std::string out = scan.escapePending ? "\\" : "";
  if (scan.dollarPending) out += "\"\"";
  switch (scan.quote) {
    case ShellQuote::Single:
      if (text.find_first_of("'%") == std::string_view::npos) {
        out += text;
      } else {
        out += '\'';
        out += wordUnquoted(text, true);
        out += '\'';
      }
      break;
    case ShellQuote::Double:
      out += wordInDouble(text, scan.inParameter);
      break;
    case ShellQuote::Arithmetic:
      out += wordInArithmetic(text);
      break;
    case ShellQuote::Comment:
      for (char c : text) out += c == '\n' || c == '%' ? ' ' : c;
      break;
    default:
      out += wordUnquoted(text, scan.dollarPending);
      break;
  }
  return out;
}

static std::string shQuote(std::string_view text) { return wordUnquoted(text, false); }

static std::string shUnquote(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const std::string_view rest = text.substr(i);
    if (quote == 0 && rest.starts_with(PercentWord)) {
      out += '%';
      i += PercentWord.size() - 1;
    } else if (quote == '"' && rest.starts_with(PercentInDouble)) {
      out += '%';
      i += PercentInDouble.size() - 1;
    } else if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else {
        out += c;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else {
      out += c;
    }
  }
  return out;
}

static std::string shFirstWord(std::string_view text, std::size_t* restOffset) {
  std::size_t begin = 0;
  while (begin < text.size() && isBlank(text[begin])) ++begin;
  std::size_t end = begin;
  char quote = 0;
  for (; end < text.size(); ++end) {
    char c = text[end];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (isBlank(c)) {
      break;
    }
  }
  if (restOffset != nullptr) *restOffset = end;
  return shUnquote(text.substr(begin, end - begin));
}

// The interpreter that runs the lines decides their grammar.
static bool hostIsCmd() { return commandSyntax() == CommandSyntax::WindowsCmd; }

std::vector<std::string_view> splitCommandLine(std::string_view line) {
  // The interpreter reads a line with a break whole (cmd.exe reads only up to the break).
  if (line.find('\n') != std::string_view::npos) return splitAt(line, {});
  return splitAt(line, hostIsCmd() ? scanCmdText(line).separators : scanShellText(line).separators);
}

std::string shellWordAt(std::string_view before, std::string_view text, std::string_view after) {
  return hostIsCmd() ? cmdWordAt(before, text, after) : shWordAt(before, text);
}

std::string quoteForShell(std::string_view text) {
  return hostIsCmd() ? cmdWordAt("", text) : shQuote(text);
}

std::string unquoteShellText(std::string_view text) {
  return hostIsCmd() ? unquoteCmdText(text) : shUnquote(text);
}

std::string firstShellWord(std::string_view text, std::size_t* restOffset) {
  return hostIsCmd() ? firstCmdWord(text, restOffset) : shFirstWord(text, restOffset);
}

std::string_view shellWordRefusal(std::string_view text, bool readAgain) {
  if (!hostIsCmd()) return {};
  switch (cmdWordProblem(text, readAgain)) {
    case CmdWordProblem::Quote:
      return exec_text::NameHoldsQuote;
    case CmdWordProblem::Control:
      return exec_text::NameHoldsControl;
    case CmdWordProblem::Percent:
      return exec_text::NameHoldsPercent;
    case CmdWordProblem::None:
      break;
  }
  return {};
}

}  // namespace corvane
