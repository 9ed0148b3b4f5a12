#include "platform/find.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/drives.h"
#include "platform/host_entry.h"
#include "platform/paths.h"
#include "platform/posix/host_status.h"

namespace corvane {

struct FindSearch {
  DIR* dir = nullptr;
  std::string pattern;    // the last component of the search pattern
  bool matchAll = false;  // "*" or "*.*"
  int dotsPending = 0;    // 2: "." and ".." still to deliver; 1: ".."; 0: none
  bool userAttributes = false;
  int deniedError = 0;   // the directory can be read but not searched
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

bool hasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

// Status of an entry into the record. False when it vanished meanwhile or, with deniedError
// set, when the directory may not be searched.
bool convertAt(FindSearch& search, const char* name, EntryKind kind, FindRecord& record) {
  EntryStatus status;
  int error = entryStatusAt(dirfd(search.dir), name, kind, status);
  if (error != 0) {
    if (error == EACCES) search.deniedError = error;
    return false;
  }
  shapeFindRecord(status, name, record);
  return true;
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
  while (search.dotsPending > 0) {
    const char* dots = search.dotsPending == 2 ? "." : "..";
    --search.dotsPending;
    if (matches(search, dots) && convertAt(search, dots, EntryKind::Directory, record)) return true;
    if (search.deniedError != 0) return false;
  }
  while (dirent* entry = readdir(search.dir)) {
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;  // given first, or not at all at a root
    if (!matches(search, name)) continue;
    if (!convertAt(search, entry->d_name, entryKindOfType(entry->d_type), record)) {
      if (search.deniedError != 0) return false;
      continue;  // vanished meanwhile
    }
    addUserAttributes(search, name, record);
    return true;
  }
  return false;
}

// The entry at a full program path into the record. Names that differ in case are
// different files.
FileResult lookUp(const std::string& full, bool userAttributes, FindRecord& record) {
  std::string hostPath = toHostPath(full);
  if (hostPath.empty()) return fileFailure(ENOENT);
  EntryStatus status;
  if (int error = entryStatusAt(AT_FDCWD, hostPath.c_str(), EntryKind::Unknown, status))
    return fileFailure(error);
  shapeFindRecord(status, std::string_view(hostPath).substr(hostPath.rfind('/') + 1), record);
  if (userAttributes) {
    bool unsupported = false;
    record.attribute |=
        static_cast<std::uint8_t>(readUserAttributes(hostPath.c_str(), unsupported));
  }
  return fileSuccess();
}

}  // namespace

FileResult findEntry(std::string_view path, FindRecord& record, int attributeMask) {
  findClose(record);
  record.found = 0;
  const std::string full = fullPath(path);
  record.failure = full.empty() ? fileFailure(ENOENT)
                                : lookUp(full, (attributeMask & FindUserAttributes) != 0, record);
  return record.failure;
}

int findFirst(std::string_view pattern, int attributeMask, FindRecord& record) {
  findClose(record);
  record.found = 0;
  record.failure = fileSuccess();
  std::string full = fullPath(pattern);
  if (full.empty() || isDriveRoot(full)) {
    record.failure = fileFailure(ENOENT);
    return 1;
  }
  std::string directory = parentPath(full);
  std::string_view component = baseName(full);
  std::string hostDirectory = toHostPath(directory);
  if (hostDirectory.empty()) {
    record.failure = fileFailure(ENOENT);
    return 1;
  }

  bool userAttributes = (attributeMask & FindUserAttributes) != 0;
  if (!hasWildcards(component)) {
    // One name: looked up directly, so that asking for one entry of a large directory
    // costs no walk over it. No search stays open: findNext gives the end.
    record.failure = lookUp(full, userAttributes, record);
    return record.failure ? 0 : 1;
  }

  DIR* dir = opendir(hostDirectory.c_str());
  if (dir == nullptr) {
    record.failure = fileFailure(errno);
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
    record.failure = fileFailure(record.search->deniedError);
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

}  // namespace corvane
