#include "config/file_details.h"

#include <cstdio>
#include <string>

#include "config/archiver_defs.h"
#include "platform/charset.h"
#include "platform/color.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/hotkey_label.h"
#include "ui/line_input.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int DetailsWindowFlags = WindowClear | WindowShadow | WindowSingle;
constexpr int DetailsExtraRows = 3;  // the frame and the line after the last line feed
constexpr int TimeRow = 2, DateRow = 3, AttributesRow = 4;
constexpr int ValueColumn = 9;  // after " Time : "
constexpr int DateTimeInputLength = 12;
constexpr int FirstYear = 1980, LastYear = 2107;

constexpr int AttributeBits[] = {AttrHidden, AttrSystem, AttrReadOnly, AttrArchive};

// A name of more than DetailsNameChars characters: its start, "..." and its end.
std::string shortenedName(std::string_view name) {
  const std::size_t chars = textChars(name);
  if (chars <= static_cast<std::size_t>(DetailsNameChars)) return std::string(name);
  const std::size_t keep = (DetailsNameChars - 3) / 2;
  std::string shown(name.substr(0, charOffset(name, keep)));
  shown += "...";
  shown += name.substr(charOffset(name, chars - (DetailsNameChars - 3 - keep)));
  return shown;
}

int attributeOfKey(int letter) {
  switch (letter) {
    case 'A':
      return AttrArchive;
    case 'H':
      return AttrHidden;
    case 'R':
      return AttrReadOnly;
    case 'S':
      return AttrSystem;
    default:
      return 0;
  }
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int month, int year) {
  static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : Days[month - 1];
}

// Only blanks after what sscanf consumed.
bool restIsBlank(const std::string& text, int consumed) {
  for (std::size_t i = static_cast<std::size_t>(consumed); i < text.size(); ++i)
    if (text[i] != ' ') return false;
  return true;
}

// The dialog while it runs.
struct DetailsBox {
  std::string_view path;
  ScreenWindow* window = nullptr;
  int lineWidth = 0;

  void drawLine(int row, const std::string& text) const {
    writeText(text, lineWidth, 1, row, WritePad);
  }

  // Edits a value in place on its row; false when it was left without Enter.
  bool editValue(int row, std::string& text) const {
    int cursor = 0;
    setInsertMode(false);
    const KeyCode key =
        lineInput(ValueColumn, row, DateTimeInputLength, text, DateTimeInputLength, 0, cursor);
    return key == key::Enter;
  }

  // T: the time, then the date; written only when both are real.
  void changeTime(std::uint16_t date, std::uint16_t time) const {
    std::string timeText = formatDosTime(time), dateText = formatDosDate(date);
    if (!editValue(TimeRow, timeText) || !editValue(DateRow, dateText)) return;
    std::uint16_t newDate = 0, newTime = 0;
    if (!parseDosDateTime(timeText, dateText, newDate, newTime) ||
        !setFileTime(path, newDate, newTime))
      rejectBeep();
  }
};

}  // namespace

std::string attributeText(int attributes) {
  std::string text;
  for (std::size_t i = 0; i < DetailsAttributeLetters.size(); ++i)
    text += (attributes & AttributeBits[i]) != 0 ? DetailsAttributeLetters[i] : '.';
  return text;
}

bool parseDosDateTime(std::string_view time, std::string_view date, std::uint16_t& dosDate,
                      std::uint16_t& dosTime) {
  int hour = 0, minute = 0, day = 0, month = 0, year = 0, timeEnd = 0, dateEnd = 0;
  const std::string timeText(time), dateText(date);
  if (std::sscanf(timeText.c_str(), "%2d:%2d%n", &hour, &minute, &timeEnd) != 2 ||
      std::sscanf(dateText.c_str(), "%2d.%2d.%4d%n", &day, &month, &year, &dateEnd) != 3 ||
      !restIsBlank(timeText, timeEnd) || !restIsBlank(dateText, dateEnd))
    return false;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
  if (year < FirstYear || year > LastYear || month < 1 || month > 12) return false;
  if (day < 1 || day > daysInMonth(month, year)) return false;
  dosTime = static_cast<std::uint16_t>((hour << 11) | (minute << 5));
  dosDate = static_cast<std::uint16_t>(((year - FirstYear) << 9) | (month << 5) | day);
  return true;
}

int fileDetailsDialog(std::string_view path, std::string_view name) {
  int attributes = getAttributes(path);
  std::uint16_t date = 0, time = 0;
  if (attributes < 0 || !getFileTime(path, date, time)) {
    messageBox(textf(FormatFileOpenError, std::string(path).c_str()));
    return key::Escape;
  }
  const std::string text = textf(FormatFileDetails, shortenedName(name).c_str(),
                                 formatDosTime(time).c_str(), formatDosDate(date).c_str());
  const BoxLayout layout = layoutBox(text, DetailsExtraRows);
  ScopedWindow box;
  const ColorAttr attr = color(ColorMessageWindow);
  if (box.open(layout.x, layout.y, layout.width, layout.height, attr, attr, DetailsWindowFlags) !=
      0)
    return key::Escape;
  printHotkeyLabel(1, windowLastColumn(*box) - 1, 1, text);
  DetailsBox details{path, box.get(), windowLastColumn(*box) - 1};
  SavedMouseZones callerZones(true);

  for (;;) {
    attributes = getAttributes(path);
    if (attributes < 0 || !getFileTime(path, date, time)) {
      rejectBeep();  // the entry went meanwhile
      return key::Escape;
    }
    details.drawLine(TimeRow, textf(FormatDetailsTime, formatDosTime(time).c_str()));
    details.drawLine(DateRow, textf(FormatDetailsDate, formatDosDate(date).c_str()));
    details.drawLine(AttributesRow,
                     textf(FormatDetailsAttributes, attributeText(attributes).c_str()));
    const KeyCode key = readRealKey();
    if (key == key::Enter || key == key::Escape) return key;
    const int letter = typedLetter(key);
    const bool directory = (attributes & AttrDirectory) != 0;
    if (const int bit = attributeOfKey(letter); bit != 0) {
      if (!setAttributes(path, (attributes ^ bit) & ~AttrDirectory)) rejectBeep();
    } else if (letter == 'T' && !directory) {
      details.changeTime(date, time);
    } else {
      rejectBeep();
    }
  }
}

}  // namespace corvane
