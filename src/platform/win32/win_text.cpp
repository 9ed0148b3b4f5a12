#include "platform/win32/win_text.h"

#include <cerrno>

#include "platform/drives.h"

namespace corvane {

std::wstring wideOf(std::string_view utf8) {
  if (utf8.empty()) return {};
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                   nullptr, 0);
  if (length <= 0) {  // not UTF-8: taken byte for byte as code page 1252
    std::wstring result;
    for (unsigned char c : utf8) result += static_cast<wchar_t>(c);
    return result;
  }
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(),
                      length);
  return result;
}

std::string utf8Of(std::wstring_view wide) {
  if (wide.empty()) return {};
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), result.data(),
                      length, nullptr, nullptr);
  return result;
}

std::string utf8Of(const wchar_t* wide) {
  return wide != nullptr ? utf8Of(std::wstring_view(wide)) : std::string();
}

std::wstring widePath(std::string_view hostPath) {
  std::wstring path = wideOf(hostPath);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  const bool absolute = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  if (absolute && path.size() > MAX_PATH - 12) path.insert(0, L"\\\\?\\");
  return path;
}

std::wstring hostWidePath(std::string_view programPath) {
  std::string host = toHostPath(programPath);
  return host.empty() ? std::wstring() : widePath(host);
}

int errnoOfWindowsError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NO_MORE_FILES:
      return ENOENT;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
      return EINVAL;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return EIO;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
      return EPIPE;
    case ERROR_OPERATION_ABORTED:
    case ERROR_CANCELLED:
      return ECANCELED;
    case ERROR_NOT_SUPPORTED:
    case ERROR_CALL_NOT_IMPLEMENTED:
      return ENOSYS;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    default:
      return EIO;
  }
}

int lastErrno() { return errnoOfWindowsError(GetLastError()); }

namespace {

constexpr std::int64_t UnixEpochIn100ns = 116444736000000000LL;
constexpr std::int64_t TicksPerSecond = 10000000;

}  // namespace

std::time_t timeOfFileTime(const FILETIME& fileTime, std::int64_t* nanoseconds) {
  const std::int64_t ticks =
      static_cast<std::int64_t>(static_cast<std::uint64_t>(fileTime.dwHighDateTime) << 32 |
                                fileTime.dwLowDateTime) -
      UnixEpochIn100ns;
  std::int64_t seconds = ticks / TicksPerSecond, rest = ticks % TicksPerSecond;
  if (rest < 0) {
    rest += TicksPerSecond;
    --seconds;
  }
  if (nanoseconds != nullptr) *nanoseconds = rest * 100;
  return static_cast<std::time_t>(seconds);
}

FILETIME fileTimeOfTime(std::time_t when, std::int64_t nanoseconds) {
  const std::uint64_t ticks = static_cast<std::uint64_t>(
      static_cast<std::int64_t>(when) * TicksPerSecond + nanoseconds / 100 + UnixEpochIn100ns);
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(ticks);
  result.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return result;
}

}  // namespace corvane
