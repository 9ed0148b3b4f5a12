// Splitting and building one 1 GiB file of non-repeating data, against cp of the same file (the
// peer), split(1) with the same piece size (a second peer) and a 1 MiB read/write loop (the
// floor), measured in the same run with a warm cache: splitFile with the default piece size
// (741 pieces) and with 100,000,000-byte pieces, buildFile from each. Medians of a few runs;
// every build is compared with the source.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_files.h"
#include "config/setup_block.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/headless_console.h"
#include "platform/screen.h"
#include "tools/split_build.h"

namespace {

using namespace corvane;
using namespace corvane::bench;
using Clock = std::chrono::steady_clock;

constexpr int Runs = 3;

void emptyDirectory(const std::string& path) {
  std::error_code error;
  std::filesystem::remove_all(path, error);
  std::filesystem::create_directory(path, error);
}

double timed(const std::function<bool()>& work, bool& ok) {
  const auto start = Clock::now();
  ok = work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const char* tmp = std::getenv("TMPDIR");
  std::string base =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/corvane-bench-split-XXXXXX";
  if (mkdtemp(base.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string source = base + "/source.bin", pieces = base + "/pieces", out = base + "/out";
  std::printf("bench_split: 1 GiB of non-repeating data in %s\n", base.c_str());
  if (!makeSource(source)) {
    std::perror("making the source");
    return 1;
  }

  HeadlessConsole console(80, 25);
  // A box waiting for a key means a failure: its screen is printed (Esc then closes it).
  console.onInputExhausted = [](HeadlessConsole& shown) {
    for (int row = 0; row < shown.rows; ++row) {
      const std::string text = shown.shownRow(row);
      if (text.find_first_not_of(' ') != std::string::npos) std::printf("  | %s\n", text.c_str());
    }
  };
  setConsole(&console);
  resumeOutput();
  initScreenImage(80, 25);
  loadDefaultColors();
  initDriveMap(("X=" + base).c_str());
  setPreference(5, false);

  bool allSame = true;
  std::vector<double> cp, peerSplit, floor;
  struct SplitWay {
    const char* name;
    std::uint64_t pieceSize;
    std::vector<double> split, build;
  };
  std::vector<SplitWay> ways = {{"default pieces (1450000)", SplitDefaultPieceSize, {}, {}},
                                {"pieces of 100000000", 100000000, {}, {}}};
  (void)sameContent(source, source);  // the source in the cache
  for (int run = 0; run < Runs; ++run) {
    bool ok = true;
    emptyDirectory(out);
    cp.push_back(timed([&] { return std::system(("cp " + source + " " + out + "/cp").c_str()) == 0; }, ok));
    allSame = allSame && ok;
    emptyDirectory(pieces);
    peerSplit.push_back(timed(
        [&] {
          return std::system(("split -b 1450000 " + source + " " + pieces + "/x").c_str()) == 0;
        },
        ok));
    allSame = allSame && ok;
    emptyDirectory(out);
    floor.push_back(timed([&] { return readWriteLoop(source, out + "/rw"); }, ok));
    allSame = allSame && ok;
    for (SplitWay& way : ways) {
      emptyDirectory(pieces);
      emptyDirectory(out);
      way.split.push_back(timed(
          [&] { return splitFile("X:\\source.bin", {way.pieceSize, "X:\\pieces", false}) == SplitDone; },
          ok));
      allSame = allSame && ok;
      way.build.push_back(
          timed([&] { return buildFile("X:\\pieces\\SOURCE.000", "X:\\out") == SplitDone; }, ok));
      if (!ok || (run == 0 && !sameContent(source, out + "/source.bin"))) {
        std::printf("  !! %s: the built file differs from the source\n", way.name);
        allSame = false;
      }
    }
  }
  const double peer = median(cp);
  const auto line = [&](const std::string& name, double ms) {
    std::printf("  %-44s %8.0f ms  %5.2fx cp's time\n", name.c_str(), ms, ms / peer);
  };
  line("cp (peer)", peer);
  line("split -b 1450000 (peer)", median(peerSplit));
  line("floor: read/write, 1 MiB", median(floor));
  for (const SplitWay& way : ways) {
    line(std::string("splitFile, ") + way.name, median(way.split));
    line(std::string("buildFile, ") + way.name, median(way.build));
  }
  std::printf("  goal: split and build within 1.3x cp's time (build syncs its file before the "
              "rename)\n");

  setConsole(nullptr);
  std::error_code error;
  std::filesystem::remove_all(base, error);
  return allSame ? 0 : 1;
}
