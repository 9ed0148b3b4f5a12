// Member and file names on an archiver's command line. Archivers read the names after the
// archive as patterns and some as options; each known archiver gets each name written so
// that it means exactly that one name, and a name that cannot be written so is refused.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace corvane {

// What the command does with the names: the options it needs for exact names differ.
enum class ArchiverAction { Add, Delete, Extract };

struct ArchiverNames {
  // The options as the definitions give them, with what exact names need added
  // (ARJ matches whole paths only with "-p").
  std::string options;
  // The names as words for the interpreter, each quoted, behind an end of the options
  // where the archiver takes one.
  std::string words;
  // The first name that cannot be given exactly ("" when all can).
  std::string refused;
};

// The program's own name: the base name of the definition's first word.
std::string archiverProgramName(std::string_view program);

// Writes the names for the archiver a definition names:
//   zip: taken literally with "-nw" among the options (else a name with "*", "?" or "["
//        is refused), after "--";
//   unzip, unar: "*", "?" and "[" and a leading "-" each in brackets ("[*]");
//   arj: the same brackets, after "--", with "-p" among the options; a leading "!" refused;
//   lha, lhasa: a name with "*" or "?" refused;
//   any other program: a name with "*", "?", "[", "]" or a leading "-", "@" or "!" refused.
// With the bracket forms a "\" is refused too. The result's refused is the first refused name.
ArchiverNames archiverNames(std::string_view program, std::string_view options,
                            ArchiverAction action, std::span<const std::string> names);

}  // namespace corvane
