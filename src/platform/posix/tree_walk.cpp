#include "platform/tree_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/drives.h"
#include "platform/host_entry.h"
#include "platform/paths.h"
#include "platform/posix/host_status.h"

namespace corvane {

namespace {

struct ListedEntry {
  std::string hostName;
  EntryKind kind = EntryKind::Unknown;
};

struct DirectoryCloser {
  void operator()(DIR* dir) const {
    if (dir != nullptr) closedir(dir);
  }
};
using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

// The names of an open directory with their kinds, read whole before any is visited, so that
// a visitor that removes or adds entries does not change what the walk meets. A kind the
// listing leaves open is looked up. Returns the host's error when the listing broke off.
int listDirectory(DIR* dir, std::vector<ListedEntry>& entries) {
  entries.clear();
  for (;;) {
    errno = 0;
    dirent* entry = readdir(dir);
    if (entry == nullptr) return errno;
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    ListedEntry listed{entry->d_name, entryKindOfType(entry->d_type)};
    if (listed.kind == EntryKind::Unknown) {
      struct stat st {};
      if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone
      listed.kind = S_ISDIR(st.st_mode)   ? EntryKind::Directory
                    : S_ISLNK(st.st_mode) ? EntryKind::Link
                                          : EntryKind::Other;
    }
    entries.push_back(std::move(listed));
  }
}

#ifdef __linux__
// Kernel file-system magic numbers (linux/magic.h) of the file systems that show the
// kernel's own state rather than files: never entered.
constexpr unsigned long PseudoFileSystemTypes[] = {
    0x9fa0,      // proc
    0x62656572,  // sysfs
    0x27e0eb,    // cgroup
    0x63677270,  // cgroup2
    0x64626720,  // debugfs
    0x74726163,  // tracefs
    0x73636673,  // securityfs
    0x6165676c,  // pstore
    0xcafe4a11,  // bpf
};
constexpr unsigned long TmpfsType = 0x01021994;  // also what devtmpfs reports

// Whether the mount of device dev is a devtmpfs, from the mount table (devtmpfs reports the
// magic number of tmpfs).
bool mountIsDevtmpfs(dev_t dev) {
  std::FILE* table = std::fopen("/proc/self/mountinfo", "re");
  if (table == nullptr) return false;
  char wanted[32];
  std::snprintf(wanted, sizeof wanted, "%u:%u", major(dev), minor(dev));
  bool found = false;
  char line[4096];
  while (!found && std::fgets(line, sizeof line, table) != nullptr) {
    // "id parent major:minor root mount-point options [optional...] - type source options"
    char* field = std::strchr(line, ' ');
    if (field == nullptr || (field = std::strchr(field + 1, ' ')) == nullptr) continue;
    ++field;
    std::size_t length = std::strlen(wanted);
    if (std::strncmp(field, wanted, length) != 0 || field[length] != ' ') continue;
    const char* separator = std::strstr(field, " - ");
    found = separator != nullptr && std::strncmp(separator + 3, "devtmpfs ", 9) == 0;
  }
  std::fclose(table);
  return found;
}
#endif

}  // namespace

struct TreeWalker {
  TreeWalkVisitor& visitor;
  TreeWalkOptions options;
  std::vector<std::pair<dev_t, ino_t>> ancestors;  // the start and every directory below it
  dev_t startDevice = 0;
  std::vector<std::pair<dev_t, bool>> pseudoDevices;  // devices already judged

  bool onTheWayDown(const struct stat& st) const {
    return std::find(ancestors.begin(), ancestors.end(), std::make_pair(st.st_dev, st.st_ino)) !=
           ancestors.end();
  }

  bool isPseudoFileSystem(int fd, dev_t device) {
    for (const auto& [known, pseudo] : pseudoDevices)
      if (known == device) return pseudo;
    bool pseudo = false;
#ifdef __linux__
    struct statfs fs {};
    if (fstatfs(fd, &fs) == 0) {
      const auto type = static_cast<unsigned long>(fs.f_type);
      pseudo = std::find(std::begin(PseudoFileSystemTypes), std::end(PseudoFileSystemTypes),
                         type) != std::end(PseudoFileSystemTypes) ||
               (type == TmpfsType && mountIsDevtmpfs(device));
    }
#else
    (void)fd;
#endif
    pseudoDevices.emplace_back(device, pseudo);
    return pseudo;
  }

  // Opens the directory entry of parent for walking: nullptr (and TreeWalkContinue in
  // answer) when it is not to be entered, or when it failed and the visitor goes on.
  DirectoryHandle openBelow(DIR* parent, TreeWalkEntry& entry, int& answer) {
    answer = TreeWalkContinue;
    if (entry.path().size() + 2 > MaxPath) {  // no name below it would make a usable path
      answer = visitor.failed(entry.path(), fileFailure(ENAMETOOLONG));
      return nullptr;
    }
    int fd =
        openat(dirfd(parent), entry.hostName_, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
      // Replaced by a link since it was listed: a link is not entered.
      const int error = errno;
      if (error != ELOOP && error != ENOTDIR)
        answer = visitor.failed(entry.path(), fileFailure(error));
      return nullptr;
    }
    struct stat st {};
    const dev_t parentDevice = ancestors.back().first;
    if (fstat(fd, &st) != 0 || onTheWayDown(st) ||
        (options.sameFileSystem && st.st_dev != startDevice) ||
        (st.st_dev != parentDevice && isPseudoFileSystem(fd, st.st_dev))) {
      close(fd);
      return nullptr;
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
      const FileResult reason = fileFailure(errno);
      close(fd);
      answer = visitor.failed(entry.path(), reason);
      return nullptr;
    }
    ancestors.emplace_back(st.st_dev, st.st_ino);
    return DirectoryHandle(dir);
  }

  // Walks the entries of an open directory whose program path is path.
  int walk(DIR* dir, const std::string& path, int depth) {
    std::vector<ListedEntry> entries;
    const int listError = listDirectory(dir, entries);
    if (options.order == TreeWalkOrder::FilesFirst)
      std::stable_partition(entries.begin(), entries.end(),
                            [](const ListedEntry& e) { return e.kind != EntryKind::Directory; });

    TreeWalkEntry entry;
    entry.directoryHandle_ = dirfd(dir);
    entry.depth_ = depth;
    const std::size_t pathLength = path.size() + (path.ends_with('\\') ? 0 : 1);
    for (const ListedEntry& listed : entries) {
      if (listed.hostName.find('\\') == std::string::npos) {
        entry.name_ = listed.hostName;
      } else {
        entry.ownName_ = programNameOfHostName(listed.hostName);
        entry.name_ = entry.ownName_;
      }
      entry.parent_ = &path;
      entry.hostName_ = listed.hostName.c_str();
      entry.directory_ = listed.kind == EntryKind::Directory;
      entry.link_ = listed.kind == EntryKind::Link;
      entry.looked_ = false;
      if (pathLength + entry.name_.size() > MaxPath) {
        if (visitor.failed(entry.path(), fileFailure(ENAMETOOLONG)) == TreeWalkStop)
          return TreeWalkStop;
        continue;
      }
      int answer = visitor.visit(entry);
      if (answer == TreeWalkStop) return TreeWalkStop;
      if (entry.directory_ && answer == TreeWalkContinue) {
        DirectoryHandle below = openBelow(dir, entry, answer);
        if (answer == TreeWalkStop) return TreeWalkStop;
        if (below) {
          answer = walk(below.get(), entry.path(), depth + 1);
          below.reset();
          ancestors.pop_back();
          if (answer == TreeWalkStop) return TreeWalkStop;
          if (visitor.leaveDirectory(entry) == TreeWalkStop) return TreeWalkStop;
        }
      }
      if (visitor.cancelled()) return TreeWalkStop;
    }
    if (listError != 0 && visitor.failed(path, fileFailure(listError)) == TreeWalkStop)
      return TreeWalkStop;
    return TreeWalkContinue;
  }
};

const FindRecord* TreeWalkEntry::details() {
  if (!looked_) {
    looked_ = true;
    EntryStatus status;
    const EntryKind kind = directory_ ? EntryKind::Directory
                           : link_    ? EntryKind::Link
                                      : EntryKind::Other;
    reachable_ = entryStatusAt(directoryHandle_, hostName_, kind, status) == 0;
    if (reachable_) shapeFindRecord(status, hostName_, record_);
  }
  return reachable_ ? &record_ : nullptr;
}

FileResult TreeWalkEntry::remove() {
  if (directory_) return fileFailure(EISDIR);
  struct stat st {};
  if (fstatat(directoryHandle_, hostName_, &st, AT_SYMLINK_NOFOLLOW) != 0)
    return fileFailure(errno);
  if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return fileFailure(EACCES);
  return unlinkat(directoryHandle_, hostName_, 0) == 0 ? fileSuccess() : fileFailure(errno);
}

int walkDirectoryTree(std::string_view startPath, TreeWalkVisitor& visitor,
                      const TreeWalkOptions& options) {
  const std::string start = withoutTrailingBackslash(fullPath(startPath));
  const std::string host = toHostPath(start);
  if (start.empty() || host.empty()) {
    return visitor.failed(startPath, fileFailure(ENOENT)) == TreeWalkStop ? TreeWalkStop
                                                                          : TreeWalkContinue;
  }
  // The start is where the user stands: a link to a directory is followed there.
  int fd = open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat st {};
  DIR* dir = nullptr;
  if (fd >= 0 && fstat(fd, &st) == 0) dir = fdopendir(fd);
  if (dir == nullptr) {
    const FileResult reason = fileFailure(errno);
    if (fd >= 0) close(fd);
    return visitor.failed(start, reason) == TreeWalkStop ? TreeWalkStop : TreeWalkContinue;
  }
  DirectoryHandle handle(dir);
  TreeWalker walker{visitor, options, {{st.st_dev, st.st_ino}}, st.st_dev, {}};
  return walker.walk(dir, start, 1);
}

}  // namespace corvane
