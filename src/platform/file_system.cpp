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
#include "platform/textf.h"

namespace corvane {
namespace {

thread_local int lastError = 0;

// Host path of a program path; "" (and the error "no such entry") when no drive holds it.
std::string hostPathOf(std::string_view path) {
  std::string host = toHostPath(path);
  if (host.empty()) lastError = ENOENT;
  return host;
}

bool succeeded(int result) {
  if (result == 0) return true;
  lastError = errno;
  return false;
}

// Status of an entry, following a symbolic link; a dangling link as itself.
bool statusOf(const std::string& host, struct stat& st) {
  if (stat(host.c_str(), &st) == 0) return true;
  int error = errno;
  if (lstat(host.c_str(), &st) == 0) return true;
  lastError = error;
  return false;
}

std::string_view hostBaseName(std::string_view host) { return host.substr(host.rfind('/') + 1); }

// The read-only attribute holds for everyone, also for a user whom the host would let
// write anyway: an existing entry without the owner's write permission is refused (as
// access denied) for writing, deleting and removing until the attribute is cleared.
bool isReadOnly(const std::string& host, bool entryItself) {
  struct stat st {};
  int result = entryItself ? lstat(host.c_str(), &st) : stat(host.c_str(), &st);
  if (result != 0 || S_ISLNK(st.st_mode) || (st.st_mode & S_IWUSR) != 0) return false;
  lastError = EACCES;
  return true;
}

}  // namespace

FileHandle openFile(std::string_view path, const char* mode) {
  std::string host = hostPathOf(path);
  if (host.empty()) return FileHandle();
  if (std::strpbrk(mode, "wa+") != nullptr && isReadOnly(host, false)) return FileHandle();
  std::FILE* file = std::fopen(host.c_str(), mode);
  if (file == nullptr) lastError = errno;
  return FileHandle(file);
}

bool fileExists(std::string_view path) {
  std::string host = hostPathOf(path);
  struct stat st {};
  return !host.empty() && succeeded(lstat(host.c_str(), &st));
}

bool directoryExists(std::string_view path) {
  std::string host = hostPathOf(path);
  struct stat st {};
  if (host.empty() || !succeeded(stat(host.c_str(), &st))) return false;
  if (S_ISDIR(st.st_mode)) return true;
  lastError = ENOTDIR;
  return false;
}

bool makeDirectory(std::string_view path) {
  std::string host = hostPathOf(path);
  return !host.empty() && succeeded(mkdir(host.c_str(), 0777));
}

bool removeDirectory(std::string_view path) {
  std::string host = hostPathOf(path);
  if (host.empty()) return false;
  if (isDriveRoot(fullPath(path))) {  // a drive's root is not ours to remove
    lastError = EBUSY;
    return false;
  }
  return !isReadOnly(host, true) && succeeded(rmdir(host.c_str()));
}

bool deleteFile(std::string_view path) {
  std::string host = hostPathOf(path);
  return !host.empty() && !isReadOnly(host, true) && succeeded(unlink(host.c_str()));
}

bool renameFile(std::string_view from, std::string_view to) {
  std::string hostFrom = hostPathOf(from);
  std::string hostTo = hostPathOf(to);
  if (hostFrom.empty() || hostTo.empty()) return false;
  if (renameat2(AT_FDCWD, hostFrom.c_str(), AT_FDCWD, hostTo.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  int error = errno;
  struct stat source {};
  struct stat target {};
  if (error == EEXIST && hostFrom != hostTo && sameName(hostFrom, hostTo) &&
      lstat(hostFrom.c_str(), &source) == 0 && lstat(hostTo.c_str(), &target) == 0 &&
      source.st_dev == target.st_dev && source.st_ino == target.st_ino) {
    // A case-insensitive file system sees the new spelling of the same name as existing:
    // a change of case only replaces nothing.
    return succeeded(rename(hostFrom.c_str(), hostTo.c_str()));
  }
  if (error != EINVAL && error != ENOSYS && error != ENOTSUP) {
    lastError = error;
    return false;
  }
  // The file system cannot refuse by itself: test, then rename.
  if (lstat(hostTo.c_str(), &target) == 0) {
    lastError = EEXIST;
    return false;
  }
  return succeeded(rename(hostFrom.c_str(), hostTo.c_str()));
}

int getAttributes(std::string_view path) {
  std::string host = hostPathOf(path);
  struct stat st {};
  if (host.empty() || !statusOf(host, st)) return -1;
  bool directory = S_ISDIR(st.st_mode);
  int attributes = baseAttributes(directory, (st.st_mode & S_IWUSR) != 0, hostBaseName(host));
  if (isDriveRoot(fullPath(path))) attributes &= ~AttrHidden;  // a drive is not hidden
  bool unsupported = false;
  return attributes | readUserAttributes(host.c_str(), unsupported);
}

int userAttributes(std::string_view path) {
  std::string host = hostPathOf(path);
  bool unsupported = false;
  return host.empty() ? 0 : readUserAttributes(host.c_str(), unsupported);
}

bool setAttributes(std::string_view path, int attributes) {
  std::string host = hostPathOf(path);
  struct stat st {};
  if (host.empty() || !statusOf(host, st)) return false;
  if (S_ISLNK(st.st_mode)) {  // a dangling link has nothing to set
    lastError = ENOENT;
    return false;
  }

  mode_t mode = st.st_mode & 07777;
  mode_t wanted = (attributes & AttrReadOnly) != 0 ? mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)
                  : (mode & S_IWUSR) != 0          ? mode
                                                   : mode | S_IWUSR;

  // Hidden that the name gives is not stored; the rest of the user's bits is.
  int stored = attributes & UserAttributeBits;
  if (baseAttributes(false, true, hostBaseName(host)) & AttrHidden) stored &= ~AttrHidden;
  bool unsupported = false;
  bool ok = true;
  if (stored != readUserAttributes(host.c_str(), unsupported)) {
    // The host lets only who may write the file change its extended attributes: a
    // read-only file is made writable for the change (and read-only again below).
    if ((mode & S_IWUSR) == 0 && chmod(host.c_str(), mode | S_IWUSR) == 0) mode |= S_IWUSR;
    if (stored != 0) {
      char text[16];
      int length = std::snprintf(text, sizeof text, "0x%x", stored);
      ok = succeeded(
          setxattr(host.c_str(), DosAttributeName, text, static_cast<std::size_t>(length), 0));
    } else if (removexattr(host.c_str(), DosAttributeName) != 0 && errno != ENODATA &&
               errno != ENOTSUP) {
      ok = succeeded(-1);
    }
  }
  if (wanted != mode && !succeeded(chmod(host.c_str(), wanted))) ok = false;
  if (!ok) return false;

  // What can be read back is what the entry now has; anything else was refused.
  constexpr int settable = AttrReadOnly | UserAttributeBits;
  int now = getAttributes(path);
  if (now < 0) return false;
  if ((now & settable) != (attributes & settable)) {
    lastError = EPERM;
    return false;
  }
  return true;
}

bool getFileTime(std::string_view path, std::uint16_t& date, std::uint16_t& time) {
  std::string host = hostPathOf(path);
  struct stat st {};
  if (host.empty() || !statusOf(host, st)) return false;
  packDosDateTime(st.st_mtime, date, time);
  return true;
}

bool setFileTime(std::string_view path, std::uint16_t date, std::uint16_t time) {
  std::string host = hostPathOf(path);
  if (host.empty()) return false;
  std::time_t when = 0;
  if (!unpackDosDateTime(date, time, when)) {
    lastError = EINVAL;
    return false;
  }
  struct timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
  return succeeded(utimensat(AT_FDCWD, host.c_str(), times, 0));
}

std::int64_t fileSize(std::string_view path) {
  std::string host = hostPathOf(path);
  struct stat st {};
  if (host.empty() || !statusOf(host, st)) return -1;
  if (S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode)) return 0;
  return st.st_size;
}

bool lastErrorAccessDenied() { return lastError == EACCES || lastError == EPERM; }

std::string lastErrorText() {
  char buffer[256];
  // The GNU strerror_r returns the text, which need not be in the buffer.
  const char* text = strerror_r(lastError, buffer, sizeof buffer);
  return text;
}

}  // namespace corvane
