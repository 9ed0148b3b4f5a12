#include "support/temp_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "platform/drives.h"

namespace corvane::testing {
namespace {

// Removes a host tree bottom-up, giving directories back the permissions a test took.
void removeTree(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    chmod(path.c_str(), 0700);
    if (DIR* dir = opendir(path.c_str())) {
      while (dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name != "." && name != "..") removeTree(path + "/" + entry->d_name);
      }
      closedir(dir);
    }
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

}  // namespace

TempTree::TempTree() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/corvane-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary directory from " << pattern;
    return;
  }
  root_ = pattern;
}

TempTree::~TempTree() {
  if (!root_.empty()) removeTree(root_);
}

std::string TempTree::host(std::string_view relative) const {
  return relative.empty() ? root_ : root_ + "/" + std::string(relative);
}

bool TempTree::makeDir(std::string_view relative) const {
  if (mkdir(host(relative).c_str(), 0755) == 0) return true;
  ADD_FAILURE() << "mkdir " << host(relative);
  return false;
}

bool TempTree::writeFile(std::string_view relative, std::string_view content) const {
  int fd = open(host(relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  bool ok =
      fd >= 0 && write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  if (fd >= 0) close(fd);
  if (!ok) ADD_FAILURE() << "write " << host(relative);
  return ok;
}

bool TempTree::makeSymlink(std::string_view relative, std::string_view target) const {
  if (symlink(std::string(target).c_str(), host(relative).c_str()) == 0) return true;
  ADD_FAILURE() << "symlink " << host(relative);
  return false;
}

bool TempTree::setLocalMtime(std::string_view relative, int year, int month, int day, int hour,
                             int minute, int second) const {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  struct timespec times[2] = {{0, UTIME_OMIT}, {std::mktime(&tm), 0}};
  if (utimensat(AT_FDCWD, host(relative).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0) return true;
  ADD_FAILURE() << "utimensat " << host(relative);
  return false;
}

std::string TempTree::readFile(std::string_view relative) const {
  std::string content;
  int fd = open(host(relative).c_str(), O_RDONLY);
  if (fd < 0) return content;
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0)
    content.append(buffer, static_cast<std::size_t>(got));
  close(fd);
  return content;
}

bool TempTree::exists(std::string_view relative) const {
  struct stat st {};
  return lstat(host(relative).c_str(), &st) == 0;
}

TempDriveTest::TempDriveTest() {
  initDriveMap(("T=" + tree_.root()).c_str());
  setCurrentDrive('T');
}

TempDriveTest::~TempDriveTest() { initDriveMap(nullptr); }

}  // namespace corvane::testing
