#include "platform/system_info.h"

#include <algorithm>

#include "platform/textf.h"
#include "platform/win32/win_text.h"

namespace corvane {

std::string osVersionText() {
  // GetVersionEx answers what the program's manifest allows; the system's own numbers come
  // from RtlGetVersion.
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto rtlGetVersion = ntdll != nullptr ? reinterpret_cast<RtlGetVersionFunction>(
                                              reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                                        : nullptr;
  if (rtlGetVersion == nullptr || rtlGetVersion(&version) != 0) return "WINNT";
  const char* family = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? "WIN95" : "WINNT";
  return textf("%s %lu.%lu", family, static_cast<unsigned long>(version.dwMajorVersion),
               static_cast<unsigned long>(version.dwMinorVersion));
}

bool memoryStatus(std::uint64_t& freeBytes, int& loadPercent) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return false;
  freeBytes = std::max(status.ullAvailPhys, status.ullAvailPageFile);  // the page file holds memory too
  loadPercent = static_cast<int>(status.dwMemoryLoad);
  return true;
}

}  // namespace corvane
