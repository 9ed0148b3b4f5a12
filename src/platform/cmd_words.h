// Words of a command line as cmd.exe reads it under "/s /c": where the program's own ";"
// splits it, how a name must be written to reach a program as exactly one word, and the
// reads the program does itself (the first word, the argument of a built-in).
//
// cmd.exe knows one quote, the double quote; outside it "^" takes the next byte literally and
// blanks, "&|<>()" and ",;=" have meaning. Inside double quotes only "%" still does: "%name%"
// expands a defined variable (an undefined one stays as written). A name is therefore written
// in double quotes with each "%" outside them, between a closing and an opening quote: a
// reference that a "%" of ours begins or ends names a variable that begins or ends with a
// double quote, which no environment defines. No caret is written anywhere: not every cmd.exe
// reads carets alike. A double quote cannot be written into a word at all: it becomes a
// closing and an opening quote, so that the rest of the name stays quoted and nothing of it
// runs, and a caller that can say so refuses such a name (Windows names cannot hold one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// How cmd.exe reads what follows a text.
struct CmdScan {
  std::vector<std::size_t> separators;  // each ";" outside quotes, not after an escaping "^"
  bool inQuote = false;                 // a double quote is open at the end
  bool caretPending = false;            // the text ends in a "^" that escapes the next byte
};
CmdScan scanCmdText(std::string_view text);

// The text written so that, following before, cmd.exe and the C runtime's reading of a
// program's arguments give exactly the text: quoted when anything in it has a meaning for
// cmd.exe, inside the quote before leaves open as it stands there. after is what the line
// goes on with: backslashes that end the text are doubled when a double quote follows
// ("C:\" inside a template's own quotes), which would otherwise escape it.
std::string cmdWordAt(std::string_view before, std::string_view text, std::string_view after = {});

// Why the text cannot go to cmd.exe as a word: it holds a double quote or a control byte,
// or, when the line is read again by a template expansion (readAgain), a "%" (the template's
// placeholder, which cmd.exe has no other way to write).
enum class CmdWordProblem : std::uint8_t { None, Quote, Control, Percent };
CmdWordProblem cmdWordProblem(std::string_view text, bool readAgain);

// The text with cmd.exe's quoting removed: double quotes dropped, "^" outside them taking the
// next byte as it is, an even run of backslashes before a quote halved (the C runtime's
// reading, and how cmdWordAt writes backslashes that end a quoted name).
std::string unquoteCmdText(std::string_view text);

// The first word: after leading blanks, up to the first blank or tab outside quotes, with its
// quoting removed. restOffset receives where the text after the word begins.
std::string firstCmdWord(std::string_view text, std::size_t* restOffset = nullptr);

}  // namespace corvane
