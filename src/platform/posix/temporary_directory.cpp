#include "platform/temporary_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/drives.h"

namespace corvane {
namespace {

FileResult failed() { return fileFailure(errno); }

// Removes the entry name of the directory open as parent, and everything below it.
FileResult removeTreeAt(int parent, const std::string& name) {
  struct stat st {};
  if (fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return failed();
  if (!S_ISDIR(st.st_mode))
    return unlinkat(parent, name.c_str(), 0) == 0 ? fileSuccess() : failed();
  if ((st.st_mode & S_IRWXU) != S_IRWXU)
    (void)fchmodat(parent, name.c_str(), st.st_mode | S_IRWXU, 0);
  const int fd = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return failed();
  DIR* directory = fdopendir(fd);
  if (directory == nullptr) {
    const FileResult result = failed();
    close(fd);
    return result;
  }
  std::vector<std::string> names;
  while (const dirent* entry = readdir(directory)) {
    const std::string_view entryName = entry->d_name;
    if (entryName != "." && entryName != "..") names.emplace_back(entryName);
  }
  FileResult result = fileSuccess();
  for (const std::string& entryName : names) {
    const FileResult removed = removeTreeAt(dirfd(directory), entryName);
    if (!removed && result) result = removed;
  }
  closedir(directory);
  if (unlinkat(parent, name.c_str(), AT_REMOVEDIR) != 0 && result) result = failed();
  return result;
}

}  // namespace

std::string temporaryHostDirectory() {
  for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] == '/') return value;
  }
  return "/tmp";
}

FileResult makeFreshDirectory(std::string_view prefix, std::string& path) {
  std::string base = temporaryHostDirectory();
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string host = (base == "/" ? std::string() : base) + "/" + std::string(prefix) + "XXXXXX";
  if (mkdtemp(host.data()) == nullptr) return failed();
  path = toProgramPath(host);
  if (path.empty()) {
    rmdir(host.c_str());
    return fileFailure(ENOENT);
  }
  return fileSuccess();
}

FileResult removeDirectoryTree(std::string_view path) {
  const std::string host = toHostPath(path);
  if (host.empty()) return fileFailure(ENOENT);
  return removeTreeAt(AT_FDCWD, host);
}

}  // namespace corvane
