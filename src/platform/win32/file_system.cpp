#include "platform/file_system.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>

#include "platform/drives.h"
#include "platform/find.h"
#include "platform/host_entry.h"
#include "platform/paths.h"
#include "platform/win32/win_entry.h"
#include "platform/win32/win_file.h"

namespace corvane {

HANDLE handleOf(std::FILE* file) {
  if (file == nullptr) return INVALID_HANDLE_VALUE;
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

FileResult wideHostPathOf(std::string_view path, std::wstring& wide) {
  wide = hostWidePath(path);
  return wide.empty() ? fileFailure(ENOENT) : fileSuccess();
}

bool windowsNameAllowed(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (unsigned char c : name) {
    if (c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr) return false;
  }
  // Device names stand for the device in every directory, with any extension.
  std::string stem = foldCase(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static constexpr std::string_view Devices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  for (std::string_view device : Devices) {
    if (stem == device) return false;
  }
  if (stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '0' &&
      stem[3] <= '9')
    return false;
  return true;
}

FileResult wideTargetPathOf(std::string_view path, std::wstring& wide) {
  const std::string full = fullPath(path);
  if (full.empty()) return fileFailure(ENOENT);
  std::string_view rest = std::string_view(full).substr(3);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\\');
    if (!windowsNameAllowed(rest.substr(0, end))) return fileFailure(FileErrorBadName);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return wideHostPathOf(full, wide);
}

FileResult streamOfHandle(HANDLE handle, const char* mode, std::FILE*& stream) {
  int flags = _O_BINARY;
  if (mode[0] == 'r' && std::strchr(mode, '+') == nullptr) flags |= _O_RDONLY;
  if (mode[0] == 'a') flags |= _O_APPEND;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
  if (fd < 0) {
    CloseHandle(handle);
    return fileFailure(EMFILE);
  }
  stream = _fdopen(fd, mode);
  if (stream == nullptr) {
    const int error = errno;
    _close(fd);
    return fileFailure(error != 0 ? error : EMFILE);
  }
  return fileSuccess();
}

DWORD withReadOnly(DWORD attributes, bool readOnly) {
  attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
  attributes = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                        : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

namespace {

bool onlyReads(const char* mode) {
  return mode[0] == 'r' && std::strchr(mode, '+') == nullptr;
}

DWORD attributesOf(const std::wstring& wide) { return GetFileAttributesW(wide.c_str()); }

// A handle of a regular file opened for reading, or why there is none.
FileResult openForReading(const std::wstring& wide, LinkPolicy links, HANDLE& handle) {
  const DWORD attributes = attributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    // Device names ("CON", "NUL", "LPT1") have no attributes on every system.
    return fileFailure(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                           ? ENOENT
                           : errnoOfWindowsError(error));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return fileFailure(FileErrorNotRegular);
  if (links == LinkPolicy::Refuse && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return fileFailure(ELOOP);
  handle = CreateFileW(wide.c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return fileFailure(lastErrno());
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    return fileFailure(FileErrorNotRegular);
  }
  return fileSuccess();
}

}  // namespace

FileHandle openFile(std::string_view path, const char* mode) {
  FileHandle file;
  (void)openFile(path, mode, file);
  return file;
}

FileResult openFile(std::string_view path, const char* mode, FileHandle& file) {
  file.reset();
  if (onlyReads(mode)) return openRegularFile(path, file);
  std::wstring wide;
  if (FileResult r = wideTargetPathOf(path, wide); !r) return r;
  const DWORD attributes = attributesOf(wide);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return fileFailure(EISDIR);
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return fileFailure(EACCES);
  }
  std::wstring wideMode = wideOf(mode);
  if (wideMode.find(L'b') == std::wstring::npos && wideMode.find(L't') == std::wstring::npos)
    wideMode += L'b';
  std::FILE* stream = _wfopen(wide.c_str(), wideMode.c_str());
  if (stream == nullptr) return fileFailure(errno != 0 ? errno : EACCES);
  file.reset(stream);
  return fileSuccess();
}

FileResult openRegularFile(std::string_view path, FileHandle& file, LinkPolicy links) {
  file.reset();
  std::string host = toHostPath(path);
  if (host.empty()) return fileFailure(ENOENT);
  return openRegularHostFile(host, file, links);
}

FileResult openRegularHostFile(std::string_view hostPath, FileHandle& file, LinkPolicy links) {
  file.reset();
  const std::wstring wide = widePath(hostPath);
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (FileResult r = openForReading(wide, links, handle); !r) return r;
  std::FILE* stream = nullptr;
  if (FileResult r = streamOfHandle(handle, "rb", stream); !r) return r;
  file.reset(stream);
  return fileSuccess();
}

FileResult readFileAt(std::FILE* file, std::int64_t offset, void* buffer, std::size_t size,
                      std::size_t& got) {
  got = 0;
  HANDLE handle = handleOf(file);
  if (handle == INVALID_HANDLE_VALUE) return fileFailure(EBADF);
  // A read at an offset moves the position of a handle opened for plain reads: kept.
  LARGE_INTEGER zero{}, position{};
  const bool kept = SetFilePointerEx(handle, zero, &position, FILE_CURRENT) != 0;
  FileResult result;
  auto* bytes = static_cast<char*>(buffer);
  while (got < size) {
    OVERLAPPED at{};
    const std::uint64_t where = static_cast<std::uint64_t>(offset) + got;
    at.Offset = static_cast<DWORD>(where);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(handle, bytes + got, want, &read, &at)) {
      if (GetLastError() != ERROR_HANDLE_EOF) result = fileFailure(lastErrno());
      break;
    }
    if (read == 0) break;
    got += read;
  }
  if (kept) SetFilePointerEx(handle, position, nullptr, FILE_BEGIN);
  return result;
}

std::int64_t openFileLength(std::FILE* file) {
  LARGE_INTEGER size{};
  HANDLE handle = handleOf(file);
  if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size)) return -1;
  return size.QuadPart;
}

bool fileExists(std::string_view path) {
  std::wstring wide;
  return wideHostPathOf(path, wide) && attributesOf(wide) != INVALID_FILE_ATTRIBUTES;
}

bool directoryExists(std::string_view path) {
  std::wstring wide;
  if (!wideHostPathOf(path, wide)) return false;
  const DWORD attributes = attributesOf(wide);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileResult makeDirectory(std::string_view path) {
  std::wstring wide;
  if (FileResult r = wideTargetPathOf(path, wide); !r) return r;
  return CreateDirectoryW(wide.c_str(), nullptr) ? fileSuccess() : fileFailure(lastErrno());
}

FileResult removeDirectory(std::string_view path) {
  const std::string full = fullPath(path);
  if (full.empty()) return fileFailure(ENOENT);
  if (isDriveRoot(full)) return fileFailure(EBUSY);
  std::wstring wide;
  if (FileResult r = wideHostPathOf(full, wide); !r) return r;
  const DWORD attributes = attributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES) return fileFailure(lastErrno());
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return fileFailure(ENOTDIR);
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return fileFailure(EACCES);
  return RemoveDirectoryW(wide.c_str()) ? fileSuccess() : fileFailure(lastErrno());
}

FileResult deleteFile(std::string_view path) {
  std::wstring wide;
  if (FileResult r = wideHostPathOf(path, wide); !r) return r;
  const DWORD attributes = attributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES) return fileFailure(lastErrno());
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return fileFailure(EACCES);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    // A link to a directory is removed as the directory entry it is; a directory is not.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return fileFailure(EISDIR);
    return RemoveDirectoryW(wide.c_str()) ? fileSuccess() : fileFailure(lastErrno());
  }
  return DeleteFileW(wide.c_str()) ? fileSuccess() : fileFailure(lastErrno());
}

FileResult renameFile(std::string_view from, std::string_view to) {
  std::wstring source, target;
  if (FileResult r = wideHostPathOf(from, source); !r) return r;
  if (FileResult r = wideTargetPathOf(to, target); !r) return r;
  return MoveFileExW(source.c_str(), target.c_str(), 0) ? fileSuccess() : fileFailure(lastErrno());
}

FileResult renameOver(std::string_view from, std::string_view to) {
  std::wstring source, target;
  if (FileResult r = wideHostPathOf(from, source); !r) return r;
  if (FileResult r = wideTargetPathOf(to, target); !r) return r;
  if (MoveFileExW(source.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return fileSuccess();
  return fileFailure(lastErrno());
}

int getAttributes(std::string_view path) {
  std::wstring wide;
  if (!wideHostPathOf(path, wide)) return -1;
  const DWORD attributes = attributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
  return static_cast<int>(attributes & RecordAttributeMask);
}

FileResult setAttributes(std::string_view path, int attributes) {
  std::wstring wide;
  if (FileResult r = wideHostPathOf(path, wide); !r) return r;
  const DWORD old = attributesOf(wide);
  if (old == INVALID_FILE_ATTRIBUTES) return fileFailure(lastErrno());
  constexpr DWORD Settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  DWORD wanted = (old & ~Settable & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL) &
                  ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) |
                 (static_cast<DWORD>(attributes) & Settable);
  if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
  if (!SetFileAttributesW(wide.c_str(), wanted)) return fileFailure(lastErrno());
  // Read back: read-only, hidden and system must be what was asked. (Some file systems keep
  // the archive bit whatever is asked.)
  constexpr DWORD Checked = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD now = attributesOf(wide);
  if (now == INVALID_FILE_ATTRIBUTES || (now & Checked) != (static_cast<DWORD>(attributes) & Checked))
    return fileFailure(EPERM);
  return fileSuccess();
}

int userAttributes(std::string_view path) {
  const int attributes = getAttributes(path);
  return attributes < 0 ? 0 : attributes & UserAttributeBits;
}

FileResult getFileTime(std::string_view path, std::uint16_t& date, std::uint16_t& time) {
  std::wstring wide;
  if (FileResult r = wideHostPathOf(path, wide); !r) return r;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
    return fileFailure(lastErrno());
  packDosDateTime(timeOfFileTime(data.ftLastWriteTime), date, time);
  return fileSuccess();
}

FileResult setFileTime(std::string_view path, std::uint16_t date, std::uint16_t time) {
  std::time_t when = 0;
  if (!unpackDosDateTime(date, time, when)) return fileFailure(EINVAL);
  std::wstring wide;
  if (FileResult r = wideHostPathOf(path, wide); !r) return r;
  HANDLE handle = CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return fileFailure(lastErrno());
  const FILETIME written = fileTimeOfTime(when);
  const bool done = SetFileTime(handle, nullptr, nullptr, &written) != 0;
  const FileResult result = done ? fileSuccess() : fileFailure(lastErrno());
  CloseHandle(handle);
  return result;
}

std::int64_t fileSize(std::string_view path) {
  std::wstring wide;
  if (!wideHostPathOf(path, wide)) return -1;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return -1;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return 0;
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 |
                                   data.nFileSizeLow);
}

}  // namespace corvane
