// Copying one 1 GiB file of non-repeating data: copyFiles drawing its progress on the headless
// console, against cp (the peer) and two floors measured in the same run: copy_file_range in
// 1 MiB chunks and a 1 MiB read/write loop. Medians of several runs, the order of the ways
// rotated from run to run; every copy is compared with the source.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench_files.h"
#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/fileops_state.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/headless_console.h"
#include "platform/screen.h"

namespace {

using namespace corvane;
using namespace corvane::bench;
using Clock = std::chrono::steady_clock;

constexpr int Runs = 5;

bool copyFileRangeLoop(const std::string& from, const std::string& to) {
  const int in = open(from.c_str(), O_RDONLY);
  const int out = open(to.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  bool ok = in >= 0 && out >= 0;
  while (ok) {
    const ssize_t moved = copy_file_range(in, nullptr, out, nullptr, Chunk, 0);
    if (moved <= 0) {
      ok = moved == 0;
      break;
    }
  }
  if (in >= 0) close(in);
  if (out >= 0) close(out);
  return ok;
}

struct Way {
  const char* name;
  std::function<bool()> copy;
  std::vector<double> ms;
};

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each line as it is measured
  const char* tmp = std::getenv("TMPDIR");
  std::string base =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/corvane-bench-copy-XXXXXX";
  if (mkdtemp(base.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string source = base + "/source", target = base + "/target";
  std::printf("bench_copy: 1 GiB of non-repeating data in %s\n", base.c_str());
  if (!makeSource(source)) {
    std::perror("making the source");
    return 1;
  }

  HeadlessConsole console(80, 25);
  setConsole(&console);
  resumeOutput();
  initScreenImage(80, 25);
  loadDefaultColors();
  initDriveMap(("B=" + base).c_str());
  setPreference(5, false);

  std::vector<Way> ways = {
      {"cp (peer)", [&] { return std::system(("cp " + source + " " + target).c_str()) == 0; }, {}},
      {"floor: copy_file_range, 1 MiB", [&] { return copyFileRangeLoop(source, target); }, {}},
      {"floor: read/write, 1 MiB", [&] { return readWriteLoop(source, target); }, {}},
      {"copyFiles with its progress window",
       [&] { return copyFiles("B:\\source", "B:\\target", 0) == CopyDone; },
       {}},
  };
  bool allSame = true;
  for (int run = 0; run < Runs; ++run) {
    for (std::size_t k = 0; k < ways.size(); ++k) {
      Way& way = ways[(k + static_cast<std::size_t>(run)) % ways.size()];
      unlink(target.c_str());
      sync();
      const auto start = Clock::now();
      const bool ok = way.copy();
      way.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      if (!ok || (run == 0 && !sameContent(source, target))) {
        std::printf("  !! %s: the copy differs from the source\n", way.name);
        allSame = false;
      }
    }
  }
  const double peer = median(ways[0].ms);
  for (const Way& way : ways)
    std::printf("  %-40s %8.0f ms  %5.2fx cp's time  %6.0f MB/s\n", way.name, median(way.ms),
                median(way.ms) / peer, FileBytes / 1e6 / (median(way.ms) / 1000));
  const double throughput = peer / median(ways[3].ms);
  std::printf("  copyFiles throughput: %.2fx cp's (goal: at least 0.95x)\n", throughput);

  setConsole(nullptr);
  unlink(target.c_str());
  unlink(source.c_str());
  rmdir(base.c_str());
  return allSame ? 0 : 1;
}
