#include "platform/host_directories.h"

#include "platform/environment.h"
#include "platform/file_system.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace corvane {

std::string hostDirectoryOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string programHostDirectory(const char* argv0) {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) {
    buffer[n] = '\0';
    return hostDirectoryOf(buffer);
  }
  if (argv0 != nullptr && std::string_view(argv0).find('/') != std::string_view::npos) {
    char* resolved = ::realpath(argv0, nullptr);
    if (resolved != nullptr) {
      std::string directory = hostDirectoryOf(resolved);
      std::free(resolved);
      return directory;
    }
  }
  return {};
}

std::string programShareDirectory(const char* argv0) {
  const std::string programDirectory = programHostDirectory(argv0);
  if (programDirectory.empty()) return {};
  std::string share = hostDirectoryOf(programDirectory);
  if (share.back() != '/') share += '/';
  return share + "share/corvane";
}

bool hostDirectoryWritable(std::string_view directory) {
  std::string path(directory);
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool programDirectoryKeepsSetup(std::string_view programDirectory, std::string_view setupName) {
  if (!hostDirectoryWritable(programDirectory)) return false;
  std::string path(programDirectory);
  if (path.back() != '/') path += '/';
  path += setupName;
  FileHandle file;
  return static_cast<bool>(openRegularHostFile(path, file));
}

bool ensureHostDirectory(std::string_view directory) {
  std::string path(directory);
  if (path.empty()) return false;
  for (std::size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '/') continue;
    std::string part = path.substr(0, pos);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string hostWorkingDirectory() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

std::string resolvedHostPath(std::string_view path) {
  std::string text(path);
  char* resolved = ::realpath(text.c_str(), nullptr);
  if (resolved == nullptr) return {};
  std::string result(resolved);
  std::free(resolved);
  return result;
}

bool hostIsDirectory(std::string_view path) {
  std::string text(path);
  struct stat st {};
  return !text.empty() && ::stat(text.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool hostDirectoryReadable(std::string_view path) {
  std::string text(path);
  DIR* dir = ::opendir(text.c_str());
  if (dir == nullptr) return false;
  ::closedir(dir);
  return true;
}

bool hostPathIsAbsolute(std::string_view path) { return path.starts_with('/'); }

std::string userConfigHome() { return environmentValue("XDG_CONFIG_HOME"); }

}  // namespace corvane
