#include "platform/posix/host_status.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/xattr.h>

#include <cerrno>

namespace corvane {

EntryStatus entryStatusOf(const struct stat& st) {
  EntryStatus status;
  status.directory = S_ISDIR(st.st_mode);
  status.ownerWritable = (st.st_mode & S_IWUSR) != 0;
  status.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  status.modified = st.st_mtime;
  status.device = static_cast<std::uint64_t>(st.st_dev);
  status.inode = static_cast<std::uint64_t>(st.st_ino);
  return status;
}

EntryKind entryKindOfType(unsigned char type) {
  switch (type) {
    case DT_DIR:
      return EntryKind::Directory;
    case DT_LNK:
      return EntryKind::Link;
    case DT_UNKNOWN:
      return EntryKind::Unknown;
    default:
      return EntryKind::Other;
  }
}

int entryStatusAt(int dirFd, const char* name, EntryKind kind, EntryStatus& status) {
  struct stat st {};
  if (kind != EntryKind::Link) {
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (!S_ISLNK(st.st_mode)) {
      status = entryStatusOf(st);
      return 0;
    }
  }
  struct stat target {};
  if (fstatat(dirFd, name, &target, 0) == 0) {
    status = entryStatusOf(target);
  } else {
    if (kind == EntryKind::Link && fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
      return errno;
    status = entryStatusOf(st);
    status.dangling = true;
  }
  status.link = true;
  return 0;
}

int readUserAttributes(const char* hostPath, bool& unsupported) {
  char text[32];
  ssize_t length = getxattr(hostPath, DosAttributeName, text, sizeof text);
  if (length < 0) {
    unsupported = errno == ENOTSUP;
    return 0;
  }
  unsupported = false;
  return parseUserAttributes(text, static_cast<std::size_t>(length));
}

}  // namespace corvane
