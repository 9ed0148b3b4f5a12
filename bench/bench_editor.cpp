// The editor on a 10 MB text file, against floors measured in the same run: loading it
// against reading the bytes and counting their line feeds; Ctrl+End with its redraw; 1,000
// keys typed in the middle of it against the same in a 10 KB file; saving it against one
// write, fsync and rename of the same bytes; and the memory it takes per byte of text.
#include <fcntl.h>
#include <malloc.h>
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

#include "bench_timing.h"
#include "config/setup_block.h"
#include "editor/edit_buffer.h"
#include "editor/edit_file_io.h"
#include "editor/editor_entry.h"
#include "editor/editor_state.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/headless_console.h"
#include "platform/keyboard.h"
#include "platform/replace_file.h"
#include "platform/screen.h"

namespace {

using namespace corvane;
using bench::bestOf;
using bench::Clock;
using bench::millisecondsSince;

constexpr long BigLines = 250000;
constexpr long SmallLines = 250;
constexpr int TypedKeys = 1000;
constexpr int Repeats = 5;

// Lines of about 40 bytes; every seventh begins with a TAB, every eleventh holds one.
std::string makeText(long lines) {
  std::string text;
  char line[96];
  for (long i = 0; i < lines; ++i) {
    std::snprintf(line, sizeof line, "%sline %07ld of the text,%sabcdefghijklmn\n",
                  i % 7 == 0 ? "\t" : "", i, i % 11 == 0 ? "\t" : " ");
    text += line;
  }
  return text;
}

bool writeWhole(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// The floor of a load: the bytes read and their line feeds counted.
long readAndCount(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  struct stat st {};
  fstat(fd, &st);
  std::vector<char> bytes(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  close(fd);
  long lines = 0;
  for (const char* p = bytes.data();
       (p = static_cast<const char*>(std::memchr(p, '\n', bytes.data() + done - p))) != nullptr;
       ++p)
    ++lines;
  return lines;
}

// The floor of a save: one write of the bytes into a new file, fsync, rename over the old.
void writeSyncRename(const std::string& directory, const char* bytes, std::size_t size) {
  const std::string temporary = directory + "/.floor.tmp";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  for (std::size_t done = 0; done < size;) {
    const ssize_t put = write(fd, bytes + done, size - done);
    if (put <= 0) break;
    done += static_cast<std::size_t>(put);
  }
  fsync(fd);
  close(fd);
  rename(temporary.c_str(), (directory + "/floor.txt").c_str());
}

// The editor run on a file by scripted keys, each given the moment the editor asks for one:
// Ctrl+End, to the middle line by command mode, 1,000 letters, then the file left.
class EditorRun : public HeadlessConsole {
 public:
  explicit EditorRun(long middle) : middle_(middle) {
    onInputExhausted = [this](HeadlessConsole& console) { next(console); };
  }

  double opened = 0, ctrlEnd = 0, typing = 0;

 private:
  void next(HeadlessConsole& console) {
    const double now = millisecondsSince(start_);
    switch (stage_++) {
      case 0:
        opened = now;
        start_ = Clock::now();
        console.pushKey(key::CtrlEnd);
        return;
      case 1:
        ctrlEnd = now;
        console.pushKey(key::Escape);  // command mode
        console.pushText(std::to_string(middle_));
        console.pushKeys({key::Enter, key::End});
        return;
      case 2:
        start_ = Clock::now();
        [[fallthrough]];
      default:
        if (typed_ < TypedKeys) {
          ++typed_;
          console.pushKey('a');
          return;
        }
        if (typing == 0) typing = now;
        console.pushKeys({key::F3, 'y'});
    }
  }

  Clock::time_point start_ = Clock::now();
  long middle_;
  int stage_ = 0;
  int typed_ = 0;
};

struct EditorTimes {
  double opened = 0, ctrlEnd = 0, typing = 0;
};

EditorTimes runEditorOn(const std::string& name, long lines) {
  EditorRun run(lines / 2);
  setConsole(&run);
  resumeOutput();
  initScreenImage(80, 25);
  resetEditorState();
  (void)editFile(name);
  setConsole(nullptr);
  return {run.opened, run.ctrlEnd, run.typing};
}

}  // namespace

int main() {
  char base[] = "/tmp/corvane-bench-editor-XXXXXX";
  if (mkdtemp(base) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string root = base;
  const std::string big = makeText(BigLines);
  if (!writeWhole(root + "/big.txt", big) ||
      !writeWhole(root + "/small.txt", makeText(SmallLines))) {
    std::perror("writing the files");
    return 1;
  }
  std::printf("bench_editor: %ld lines, %.1f MB in %s\n", BigLines, big.size() / 1048576.0,
              root.c_str());
  initDriveMap(("B=" + root).c_str());
  setSetupDefaults(setupBlock());
  setupBlock().setupPath.clear();  // no state file
  setupBlock().keyboardLayout.set(0);
  loadDefaultColors();

  long counted = 0;
  const double readFloor = bestOf(Repeats, [&] { counted = readAndCount(root + "/big.txt"); });
  std::printf("  %-46s %9.1f ms  (%ld lines)\n", "floor: read + count line feeds", readFloor,
              counted);
  const double load = bestOf(Repeats, [&] {
    EditedFile file;
    (void)readEditFile("B:\\big.txt", file);
  });
  std::printf("  %-46s %9.1f ms  %5.2fx floor\n", "load into lines", load, load / readFloor);

  const std::size_t heapBefore = mallinfo2().uordblks;
  auto file = std::make_unique<EditedFile>();
  (void)readEditFile("B:\\big.txt", *file);
  const double perByte =
      static_cast<double>(mallinfo2().uordblks - heapBefore) / static_cast<double>(big.size());
  std::printf("  %-46s %9.2f bytes\n", "memory per byte of text", perByte);

  const double saveFloor =
      bestOf(Repeats, [&] { writeSyncRename(root, file->loadBuffer.get(), file->loadBytes); });
  std::printf("  %-46s %9.1f ms\n", "floor: write + fsync + rename", saveFloor);
  const double save = bestOf(Repeats, [&] {
    (void)replaceFile("B:\\saved.txt", [&](FileSink& sink) {
      return writeLines(sink, *file, file->firstLine(), nullptr);
    });
  });
  std::printf("  %-46s %9.1f ms  %5.2fx floor\n", "save", save, save / saveFloor);
  file.reset();

  const EditorTimes bigRun = runEditorOn("B:\\big.txt", BigLines);
  const EditorTimes smallRun = runEditorOn("B:\\small.txt", SmallLines);
  std::printf("  %-46s %9.1f ms\n", "editor open with first display", bigRun.opened);
  std::printf("  %-46s %9.2f ms\n", "Ctrl+End with redraw", bigRun.ctrlEnd);
  std::printf("  %-46s %9.1f ms\n", "1,000 keys typed in a 10 KB file", smallRun.typing);
  std::printf("  %-46s %9.1f ms  %5.2fx the 10 KB file\n", "1,000 keys typed mid-file",
              bigRun.typing, bigRun.typing / smallRun.typing);

  std::printf(
      "  goals: load and Ctrl+End under 100 ms: %s; typing within 2x: %s; save within 2x: %s; "
      "memory at most 4 bytes per byte: %s\n",
      std::max(bigRun.opened, bigRun.ctrlEnd) < 100 ? "met" : "MISSED",
      bigRun.typing <= 2 * smallRun.typing ? "met" : "MISSED",
      save <= 2 * saveFloor ? "met" : "MISSED", perByte <= 4 ? "met" : "MISSED");

  initDriveMap(nullptr);
  const std::string remove = "rm -rf '" + root + "'";
  if (std::system(remove.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", root.c_str());
  return 0;
}
