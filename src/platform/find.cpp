#include "platform/find.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/drives.h"
#include "platform/host_entry.h"
#include "platform/paths.h"

namespace corvane {

struct FindSearch {
  DIR* dir = nullptr;
  std::string pattern;    // the last component of the search pattern
  bool matchAll = false;  // "*" or "*.*"
  int dotsPending = 0;    // 2: "." and ".." still to deliver; 1: ".."; 0: none
  bool userAttributes = false;
  bool denied = false;   // the directory can be read but not searched
  std::string hostPath;  // host directory and "/", followed by the entry while reading
  std::size_t hostDirLength = 0;

  FindSearch() = default;
  FindSearch(const FindSearch&) = delete;
  FindSearch& operator=(const FindSearch&) = delete;
  ~FindSearch() {
    if (dir != nullptr) closedir(dir);
  }
};

FindRecord::FindRecord() = default;
FindRecord::~FindRecord() = default;
FindRecord::FindRecord(FindRecord&&) noexcept = default;
FindRecord& FindRecord::operator=(FindRecord&&) noexcept = default;

namespace {

thread_local bool accessDenied = false;

bool hasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

// Length of the character starting at text[0]: a whole UTF-8 sequence, else one byte.
std::size_t characterLength(std::string_view text) {
  auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  if (length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// Glob matching with backtracking to the last "*" only: linear in practice.
bool globMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += characterLength(name.substr(n));
    } else if (p < pattern.size() && foldCase(pattern[p]) == foldCase(name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP;
      starN += characterLength(name.substr(starN));
      n = starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Fills the record from the status of an entry (a symbolic link's target, or the dangling
// link itself as an empty file).
void convertEntry(const struct stat& st, std::string_view hostName, FindRecord& record) {
  bool directory = S_ISDIR(st.st_mode);
  if (hostName.find('\\') == std::string_view::npos) {
    record.name.assign(hostName);  // keeps the record's buffer from entry to entry
  } else {
    record.name = programNameOfHostName(hostName);
  }
  record.attribute = baseAttributes(directory, (st.st_mode & S_IWUSR) != 0, hostName);
  record.size = directory || S_ISLNK(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
  packDosDateTime(st.st_mtime, record.date, record.time);
  record.found = 1;
}

// Status of an entry (its target's for a link, the link's own when dangling). False when
// it vanished meanwhile or, with denied set, when the directory may not be searched.
bool statEntry(int dirFd, const char* name, struct stat& st, bool& denied) {
  if (fstatat(dirFd, name, &st, 0) == 0) return true;
  if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) return true;
  denied = errno == EACCES;
  return false;
}

void addUserAttributes(FindSearch& search, std::string_view hostName, FindRecord& record) {
  if (!search.userAttributes || hostName == "." || hostName == "..") return;
  search.hostPath.resize(search.hostDirLength);
  search.hostPath += hostName;
  bool unsupported = false;
  record.attribute |=
      static_cast<std::uint8_t>(readUserAttributes(search.hostPath.c_str(), unsupported));
  if (unsupported) search.userAttributes = false;  // not on this file system: stop asking
}

bool matches(const FindSearch& search, std::string_view hostName) {
  if (search.matchAll) return true;
  if (hostName.find('\\') != std::string_view::npos) {
    return wildcardMatch(search.pattern, programNameOfHostName(hostName));
  }
  return wildcardMatch(search.pattern, hostName);
}

// The next matching entry of an open search into the record; false at the end.
bool readNext(FindSearch& search, FindRecord& record) {
  int dirFd = dirfd(search.dir);
  struct stat st {};
  while (search.dotsPending > 0) {
    const char* dots = search.dotsPending == 2 ? "." : "..";
    --search.dotsPending;
    if (matches(search, dots) && statEntry(dirFd, dots, st, search.denied)) {
      convertEntry(st, dots, record);
      return true;
    }
    if (search.denied) return false;
  }
  while (dirent* entry = readdir(search.dir)) {
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;  // given first, or not at all at a root
    if (!matches(search, name)) continue;
    if (!statEntry(dirFd, entry->d_name, st, search.denied)) {
      if (search.denied) return false;
      continue;  // vanished meanwhile
    }
    convertEntry(st, name, record);
    addUserAttributes(search, name, record);
    return true;
  }
  return false;
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (globMatch(pattern, name)) return true;
  // "x.*" also matches "x": a name without an extension has an empty one.
  return pattern.size() >= 2 && pattern.ends_with(".*") &&
         globMatch(pattern.substr(0, pattern.size() - 2), name);
}

int findFirst(std::string_view pattern, int attributeMask, FindRecord& record) {
  findClose(record);
  record.found = 0;
  accessDenied = false;
  std::string full = fullPath(pattern);
  if (full.empty() || isDriveRoot(full)) return 1;
  std::string directory = parentPath(full);
  std::string_view component = baseName(full);
  std::string hostDirectory = toHostPath(directory);
  if (hostDirectory.empty()) return 1;

  bool userAttributes = (attributeMask & FindUserAttributes) != 0;
  if (!hasWildcards(component)) {
    // One name: looked up directly, so that asking for one entry of a large directory
    // costs no walk over it. Names that differ in case are different files.
    std::string hostPath = toHostPath(full);
    struct stat st {};
    if (stat(hostPath.c_str(), &st) != 0 && lstat(hostPath.c_str(), &st) != 0) {
      accessDenied = errno == EACCES || errno == EPERM;
      return 1;
    }
    std::string hostName = hostPath.substr(hostPath.rfind('/') + 1);
    convertEntry(st, hostName, record);
    if (userAttributes) {
      bool unsupported = false;
      record.attribute |=
          static_cast<std::uint8_t>(readUserAttributes(hostPath.c_str(), unsupported));
    }
    return 0;  // no search stays open: findNext gives the end
  }

  DIR* dir = opendir(hostDirectory.c_str());
  if (dir == nullptr) {
    accessDenied = errno == EACCES || errno == EPERM;
    return 1;
  }
  auto search = std::make_unique<FindSearch>();
  search->dir = dir;
  search->pattern = std::string(component);
  search->matchAll = component == "*" || component == "*.*";
  search->dotsPending = isDriveRoot(directory) ? 0 : 2;
  search->userAttributes = userAttributes;
  if (userAttributes) {
    search->hostPath = hostDirectory == "/" ? std::string("/") : hostDirectory + "/";
    search->hostDirLength = search->hostPath.size();
  }
  record.search = std::move(search);
  if (!readNext(*record.search, record)) {
    accessDenied = record.search->denied;
    record.search.reset();
    return 1;
  }
  return 0;
}

int findNext(FindRecord& record) {
  if (!record.search) return 1;
  if (readNext(*record.search, record)) return 0;
  return 1;
}

void findClose(FindRecord& record) { record.search.reset(); }

bool lastFindAccessDenied() { return accessDenied; }

}  // namespace corvane
