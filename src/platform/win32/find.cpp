#include "platform/find.h"

#include <cerrno>

#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/win32/win_entry.h"

namespace corvane {

// The directory is read through its handle rather than FindFirstFile: that gives each entry's
// file index too, so that a listed entry has the identity a lookup of it gives.
struct FindSearch {
  DirectoryReader reader;
  std::string directory;  // program path of the directory searched
  std::string pattern;    // the last component of the search pattern
  bool matchAll = false;
  int dotsPending = 0;  // 2: "." and ".." still to deliver; 1: ".."; 0: none
  std::uint64_t volume = 0;
};

FindRecord::FindRecord() = default;
FindRecord::~FindRecord() = default;
FindRecord::FindRecord(FindRecord&&) noexcept = default;
FindRecord& FindRecord::operator=(FindRecord&&) noexcept = default;

namespace {

bool hasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

bool matches(const FindSearch& search, std::string_view name) {
  return search.matchAll || wildcardMatch(search.pattern, name);
}

// "." and ".." as the directory and its parent describe themselves.
bool deliverDots(FindSearch& search, FindRecord& record) {
  while (search.dotsPending > 0) {
    const bool self = search.dotsPending == 2;
    --search.dotsPending;
    const std::string_view dots = self ? "." : "..";
    if (!matches(search, dots)) continue;
    const std::string path = self ? search.directory : parentPath(search.directory);
    if (lookUpEntry(path, record) != 0) continue;
    record.name = std::string(dots);
    record.shortName.clear();
    return true;
  }
  return false;
}

bool readNext(FindSearch& search, FindRecord& record) {
  if (deliverDots(search, record)) return true;
  WIN32_FIND_DATAW data;
  std::uint64_t fileIndex = 0;
  while (search.reader.next(data, fileIndex)) {
    std::string name = utf8Of(data.cFileName);
    if (name == "." || name == "..") continue;  // given first, or not at all at a root
    if (!matches(search, name)) continue;
    shapeFindRecord(data, std::move(name), record);
    // A link is described by what it points to, as a lookup describes it (links are few:
    // only they are opened, and only their paths are joined).
    if (record.isLink) {
      const std::string path = joinPath(search.directory, record.name);
      identityOf(widePath(toHostPath(path)), path, true, record.device, record.inode);
    } else {
      giveListedIdentity(search.directory, search.volume, fileIndex, record);
    }
    return true;
  }
  return false;
}

}  // namespace

FileResult findEntry(std::string_view path, FindRecord& record, int) {
  findClose(record);
  record.found = 0;
  const std::string full = fullPath(path);
  record.failure = fileFailure(full.empty() ? ENOENT : lookUpEntry(full, record));
  return record.failure;
}

int findFirst(std::string_view pattern, int, FindRecord& record) {
  findClose(record);
  record.found = 0;
  record.failure = fileSuccess();
  const std::string full = fullPath(pattern);
  if (full.empty() || isDriveRoot(full)) {
    record.failure = fileFailure(ENOENT);
    return 1;
  }
  const std::string directory = parentPath(full);
  const std::string_view component = baseName(full);
  if (!hasWildcards(component)) {
    record.failure = fileFailure(lookUpEntry(full, record));
    return record.failure ? 0 : 1;
  }

  auto search = std::make_unique<FindSearch>();
  if (const int error = search->reader.open(toHostPath(directory)); error != 0) {
    record.failure = fileFailure(error);
    return 1;
  }
  search->directory = directory;
  search->pattern = std::string(component);
  search->matchAll = component == "*" || component == "*.*";
  search->dotsPending = isDriveRoot(directory) ? 0 : 2;
  search->volume = volumeSerialOf(toHostPath(directory));
  record.search = std::move(search);
  if (!readNext(*record.search, record)) {
    // A directory that cannot be read is not an empty one.
    if (const int error = record.search->reader.error(); error != 0) record.failure = fileFailure(error);
    record.search.reset();
    return 1;
  }
  return 0;
}

int findNext(FindRecord& record) {
  if (!record.search) return 1;
  return readNext(*record.search, record) ? 0 : 1;
}

void findClose(FindRecord& record) { record.search.reset(); }

}  // namespace corvane
