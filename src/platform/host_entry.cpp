#include "platform/host_entry.h"

#include "platform/drives.h"

namespace corvane {

void shapeFindRecord(const EntryStatus& status, std::string_view hostName, FindRecord& record) {
  if (hostName.find('\\') == std::string_view::npos) {
    record.name.assign(hostName);  // keeps the record's buffer from entry to entry
  } else {
    record.name = programNameOfHostName(hostName);
  }
  record.attribute = baseAttributes(status.directory, status.ownerWritable, hostName);
  record.size = status.directory || status.dangling ? 0 : status.size;
  packDosDateTime(status.modified, record.date, record.time);
  record.device = status.device;
  record.inode = status.inode;
  record.isLink = status.link;
  record.linkToDirectory = status.link && status.directory;
  record.found = 1;
}

std::uint8_t baseAttributes(bool directory, bool ownerWritable, std::string_view name) {
  std::uint8_t attributes = 0;
  if (directory) attributes |= 0x10;
  if (!ownerWritable) attributes |= 0x01;
  if (name.starts_with('.') && name != "." && name != "..") attributes |= 0x02;
  return attributes;
}

int parseUserAttributes(const char* text, std::size_t length) {
  if (length < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return 0;
  unsigned value = 0;
  for (std::size_t i = 2; i < length; ++i) {
    char c = text[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else if (c == '\0' && i + 1 == length) {
      break;  // a stored terminator
    } else {
      return 0;
    }
    value = (value << 4 | digit) & 0xFFFFu;
  }
  return static_cast<int>(value) & UserAttributeBits;
}

namespace {

bool localTimeOf(std::time_t when, std::tm& tm) {
#ifdef _WIN32
  return localtime_s(&tm, &when) == 0;
#else
  return localtime_r(&when, &tm) != nullptr;
#endif
}

}  // namespace

void packDosDateTime(std::time_t when, std::uint16_t& date, std::uint16_t& time) {
  std::tm tm{};
  if (!localTimeOf(when, tm) || tm.tm_year < 80) {
    date = (1 << 5) | 1;  // 1980-01-01
    time = 0;
    return;
  }
  if (tm.tm_year > 80 + 127) {
    date = static_cast<std::uint16_t>(127 << 9 | 12 << 5 | 31);
    time = static_cast<std::uint16_t>(23 << 11 | 59 << 5 | 29);
    return;
  }
  date = static_cast<std::uint16_t>((tm.tm_year - 80) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday);
  // A leap second (60) is kept within the 2-second field.
  int seconds = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  time = static_cast<std::uint16_t>(tm.tm_hour << 11 | tm.tm_min << 5 | seconds / 2);
}

bool unpackDosDateTime(std::uint16_t date, std::uint16_t time, std::time_t& when) {
  int day = date & 0x1F, month = date >> 5 & 0x0F, year = (date >> 9) + 1980;
  int seconds = (time & 0x1F) * 2, minutes = time >> 5 & 0x3F, hours = time >> 11;
  if (day < 1 || day > 31 || month < 1 || month > 12 || hours > 23 || minutes > 59 ||
      seconds > 59) {
    return false;
  }
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hours;
  tm.tm_min = minutes;
  tm.tm_sec = seconds;
  tm.tm_isdst = -1;
  when = std::mktime(&tm);
  // mktime moves 31 February into March; such a date is not one.
  return when != static_cast<std::time_t>(-1) && tm.tm_mday == day && tm.tm_mon == month - 1;
}

}  // namespace corvane
