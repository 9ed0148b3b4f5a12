#include "platform/file_system.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/drives.h"
#include "platform/find.h"
#include "platform/host_entry.h"
#include "platform/paths.h"

namespace corvane {
namespace {

FileResult failed() { return fileFailure(errno); }

FileResult resultOf(int systemResult) { return systemResult == 0 ? fileSuccess() : failed(); }

// Host path of a program path; "" (and the error "no such entry") when no drive holds it.
FileResult hostPathOf(std::string_view path, std::string& host) {
  host = toHostPath(path);
  return host.empty() ? fileFailure(ENOENT) : fileSuccess();
}

// Status of an entry, following a symbolic link; a dangling link as itself.
FileResult statusOf(const std::string& host, struct stat& st) {
  if (stat(host.c_str(), &st) == 0) return fileSuccess();
  int error = errno;
  if (lstat(host.c_str(), &st) == 0) return fileSuccess();
  return fileFailure(error);
}

std::string_view hostBaseName(std::string_view host) { return host.substr(host.rfind('/') + 1); }

// The read-only attribute holds for everyone, also for a user whom the host would let
// write anyway: an existing entry without the owner's write permission is refused (as
// access denied) for writing, deleting and removing until the attribute is cleared.
bool isReadOnly(const std::string& host, bool entryItself) {
  struct stat st {};
  int result = entryItself ? lstat(host.c_str(), &st) : stat(host.c_str(), &st);
  return result == 0 && !S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

bool readsOnly(const char* mode) { return mode[0] == 'r' && std::strchr(mode, '+') == nullptr; }

}  // namespace

FileResult openRegularFile(std::string_view path, FileHandle& file, LinkPolicy links) {
  file.reset();
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  return openRegularHostFile(host, file, links);
}

FileResult openRegularHostFile(std::string_view hostPath, FileHandle& file, LinkPolicy links) {
  file.reset();
  const std::string host(hostPath);
  // Without O_NONBLOCK, opening a FIFO waits for a writer and some devices wait for a
  // medium: the kind is checked before anything can wait.
  int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  if (links == LinkPolicy::Refuse) flags |= O_NOFOLLOW;
  int fd = open(host.c_str(), flags);
  if (fd < 0) return failed();
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    FileResult result = S_ISREG(st.st_mode) ? failed() : fileFailure(FileErrorNotRegular);
    close(fd);
    return result;
  }
  int status = fcntl(fd, F_GETFL);
  if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    FileResult result = failed();
    close(fd);
    return result;
  }
  std::FILE* stream = fdopen(fd, "rb");
  if (stream == nullptr) {
    FileResult result = failed();
    close(fd);
    return result;
  }
  file.reset(stream);
  return fileSuccess();
}

FileResult openFile(std::string_view path, const char* mode, FileHandle& file) {
  if (readsOnly(mode)) return openRegularFile(path, file);
  file.reset();
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  if (std::strpbrk(mode, "wa+") != nullptr && isReadOnly(host, false)) return fileFailure(EACCES);
  std::FILE* stream = std::fopen(host.c_str(), mode);
  if (stream == nullptr) return failed();
  file.reset(stream);
  return fileSuccess();
}

FileHandle openFile(std::string_view path, const char* mode) {
  FileHandle file;
  (void)openFile(path, mode, file);
  return file;
}

FileResult readFileAt(std::FILE* file, std::int64_t offset, void* buffer, std::size_t size,
                      std::size_t& got) {
  got = 0;
  if (file == nullptr || offset < 0) return fileFailure(EINVAL);
  const int fd = fileno(file);
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (got < size) {
    const ssize_t n = pread(fd, bytes + got, size - got,
                            static_cast<off_t>(offset + static_cast<std::int64_t>(got)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failed();
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return fileSuccess();
}

std::int64_t openFileLength(std::FILE* file) {
  struct stat st {};
  if (file == nullptr || fstat(fileno(file), &st) != 0) return -1;
  return st.st_size;
}

bool fileExists(std::string_view path) {
  std::string host = toHostPath(path);
  struct stat st {};
  return !host.empty() && lstat(host.c_str(), &st) == 0;
}

bool directoryExists(std::string_view path) {
  std::string host = toHostPath(path);
  struct stat st {};
  return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileResult makeDirectory(std::string_view path) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  return resultOf(mkdir(host.c_str(), 0777));
}

FileResult removeDirectory(std::string_view path) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  if (isDriveRoot(fullPath(path))) return fileFailure(EBUSY);  // a drive's root is not ours
  if (isReadOnly(host, true)) return fileFailure(EACCES);
  return resultOf(rmdir(host.c_str()));
}

FileResult deleteFile(std::string_view path) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  if (isReadOnly(host, true)) return fileFailure(EACCES);
  return resultOf(unlink(host.c_str()));
}

FileResult renameFile(std::string_view from, std::string_view to) {
  std::string hostFrom, hostTo;
  if (FileResult r = hostPathOf(from, hostFrom); !r) return r;
  if (FileResult r = hostPathOf(to, hostTo); !r) return r;
  int error = EINVAL;
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, hostFrom.c_str(), AT_FDCWD, hostTo.c_str(), RENAME_NOREPLACE) == 0)
    return fileSuccess();
  error = errno;
#endif
  struct stat source {};
  struct stat target {};
  if (error == EEXIST && hostFrom != hostTo && sameName(hostFrom, hostTo) &&
      lstat(hostFrom.c_str(), &source) == 0 && lstat(hostTo.c_str(), &target) == 0 &&
      source.st_dev == target.st_dev && source.st_ino == target.st_ino) {
    // A case-insensitive file system sees the new spelling of the same name as existing:
    // a change of case only replaces nothing.
    return resultOf(rename(hostFrom.c_str(), hostTo.c_str()));
  }
  if (error != EINVAL && error != ENOSYS && error != ENOTSUP) return fileFailure(error);
  // The file system (or the C library) cannot refuse by itself: test, then rename.
  if (lstat(hostTo.c_str(), &target) == 0) return fileFailure(EEXIST);
  return resultOf(rename(hostFrom.c_str(), hostTo.c_str()));
}

FileResult renameOver(std::string_view from, std::string_view to) {
  std::string hostFrom, hostTo;
  if (FileResult r = hostPathOf(from, hostFrom); !r) return r;
  if (FileResult r = hostPathOf(to, hostTo); !r) return r;
  struct stat target {};
  if (lstat(hostTo.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return fileFailure(EISDIR);
  return resultOf(rename(hostFrom.c_str(), hostTo.c_str()));
}

int getAttributes(std::string_view path) {
  std::string host = toHostPath(path);
  struct stat st {};
  if (host.empty() || !statusOf(host, st)) return -1;
  bool directory = S_ISDIR(st.st_mode);
  int attributes = baseAttributes(directory, (st.st_mode & S_IWUSR) != 0, hostBaseName(host));
  if (isDriveRoot(fullPath(path))) attributes &= ~AttrHidden;  // a drive is not hidden
  bool unsupported = false;
  return attributes | readUserAttributes(host.c_str(), unsupported);
}

int userAttributes(std::string_view path) {
  std::string host = toHostPath(path);
  bool unsupported = false;
  return host.empty() ? 0 : readUserAttributes(host.c_str(), unsupported);
}

FileResult setAttributes(std::string_view path, int attributes) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  struct stat st {};
  if (FileResult r = statusOf(host, st); !r) return r;
  if (S_ISLNK(st.st_mode)) return fileFailure(ENOENT);  // a dangling link has nothing to set

  mode_t mode = st.st_mode & 07777;
  mode_t wanted = (attributes & AttrReadOnly) != 0 ? mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)
                  : (mode & S_IWUSR) != 0          ? mode
                                                   : mode | S_IWUSR;

  // Hidden that the name gives is not stored; the rest of the user's bits is.
  int stored = attributes & UserAttributeBits;
  if (baseAttributes(false, true, hostBaseName(host)) & AttrHidden) stored &= ~AttrHidden;
  bool unsupported = false;
  FileResult result;
  if (stored != readUserAttributes(host.c_str(), unsupported)) {
    // The host lets only who may write the file change its extended attributes: a
    // read-only file is made writable for the change (and read-only again below).
    if ((mode & S_IWUSR) == 0 && chmod(host.c_str(), mode | S_IWUSR) == 0) mode |= S_IWUSR;
    if (stored != 0) {
      char text[16];
      int length = std::snprintf(text, sizeof text, "0x%x", stored);
      result = resultOf(
          setxattr(host.c_str(), DosAttributeName, text, static_cast<std::size_t>(length), 0));
    } else if (removexattr(host.c_str(), DosAttributeName) != 0 && errno != ENODATA &&
               errno != ENOTSUP) {
      result = failed();
    }
  }
  if (wanted != mode && chmod(host.c_str(), wanted) != 0 && result) result = failed();
  if (!result) return result;

  // What can be read back is what the entry now has; anything else was refused.
  constexpr int settable = AttrReadOnly | UserAttributeBits;
  int now = getAttributes(path);
  if (now < 0) return fileFailure(ENOENT);
  if ((now & settable) != (attributes & settable)) return fileFailure(EPERM);
  return fileSuccess();
}

FileResult getFileTime(std::string_view path, std::uint16_t& date, std::uint16_t& time) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  struct stat st {};
  if (FileResult r = statusOf(host, st); !r) return r;
  packDosDateTime(st.st_mtime, date, time);
  return fileSuccess();
}

FileResult setFileTime(std::string_view path, std::uint16_t date, std::uint16_t time) {
  std::string host;
  if (FileResult r = hostPathOf(path, host); !r) return r;
  std::time_t when = 0;
  if (!unpackDosDateTime(date, time, when)) return fileFailure(EINVAL);
  struct timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
  return resultOf(utimensat(AT_FDCWD, host.c_str(), times, 0));
}

std::int64_t fileSize(std::string_view path) {
  std::string host = toHostPath(path);
  struct stat st {};
  if (host.empty() || !statusOf(host, st)) return -1;
  if (S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode)) return 0;
  return st.st_size;
}

}  // namespace corvane
