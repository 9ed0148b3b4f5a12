#include "platform/system_info.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/textf.h"

namespace corvane {

std::string osVersionText() {
  struct utsname name {};
  int major = 0, minor = 0;
  if (uname(&name) == 0) std::sscanf(name.release, "%d.%d", &major, &minor);
  return textf("LINUX %d.%d", major, minor);
}

namespace {

// Where /proc cannot be read: the page counts the C library offers (no swap figure).
bool memoryStatusFromPages(std::uint64_t& freeBytes, int& loadPercent) {
#if defined(_SC_PHYS_PAGES) && defined(_SC_AVPHYS_PAGES) && defined(_SC_PAGESIZE)
  long total = sysconf(_SC_PHYS_PAGES), available = sysconf(_SC_AVPHYS_PAGES);
  long pageSize = sysconf(_SC_PAGESIZE);
  if (total <= 0 || available < 0 || pageSize <= 0) return false;
  if (available > total) available = total;
  freeBytes = static_cast<std::uint64_t>(available) * static_cast<std::uint64_t>(pageSize);
  loadPercent = static_cast<int>(100 - static_cast<long long>(available) * 100 / total);
  return true;
#else
  (void)freeBytes;
  (void)loadPercent;
  return false;
#endif
}

}  // namespace

bool memoryStatus(std::uint64_t& freeBytes, int& loadPercent) {
  std::FILE* file = std::fopen("/proc/meminfo", "r");
  if (file == nullptr) return memoryStatusFromPages(freeBytes, loadPercent);
  // Values in kB; -1 while not seen.
  long long total = -1, available = -1, memFree = -1, buffers = 0, cached = 0, swapFree = 0;
  char line[256];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    char key[64];
    long long value = 0;
    if (std::sscanf(line, "%63[^:]: %lld", key, &value) != 2) continue;
    const std::pair<const char*, long long*> fields[] = {
        {"MemTotal", &total},  {"MemAvailable", &available}, {"MemFree", &memFree},
        {"Buffers", &buffers}, {"Cached", &cached},          {"SwapFree", &swapFree},
    };
    for (const auto& [name, field] : fields) {
      if (std::strcmp(key, name) == 0) *field = value;
    }
  }
  std::fclose(file);
  if (available < 0 && memFree >= 0) available = memFree + buffers + cached;  // before Linux 3.14
  if (total <= 0 || available < 0) return false;
  if (available > total) available = total;
  freeBytes = static_cast<std::uint64_t>(available + swapFree) * 1024u;
  loadPercent = static_cast<int>(100 - available * 100 / total);
  return true;
}

}  // namespace corvane
