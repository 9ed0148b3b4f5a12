// The file details dialog: one entry's time, date and attributes, changed in place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

constexpr const char* FormatFileDetails =
    " File : %-12s\n Time : %-8s\n Date : %-9s\n Attr :      \n \n"
    " Change: ^Time ^Archive ^Read only ^Hidden ^System";
constexpr const char* FormatDetailsTime = " Time : %-8s";
constexpr const char* FormatDetailsDate = " Date : %-9s";
constexpr const char* FormatDetailsAttributes = " Attr : %s";
constexpr const char* FormatFileOpenError = "File open error %s \n";
// The attribute letters in the order shown; '.' for an attribute not set.
constexpr std::string_view DetailsAttributeLetters = "HSRA";
// Names longer than this many characters are shown with "..." in their middle.
constexpr int DetailsNameChars = 40;

// Shows the entry at path (a program path; name is what the box calls it) and reads keys
// until Enter or Esc, reading its time and attributes afresh after each key. A, H, R and S
// (either case) switch the archive, hidden, read-only and system attribute at once (never
// the directory bit); T (not for a directory) asks for a new time and then a new date,
// written as the modification time (the access time stays). A change the file system
// refuses, or a time or date that does not exist (hours 0-23, minutes 0-59, a real day of a
// month of the years 1980-2107), gives the rejection beep and writes nothing. An entry that
// cannot be read shows "File open error %s \n". Returns 13 or 27.
int fileDetailsDialog(std::string_view path, std::string_view name);

// The attribute text: H, S, R, A each the letter when set, else '.'.
std::string attributeText(int attributes);

// A typed time "%2d:%2d" and date "%2d.%2d.%4d" as DOS time and date; false when either is
// not read whole or does not exist.
bool parseDosDateTime(std::string_view time, std::string_view date, std::uint16_t& dosDate,
                      std::uint16_t& dosTime);

}  // namespace corvane
