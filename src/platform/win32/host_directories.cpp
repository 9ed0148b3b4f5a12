#include "platform/host_directories.h"

#include <vector>

#include "platform/environment.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

bool isDirectoryAttribute(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string hostDirectoryOf(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return ".";
  if (slash == 2 && path[1] == ':') return std::string(path.substr(0, 3));
  return std::string(path.substr(0, slash));
}

std::string programHostDirectory(const char*) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return hostDirectoryOf(utf8Of(std::wstring_view(buffer.data(), n)));
    if (buffer.size() > 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

// A program on Windows keeps the files it brings beside itself.
std::string programShareDirectory(const char* argv0) { return programHostDirectory(argv0); }

bool hostDirectoryWritable(std::string_view directory) {
  if (!hostIsDirectory(directory)) return false;
  // The read-only attribute of a directory does not stop files being made in it: only
  // making one tells.
  std::wstring probe = widePath(std::string(directory) + "\\corvane-probe.tmp");
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool programDirectoryKeepsSetup(std::string_view programDirectory, std::string_view) {
  return hostDirectoryWritable(programDirectory);
}

bool ensureHostDirectory(std::string_view directory) {
  std::string path(directory);
  if (path.empty()) return false;
  for (std::size_t pos = 3; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '\\' && path[pos] != '/') continue;
    std::wstring part = widePath(path.substr(0, pos));
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      return false;
  }
  return hostIsDirectory(path);
}

std::string hostWorkingDirectory() {
  DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return {};
  std::wstring buffer(length, L'\0');
  DWORD n = GetCurrentDirectoryW(length, buffer.data());
  if (n == 0 || n >= length) return {};
  buffer.resize(n);
  return utf8Of(buffer);
}

std::string resolvedHostPath(std::string_view path) {
  std::wstring wide = widePath(path);
  HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::wstring buffer(32768, L'\0');
  DWORD n = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(handle);
  if (n == 0 || n >= buffer.size()) return std::string(path);
  buffer.resize(n);
  std::string result = utf8Of(buffer);
  if (result.starts_with("\\\\?\\")) result.erase(0, 4);
  return result;
}

bool hostIsDirectory(std::string_view path) {
  if (path.empty()) return false;
  return isDirectoryAttribute(GetFileAttributesW(widePath(path).c_str()));
}

bool hostDirectoryReadable(std::string_view path) {
  std::string pattern(path);
  if (!pattern.ends_with('\\') && !pattern.ends_with('/')) pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileExW(widePath(pattern).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  FindClose(search);
  return true;
}

bool hostPathIsAbsolute(std::string_view path) {
  if (path.starts_with("\\\\")) return true;
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::string userConfigHome() { return environmentValue("APPDATA"); }

}  // namespace corvane
