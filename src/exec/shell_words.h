// Words of a command line as the command interpreter reads them: where its commands end, how
// a name must be written to reach a program as exactly one word, and the few reads the
// program does itself (the first word, the argument of a built-in). The rules below are those
// of a POSIX shell; where the platform runs lines through cmd.exe, splitCommandLine,
// shellWordAt, quoteForShell, unquoteShellText and firstShellWord follow cmd.exe's instead
// (platform/cmd_words.h), and scanShellText stays the shell's.
//
// The built-in reads interpret quotes only; a backslash stays as it is there, so program
// paths such as "C:\home\ann" pass through unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Blanks and tabs removed at both ends.
std::string_view trimBlanks(std::string_view text);

// How the interpreter reads what follows a text.
enum class ShellQuote : std::uint8_t {
  None,        // unquoted: words and operators (also the word of an unquoted "${...}")
  Single,      // inside '...'
  Double,      // inside "..." (also the word of a "${...}" inside double quotes)
  Arithmetic,  // inside $((...))
  Backquote,   // inside `...`, read again as a command of its own
  Comment,     // after a "#" that begins a word, up to the line end
};

// One pass over a text with the interpreter's rules: single and double quotes, backslash
// escapes, $(...), $((...)), ${...}, backquotes, comments, ( ) subshells and the compound
// commands (if, case, for, while, until, { }).
struct ShellScan {
  // The ";" where a command of the text itself ends: not quoted, escaped or commented, not
  // inside a substitution, a subshell or a compound command, not one of a ";;".
  std::vector<std::size_t> separators;
  ShellQuote quote = ShellQuote::None;  // at the end of the text
  std::size_t backquoteStart = 0;       // with Backquote: where the open one's text begins
  bool backquoteInDouble = false;       // with Backquote: the open one is inside "..."
  bool inParameter = false;             // with Double: the word of a "${...}"
  bool escapePending = false;           // the text ends in a backslash that escapes
  bool dollarPending = false;           // the text ends in a "$" that the next byte continues
};
ShellScan scanShellText(std::string_view text);

// The commands of a line, cut at its separators; blank pieces are left out. A line holding a
// line break is one command: the interpreter reads it whole.
std::vector<std::string_view> splitCommandLine(std::string_view line);

// The text written so that, following before, the interpreter reads it as exactly the text:
// never an expansion, an operator, a pattern or the end of a quote, whatever quote or
// substitution before leaves open (in a comment, line breaks become blanks). The result
// holds no "%" outside a comment, so that a template expansion over it later leaves it as it
// is: a "%" is written as the output of printf '\045'. after is what the line goes on with
// (cmd.exe: a double quote there must not be escaped by backslashes the text ends in).
std::string shellWordAt(std::string_view before, std::string_view text, std::string_view after = {});

// The text as one word at the start of a command or after a blank: unchanged when every byte
// is safe there (letters, digits, "_-.,/+:@" and the bytes of non-ASCII characters), otherwise
// in single quotes, an embedded single quote written as '"'"'. An empty text stays empty.
std::string quoteForShell(std::string_view text);

// Why the interpreter cannot be given the text as one word ("" when it can: always for a
// POSIX shell). readAgain when the line is expanded as a template once more before it runs (a
// name put on the command line), so that a "%" must not be written as itself.
std::string_view shellWordRefusal(std::string_view text, bool readAgain);

// The text with the quoting of quoteForShell and of double quotes removed: what is between
// '...' or "..." is taken literally; everything else is kept as it is.
std::string unquoteShellText(std::string_view text);

// The first word: after leading blanks, up to the first blank or tab outside quotes, with its
// quotes removed. restOffset receives where the text after the word begins.
std::string firstShellWord(std::string_view text, std::size_t* restOffset = nullptr);

}  // namespace corvane
