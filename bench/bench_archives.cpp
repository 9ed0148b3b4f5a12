// An archive panel on a ZIP of 100,000 empty members in 100 directories: the archive opened
// (its top listed) and one directory entered, each a full read of the central directory,
// against `unzip -l` and `unzip -Z1` on the same file in the same run; the memory a listed
// entry and a member read whole (as deleting and unpacking read them) take.
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/archives/zip_builder.h"
#include "archives/archive_panel.h"
#include "bench_timing.h"
#include "config/archiver_defs.h"
#include "config/config_state.h"
#include "config/setup_block.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/headless_console.h"
#include "platform/screen.h"

namespace {

using namespace corvane;

constexpr int DirectoryCount = 100;
constexpr int MembersPerDirectory = 1000;
constexpr int Repeats = 5;

// Stored, empty members "dNN/fileNNNN.txt"; 100,000 entries do not fit the end record's
// counts: a zip64 end record holds them, as zip writes it.
std::string bigZip() {
  std::vector<testing::ZipMember> members;
  members.reserve(DirectoryCount * MembersPerDirectory);
  for (int d = 0; d < DirectoryCount; ++d)
    for (int f = 0; f < MembersPerDirectory; ++f)
      members.push_back(
          {"d" + std::to_string(d) + "/file" + std::to_string(f) + ".txt", "", {}});
  return testing::zipArchive(members, {.zip64End = true});
}

double commandMilliseconds(const std::string& command) {
  return bench::bestOf(Repeats, [&] {
    if (std::system(command.c_str()) != 0) std::printf("  !! %s failed\n", command.c_str());
  });
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

}  // namespace

int main() {
  char base[] = "/tmp/corvane-bench-archives-XXXXXX";
  if (mkdtemp(base) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string root = base;
  const std::string path = root + "/big.zip";
  {
    const std::string bytes = bigZip();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      std::perror(path.c_str());
      return 1;
    }
    std::fclose(file);
    std::printf("bench_archives: %d members in %d directories, %zu bytes, %s\n",
                DirectoryCount * MembersPerDirectory, DirectoryCount, bytes.size(), path.c_str());
  }

  HeadlessConsole console(80, 25);
  setConsole(&console);
  initScreenImage(80, 25);
  loadDefaultColors();
  setSetupDefaults(setupBlock());
  initDriveMap(("B=" + root).c_str());
  setCurrentDrive('B');

  const bool haveUnzip = std::system("command -v unzip >/dev/null 2>&1") == 0;
  double floor = 0;
  if (haveUnzip) {
    floor = commandMilliseconds("unzip -l '" + path + "' >/dev/null");
    std::printf("  %-44s %9.2f ms\n", "floor: unzip -l", floor);
    const double names = commandMilliseconds("unzip -Z1 '" + path + "' >/dev/null");
    std::printf("  %-44s %9.2f ms  %7.3fx floor\n", "unzip -Z1", names, names / floor);
  } else {
    std::printf("  unzip is not installed (make deps): no floor\n");
  }

  Panel panel;
  panel.currentDirectory = "B:\\";
  panel.archiveType = ArchiveZip;
  panel.nameCase = 1;
  int result = ArchiveRead;
  std::size_t topCount = 0, innerCount = 0;
  const double both = bench::bestOf(Repeats, [&] {
    panel.mask = "B:\\big.zip/*.*";
    result |= readArchiveDirectory(panel, SortMode::Name, true);
    topCount = panel.list.length;
    panel.mask = "B:\\big.zip/d42/*.*";
    result |= readArchiveDirectory(panel, SortMode::Name, true);
    innerCount = panel.list.length;
  });
  if (result != ArchiveRead) std::printf("  !! the reader ended with %d\n", result);
  if (topCount != DirectoryCount + 1 || innerCount != MembersPerDirectory + 1)
    std::printf("  !! listed %zu at the top and %zu in d42\n", topCount, innerCount);
  if (haveUnzip)
    std::printf("  %-44s %9.2f ms  %7.3fx floor\n", "archive opened and d42 entered (2 reads)",
                both, both / floor);
  else
    std::printf("  %-44s %9.2f ms\n", "archive opened and d42 entered (2 reads)", both);

  // Memory: a listed entry of the panel, and a member read whole.
  freePanel(panel);
  panel = Panel{};
  panel.currentDirectory = "B:\\";
  panel.archiveType = ArchiveZip;
  panel.nameCase = 1;
  panel.mask = "B:\\big.zip/d42/*.*";
  std::size_t before = heapInUse();
  (void)readArchiveDirectory(panel, SortMode::Name, true);
  const double perListed =
      static_cast<double>(heapInUse() - before) / static_cast<double>(panel.list.length);
  std::vector<PanelMember> members;
  before = heapInUse();
  (void)readArchiveMembers("B:\\big.zip", ArchiveZip, false, members);
  const double perMember =
      static_cast<double>(heapInUse() - before) / static_cast<double>(members.size());
  std::printf("  %-44s %9.0f bytes\n", "memory per listed entry (panel)", perListed);
  std::printf("  %-44s %9.0f bytes (%zu members)\n", "memory per member read whole", perMember,
              members.size());

  std::remove(path.c_str());
  rmdir(root.c_str());
  return 0;
}
