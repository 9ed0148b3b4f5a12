// What the viewer shows: its bars, menus, status line, messages and the search form.
#pragma once

#include <string_view>

namespace corvane {

constexpr const char* FormatViewerOpenError = "File open error %s \n";
constexpr std::string_view TextViewerReadError = "Read error";
constexpr const char* FormatStringNotFound = "String '%s' not found ! ";
// The status line after the file name, which is padded to 30 cells.
constexpr int StatusNameCells = 30;
constexpr const char* FormatStatusFigures = " Delta %6llu Size %6llu  [%c] [%c]";

constexpr std::string_view ViewerKeyBar =
    " ^1Help   ^2Wrap   ^3      ^4Hex   ^5Filter^6        ^7Search ^8        ^9PullDn  ^1^0Quit";
constexpr std::string_view SearchResultLabels =
    "Abort = ^E^S^C     ^File skip   ^Hexdump   ^Search only   ^Edit   ^Invalid   CTRL_F     ";

constexpr std::string_view ViewerFileMenuTitle = " ^File ";
constexpr std::string_view ViewerPositionMenuTitle = " ^Position ";
constexpr std::string_view ViewerHexItem = "^Hexadezimal    h";
constexpr std::string_view ViewerAsciiItem = "^Asciifilter    a";
constexpr std::string_view ViewerPrintItem = "^Printfilter    *";
constexpr std::string_view ViewerWrapItem = "^Wordwrap       w";
constexpr std::string_view ViewerExitItem = "^Exit Viewer  ESC";
constexpr std::string_view ViewerTopItem = "^Top of file HOME ";
constexpr std::string_view ViewerEndItem = "^End of file  END ";

constexpr std::string_view TextSearchFormTitle = " Define Textsearch ";
constexpr std::string_view TextSearchLabel = "Search :";
constexpr std::string_view TextCaseSensitive = " Case sensitive ? ";
// Asked after each file that "View " on the selected files showed, with confirmation.
constexpr std::string_view TextViewContinue = " Continue ? ";
// Shown while a search runs longer than a moment.
constexpr const char* FormatSearchProgress = " Searching ... %3d %% ";

}  // namespace corvane
