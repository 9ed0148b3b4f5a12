// A tree of 20,000 files (about 200 MB of non-repeating data) copied, moved and deleted:
// copyTree against cp -r and a bare loop (readdir, mkdir, copy_file_range); moves within one
// file system and across two (/dev/shm and $TMPDIR) against mv; deleteDirectory against
// rm -r. Medians of a few runs, the order of the ways alternating; the outputs of earlier
// runs are moved aside and deleted at the end (creating files right after deleting many is
// slower), and the file system is synced between runs.
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
#include <vector>

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/copy_tree.h"
#include "fileops/delete_files.h"
#include "fileops/move_files.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/find.h"
#include "platform/headless_console.h"
#include "platform/screen.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int TopDirectories = 20, SubDirectories = 10, FilesPerDirectory = 100;
constexpr int MaxFileBytes = 20000;
constexpr int Runs = 3;

int shell(const std::string& command) { return std::system(command.c_str()); }

bool makeTree(const std::string& root) {
  std::uint64_t state = 0x2545F4914F6CDD1Dull;
  std::vector<char> bytes(MaxFileBytes);
  if (mkdir(root.c_str(), 0755) != 0) return false;
  for (int top = 0; top < TopDirectories; ++top) {
    const std::string a = root + "/d" + std::to_string(top);
    if (mkdir(a.c_str(), 0755) != 0) return false;
    for (int sub = 0; sub < SubDirectories; ++sub) {
      const std::string b = a + "/s" + std::to_string(sub);
      if (mkdir(b.c_str(), 0755) != 0) return false;
      for (int f = 0; f < FilesPerDirectory; ++f) {
        for (char& c : bytes) {
          state ^= state << 13;
          state ^= state >> 7;
          state ^= state << 17;
          c = static_cast<char>(state);
        }
        const std::size_t size = state % MaxFileBytes;
        const std::string path = b + "/file" + std::to_string(f) + ".dat";
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0 || write(fd, bytes.data(), size) != static_cast<ssize_t>(size)) return false;
        close(fd);
      }
    }
  }
  return true;
}

// The floor of a tree copy: every directory made, every file copied by the kernel.
bool bareCopy(const std::string& from, const std::string& to) {
  if (mkdir(to.c_str(), 0755) != 0) return false;
  DIR* dir = opendir(from.c_str());
  if (dir == nullptr) return false;
  bool ok = true;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string source = from + "/" + name, target = to + "/" + name;
    if (entry->d_type == DT_DIR) {
      ok = bareCopy(source, target) && ok;
      continue;
    }
    const int in = open(source.c_str(), O_RDONLY);
    const int out = open(target.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    while (in >= 0 && out >= 0 && copy_file_range(in, nullptr, out, nullptr, 1 << 20, 0) > 0) {
    }
    ok = ok && in >= 0 && out >= 0;
    if (in >= 0) close(in);
    if (out >= 0) close(out);
  }
  closedir(dir);
  return ok;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Way {
  const char* name;
  std::function<void()> prepare;  // untimed
  std::function<bool()> work;
  std::vector<double> ms;
};

// Runs the ways Runs times in alternating order; the first is the peer.
void measure(const char* title, std::vector<Way>& ways) {
  for (int run = 0; run < Runs; ++run) {
    for (std::size_t k = 0; k < ways.size(); ++k) {
      Way& way = ways[(k + static_cast<std::size_t>(run)) % ways.size()];
      if (way.prepare) way.prepare();
      sync();
      const auto start = Clock::now();
      if (!way.work()) std::printf("  !! %s failed\n", way.name);
      way.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
  }
  std::printf(" %s\n", title);
  const double peer = median(ways[0].ms);
  for (const Way& way : ways)
    std::printf("  %-40s %8.1f ms  %5.2fx %s\n", way.name, median(way.ms), median(way.ms) / peer,
                ways[0].name);
}

int countFiles(const std::string& root) {
  return std::system(("test $(find " + root + " -type f | wc -l) -eq " +
                      std::to_string(TopDirectories * SubDirectories * FilesPerDirectory))
                         .c_str()) == 0
             ? 1
             : 0;
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each line as it is measured
  const char* tmp = std::getenv("TMPDIR");
  std::string base =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/corvane-bench-trees-XXXXXX";
  std::string shm = "/dev/shm/corvane-bench-trees-XXXXXX";
  if (mkdtemp(base.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const bool haveShm = mkdtemp(shm.data()) != nullptr;
  const std::string source = base + "/src", trash = base + "/trash";
  mkdir(trash.c_str(), 0755);
  std::printf("bench_trees: %d files in %s\n", TopDirectories * SubDirectories * FilesPerDirectory,
              source.c_str());
  if (!makeTree(source)) {
    std::perror("making the tree");
    return 1;
  }

  HeadlessConsole console(80, 25);
  setConsole(&console);
  resumeOutput();
  initScreenImage(80, 25);
  loadDefaultColors();
  initDriveMap(("B=" + base + (haveShm ? ";S=" + shm : std::string())).c_str());
  setPreference(5, false);

  int serial = 0;
  // A fresh name for an output, and the output of the last run moved aside.
  const auto fresh = [&](const std::string& directory) {
    return directory + "/out" + std::to_string(++serial);
  };
  const auto aside = [&](const std::string& path) {
    rename(path.c_str(), (trash + "/" + std::to_string(++serial)).c_str());
  };
  bool whole = true;

  std::string out;
  std::vector<Way> copies = {
      {"cp -r (peer)",
       [&] { out = fresh(base); },
       [&] { return shell("cp -r " + source + " " + out) == 0; },
       {}},
      {"floor: readdir, mkdir, copy_file_range",
       [&] { out = fresh(base); },
       [&] { return bareCopy(source, out); },
       {}},
      {"copyTree",
       [&] { out = fresh(base); },
       [&] {
         const std::string name = out.substr(out.rfind('/') + 1);
         const int result = copyTreeInto("B:\\src", "*.*", "B:\\" + name, TreeCopy);
         whole = whole && countFiles(out) == 1;
         return result == CopyDone;
       },
       {}},
  };
  measure("copying the tree (goal: copyTree at most 1.3x cp -r)", copies);
  if (!whole) std::printf("  !! a copy of copyTree lacks files\n");

  // Moves within one file system: a rename.
  const std::string moving = base + "/moving";
  const auto prepareMove = [&] {
    aside(moving);
    shell("cp -r " + source + " " + moving);
    out = fresh(base);
    mkdir(out.c_str(), 0755);
  };
  std::vector<Way> moves = {
      {"mv (peer)", prepareMove, [&] { return shell("mv " + moving + " " + out) == 0; }, {}},
      {"moveFile",
       prepareMove,
       [&] {
         const std::string name = out.substr(out.rfind('/') + 1);
         return moveFile("B:\\moving", "B:\\" + name, AttrDirectory, 0) == CopyDone;
       },
       {}},
  };
  measure("moving the tree within one file system (goal: a rename's milliseconds)", moves);

  if (haveShm) {
    // Moves across file systems: from /dev/shm into $TMPDIR.
    const std::string over = shm + "/moving";
    const auto prepareCross = [&] {
      shell("rm -rf " + over);
      shell("cp -r " + source + " " + over);
      out = fresh(base);
      mkdir(out.c_str(), 0755);
    };
    std::vector<Way> crossing = {
        {"mv (peer)", prepareCross, [&] { return shell("mv " + over + " " + out) == 0; }, {}},
        {"moveFile",
         prepareCross,
         [&] {
           const std::string name = out.substr(out.rfind('/') + 1);
           const int result = moveFile("S:\\moving", "B:\\" + name, AttrDirectory, 0);
           return result == CopyDone && countFiles(out + "/moving") == 1;
         },
         {}},
    };
    measure("moving the tree across file systems (goal: at most 1.3x mv)", crossing);
  }

  const std::string victim = base + "/victim";
  const auto prepareDelete = [&] { shell("cp -r " + source + " " + victim); };
  std::vector<Way> deletes = {
      {"rm -r (peer)", prepareDelete, [&] { return shell("rm -r " + victim) == 0; }, {}},
      {"deleteDirectory",
       prepareDelete,
       [&] { return deleteDirectory("B:\\victim", false) == 1; },
       {}},
  };
  measure("deleting the tree (goal: at most 1.5x rm -r)", deletes);

  setConsole(nullptr);
  shell("rm -rf " + base);
  if (haveShm) shell("rm -rf " + shm);
  return 0;
}
