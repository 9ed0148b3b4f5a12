// Command templates: a command text with placeholders for the current file, the panel
// directories and a parameter typed at run time.
//
//   %1   the first panel's directory when known, else the file name (the 1 consumed)
//   %2   the second panel's directory when two panels are shown, else the file name
//   %%   the file name up to its last dot (the whole name when it has none)
//   %x   the whole file name; the x stays in the text (also a "%" at the very end)
//   [ ]  the answer to "Enter parameter  :"
//
// The commands go to the command interpreter, so names and directories are inserted in
// their host form (a full program path becomes its host path), written so that the
// interpreter reads exactly the name wherever it lands (shellWordAt: unquoted, inside quotes
// or a substitution the template opened). What the user types, the template and the
// parameter, is the interpreter's text as it stands: a "%" there is always a placeholder.
#pragma once

#include <string>
#include <string_view>

#include "platform/keycodes.h"

namespace corvane {

// Most characters of an expanded command (the buffer of the stored formats holds 401).
constexpr int CommandLengthLimit = 400;
// Most characters of the typed parameter.
constexpr int ParameterLengthLimit = 80;

// Results of expandCommand besides the key that cancelled the parameter input.
constexpr int ExpandDone = 0;
constexpr int ExpandError = 1;

// How the file name is inserted: as a host name quoted for the interpreter, or exactly as
// given (a typed parameter standing for the file name is shell text already). The panel
// directories of %1 and %2 are names either way, always written for the interpreter.
enum class NameQuoting { Shell, Verbatim };

// The directories %1 and %2 stand for (program paths, "" when unknown). The command window
// sets them before it runs a line; they keep their values until set again.
void setTemplateDirectories(std::string_view first, std::string_view second);
// Directory 1 or 2 ("" for any other n).
const std::string& templateDirectory(int n);

// The placeholders replaced, without the parameter input. error is the message of an
// overflow ("" when none); parameterAt is where the first "[ ]" of the template landed in
// text (npos when the template has none; one inside an inserted name does not count).
struct TemplateExpansion {
  std::string text;
  std::string_view error;
  std::size_t parameterAt = std::string::npos;
};
// Each insertion that would take the text past maxLength stops with "% ERROR 1" ("%%" on a
// name with a dot), "% ERROR 2" ("%%" on a name without one) or "% ERROR 3" (any other
// placeholder); a finished text of maxLength characters or more is "LNG ERROR 1"; a name the
// interpreter cannot be given as one word stops with shellWordRefusal's text. Without
// "%" in the template and with append, a blank and the file name are appended.
TemplateExpansion expandPlaceholders(std::string_view fileName, std::string_view templateText,
                                     int maxLength, bool append,
                                     NameQuoting quoting = NameQuoting::Shell);

// Expands the template in command in place. Overflows show their message and return
// ExpandError (command unchanged); so does a parameter that makes the text maxLength long or
// longer ("LNG ERROR 2 "). With "[ ]" in the template the parameter is asked for (80
// characters, at column 10 of the current window, 40 wide): Enter puts the answer in place
// of the first "[ ]"; any other key ends the expansion and is returned, command holding the
// text without the parameter. ExpandDone otherwise.
int expandCommand(std::string_view fileName, std::string& command,
                  int maxLength = CommandLengthLimit, bool append = false,
                  NameQuoting quoting = NameQuoting::Shell);

// Asks "Enter parameter  :" (ParameterLengthLimit characters, 40 wide, at column 10 and row
// 10 of the current window) with text as its start; returns the key that ended the input.
KeyCode askParameter(std::string& text);

// The host form of a file name as a command sees it: a full program path becomes its host
// path, a relative one gets "/" separators; names are otherwise unchanged.
std::string hostFormOfName(std::string_view fileName);

}  // namespace corvane
