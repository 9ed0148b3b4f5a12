#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/color.h"
#include "platform/console.h"
#include "platform/drives.h"
#include "platform/screen.h"

namespace corvane::fuzz {
namespace {

constexpr int Columns = 80, Rows = 25;

struct Process {
  HeadlessConsole console{Columns, Rows};
  std::filesystem::path scratch;
};

Process* process = nullptr;

void removeScratch() {
  if (process == nullptr) return;
  std::error_code ignored;
  std::filesystem::remove_all(process->scratch, ignored);
}

// In memory where the system offers it: the readers under test rewrite their files for every
// input, and a disk file system flushes each truncated file on close.
std::filesystem::path makeScratch() {
  std::error_code error;
  std::filesystem::path base = "/dev/shm";
  if (!std::filesystem::is_directory(base, error))
    base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::random_device seed;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path dir = base / ("corvane-fuzz-" + std::to_string(seed()));
    if (std::filesystem::create_directory(dir, error)) return dir;
  }
  propertyFailed("a scratch directory could be made", base.string());
}

}  // namespace

void prepareProcess() {
  if (process != nullptr) return;
  process = new Process;  // lives as long as the process: the harnesses run to its end
  process->scratch = makeScratch();
  std::atexit(removeScratch);
  setConsole(&process->console);
  resumeOutput();
  initScreenImage(Columns, Rows);
  loadDefaultColors();
  const std::string map = "T=" + process->scratch.string();
  initDriveMap(map.c_str());
  setCurrentDrive('T');
}

HeadlessConsole& fuzzConsole() {
  prepareProcess();
  return process->console;
}

std::string scratchProgramPath(std::string_view name) { return "T:\\" + std::string(name); }

std::string scratchHostPath(std::string_view name) {
  prepareProcess();
  return (process->scratch / std::string(name)).string();
}

std::string writeScratchFile(std::string_view name, std::string_view bytes) {
  const std::string host = scratchHostPath(name);
  std::error_code ignored;
  std::filesystem::remove(host, ignored);  // a new file, not a truncated one
  std::ofstream out(host, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return scratchProgramPath(name);
}

std::vector<std::string_view> splitInput(std::string_view data, char separator, std::size_t parts) {
  std::vector<std::string_view> out;
  while (out.size() + 1 < parts) {
    const std::size_t end = data.find(separator);
    if (end == std::string_view::npos) break;
    out.push_back(data.substr(0, end));
    data.remove_prefix(end + 1);
  }
  out.push_back(data);
  out.resize(parts);
  return out;
}

void propertyFailed(const char* what, std::string_view detail) {
  std::fprintf(stderr, "property failed: %s\n  detail: %.*s\n", what,
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

}  // namespace corvane::fuzz
