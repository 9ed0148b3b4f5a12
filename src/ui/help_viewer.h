// The help viewer: one numbered page of the plain-text help file in a large window.
//
// Help file format: a line whose first non-blank character is ">" starts a page; the number
// after it (blanks skipped) is the page number. The lines up to the next such line, or the end
// of the file, are the page. Lines hold at most HelpLineLimit bytes; the rest of a longer line
// is not shown.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

constexpr const char* HelpTitleFormat = "HELP %d";
constexpr int HelpLineLimit = 200;
// The page the about box shows.
constexpr int AboutHelpPage = 51;

// The help file is the setup file's path with the extension ".hlp"; start-up sets it once the
// setup file is known. Without one (an empty path) every page is empty.
void setHelpFilePath(std::string_view path);
const std::string& helpFilePath();

// The page number a line starts, or nothing when it is no page line (also when the number
// does not fit an int: such a line can never start the page asked for).
std::optional<int> helpPageNumber(std::string_view line);

// Shows the page in a window (columns - 2 wide, rows - 3 high at column 2, row 3, titled
// "HELP %d"), a window full at a time: when more lines follow a full window, "Press any key !"
// waits at the bottom right of the frame; Escape there ends the viewer, any other key shows
// the next window full. The end of the page waits the same way. A page or file that does not
// exist shows an empty window, and so does a help file that is not a regular file (a FIFO is
// never waited on). Does nothing while help is already open.
void help(int page);
// Help is open (the key reader only beeps at F1 meanwhile).
bool helpIsOpen();
// Help for the help context of the current window (the key reader's F1 hook).
void helpForCurrentWindow();

}  // namespace corvane
