// The search commands over a tree of 20,000 text files in 200 directories (about 205 MB, the
// needle in exactly 50 of them) beside a flat directory of 100,000 entries, each against a
// floor measured in the same run: the tree text search (hits not shown) against `grep -rlF`
// and against reading every byte; the same ignoring case against `LC_ALL=C grep -rliF`;
// "*.c" over every entry (file find and global list) against readdir + d_type + fnmatch,
// the same with the stat of each match a listing needs, and `find -printf` of size and date;
// directory size against readdir + fstatat (the sums compared); the compare of two
// 100,000-entry panels against reading them.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "config/config_state.h"
#include "panels/directory_read.h"
#include "panels/global_list.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/headless_console.h"
#include "platform/screen.h"
#include "platform/tree_walk.h"
#include "search/compare.h"
#include "search/file_search.h"
#include "search/walk_actions.h"

namespace {

using namespace corvane;
using corvane::bench::bestOf;

constexpr int TreeDirectories = 200;
constexpr int FilesPerDirectory = 100;
constexpr std::size_t FileBytes = 10250;  // 20,000 files: about 205 MB
constexpr int NeedleFiles = 50;
constexpr int FlatEntries = 100000;
constexpr int Repeats = 3;
constexpr const char* Needle = "xq7needle7qx";

bool writeFile(const std::string& path, const std::string& content) {
  const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (fd < 0) return false;
  const bool ok = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  return ok;
}

bool makeTrees(const std::string& text, const std::string& flat) {
  std::string content;
  while (content.size() < FileBytes)
    content += "the quick brown fox jumps over the lazy dog; NEEDLE is not here 0123456789\n";
  content.resize(FileBytes);
  int file = 0;
  for (int d = 0; d < TreeDirectories; ++d) {
    const std::string dir = text + "/dir" + std::to_string(d);
    if (mkdir(dir.c_str(), 0755) != 0) return false;
    for (int f = 0; f < FilesPerDirectory; ++f, ++file) {
      std::string body = content;
      // Every 400th file holds the needle, half of them near the end.
      if (file % (TreeDirectories * FilesPerDirectory / NeedleFiles) == 0)
        body.replace(file % 800 == 0 ? FileBytes - 40 : 100, 12, Needle);
      if (!writeFile(dir + "/f" + std::to_string(f) + (f % 10 == 0 ? ".c" : ".txt"), body))
        return false;
    }
  }
  for (int i = 0; i < FlatEntries; ++i)
    if (!writeFile(flat + "/e" + std::to_string(i) + (i % 10 == 0 ? ".c" : ".o"), "")) return false;
  return true;
}

// Floors over a tree, directories opened relative to their parent.
struct Floor {
  std::size_t matched = 0;
  std::uint64_t bytes = 0;
};

void walk(int parentFd, const char* name, const std::function<void(int, dirent*)>& file) {
  const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return;
  }
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    if (e->d_type == DT_DIR)
      walk(fd, e->d_name, file);
    else
      file(fd, e);
  }
  closedir(dir);
}

Floor readEveryByte(const std::string& root) {
  Floor floor;
  std::vector<char> buffer(1 << 18);
  walk(AT_FDCWD, root.c_str(), [&](int fd, dirent* e) {
    const int f = openat(fd, e->d_name, O_RDONLY | O_CLOEXEC);
    if (f < 0) return;
    ssize_t got;
    while ((got = read(f, buffer.data(), buffer.size())) > 0) floor.bytes += got;
    close(f);
  });
  return floor;
}

// statMatches: the size and date of each match looked up too, as a listing shows them.
Floor matchNames(const std::string& root, bool statMatches) {
  Floor floor;
  walk(AT_FDCWD, root.c_str(), [&](int fd, dirent* e) {
    if (fnmatch("*.c", e->d_name, 0) != 0) return;
    ++floor.matched;
    struct stat st {};
    if (statMatches && fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
      floor.bytes += static_cast<std::uint64_t>(st.st_size);
  });
  return floor;
}

Floor statEvery(const std::string& root) {
  Floor floor;
  walk(AT_FDCWD, root.c_str(), [&](int fd, dirent* e) {
    struct stat st {};
    if (fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      ++floor.matched;
      floor.bytes += static_cast<std::uint64_t>(st.st_size);
    }
  });
  return floor;
}

// Lines a command prints through a pipe (grep stops early when writing to /dev/null).
std::size_t linesOf(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return 0;
  std::size_t lines = 0;
  for (int c; (c = std::fgetc(pipe)) != EOF;) lines += c == '\n';
  pclose(pipe);
  return lines;
}

void printRatio(const char* what, double ms, double floor, const char* against) {
  std::printf("  %-46s %9.2f ms  %6.2fx %s\n", what, ms, ms / floor, against);
  std::fflush(stdout);
}

}  // namespace

int main() {
  char base[] = "/tmp/corvane-bench-search-XXXXXX";
  if (mkdtemp(base) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string root = base;
  const std::string text = root + "/text", flat = root + "/flat";
  mkdir(text.c_str(), 0755);
  mkdir(flat.c_str(), 0755);
  std::printf("bench_search: %d files in %d directories, %d flat entries in %s\n",
              TreeDirectories * FilesPerDirectory, TreeDirectories, FlatEntries, root.c_str());
  std::fflush(stdout);
  if (!makeTrees(text, flat)) {
    std::perror("creating the trees");
    return 1;
  }
  HeadlessConsole console(80, 25);
  setConsole(&console);
  initScreenImage(80, 25);
  loadDefaultColors();
  initDriveMap(("B=" + root).c_str());
  setCurrentDrive('B');

  // Text search.
  Floor bytes;
  const double readFloor = bestOf(Repeats, [&] { bytes = readEveryByte(text); });
  std::printf("  %-46s %9.2f ms  (%llu bytes)\n", "floor: read every byte", readFloor,
              static_cast<unsigned long long>(bytes.bytes));
  const std::string grep = std::string("grep -rlF ") + Needle + " '" + text + "' | cat";
  std::size_t grepHits = 0;
  const double grepMs = bestOf(Repeats, [&] { grepHits = linesOf(grep); });
  for (bool ignoreCase : {false, true}) {
    TreeSearch search;
    search.directory = "B:\\text";
    search.text = Needle;
    search.ignoreCase = ignoreCase;
    search.show = false;
    std::uint32_t found = 0;
    const double ms = bestOf(Repeats, [&] {
      Panel panel;
      if (gatherTextSearch(panel, search) == GlobalListFound) found = panel.list.length;
      freePanel(panel);
    });
    double peer = grepMs;
    std::size_t peerHits = grepHits;
    if (ignoreCase) {
      const std::string grepI =
          std::string("LC_ALL=C grep -rliF ") + Needle + " '" + text + "' | cat";
      peer = bestOf(Repeats, [&] { peerHits = linesOf(grepI); });
    }
    std::printf("  tree search%s: %u files (grep %zu, expected %d)\n",
                ignoreCase ? " ignoring case" : "", found, peerHits, NeedleFiles);
    printRatio(ignoreCase ? "tree search ignoring case" : "tree search", ms, readFloor, "floor");
    printRatio(ignoreCase ? "  against LC_ALL=C grep -rliF" : "  against grep -rlF", ms, peer,
               "grep");
  }

  // "*.c" over every entry.
  Floor names;
  const double nameFloor = bestOf(Repeats, [&] { names = matchNames(root, false); });
  std::printf("  %-46s %9.2f ms  (%zu match)\n", "floor: readdir + d_type + fnmatch", nameFloor,
              names.matched);
  const double statFloor = bestOf(Repeats, [&] { names = matchNames(root, true); });
  std::printf("  %-46s %9.2f ms\n", "floor 2: the same, fstatat of each match", statFloor);
  struct Bare : TreeWalkVisitor {
    std::size_t entries = 0;
    int visit(TreeWalkEntry&) override {
      ++entries;
      return TreeWalkContinue;
    }
  } bare;
  const double walker = bestOf(Repeats, [&] {
    bare.entries = 0;
    walkDirectoryTree("B:\\", bare);
  });
  std::printf("  the platform walker alone: %zu entries\n", bare.entries);
  printRatio("walkDirectoryTree, nothing done", walker, nameFloor, "floor");
  WalkTotals totals;
  const double find = bestOf(Repeats, [&] {
    console.pushKey(key::Enter);  // the report
    (void)findFiles("B:\\*.c", &totals);
  });
  std::printf("  file find: %d files\n", totals.files);
  printRatio("file find \"*.c\"", find, nameFloor, "floor");
  printRatio("  against floor 2", find, statFloor, "floor 2");
  // The command-line tool doing the same work: each match's size and date.
  std::size_t peerLines = 0;
  const double findPeer = bestOf(Repeats, [&] {
    peerLines = linesOf("find '" + root + "' -name '*.c' -printf '%s %TD\\n'");
  });
  std::printf("  find -name '*.c' -printf size and date: %zu lines\n", peerLines);
  printRatio("  against find -printf", find, findPeer, "find");
  std::uint32_t listed = 0;
  const double global = bestOf(Repeats, [&] {
    Panel panel;
    TreeSearch search;
    search.directory = "B:\\";
    search.mask = "*.c";
    if (gatherTextSearch(panel, search) == GlobalListFound) listed = panel.list.length;
    freePanel(panel);
  });
  std::printf("  global list: %u files\n", listed);
  printRatio("global list \"*.c\"", global, nameFloor, "floor");
  printRatio("  against floor 2", global, statFloor, "floor 2");

  // Directory size.
  Floor sizes;
  const double sizeFloor = bestOf(Repeats, [&] { sizes = statEvery(root); });
  std::printf("  %-46s %9.2f ms  (%llu bytes)\n", "floor: readdir + fstatat", sizeFloor,
              static_cast<unsigned long long>(sizes.bytes));
  std::uint64_t sum = 0;
  const double size = bestOf(Repeats, [&] { sum = directorySize("B:\\*.*", false, &totals); });
  std::printf("  directory size: %llu bytes in %d files (%s)\n",
              static_cast<unsigned long long>(sum), totals.files,
              sum == sizes.bytes ? "equal to the floor's sum" : "!! differs from the floor's sum");
  printRatio("directory size", size, sizeFloor, "floor");

  // Compare of two 100,000-entry panels.
  Panel first, second;
  first.currentDirectory = second.currentDirectory = "B:\\flat";
  first.nameCase = second.nameCase = 1;
  ReadOptions options;
  options.ownKeyboardLayout = false;
  const double readPanels = bestOf(Repeats, [&] {
    (void)readDirectory(first, options);
    (void)readDirectory(second, options);
  });
  std::printf("  %-46s %9.2f ms  (%u entries each)\n", "floor: both panels read", readPanels,
              first.list.length);
  const double compare = bestOf(Repeats, [&] {
    (void)markDifferences(first.list, first.currentDirectory, second.list, second.currentDirectory,
                          false, false);
    (void)markDifferences(second.list, second.currentDirectory, first.list, first.currentDirectory,
                          false, false);
  });
  printRatio("compare both ways", compare, readPanels, "reading");
  freePanel(first);
  freePanel(second);

  setConsole(nullptr);
  const std::string remove = "rm -rf '" + root + "'";
  if (std::system(remove.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", root.c_str());
  return 0;
}
