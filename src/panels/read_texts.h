// Every text the directory readers show.
#pragma once

#include <string_view>

namespace corvane {

constexpr std::string_view TextReadingDirectory = " Reading directory   ";
constexpr std::string_view TextAccessError = "ACCESS ERROR";
constexpr std::string_view TextCancelOperation = " Cancel operation ? ";
constexpr std::string_view TextNoFilesFound = " No Files found ! ";
constexpr std::string_view TextFileFindTitle = "  FileFind  ";
// A timed note about a directory of the global list that could not be searched.
constexpr const char* FormatAccessErrorNote = "ACCESS ERROR\n%s";
constexpr const char* FormatNoEntryNote = "NOENTRY\n%s";
// The line of a file found for the global list after its name padded to 40 cells: size,
// then day.month.year (European style) or month-day-year.
constexpr const char* FormatFoundSizeDayMonth = " Bytes : %-9llu %02d.%02d.%d";
constexpr const char* FormatFoundSizeMonthDay = " Bytes : %-9llu %02d-%02d-%d";
constexpr int FoundNameCells = 40;
// Placeholder names of the generic reader.
constexpr std::string_view TextNoEntryName = " ";
constexpr const char* FormatSourceErrorName = "Error:%4d";

}  // namespace corvane
