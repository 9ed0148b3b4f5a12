// How one entry reads on screen and in the list file: its name as shown, size, date and time,
// attribute letters, compare mark and colour. Pure functions of the entry and the settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "panels/panel.h"
#include "platform/color.h"

namespace corvane {

enum class DateStyle {
  European,    // day.month.year, 24-hour clock
  TwelveHour,  // month-day-year, "a" up to 12:59, "p" with the hour less 12 from 13:00
};

// Where a date and time is written.
enum class DateForm {
  LongDisplay,  // " 04.07.03 14:05 " / " 07-04-03 02:05p"
  InfoLine,     // the same without the leading blank (and the European trailing blank)
  ListFile,     // "  04.07.03  14:05  " / "  07-04-03  02:05p "
};

// The style the setup chooses: the clock's "24 hours display" flag selects the European form.
DateStyle currentDateStyle();

// The two-digit year of a packed DOS date: 80..99 for 1980..1999, then the year less 2000
// (kept to two digits, so 2100 and later wrap instead of widening the column).
int twoDigitYear(std::uint16_t dosDate);
// Date 0 (an entry without a date) gives blanks as wide as a date.
std::string dateTimeText(std::uint16_t dosDate, std::uint16_t dosTime, DateStyle style,
                         DateForm form);

// "HSRA" with "." for each attribute not set.
std::string attributeText(std::uint8_t attributes);

// The first compare mark set in the mark word, as the long display text (" OLD" ...,
// "    " for none), the short display character (a Unicode code point, blank for none) and
// the list file character.
std::string_view compareMarkLong(std::uint32_t mark);
char32_t compareMarkShort(std::uint32_t mark);
char compareMarkList(std::uint32_t mark);

// A byte count in at most width cells: the formatSize text when it fits, otherwise the
// number cut to whole units (" kB", " MB" ... in steps of 1000) so it never overflows.
std::string fitSize(std::uint64_t bytes, int width);
// The size column of the long displays: "%8llu" while the number has at most eight digits,
// beyond that fitSize(bytes, 8) right-aligned, so the column keeps its width.
std::string sizeColumnText(std::uint64_t bytes);
// The size field of a node: the size, or "   <DIR>" for a directory whose size has not
// been computed.
std::string sizeFieldText(const FileNode& node);

// Whether the name's last extension is exe, com or bat (any case).
bool isExecutableName(std::string_view name);

// The name as the list shows it: upper case on short-name volumes (nameCase 0), the full
// path in the global list's long displays, and the 8.3 column layout for short names.
std::string displayName(const Panel& panel, NodeId id);
// The name as the list file writes it: upper case on short-name volumes, the full path in
// the global list's long displays; no column layout.
std::string listFileName(const Panel& panel, NodeId id);
// A to Z for a to z, nothing else changed.
std::string upperCaseLetters(std::string_view text);

// The colour of an entry's line. normal is the panel's own text colour.
ColorAttr entryColor(const FileNode& node, bool underCursor, ColorAttr normal);

// Text padded with blanks to exactly cells cells, or cut to them (a wide character that
// would be split becomes a blank).
std::string padCells(std::string_view text, int cells);
// The last cells cells of a text (whole characters), for paths that do not fit.
std::string tailCells(std::string_view text, int cells);

}  // namespace corvane
