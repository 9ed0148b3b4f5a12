// File find, directory sizes and the recursive command: walks of walkTree (modes WalkList,
// WalkSize, WalkCommand) that list, count or run a command on every file that matches a mask
// below a start directory. A walk never follows a link, never enters a directory twice on
// its way down, notes a directory it cannot read and goes on; Esc asks " Cancel operation ? "
// after each file and "Y" ends the walk with what was counted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "actions/command_context.h"

namespace corvane {

// A pattern split at its last backslash: the start directory before it ("." when there is
// none; a drive root keeps its backslash) and the mask after it ("*.*" when empty). A host
// path ("/home/ann/*.c") is split at its last "/" and its directory made a program path.
struct PatternParts {
  std::string directory;
  std::string mask;
};
PatternParts splitPattern(std::string_view pattern);
// A pattern the user typed for a search over a tree: blanks at both ends go, the mask is
// trimmed and lower-cased ("*.*" when empty), and without a directory the walk starts in the
// current directory.
PatternParts typedSearchPattern(std::string_view typed);

// The line of a found file: "\n", the path padded to 45 characters ("~" and its last 44 when
// longer), the size and the date by the date style.
std::string foundLine(std::string_view path, std::uint64_t size, std::uint16_t date, bool dayMonth);

// What a walk counted. Sums are 64-bit: a sparse 5 GB file counts whole.
struct WalkTotals {
  int files = 0;
  std::uint64_t bytes = 0;
  bool cancelled = false;  // Esc and "Y" ended the walk
};

// The listing find: every matching file as a line in the window "  FileFind  ", then
// "%d Files found, total size %ld Bytes" (also for none). Returns walkTree's result.
int findFiles(std::string_view pattern, WalkTotals* totals = nullptr);

// The summed size of the files matching the pattern's mask below its directory, every
// subdirectory entered (hidden ones too), in the window " Calculating directorysize ! ";
// the report only when show is set.
std::uint64_t directorySize(std::string_view pattern, bool show, WalkTotals* totals = nullptr);

// The recursive command: for every matching file "%s %s" with the command and the file's path
// as one quoted word, listed in the output window, then all run with the terminal given back
// once. Returns how many files matched.
int commandRecursive(std::string_view pattern, std::string_view command);

// F2: the size of the directory under the cursor, reported and kept in its entry (the
// display shows it); a file or ".." beeps. Shift-F1: every directory's size but "..'s",
// without reports; Esc keeps the sizes done.
int directorySizeCommand(CommandContext& context, CommandId code);

// 4107: asks "Search :" and "Command :" and runs the recursive command.
int commandRecursiveCommand(CommandContext& context, CommandId code);

// "Search :" (35 cells wide, up to 80 characters) for a file pattern; false unless Enter.
bool askSearchPattern(std::string& pattern);

}  // namespace corvane
