#include "platform/replace_file.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/drives.h"
#include "platform/host_directories.h"
#include "platform/host_entry.h"
#include "platform/posix/unique_entry.h"
#include "platform/temporary_directory.h"

namespace corvane {
namespace {

constexpr int MaxLinkDepth = 40;  // links followed before giving up (ELOOP)
constexpr std::size_t CopyBlock = 65536;

FileResult failed() { return fileFailure(errno); }

// Closes a descriptor unless released.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  void reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// The file that writes to host reach: host itself, or the end of its chain of symbolic links
// (which need not exist yet: writing through a dangling link creates its target).
FileResult resolveLinks(std::string host, std::string& target) {
  for (int depth = 0; depth < MaxLinkDepth; ++depth) {
    struct stat st {};
    if (lstat(host.c_str(), &st) != 0) {
      if (errno != ENOENT) return failed();
      target = host;
      return fileSuccess();
    }
    if (!S_ISLNK(st.st_mode)) {
      target = host;
      return fileSuccess();
    }
    char buffer[PATH_MAX];
    ssize_t length = readlink(host.c_str(), buffer, sizeof buffer);
    if (length < 0) return failed();
    if (static_cast<std::size_t>(length) >= sizeof buffer) return fileFailure(ENAMETOOLONG);
    std::string link(buffer, static_cast<std::size_t>(length));
    host = link.starts_with('/') ? link : hostDirectoryOf(host) + "/" + link;
  }
  return fileFailure(ELOOP);
}

// A new file whose name no other can have, beside the name host.
FileResult createBeside(std::string_view host, mode_t mode, std::string& path,
                        Descriptor& descriptor) {
  return makeBeside(host, path, [&](const char* candidate) {
    int fd = open(candidate, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) return -1;
    descriptor.reset(fd);
    return 0;
  });
}

// Gives the temporary the mode, owner, group and DOS attributes of the old file.
FileResult keepIdentity(int fd, const std::string& target, const struct stat& old) {
  if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
      fchown(fd, old.st_uid, old.st_gid) != 0)
    return failed();
  if (fchmod(fd, old.st_mode & 07777) != 0) return failed();
  char attribute[64];
  ssize_t length = getxattr(target.c_str(), DosAttributeName, attribute, sizeof attribute);
  if (length >= 0 &&
      fsetxattr(fd, DosAttributeName, attribute, static_cast<std::size_t>(length), 0) != 0)
    return failed();
  return fileSuccess();
}

// Runs the writer on the descriptor, then flushes, syncs and closes it (always).
FileResult writeAndClose(Descriptor& descriptor, const FileWriter& writer) {
  std::FILE* file = fdopen(descriptor.get(), "wb");
  if (file == nullptr) return failed();
  descriptor.release();
  FileSink sink(file);
  int error = writer(sink) ? sink.error() : (sink.ok() ? ECANCELED : sink.error());
  if (error == 0 && std::fflush(file) != 0) error = errno;
  if (error == 0 && fsync(fileno(file)) != 0) error = errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  return fileFailure(error);
}

// Copies everything readable from one descriptor to another and syncs the copy.
FileResult copyBytes(int from, int to) {
  char buffer[CopyBlock];
  for (;;) {
    ssize_t got = read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return failed();
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = write(to, buffer + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return failed();
      done += put;
    }
  }
  return fsync(to) == 0 ? fileSuccess() : failed();
}

void syncDirectory(const std::string& directory) {
  Descriptor fd(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) fsync(fd.get());
}

// A copy of the old bytes (read from source) under the backup name: written beside it, then
// renamed over it.
FileResult copyToBackup(int source, const struct stat& old, const std::string& backupHost) {
  const std::string directory = hostDirectoryOf(backupHost);
  std::string temporary;
  Descriptor copy;
  if (FileResult r = createBeside(backupHost, 0600, temporary, copy); !r) return r;
  FileResult result = copyBytes(source, copy.get());
  if (result && fchmod(copy.get(), old.st_mode & 07777) != 0) result = failed();
  if (result && rename(temporary.c_str(), backupHost.c_str()) != 0) result = failed();
  if (!result) unlink(temporary.c_str());
  return result;
}

// Keeps the old bytes under the backup name (an older backup of that name is replaced only
// once the new one exists): a second link to the old file where linkTarget names it, else a
// copy of what source reads.
FileResult keepBackup(const std::string* linkTarget, int source, const struct stat& old,
                      ReplaceBackup& backup) {
  const std::string backupHost = toHostPath(backup.path);
  if (backupHost.empty()) return fileFailure(ENOENT);
  struct stat existing {};
  if ((linkTarget != nullptr && backupHost == *linkTarget) ||
      (lstat(backupHost.c_str(), &existing) == 0 && existing.st_dev == old.st_dev &&
       existing.st_ino == old.st_ino))
    return fileSuccess();  // the backup would be the file itself
  FileResult result = fileFailure(EXDEV);
  if (linkTarget != nullptr)
    result = makeOver(backupHost,
                      [&](const char* candidate) { return link(linkTarget->c_str(), candidate); });
  if (!result && linkTarget != nullptr) {
    Descriptor file(open(linkTarget->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    result = file.get() < 0 ? failed() : copyToBackup(file.get(), old, backupHost);
  } else if (!result) {
    result = lseek(source, 0, SEEK_SET) == 0 ? copyToBackup(source, old, backupHost) : failed();
  }
  backup.kept = static_cast<bool>(result);
  return result;
}

// Rewrites the target in place, its old bytes saved first and put back on failure.
FileResult rewriteInPlace(const std::string& target, const struct stat& old,
                          const FileWriter& writer, ReplaceBackup* keep) {
  Descriptor source(open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (source.get() < 0) return failed();
  std::string backupPath;
  Descriptor backup;
  if (FileResult r =
          createBeside(temporaryHostDirectory() + "/corvane-saved", 0600, backupPath, backup);
      !r)
    return r;
  if (FileResult r = copyBytes(source.get(), backup.get()); !r) {
    unlink(backupPath.c_str());
    return r;
  }

  Descriptor out(open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  FileResult result = out.get() < 0 ? failed() : fileSuccess();
  if (result && ftruncate(out.get(), 0) != 0) result = failed();
  if (result) result = writeAndClose(out, writer);
  if (result) {
    // The saved old bytes become the backup only now that the file is whole again.
    if (keep != nullptr && !keep->path.empty())
      keep->result = keepBackup(nullptr, backup.get(), old, *keep);
    unlink(backupPath.c_str());
    return result;
  }

  // Put the old bytes back. Should that fail too, the saved copy stays where it is.
  Descriptor again(open(target.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC));
  if (again.get() >= 0 && lseek(backup.get(), 0, SEEK_SET) == 0 &&
      copyBytes(backup.get(), again.get()))
    unlink(backupPath.c_str());
  return result;
}

// The signals that end the program (at once when they come again) wait while a file is
// replaced: they take effect once it is whole, never leaving a temporary beside it or the
// old bytes half rewritten.
class EndSignalsHeld {
 public:
  EndSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) sigaddset(&held, sig);
    pthread_sigmask(SIG_BLOCK, &held, &saved_);
  }
  ~EndSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
  EndSignalsHeld(const EndSignalsHeld&) = delete;
  EndSignalsHeld& operator=(const EndSignalsHeld&) = delete;

 private:
  sigset_t saved_;
};

// replaceHostFile with an optional backup of the old file.
FileResult replaceKeeping(const std::string& host, const FileWriter& writer,
                          ReplaceBackup* backup) {
  const EndSignalsHeld held;
  if (backup != nullptr) {
    backup->result = fileSuccess();
    backup->kept = false;
  }
  if (host.empty()) return fileFailure(ENOENT);
  std::string target;
  if (FileResult r = resolveLinks(host, target); !r) return r;

  struct stat old {};
  const bool exists = lstat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return failed();
  if (exists) {
    if (S_ISDIR(old.st_mode)) return fileFailure(EISDIR);
    if (!S_ISREG(old.st_mode)) return fileFailure(FileErrorNotRegular);
    if ((old.st_mode & S_IWUSR) == 0) return fileFailure(EACCES);  // the read-only attribute
  }
  const bool wantsBackup = exists && backup != nullptr && !backup->path.empty();

  const std::string directory = hostDirectoryOf(target);
  if (!exists || old.st_nlink == 1) {
    std::string temporary;
    Descriptor fd;
    FileResult created = createBeside(target, exists ? 0600 : 0666, temporary, fd);
    // A directory that cannot be written can still hold a file that can.
    if (!created && (!exists || !created.accessDenied())) return created;
    if (created) {
      FileResult result = exists ? keepIdentity(fd.get(), target, old) : fileSuccess();
      const bool identityKept = static_cast<bool>(result);
      if (result) result = writeAndClose(fd, writer);
      if (result && wantsBackup) backup->result = keepBackup(&target, -1, old, *backup);
      if (result && rename(temporary.c_str(), target.c_str()) != 0) result = failed();
      if (result) {
        syncDirectory(directory);
        return result;
      }
      unlink(temporary.c_str());
      if (identityKept) return result;
    }
  }
  return rewriteInPlace(target, old, writer, wantsBackup ? backup : nullptr);
}

}  // namespace

FileResult replaceFile(std::string_view path, const FileWriter& writer) {
  return replaceKeeping(toHostPath(path), writer, nullptr);
}

FileResult replaceFile(std::string_view path, const FileWriter& writer, ReplaceBackup& backup) {
  return replaceKeeping(toHostPath(path), writer, &backup);
}

FileResult replaceFile(std::string_view path, std::string_view content) {
  return replaceFile(path, [content](FileSink& sink) { return sink.write(content); });
}

FileResult replaceHostFile(std::string_view hostPath, std::string_view content) {
  return replaceKeeping(
      std::string(hostPath), [content](FileSink& sink) { return sink.write(content); }, nullptr);
}

}  // namespace corvane
