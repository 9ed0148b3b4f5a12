#include "platform/drives.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/host_directories.h"
#include "platform/paths.h"

namespace corvane {
namespace {

constexpr std::string_view EscapedBackslash = "\xEF\x81\x9C";  // U+F05C

struct Drive {
  std::string hostRoot;      // absolute, no trailing "/" except "/" itself; "" when unmapped
  std::string resolvedRoot;  // hostRoot with symbolic links resolved, when it exists
  std::string current;       // program path of the drive's current directory
};

struct DriveMap {
  std::array<Drive, 26> drives;
  char current = 'C';
};

DriveMap& driveMap() {
  static DriveMap map = [] {
    DriveMap m;
    m.drives['C' - 'A'] = {"/", "/", "C:\\"};
    return m;
  }();
  return map;
}

int driveIndex(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  return -1;
}

Drive* mappedDrive(char letter) {
  int index = driveIndex(letter);
  if (index < 0) return nullptr;
  Drive& drive = driveMap().drives[index];
  return drive.hostRoot.empty() ? nullptr : &drive;
}

char upperLetter(char letter) { return static_cast<char>('A' + driveIndex(letter)); }

// Folds "//", "/./" and "/../" of an absolute host path; no trailing "/" except on "/".
std::string normalizeHostPath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t slash = path.find('/', pos);
    if (slash == std::string_view::npos) slash = path.size();
    std::string_view part = path.substr(pos, slash - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = slash + 1;
  }
  std::string result;
  for (std::string_view part : parts) {
    result += '/';
    result += part;
  }
  return result.empty() ? "/" : result;
}

void mapDrive(char letter, std::string_view hostDir) {
  Drive& drive = driveMap().drives[driveIndex(letter)];
  if (hostDir.empty()) {
    drive = {};
    return;
  }
  std::string absolute(hostDir);
  if (absolute[0] != '/') absolute = hostWorkingDirectory() + "/" + absolute;
  drive.hostRoot = normalizeHostPath(absolute);
  drive.resolvedRoot = resolvedHostPath(drive.hostRoot);
  if (drive.resolvedRoot.empty()) drive.resolvedRoot = drive.hostRoot;
  drive.current = std::string(1, upperLetter(letter)) + ":\\";
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Length of root when it is a whole-component prefix of path, else 0.
std::size_t rootPrefixLength(std::string_view path, std::string_view root) {
  if (root == "/") return path.starts_with('/') ? 1 : 0;
  if (!path.starts_with(root)) return 0;
  if (path.size() != root.size() && path[root.size()] != '/') return 0;
  return root.size();
}

}  // namespace

std::string programNameOfHostName(std::string_view hostName) {
  if (hostName.find('\\') == std::string_view::npos) return std::string(hostName);
  std::string result;
  result.reserve(hostName.size() + 8);
  for (char c : hostName) {
    if (c == '\\') {
      result += EscapedBackslash;
    } else {
      result += c;
    }
  }
  return result;
}

std::string hostNameOfProgramName(std::string_view programName) {
  if (programName.find(EscapedBackslash) == std::string_view::npos) return std::string(programName);
  std::string result;
  result.reserve(programName.size());
  for (std::size_t pos = 0; pos < programName.size();) {
    if (programName.substr(pos).starts_with(EscapedBackslash)) {
      result += '\\';
      pos += EscapedBackslash.size();
    } else {
      result += programName[pos++];
    }
  }
  return result;
}

void initDriveMap(const char* mapText) {
  DriveMap& map = driveMap();
  map = DriveMap{};
  mapDrive('C', "/");
  std::string_view rest = mapText != nullptr ? mapText : "";
  while (!rest.empty()) {
    std::size_t end = rest.find(';');
    std::string_view entry = trimBlanks(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (entry.size() < 2 || driveIndex(entry[0]) < 0 || entry[1] != '=') continue;
    mapDrive(entry[0], trimBlanks(entry.substr(2)));
  }
  map.current = 0;
  if (mappedDrive('C') != nullptr) {
    map.current = 'C';
  } else {
    for (char letter = 'A'; letter <= 'Z' && map.current == 0; ++letter) {
      if (mappedDrive(letter) != nullptr) map.current = letter;
    }
  }
  if (map.current == 0) {  // every drive unmapped: there is always a C:
    mapDrive('C', "/");
    map.current = 'C';
  }
  std::string here = toProgramPath(hostWorkingDirectory());
  if (!here.empty()) {
    map.current = here[0];
    map.drives[driveIndex(here[0])].current = here;
  }
}

bool driveMapped(char letter) { return mappedDrive(letter) != nullptr; }

std::string driveHostRoot(char letter) {
  const Drive* drive = mappedDrive(letter);
  return drive != nullptr ? drive->hostRoot : std::string();
}

bool driveAccessible(char letter) {
  const Drive* drive = mappedDrive(letter);
  return drive != nullptr && hostDirectoryReadable(drive->hostRoot);
}

std::string toHostPath(std::string_view programPath) {
  std::string full = fullPath(programPath);
  if (full.empty()) return {};
  const Drive* drive = mappedDrive(full[0]);
  std::string_view rest = std::string_view(full).substr(3);  // after "X:\"
  std::string host = drive->hostRoot;
  if (rest.empty()) return host;
  if (host != "/") host += '/';
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '\\') {
      host += '/';
    } else if (rest.substr(i).starts_with(EscapedBackslash)) {
      host += '\\';
      i += EscapedBackslash.size() - 1;
    } else {
      host += rest[i];
    }
  }
  return host;
}

std::string toProgramPath(std::string_view hostPath) {
  if (!hostPath.starts_with('/')) return {};
  std::string host = normalizeHostPath(hostPath);
  const DriveMap& map = driveMap();
  int best = -1;
  std::size_t bestLength = 0;
  for (int i = 0; i < 26; ++i) {
    const Drive& drive = map.drives[i];
    if (drive.hostRoot.empty()) continue;
    std::size_t length = std::max(rootPrefixLength(host, drive.hostRoot),
                                  rootPrefixLength(host, drive.resolvedRoot));
    if (length == 0) continue;
    // Equal roots: the current drive wins, else the first letter.
    if (length > bestLength || (length == bestLength && 'A' + i == map.current)) {
      best = i;
      bestLength = length;
    }
  }
  if (best < 0) return {};
  std::string result = std::string(1, static_cast<char>('A' + best)) + ":\\";
  std::string_view rest = std::string_view(host).substr(bestLength);
  if (rest.starts_with('/')) rest.remove_prefix(1);
  std::size_t pos = 0;
  while (pos < rest.size()) {
    std::size_t slash = rest.find('/', pos);
    if (slash == std::string_view::npos) slash = rest.size();
    if (pos > 0) result += '\\';
    result += programNameOfHostName(rest.substr(pos, slash - pos));
    pos = slash + 1;
  }
  return result.size() > MaxPath ? std::string() : result;
}

char currentDrive() { return driveMap().current; }

std::string currentDirectory(char letter) {
  const Drive* drive = mappedDrive(letter == 0 ? driveMap().current : letter);
  return drive != nullptr ? drive->current : std::string();
}

bool setCurrentDrive(char letter) {
  if (mappedDrive(letter) == nullptr) return false;
  driveMap().current = upperLetter(letter);
  return true;
}

bool changeDirectory(std::string_view path) {
  std::string full = fullPath(path);
  if (full.empty()) return false;
  if (!hostIsDirectory(toHostPath(full))) return false;
  mappedDrive(full[0])->current = full;
  driveMap().current = full[0];
  return true;
}

std::string fullPath(std::string_view path) {
  if (path.empty()) return {};
  char letter = driveLetterOf(path);
  if (letter != 0) {
    path.remove_prefix(2);
  } else {
    letter = driveMap().current;
  }
  const Drive* drive = mappedDrive(letter);
  if (drive == nullptr) return {};
  return resolvedPath(letter, drive->current, path);
}

}  // namespace corvane
