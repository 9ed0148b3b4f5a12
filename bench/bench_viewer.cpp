// The viewer on a 1 MiB and a 1 GiB text file and a 5 GiB sparse file with text at both ends
// (made once under /tmp and kept for later runs): the first page, End and 100 Page Ups drawn
// on a headless screen, against a floor of 16 KB read at the start and 16 KB at the end of
// the same file; and the search for an absent string, exact and ignoring case, against
// grep -F and grep -iF on the same file.
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

#include "bench_timing.h"
#include "config/setup_block.h"
#include "panels/panel_geometry.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/headless_console.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "viewer/text_search.h"
#include "viewer/viewer.h"
#include "viewer/viewer_state.h"

namespace {

using namespace corvane;
using bench::bestOf;
using bench::Clock;
using bench::millisecondsSince;

constexpr const char* Directory = "/tmp/corvane-bench-viewer";
constexpr long long MiB = 1LL << 20;
constexpr int Repeats = 5;
constexpr int PageUps = 100;
constexpr const char* Absent = "corvane-absent-needle";

// Lines of a log: a number, a level and words, about 80 bytes each.
std::string logBlock(long long firstLine, long long bytes) {
  static const char* const words[] = {"request", "served",  "cache", "miss",  "user",
                                      "session", "started", "disk",  "quota", "renewed",
                                      "token",   "expired", "query", "slow",  "retry"};
  std::string text;
  char line[160];
  for (long long n = firstLine; static_cast<long long>(text.size()) < bytes; ++n) {
    int length = std::snprintf(line, sizeof line, "%010lld %s", n, n % 7 == 0 ? "WARN" : "INFO");
    for (int w = 0; w < 9; ++w)
      length +=
          std::snprintf(line + length, sizeof line - length, " %s", words[(n * 7 + w * 3) % 15]);
    line[length++] = '\n';
    text.append(line, static_cast<std::size_t>(length));
  }
  text.resize(static_cast<std::size_t>(bytes));
  text.back() = '\n';
  return text;
}

bool hasSize(const std::string& path, long long size) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && st.st_size == size;
}

bool writeAt(int fd, const std::string& text, long long offset) {
  return pwrite(fd, text.data(), text.size(), offset) == static_cast<ssize_t>(text.size());
}

// Makes the file unless it is there with its size already.
bool makeFile(const std::string& path, long long size, bool sparse) {
  if (hasSize(path, size)) return true;
  std::printf("  making %s ...\n", path.c_str());
  std::fflush(stdout);
  const std::string temporary = path + ".part";
  const int fd = open(temporary.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  if (sparse) {
    const std::string ends = logBlock(0, MiB);
    ok = ftruncate(fd, size) == 0 && writeAt(fd, ends, 0) &&
         writeAt(fd, logBlock(900000000, MiB), size - MiB);
  } else {
    for (long long at = 0; ok && at < size; at += 16 * MiB)
      ok = writeAt(fd, logBlock(at / 80, std::min(16 * MiB, size - at)), at);
  }
  ok = close(fd) == 0 && ok && rename(temporary.c_str(), path.c_str()) == 0;
  return ok;
}

// The floor: 16 KB read at the start and 16 KB at the end of the file.
double floorOf(const std::string& path) {
  std::vector<char> buffer(16384);
  return bestOf(Repeats, [&] {
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat st {};
    fstat(fd, &st);
    if (pread(fd, buffer.data(), buffer.size(), 0) < 0 ||
        pread(fd, buffer.data(), buffer.size(), std::max<off_t>(st.st_size - 16384, 0)) < 0)
      std::perror(path.c_str());
    close(fd);
  });
}

// A headless screen that answers the viewer's key reads: the first read comes once the first
// page is drawn (End is typed), the second after End (100 Page Ups), the third after them
// (Esc).
class Stopwatch : public HeadlessConsole {
 public:
  Stopwatch() {
    onInputExhausted = [this](HeadlessConsole& console) {
      marks.push_back(millisecondsSince(start));
      if (marks.size() == 1) {
        console.pushKey(key::End);
      } else if (marks.size() == 2) {
        for (int i = 0; i < PageUps; ++i) console.pushKey(key::PgUp);
      } else {
        console.pushKey(key::Escape);
      }
    };
  }
  Clock::time_point start = Clock::now();
  std::vector<double> marks;
};

struct ViewTimes {
  double firstPage = 1e300, end = 1e300, pageUps = 1e300;
};

ViewTimes measureView(const std::string& programPath) {
  ViewTimes best;
  for (int i = 0; i < Repeats; ++i) {
    Stopwatch console;
    setConsole(&console);
    resumeOutput();
    initScreenImage(80, 25);
    ViewRequest request;
    request.fileName = programPath;
    console.start = Clock::now();
    (void)viewFile(request);
    setConsole(nullptr);
    if (console.marks.size() < 3) continue;
    best.firstPage = std::min(best.firstPage, console.marks[0]);
    best.end = std::min(best.end, console.marks[1] - console.marks[0]);
    best.pageUps = std::min(best.pageUps, console.marks[2] - console.marks[1]);
  }
  return best;
}

double searchTime(const std::string& path, bool ignoreCase) {
  return bestOf(2, [&] {
    FileHandle file(std::fopen(path.c_str(), "rb"));
    std::int64_t found = -1;
    if (findInFile(file.get(), 0, Absent, ignoreCase, found) != FileSearchResult::NotFound)
      std::printf("  !! the absent string was found at %lld\n", static_cast<long long>(found));
  });
}

double grepTime(const std::string& path, bool ignoreCase) {
  const std::string command = std::string("grep -c") + (ignoreCase ? "i" : "") + "F '" + Absent +
                              "' '" + path + "' >/dev/null";
  return bestOf(2, [&] {
    if (std::system(command.c_str()) == -1) std::perror("grep");
  });
}

}  // namespace

int main() {
  mkdir(Directory, 0755);
  struct Subject {
    const char* name;
    long long size;
    bool sparse;
    bool search;
  };
  const Subject subjects[] = {
      {"text-1m.txt", MiB, false, true},
      {"text-1g.txt", 1024 * MiB, false, true},
      {"sparse-5g.txt", 5 * 1024 * MiB, true, false},
  };
  std::printf("bench_viewer: files in %s\n", Directory);
  for (const Subject& s : subjects) {
    if (!makeFile(std::string(Directory) + "/" + s.name, s.size, s.sparse)) {
      std::perror(s.name);
      return 1;
    }
  }
  initDriveMap((std::string("B=") + Directory).c_str());
  setSetupDefaults(setupBlock());
  setupBlock().keyboardLayout.set(KeyboardCommander);
  loadDefaultColors();

  ViewTimes small;
  bool goalsMet = true;
  for (const Subject& s : subjects) {
    const std::string host = std::string(Directory) + "/" + s.name;
    const double floor = floorOf(host);
    const ViewTimes t = measureView(std::string("B:\\") + s.name);
    if (&s == &subjects[0]) small = t;
    std::printf("  %s (%lld MiB)\n", s.name, s.size / MiB);
    std::printf("    %-40s %9.3f ms\n", "floor: 16 KB at the start and the end", floor);
    std::printf("    %-40s %9.3f ms  %7.1fx floor  %5.2fx 1 MiB\n", "first page", t.firstPage,
                t.firstPage / floor, t.firstPage / small.firstPage);
    std::printf("    %-40s %9.3f ms  %7.1fx floor  %5.2fx 1 MiB\n", "End", t.end, t.end / floor,
                t.end / small.end);
    std::printf("    %-40s %9.3f ms  %7.1fx floor  %5.2fx 1 MiB\n", "100 Page Ups from the end",
                t.pageUps, t.pageUps / floor, t.pageUps / small.pageUps);
    goalsMet = goalsMet && t.firstPage < 20 && t.end < 20 && t.firstPage <= 1.5 * small.firstPage &&
               t.end <= 1.5 * small.end;
    if (!s.search) continue;
    for (bool ignoreCase : {false, true}) {
      const double grep = grepTime(host, ignoreCase);
      const double own = searchTime(host, ignoreCase);
      std::printf("    %-40s %9.1f ms  %5.2fx grep -%sF (%.1f ms)\n",
                  ignoreCase ? "search, ignoring case" : "search, exact case", own, own / grep,
                  ignoreCase ? "i" : "", grep);
      if (s.size >= 1024 * MiB) goalsMet = goalsMet && own <= 1.2 * grep;
    }
  }
  std::printf(
      "  goals (first page and End under 20 ms and within 1.5x of 1 MiB; search within "
      "1.2x of grep on 1 GiB): %s\n",
      goalsMet ? "met" : "MISSED");
  initDriveMap(nullptr);
  return 0;
}
