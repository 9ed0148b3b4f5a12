// Every text the external-command layer shows, in one place.
#pragma once

#include <string_view>

namespace corvane::exec_text {

constexpr std::string_view CommandPrompt = "Command :";

// Template expansion.
constexpr std::string_view ParameterPrompt = "Enter parameter  :";
constexpr std::string_view OverflowBaseName = "% ERROR 1";   // "%%" on a name with a dot
constexpr std::string_view OverflowWholeName = "% ERROR 2";  // "%%" on a name without one
constexpr std::string_view OverflowOther = "% ERROR 3";      // any other placeholder
constexpr std::string_view TooLong = "LNG ERROR 1";
constexpr std::string_view ParameterTooLong = "LNG ERROR 2 ";
// Names cmd.exe cannot be given as one word.
constexpr std::string_view NameHoldsQuote = "The name holds a \" that cmd.exe cannot quote";
constexpr std::string_view NameHoldsControl = "The name holds a control character";
constexpr std::string_view NameHoldsPercent =
    "A name with % cannot go on the command line:\nuse it in a menu or association command";

// Running command lines.
constexpr std::string_view CommandError = "ERROR";
constexpr std::string_view PressAnyKey = "Press any key !";
// A command that could not start: the directory and the reason, or the interpreter and it.
constexpr const char* CannotEnterFormat = "The command could not start:\n%s\n%s";
constexpr const char* CannotStartFormat = "The command could not start:\n%s: %s";

// Associations and configured programs.
constexpr std::string_view ExtensionNotDefined = "Extension not defined";
constexpr const char* NotExecutableFormat =
    "Command '%s' not executable,\nPlease check the syntax !";

// The user menu.
constexpr const char* FormatDefinitionFileError = "DEFINITIONFILE ERROR \n%s";
constexpr const char* FormatDefinitionError = "DEFINITION ERROR \n%s";
constexpr const char* FormatFileOpenError = "File open error %s \n";

}  // namespace corvane::exec_text
