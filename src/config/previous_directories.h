// The previous-directories file (".__S" beside the setup file): the directories of the two
// panels when the program last ended, one per line, so a new run can start there.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

struct PreviousDirectories {
  std::string panel1;  // empty: no directory saved
  std::string panel2;
};

// Writes the two lines (program paths; panel2 empty with one panel), replacing the old file
// only once the new one is complete. A path holding a line break is written as an empty line
// so that it cannot shift the other. False when the file cannot be written.
bool writePreviousDirectories(std::string_view filePath, std::string_view panel1,
                              std::string_view panel2);

// Reads the two lines, each without its line end only (a directory name may begin or end with
// blanks); a line longer than a path can be is dropped; a path whose drive letter is not a
// ready drive becomes ".\". A missing file, or one that is not a regular file, gives two empty
// directories.
PreviousDirectories readPreviousDirectories(std::string_view filePath);

}  // namespace corvane
