#include "platform/tree_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <iterator>
#include <limits>
#include <memory>
#include <mutex>
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

// Entries of an open directory with their kinds, at most limit of them; done is set when the
// listing came to its end. A kind the listing leaves open is looked up. Returns the host's
// error when the listing broke off.
int listDirectory(DIR* dir, std::vector<ListedEntry>& entries, std::size_t limit, bool& done) {
  entries.clear();
  done = false;
  while (entries.size() < limit) {
    errno = 0;
    dirent* entry = readdir(dir);
    if (entry == nullptr) {
      done = true;
      return errno;
    }
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
  return 0;
}

// A walk that reads ahead visits the first entries of a long listing while a second thread
// reads on, in chunks of this many.
constexpr std::size_t ListingChunk = 1024;

// The rest of a long listing, read by a thread of its own and handed over chunk by chunk in
// listing order. Only this thread reads the directory until the stream is gone; the walk
// meanwhile looks entries up relative to it, which does not touch the listing's position.
class ListingStream {
 public:
  // started() tells whether the thread could be made; when not, nothing was read.
  explicit ListingStream(DIR* dir) : dir_(dir) {
    // The program's signals are for the thread that walks: the reader starts with them held.
    sigset_t all, saved;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &saved);
    started_ = pthread_create(&thread_, nullptr, &ListingStream::run, this) == 0;
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
  }
  ~ListingStream() {
    if (!started_) return;
    stop_ = true;
    pthread_join(thread_, nullptr);
  }
  ListingStream(const ListingStream&) = delete;
  ListingStream& operator=(const ListingStream&) = delete;

  bool started() const { return started_; }

  // Waits for the next chunk. False when the listing is over; error then tells why it ended
  // (0 at its end).
  bool next(std::vector<ListedEntry>& chunk, int& error) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return !chunks_.empty() || done_; });
    if (chunks_.empty()) {
      error = error_;
      return false;
    }
    chunk = std::move(chunks_.front());
    chunks_.pop_front();
    return true;
  }

 private:
  static void* run(void* self) {
    static_cast<ListingStream*>(self)->read();
    return nullptr;
  }

  void read() {
    bool done = false;
    while (!done && !stop_) {
      std::vector<ListedEntry> chunk;
      const int error = listDirectory(dir_, chunk, ListingChunk, done);
      std::lock_guard lock(mutex_);
      if (!chunk.empty()) chunks_.push_back(std::move(chunk));
      if (error != 0) done = true;
      error_ = error;
      done_ = done;
      ready_.notify_one();
    }
    std::lock_guard lock(mutex_);
    done_ = true;
    ready_.notify_one();
  }

  DIR* dir_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::vector<ListedEntry>> chunks_;
  bool done_ = false;
  int error_ = 0;
  std::atomic<bool> stop_{false};
  bool started_ = false;
  pthread_t thread_{};
};

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

  // Visits one listed entry of the directory dir (program path path), and walks it when it
  // is a directory the visitor enters.
  int visitListed(DIR* dir, const std::string& path, std::size_t pathLength,
                  const ListedEntry& listed, TreeWalkEntry& entry) {
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
    if (pathLength + entry.name_.size() > MaxPath)
      return visitor.failed(entry.path(), fileFailure(ENAMETOOLONG)) == TreeWalkStop
                 ? TreeWalkStop
                 : TreeWalkContinue;
    int answer = visitor.visit(entry);
    if (answer == TreeWalkStop) return TreeWalkStop;
    if (entry.directory_ && answer == TreeWalkContinue) {
      DirectoryHandle below = openBelow(dir, entry, answer);
      if (answer == TreeWalkStop) return TreeWalkStop;
      if (below) {
        answer = walk(below.get(), entry.path(), entry.depth_ + 1);
        below.reset();
        ancestors.pop_back();
        if (answer == TreeWalkStop) return TreeWalkStop;
        if (visitor.leaveDirectory(entry) == TreeWalkStop) return TreeWalkStop;
      }
    }
    return visitor.cancelled() ? TreeWalkStop : TreeWalkContinue;
  }

  // Walks the entries of an open directory whose program path is path. Without read-ahead
  // the listing is read whole before any entry is visited, so that a visitor that removes
  // or adds entries does not change what the walk meets.
  int walk(DIR* dir, const std::string& path, int depth) {
    std::vector<ListedEntry> entries, directories;
    bool done = false;
    int listError = listDirectory(
        dir, entries, options.readAhead ? ListingChunk : std::numeric_limits<std::size_t>::max(),
        done);
    std::unique_ptr<ListingStream> rest;
    if (!done && listError == 0) {
      rest = std::make_unique<ListingStream>(dir);
      if (!rest->started()) {  // no thread to be had: the rest is read here
        rest.reset();
        std::vector<ListedEntry> more;
        listError = listDirectory(dir, more, std::numeric_limits<std::size_t>::max(), done);
        entries.insert(entries.end(), std::make_move_iterator(more.begin()),
                       std::make_move_iterator(more.end()));
      }
    }
    const bool filesFirst = options.order == TreeWalkOrder::FilesFirst;

    TreeWalkEntry entry;
    entry.directoryHandle_ = dirfd(dir);
    entry.depth_ = depth;
    const std::size_t pathLength = path.size() + (path.ends_with('\\') ? 0 : 1);
    do {
      for (ListedEntry& listed : entries) {
        if (filesFirst && listed.kind == EntryKind::Directory) {
          directories.push_back(std::move(listed));
          continue;
        }
        if (visitListed(dir, path, pathLength, listed, entry) == TreeWalkStop) return TreeWalkStop;
      }
    } while (rest && rest->next(entries, listError));
    rest.reset();
    for (const ListedEntry& listed : directories)
      if (visitListed(dir, path, pathLength, listed, entry) == TreeWalkStop) return TreeWalkStop;
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
