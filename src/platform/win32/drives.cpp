// Drives on Windows are the system's own: a letter is a drive when GetLogicalDrives names it,
// and program paths are host paths ("C:\dir\name"). The current directory of each drive is
// the program's own, as on every back end.
#include "platform/drives.h"

#include <array>

#include "platform/host_directories.h"
#include "platform/paths.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

struct DriveState {
  std::array<std::string, 26> current;  // program path of each drive's current directory
  char drive = 'C';
};

DriveState& drives() {
  static DriveState state;
  return state;
}

int driveIndex(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  return -1;
}

std::string rootOf(char letter) { return std::string(1, static_cast<char>('A' + driveIndex(letter))) + ":\\"; }

std::string& currentOf(char letter) {
  std::string& current = drives().current[driveIndex(letter)];
  if (current.empty()) current = rootOf(letter);
  return current;
}

}  // namespace

// A name on Windows never holds a backslash: names pass as they are.
std::string programNameOfHostName(std::string_view hostName) { return std::string(hostName); }
std::string hostNameOfProgramName(std::string_view programName) { return std::string(programName); }

void initDriveMap(const char*) {
  DriveState& state = drives();
  state = DriveState{};
  state.drive = 'C';
  if (!driveMapped('C')) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (driveMapped(letter)) {
        state.drive = letter;
        break;
      }
    }
  }
  std::string here = toProgramPath(hostWorkingDirectory());
  if (!here.empty() && driveMapped(here[0])) {
    state.drive = here[0];
    currentOf(here[0]) = here;
  }
}

bool driveMapped(char letter) {
  const int index = driveIndex(letter);
  return index >= 0 && (GetLogicalDrives() >> index & 1u) != 0;
}

std::string driveHostRoot(char letter) { return driveMapped(letter) ? rootOf(letter) : std::string(); }

bool driveAccessible(char letter) {
  return driveMapped(letter) && hostDirectoryReadable(rootOf(letter));
}

std::string toHostPath(std::string_view programPath) { return fullPath(programPath); }

std::string toProgramPath(std::string_view hostPath) {
  if (hostPath.starts_with("\\\\?\\")) hostPath.remove_prefix(4);
  const char letter = driveLetterOf(hostPath);
  if (letter == 0 || hostPath.size() < 3 || (hostPath[2] != '\\' && hostPath[2] != '/'))
    return {};
  return resolvedPath(letter, rootOf(letter), hostPath.substr(2));
}

char currentDrive() { return drives().drive; }

std::string currentDirectory(char letter) {
  const char drive = letter == 0 ? drives().drive : letter;
  return driveMapped(drive) ? currentOf(drive) : std::string();
}

bool setCurrentDrive(char letter) {
  if (!driveMapped(letter)) return false;
  drives().drive = rootOf(letter)[0];
  return true;
}

bool changeDirectory(std::string_view path) {
  std::string full = fullPath(path);
  if (full.empty() || !hostIsDirectory(full)) return false;
  currentOf(full[0]) = full;
  drives().drive = full[0];
  return true;
}

std::string fullPath(std::string_view path) {
  if (path.empty()) return {};
  char letter = driveLetterOf(path);
  if (letter != 0) {
    path.remove_prefix(2);
  } else {
    letter = drives().drive;
  }
  if (!driveMapped(letter)) return {};
  return resolvedPath(letter, currentOf(letter), path);
}

}  // namespace corvane
