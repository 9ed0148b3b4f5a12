#include "platform/drive_info.h"

#include <cstdio>

#include "platform/drives.h"

namespace corvane {
namespace {

constexpr std::string_view LabelRoot = "ROOT";
constexpr std::size_t VolumeNameLength = 11;  // characters

char letterOf(int number) {
  return number >= 1 && number <= 26 ? static_cast<char>('A' + number - 1) : 0;
}

}  // namespace

std::string volumeLabelText(std::string_view name) {
  std::string text;
  std::size_t characters = 0;
  for (char c : name) {
    bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    if (!continuation && ++characters > VolumeNameLength) break;
    text += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return text;
}

std::string volumeLabelOf(std::string_view hostRoot) {
  if (hostRoot == "/") return std::string(LabelRoot);
  std::string name = volumeLabelText(hostRoot.substr(hostRoot.rfind('/') + 1));
  if (std::size_t dot = name.find('.'); dot != std::string::npos) name.erase(dot, 1);
  return name;
}

bool driveExists(int number) {
  char letter = letterOf(number);
  return letter != 0 && driveMapped(letter);
}

int driveReady(int number) {
  char letter = letterOf(number);
  if (letter == 0 || !driveAccessible(letter)) return 1;
  setCurrentDrive(letter);
  return 0;
}

std::string formatSize(std::uint64_t bytes) {
  // Units from the largest; each drops its digits from the right once the count reaches
  // 1024 of the unit's tenths. Past " GB" the same steps go on, so that any 64-bit count
  // keeps within eight characters before its unit.
  struct Unit {
    std::uint64_t from;
    int dropped;
    const char* text;
  };
  static constexpr Unit Units[] = {
      {1024000000000000000ull, 17, " EB"},
      {1024000000000000ull, 14, " PB"},
      {1024000000000ull, 11, " TB"},
      {1024000000ull, 8, " GB"},
      {1024000ull, 5, " MB"},
      {1024ull, 2, " kB"},
  };
  char digits[24];
  int count = std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(bytes));
  int groupedLength = count + (count - 1) / 3;
  int kept = count;
  const char* unit = "";
  if (groupedLength > 8) {
    for (const Unit& u : Units) {
      if (bytes >= u.from) {
        kept = count - u.dropped;
        unit = u.text;
        break;
      }
    }
  }
  std::string text;
  for (int i = 0; i < kept; ++i) {
    if (i > 0 && (count - i) % 3 == 0) text += '.';  // grouping of the full number
    text += digits[i];
  }
  text += unit;
  return text;
}

}  // namespace corvane
