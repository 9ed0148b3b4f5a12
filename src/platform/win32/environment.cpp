#include "platform/environment.h"

#include "platform/win32/win_text.h"

namespace corvane {

// The process's own block, in UTF-16: the C library's copy gives the ANSI code page's bytes
// (a user name with an umlaut in APPDATA would not survive it) and misses later changes.
std::string environmentValue(const char* name) {
  const std::wstring wideName = wideOf(name);
  DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  while (size > 0) {
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    if (length < size) {
      value.resize(length);
      return utf8Of(value);
    }
    size = length;  // it grew in between
  }
  return {};
}

}  // namespace corvane
