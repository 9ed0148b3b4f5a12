// Words of a command line as the command interpreter reads them: quoting of inserted names
// and the few reads the program does itself (the first word, the argument of a built-in).
// Only quotes are interpreted; a backslash stays as it is, so program paths such as
// "C:\home\ann" pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Blanks and tabs removed at both ends.
std::string_view trimBlanks(std::string_view text);

// The text as one word for the interpreter: unchanged when every byte is safe there
// (letters, digits, "_-.,/+:@" and the bytes of non-ASCII characters), otherwise in single
// quotes, an embedded single quote written as '"'"'. An empty text stays empty.
std::string quoteForShell(std::string_view text);

// The text with the quoting of quoteForShell and of double quotes removed: what is between
// '...' or "..." is taken literally; everything else is kept as it is.
std::string unquoteShellText(std::string_view text);

// The first word: after leading blanks, up to the first blank or tab outside quotes, with its
// quotes removed. restOffset receives where the text after the word begins.
std::string firstShellWord(std::string_view text, std::size_t* restOffset = nullptr);

}  // namespace corvane
