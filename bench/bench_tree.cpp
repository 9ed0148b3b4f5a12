// The directory tree of a drive holding 130,000 entries (13,000 directories, one branch 30
// levels deep), against a bare recursive readdir + fstatat over every entry measured in the
// same run: the scan with the cache written (buildTree request 1), the cache read with its
// checks and the line prefixes (request 0), findNode on the deepest path; and the prefixes
// of a directory with 50,000 subdirectories, per node against those of the first tree.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "config/config_state.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/headless_console.h"
#include "platform/screen.h"
#include "tree/tree_build.h"
#include "tree/tree_cache.h"
#include "tree/tree_model.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int DirectoryCount = 13000;
constexpr int EntryCount = 130000;
constexpr int FilesPerDirectory = (EntryCount - DirectoryCount) / DirectoryCount;  // 9
constexpr int DeepLevels = 30;  // "B:\deep0\...\deep29": 203 characters
constexpr int WideCount = 50000;
constexpr int Repeats = 5;

double millisecondsOf(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double bestOf(int repeats, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) best = std::min(best, millisecondsOf(work));
  return best;
}

bool makeEntry(const std::string& path, bool directory) {
  if (directory) return mkdir(path.c_str(), 0755) == 0;
  const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (fd < 0) return false;
  close(fd);
  return true;
}

// A deep branch, then directories spread breadth-first ten to a directory, each with its
// files: DirectoryCount directories and EntryCount entries in all.
bool makeTree(const std::string& root, std::string& deepest) {
  std::vector<std::string> directories;
  std::string path = root;
  for (int level = 0; level < DeepLevels; ++level) {
    path += "/deep" + std::to_string(level);
    if (!makeEntry(path, true)) return false;
    directories.push_back(path);
  }
  deepest = path;
  std::vector<std::string> parents{root};
  std::size_t next = 0;
  while (static_cast<int>(directories.size()) < DirectoryCount) {
    const std::string parent = parents[next++];
    for (int i = 0; i < 10 && static_cast<int>(directories.size()) < DirectoryCount; ++i) {
      const std::string child = parent + "/dir" + std::to_string(i);
      if (!makeEntry(child, true)) return false;
      directories.push_back(child);
      parents.push_back(child);
    }
  }
  for (const std::string& dir : directories)
    for (int i = 0; i < FilesPerDirectory; ++i)
      if (!makeEntry(dir + "/file" + std::to_string(i) + ".txt", false)) return false;
  // The root's own files make the entries come out exact.
  const int rest = EntryCount - DirectoryCount * (1 + FilesPerDirectory);
  for (int i = 0; i < rest; ++i)
    if (!makeEntry(root + "/top" + std::to_string(i), false)) return false;
  return true;
}

// The floor: every entry below dir and its status, directories opened relative to their
// parent.
std::size_t bareWalk(int parentFd, const char* name) {
  const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return 0;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return 0;
  }
  std::size_t seen = 0;
  struct stat st {};
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
      continue;
    if (fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    ++seen;
    if (S_ISDIR(st.st_mode)) seen += bareWalk(fd, e->d_name);
  }
  closedir(dir);
  return seen;
}

void printRatio(const char* what, double ms, double floor, const char* against = "floor") {
  std::printf("  %-44s %9.2f ms  %7.3fx %s\n", what, ms, ms / floor, against);
}

}  // namespace

int main() {
  char base[] = "/tmp/corvane-bench-tree-XXXXXX";
  if (mkdtemp(base) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string root = base;
  const std::string drive = root + "/drive", wide = root + "/wide", setup = root + "/setup";
  for (const std::string& dir : {drive, wide, setup, setup + "/CS.TRE"}) mkdir(dir.c_str(), 0755);
  std::printf("bench_tree: %d entries, %d directories in %s\n", EntryCount, DirectoryCount,
              drive.c_str());
  std::string deepest;
  bool made = makeTree(drive, deepest);
  for (int i = 0; made && i < WideCount; ++i)
    made = makeEntry(wide + "/sub" + std::to_string(i), true);
  if (!made) {
    std::perror("creating the trees");
    return 1;
  }

  HeadlessConsole console(80, 25);
  setConsole(&console);
  initScreenImage(80, 25);
  loadDefaultColors();
  initDriveMap(("B=" + drive + ";W=" + wide + ";S=" + setup).c_str());
  configState().loadedPath = "S:\\corvane.SET";
  setCurrentDrive('B');

  std::size_t seen = 0;
  const double floor = bestOf(Repeats, [&] { seen = bareWalk(AT_FDCWD, drive.c_str()); });
  std::printf("  %-44s %9.2f ms  (%zu entries)\n", "floor: readdir + fstatat, every entry", floor,
              seen);

  DirectoryTree tree;
  const double scan = bestOf(Repeats, [&] { buildTree(TreeRequestScan, tree, true); });
  printRatio("buildTree 1: scan and cache written", scan, floor);
  std::printf("  %-44s %9zu nodes, %zu bytes of cache\n", "", tree.nodes.size(),
              encodeTreeCache(tree).size());

  const double load = bestOf(Repeats, [&] { buildTree(TreeRequestCache, tree, true); });
  printRatio("buildTree 0: cache read, checked, prefixes", load, floor);
  printRatio("  the same against the scan", load, scan, "scan");

  const std::string deepPath = toProgramPath(deepest);
  TreeNodeId found = NoTreeNode;
  const double find = bestOf(Repeats,
                             [&] {
                               for (int i = 0; i < 100; ++i) found = findNode(tree, deepPath);
                             }) /
                      100;
  std::printf("  %-44s %9.4f ms  %7.5fx floor\n", "findNode, 30 levels deep", find, find / floor);
  if (found == NoTreeNode) std::printf("  !! %s was not found\n", deepPath.c_str());

  const double prefixes = bestOf(Repeats, [&] { finishTree(tree); });
  setCurrentDrive('W');
  DirectoryTree wideTree;
  buildTree(TreeRequestScan, wideTree, true);
  const double widePrefixes = bestOf(Repeats, [&] { finishTree(wideTree); });
  const double perNode = prefixes / static_cast<double>(tree.nodes.size());
  const double widePerNode = widePrefixes / static_cast<double>(wideTree.nodes.size());
  std::printf("  %-44s %9.2f ms  (%zu nodes)\n", "prefixes of the first tree", prefixes,
              tree.nodes.size());
  std::printf("  %-44s %9.2f ms  (%zu nodes) %6.2fx per node\n",
              "prefixes of 50,000 subdirectories of one", widePrefixes, wideTree.nodes.size(),
              widePerNode / perNode);

  setConsole(nullptr);
  const std::string remove = "rm -rf '" + root + "'";
  if (std::system(remove.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", root.c_str());
  return 0;
}
