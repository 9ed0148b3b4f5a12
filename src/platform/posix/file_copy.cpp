#include "platform/file_copy.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/drives.h"
#include "platform/posix/unique_entry.h"

namespace corvane {
namespace {

FileResult failed() { return fileFailure(errno); }

FileResult hostPathOf(std::string_view path, std::string& host) {
  host = toHostPath(path);
  return host.empty() ? fileFailure(ENOENT) : fileSuccess();
}

FileKind kindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Directory;
  if (S_ISLNK(mode)) return FileKind::SymbolicLink;
  if (S_ISFIFO(mode)) return FileKind::Fifo;
  if (S_ISSOCK(mode)) return FileKind::Socket;
  return FileKind::Device;
}

void factsOf(const struct stat& st, FileFacts& facts) {
  facts.kind = kindOf(st.st_mode);
  facts.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
  facts.allocated = static_cast<std::uint64_t>(st.st_blocks) * 512;
  facts.device = st.st_dev;
  facts.inode = st.st_ino;
  facts.mode = st.st_mode & 07777;
  facts.owner = st.st_uid;
  facts.group = st.st_gid;
  facts.modifiedSeconds = st.st_mtim.tv_sec;
  facts.modifiedNanoseconds = st.st_mtim.tv_nsec;
  facts.linkTarget.clear();
}

// Writes all of a buffer at an offset; the failure of the first write that fails.
FileResult writeAllAt(int fd, const char* data, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t put = pwrite(fd, data, size, offset);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return failed();
    if (put == 0) return fileFailure(EIO);
    data += put;
    size -= static_cast<std::size_t>(put);
    offset += put;
  }
  return fileSuccess();
}

bool writeSideError(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

// Copies the data extent [from, to) of the source; copied grows by what arrived. Stops
// early, without a failure, when the source ends first.
void copyExtent(CopyChannel& channel, int in, int out, off_t from, off_t to, RangeCopy& result) {
  off_t position = from;
  while (position < to) {
    const std::size_t want = static_cast<std::size_t>(to - position);
    if (!channel.plainReads) {
      loff_t inOffset = position, outOffset = position + channel.targetShift;
      const ssize_t moved = copy_file_range(in, &inOffset, out, &outOffset, want, 0);
      if (moved > 0) {
        position += moved;
        result.copied += static_cast<std::uint64_t>(moved);
        continue;
      }
      if (moved == 0) return;  // the source ended
      if (errno == EINTR) continue;
      if (writeSideError(errno)) {
        result.writeFailure = failed();
        return;
      }
      channel.plainReads = true;  // not here: plain reads and writes tell which side fails
    }
    const std::size_t chunk = std::min(want, channel.buffer.size());
    const ssize_t got = pread(in, channel.buffer.data(), chunk, position);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.readFailure = failed();
      return;
    }
    if (got == 0) return;
    if (FileResult r =
            writeAllAt(out, channel.buffer.data(), static_cast<std::size_t>(got),
                       position + static_cast<off_t>(channel.targetShift));
        !r) {
      result.writeFailure = r;
      return;
    }
    position += got;
    result.copied += static_cast<std::uint64_t>(got);
  }
}

// Makes an entry by make(hostPath) at path, or beside it and renamed over it with replace.
template <typename Make>
FileResult makeEntry(std::string_view path, bool replace, Make make) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  if (!replace) return make(host.c_str()) == 0 ? fileSuccess() : failed();
  struct stat st {};
  if (lstat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return fileFailure(EISDIR);
  return makeOver(host, make);
}

}  // namespace

FileResult entryFacts(std::string_view path, FileFacts& facts) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return failed();
  factsOf(st, facts);
  if (facts.kind == FileKind::SymbolicLink) {
    char buffer[PATH_MAX];
    const ssize_t length = readlink(host.c_str(), buffer, sizeof buffer);
    if (length < 0) return failed();
    if (static_cast<std::size_t>(length) >= sizeof buffer) return fileFailure(ENAMETOOLONG);
    facts.linkTarget.assign(buffer, static_cast<std::size_t>(length));
  }
  return fileSuccess();
}

FileResult openFileFacts(std::FILE* file, FileFacts& facts) {
  struct stat st {};
  if (fstat(fileno(file), &st) != 0) return failed();
  factsOf(st, facts);
  return fileSuccess();
}

RangeCopy copyRange(CopyChannel& channel, std::uint64_t offset, std::uint64_t length) {
  RangeCopy result;
  const int in = fileno(channel.from);
  const int out = fileno(channel.to);
  if (std::fflush(channel.to) != 0) {
    result.writeFailure = failed();
    return result;
  }
  const auto end = static_cast<off_t>(offset + length);
  auto position = static_cast<off_t>(offset);
  auto going = [&] { return result.readFailure && result.writeFailure; };  // neither failed
  if (!channel.holes) {
    copyExtent(channel, in, out, position, end, result);
    return result;
  }
  while (position < end && going()) {
    // The next data at or after the position; what lies before it is a hole.
    off_t data = lseek(in, position, SEEK_DATA);
    if (data < 0 && errno != ENXIO) data = position;  // no hole information: all data
    if (data < 0 || data >= end) {
      // Holes up to the end of the range, or the source ended: its size tells which.
      struct stat st {};
      if (fstat(in, &st) != 0) {
        result.readFailure = failed();
        return result;
      }
      const off_t reached = std::min(end, std::max(position, static_cast<off_t>(st.st_size)));
      result.copied += static_cast<std::uint64_t>(reached - position);
      return result;
    }
    result.copied += static_cast<std::uint64_t>(data - position);
    off_t hole = lseek(in, data, SEEK_HOLE);
    if (hole < 0 || hole > end) hole = end;
    const std::uint64_t before = result.copied;
    copyExtent(channel, in, out, data, hole, result);
    if (result.copied - before < static_cast<std::uint64_t>(hole - data)) return result;
    position = hole;
  }
  return result;
}

FileResult setFileLength(std::FILE* file, std::uint64_t length) {
  if (std::fflush(file) != 0) return failed();
  struct stat st {};
  if (fstat(fileno(file), &st) != 0) return failed();
  if (static_cast<std::uint64_t>(st.st_size) == length) return fileSuccess();
  return ftruncate(fileno(file), static_cast<off_t>(length)) == 0 ? fileSuccess() : failed();
}

FileResult createNewFile(std::string_view path, FileHandle& file) {
  file.reset();
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  const int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return failed();
  std::FILE* stream = fdopen(fd, "wb");
  if (stream == nullptr) {
    const FileResult result = failed();
    close(fd);
    unlink(host.c_str());
    return result;
  }
  file.reset(stream);
  return fileSuccess();
}

FileResult makeSymbolicLink(std::string_view path, std::string_view target, bool replace) {
  const std::string text(target);
  return makeEntry(path, replace, [&](const char* at) { return symlink(text.c_str(), at); });
}

FileResult makeFifo(std::string_view path, std::uint32_t mode, bool replace) {
  return makeEntry(path, replace,
                   [&](const char* at) { return mkfifo(at, static_cast<mode_t>(mode & 07777)); });
}

FileResult carryFileFacts(std::string_view path, const FileFacts& source, bool writable,
                          bool owner) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  const bool link = source.kind == FileKind::SymbolicLink;
  const int follow = link ? AT_SYMLINK_NOFOLLOW : 0;
  FileResult result;
  if (owner && fchownat(AT_FDCWD, host.c_str(), source.owner, source.group, follow) != 0 &&
      errno != EPERM)
    result = failed();
  if (!link) {
    // After the owner: giving a file away clears its set-user and set-group bits.
    const mode_t mode = static_cast<mode_t>(source.mode) | (writable ? S_IWUSR : 0);
    if (chmod(host.c_str(), mode) != 0 && result) result = failed();
  }
  const struct timespec times[2] = {
      {0, UTIME_OMIT},
      {static_cast<time_t>(source.modifiedSeconds), static_cast<long>(source.modifiedNanoseconds)}};
  if (utimensat(AT_FDCWD, host.c_str(), times, follow) != 0 && result) result = failed();
  return result;
}

FileResult carryFileFacts(std::FILE* file, const FileFacts& current, const FileFacts& source,
                          bool writable, bool owner) {
  if (std::fflush(file) != 0) return failed();
  const int fd = fileno(file);
  FileResult result;
  bool given = false;
  if (owner && (current.owner != source.owner || current.group != source.group)) {
    given = fchown(fd, source.owner, source.group) == 0;
    if (!given && errno != EPERM) result = failed();
  }
  const mode_t mode = static_cast<mode_t>(source.mode) | (writable ? S_IWUSR : 0);
  // Giving a file away clears its set-user and set-group bits: the mode again after it.
  if ((mode != current.mode || given) && fchmod(fd, mode) != 0 && result) result = failed();
  const struct timespec times[2] = {
      {0, UTIME_OMIT},
      {static_cast<time_t>(source.modifiedSeconds), static_cast<long>(source.modifiedNanoseconds)}};
  if (futimens(fd, times) != 0 && result) result = failed();
  return result;
}

FileResult freeSpaceOf(std::string_view directory, std::uint64_t& bytes) {
  std::string host;
  if (FileResult r = hostPathOf(directory, host); !r) return r;
  struct statvfs fs {};
  if (statvfs(host.c_str(), &fs) != 0) return failed();
  bytes = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
  return fileSuccess();
}

int nameLimitOf(std::string_view directory) {
  const std::string host = toHostPath(directory);
  if (host.empty()) return NAME_MAX;
  errno = 0;
  const long limit = pathconf(host.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<int>(limit) : NAME_MAX;
}

}  // namespace corvane
