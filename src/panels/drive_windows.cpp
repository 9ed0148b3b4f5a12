#include "panels/drive_windows.h"

#include <algorithm>

#include "panels/display_texts.h"
#include "panels/entry_format.h"
#include "platform/charset.h"
#include "platform/color.h"
#include "platform/drive_info.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/window.h"

namespace corvane {

namespace {

constexpr int DirectoryCells = 23;
constexpr std::string_view DirectoryCut = "~";
constexpr int DriveBarCells = 53;
constexpr int InformationColumn = 3;
constexpr int InformationRow = 2;
constexpr int InformationWidth = 75;

int driveNumber(char letter) { return letter - 'A' + 1; }

char upperLetter(int c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c);
  return 0;
}

std::string shortenedDirectory(const std::string& directory) {
  if (textCells(directory) <= DirectoryCells) return directory;
  std::string shortened(DirectoryCut);
  shortened.append(tailCells(directory, DirectoryCells - 1));
  return shortened;
}

// Waits for a key that is neither the modifier event nor the idle event.
void waitForKey() {
  for (;;) {
    const KeyCode k = readKey();
    if (k != key::ModifierEvent && k != key::IdleEvent) return;
  }
}

}  // namespace

std::string existingDriveLetters() {
  std::string letters;
  for (char letter = 'A'; letter <= 'Z'; ++letter)
    if (driveExists(driveNumber(letter))) letters += letter;
  return letters;
}

std::string driveInformationLine(char letter) {
  letter = upperLetter(letter);
  if (letter == 0) return {};
  const int number = driveNumber(letter);
  const bool ready = driveReady(number) == 0;
  const std::string directory = ready ? shortenedDirectory(currentDirectory(letter)) : "";
  DriveInfo info;
  getDriveInfo(number, info);
  return textf(FormatDriveInformationLine, letter, info.volumeLabel.c_str(),
               formatSize(info.freeBytes()).c_str(), formatSize(info.totalBytes()).c_str(),
               directory.c_str());
}

std::vector<std::string> driveInformationLines() {
  const std::string saved = currentDirectory();
  std::vector<std::string> lines;
  for (char letter : existingDriveLetters()) lines.push_back(driveInformationLine(letter));
  changeDirectory(saved);
  return lines;
}

void driveInformation() {
  const std::vector<std::string> lines = driveInformationLines();
  const int height = std::min(static_cast<int>(lines.size()) + 4, screenRows() - InformationRow);
  ScopedWindow window;
  if (window.open(InformationColumn, InformationRow, InformationWidth, height,
                  color(ColorMessageWindow), color(ColorMessageWindow),
                  WindowDouble | WindowShadow | WindowClear, TextDriveInformationTitle) != 0)
    return;
  windowCursor(1, 1);
  // Teletype output: a list longer than the window scrolls, as the window is meant to.
  for (const std::string& line : lines) {
    for (std::size_t pos = 0; pos < line.size();) {
      if (line[pos] == '\n') {
        putChar(U'\n');
        ++pos;
        continue;
      }
      char32_t ch;
      pos += decodeChar(line, pos, ch);
      putChar(ch);
    }
  }
  putChar(U'\n');
  for (char c : PressAnyKeyText) putChar(static_cast<char32_t>(c));
  waitForKey();
}

int selectDrive(int column, int row) {
  const std::string letters = existingDriveLetters();
  SavedMouseZones callerZones;
  ScopedWindow window;
  if (window.open(column, row, DriveBarCells + 2, 3, color(ColorPulldown),
                  color(ColorPulldownFrame), WindowSingle | WindowShadow | WindowClear) != 0)
    return 0;
  std::string bar(DriveBarCells, ' ');
  std::vector<MouseZone> zones;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const int at = 2 + 2 * static_cast<int>(i);  // window column of the letter
    if (at > DriveBarCells) break;
    bar[static_cast<std::size_t>(at - 1)] = letters[i];
    zones.push_back(windowZone(*window, at, 1, 1, letters[i]));
  }
  writeText(bar, DriveBarCells - 1, 1, 1, WritePad);
  registerMouseZones(zones);

  int chosen = 0;
  for (;;) {
    const KeyCode k = readKey();
    if (k == key::Escape) break;
    const char letter = k < 0x100 ? upperLetter(k) : 0;
    if (letter == 0 || letters.find(letter) == std::string::npos) continue;
    changeDirectory(textf("%c:.\\", letter));
    chosen = letter;
    break;
  }
  return chosen;
}

}  // namespace corvane
