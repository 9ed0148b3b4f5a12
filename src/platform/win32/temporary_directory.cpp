#include "platform/temporary_directory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

FileResult failed() { return fileFailure(lastErrno()); }

// Removes the entry at the wide host path, and everything below it when it is a directory.
// A reparse point (link, junction) is removed itself, never entered.
FileResult removeTreeAt(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return failed();
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
    (void)SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!directory) return DeleteFileW(path.c_str()) ? fileSuccess() : failed();
  FileResult result = fileSuccess();
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring_view name = data.cFileName;
        if (name != L"." && name != L"..") names.emplace_back(name);
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    for (const std::wstring& name : names) {
      const FileResult removed = removeTreeAt(path + L"\\" + name);
      if (!removed && result) result = removed;
    }
  }
  if (!RemoveDirectoryW(path.c_str()) && result) result = failed();
  return result;
}

}  // namespace

std::string temporaryHostDirectory() {
  for (const char* name : {"TMP", "TEMP"}) {
    std::string value = environmentValue(name);
    if (value.size() >= 2 && value[1] == ':') return value;
  }
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length > 0 && length <= MAX_PATH) return utf8Of(std::wstring_view(buffer, length));
  return "C:\\";
}

FileResult makeFreshDirectory(std::string_view prefix, std::string& path) {
  std::string base = temporaryHostDirectory();
  while (base.size() > 3 && (base.back() == '\\' || base.back() == '/')) base.pop_back();
  if (base.back() != '\\') base += '\\';
  // The user's temporary directory is private to the user by its access list; the name only
  // has to be new.
  const unsigned long long seed = GetTickCount64() ^ (GetCurrentProcessId() * 2654435761ull);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    char ending[17];
    std::snprintf(ending, sizeof ending, "%08llx", (seed + attempt * 7919ull) & 0xFFFFFFFFull);
    const std::string host = base + std::string(prefix) + ending;
    if (CreateDirectoryW(widePath(host).c_str(), nullptr)) {
      path = toProgramPath(host);
      if (path.empty()) {
        RemoveDirectoryW(widePath(host).c_str());
        return fileFailure(ENOENT);
      }
      return fileSuccess();
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return failed();
  }
  return fileFailure(EEXIST);
}

FileResult removeDirectoryTree(std::string_view path) {
  const std::wstring host = hostWidePath(path);
  if (host.empty()) return fileFailure(ENOENT);
  return removeTreeAt(host);
}

}  // namespace corvane
