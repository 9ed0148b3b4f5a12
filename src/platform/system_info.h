// The running system: its name for the title line and the memory status.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// "LINUX %d.%d" with the kernel's major and minor version.
std::string osVersionText();

// Free memory in bytes (available physical memory plus free swap) and the memory load in
// per cent (from /proc/meminfo where there is one). False when it cannot be told.
bool memoryStatus(std::uint64_t& freeBytes, int& loadPercent);

}  // namespace corvane
