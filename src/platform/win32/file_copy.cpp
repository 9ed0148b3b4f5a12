#include "platform/file_copy.h"

#include <algorithm>
#include <cerrno>

#include "platform/drives.h"
#include "platform/win32/win_entry.h"
#include "platform/win32/win_file.h"

namespace corvane {
namespace {

constexpr std::uint32_t ModeWritable = 0666;
constexpr std::uint32_t ModeReadOnly = 0444;
constexpr std::uint32_t OwnerWrite = 0200;
void factsOf(DWORD attributes, DWORD reparseTag, const FILETIME& written, std::uint64_t size,
             FileFacts& facts) {
  const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.kind = isLinkEntry(attributes, reparseTag) ? FileKind::SymbolicLink
               : directory                         ? FileKind::Directory
                                                   : FileKind::Regular;
  facts.size = facts.kind == FileKind::Regular ? size : 0;
  facts.allocated = facts.size;
  facts.mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? ModeReadOnly : ModeWritable;
  facts.owner = 0;
  facts.group = 0;
  facts.modifiedSeconds = timeOfFileTime(written, &facts.modifiedNanoseconds);
  facts.linkTarget.clear();
}

FileResult writeAllAt(HANDLE out, const char* data, std::size_t size, std::uint64_t offset) {
  while (size > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!WriteFile(out, data, want, &put, &at)) return fileFailure(lastErrno());
    if (put == 0) return fileFailure(EIO);
    data += put;
    size -= put;
    offset += put;
  }
  return fileSuccess();
}

FileResult giveTimeAndMode(HANDLE handle, const FileFacts& source, bool writable,
                           DWORD attributes) {
  FileResult result;
  const FILETIME written =
      fileTimeOfTime(static_cast<std::time_t>(source.modifiedSeconds), source.modifiedNanoseconds);
  if (!SetFileTime(handle, nullptr, nullptr, &written)) result = fileFailure(lastErrno());
  const bool readOnly = !writable && (source.mode & OwnerWrite) == 0;
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      ((attributes & FILE_ATTRIBUTE_READONLY) != 0) != readOnly) {
    FILE_BASIC_INFO info{};
    info.FileAttributes = withReadOnly(attributes, readOnly);
    if (!SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info) && result)
      result = fileFailure(lastErrno());
  }
  return result;
}

}  // namespace

FileResult entryFacts(std::string_view path, FileFacts& facts) {
  std::wstring wide;
  if (FileResult r = wideHostPathOf(path, wide); !r) return r;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
    return fileFailure(lastErrno());
  DWORD tag = 0;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      tag = found.dwReserved0;
      FindClose(search);
    }
  }
  factsOf(data.dwFileAttributes, tag, data.ftLastWriteTime,
          static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow, facts);
  identityOf(wide, fullPath(path), false, facts.device, facts.inode);
  return fileSuccess();
}

FileResult openFileFacts(std::FILE* file, FileFacts& facts) {
  HANDLE handle = handleOf(file);
  BY_HANDLE_FILE_INFORMATION info;
  if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info))
    return fileFailure(lastErrno());
  factsOf(info.dwFileAttributes, 0, info.ftLastWriteTime,
          static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow, facts);
  facts.device = info.dwVolumeSerialNumber;
  facts.inode = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  return fileSuccess();
}

RangeCopy copyRange(CopyChannel& channel, std::uint64_t offset, std::uint64_t length) {
  RangeCopy result;
  if (std::fflush(channel.to) != 0) {
    result.writeFailure = fileFailure(errno);
    return result;
  }
  HANDLE out = handleOf(channel.to);
  std::uint64_t position = offset;
  const std::uint64_t end = offset + length;
  while (position < end) {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(end - position, channel.buffer.size()));
    std::size_t got = 0;
    if (FileResult r = readFileAt(channel.from, static_cast<std::int64_t>(position),
                                  channel.buffer.data(), chunk, got);
        !r) {
      result.readFailure = r;
      return result;
    }
    if (got == 0) return result;  // the source ended
    if (FileResult r = writeAllAt(out, channel.buffer.data(), got,
                                  position + static_cast<std::uint64_t>(channel.targetShift));
        !r) {
      result.writeFailure = r;
      return result;
    }
    position += got;
    result.copied += got;
  }
  return result;
}

FileResult setFileLength(std::FILE* file, std::uint64_t length) {
  if (std::fflush(file) != 0) return fileFailure(errno);
  HANDLE handle = handleOf(file);
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
  if (!SetFileInformationByHandle(handle, FileEndOfFileInfo, &info, sizeof info))
    return fileFailure(lastErrno());
  return fileSuccess();
}

FileResult createNewFile(std::string_view path, FileHandle& file) {
  file.reset();
  std::wstring wide;
  if (FileResult r = wideTargetPathOf(path, wide); !r) return r;
  HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return fileFailure(lastErrno());
  std::FILE* stream = nullptr;
  if (FileResult r = streamOfHandle(handle, "r+b", stream); !r) {
    DeleteFileW(wide.c_str());
    return r;
  }
  file.reset(stream);
  return fileSuccess();
}

FileResult makeSymbolicLink(std::string_view path, std::string_view target, bool replace) {
  std::wstring wide;
  if (FileResult r = wideTargetPathOf(path, wide); !r) return r;
  if (replace) {
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return fileFailure(EISDIR);
      if (!DeleteFileW(wide.c_str())) return fileFailure(lastErrno());
    }
  }
  std::wstring to = wideOf(target);
  for (wchar_t& c : to) {
    if (c == L'/') c = L'\\';
  }
  if (!CreateSymbolicLinkW(wide.c_str(), to.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
    return fileFailure(lastErrno());
  return fileSuccess();
}

// Windows has no FIFOs in its file systems.
FileResult makeFifo(std::string_view, std::uint32_t, bool) { return fileFailure(ENOSYS); }

FileResult carryFileFacts(std::string_view path, const FileFacts& source, bool writable, bool) {
  std::wstring wide;
  if (FileResult r = wideHostPathOf(path, wide); !r) return r;
  const bool link = source.kind == FileKind::SymbolicLink;
  HANDLE handle = CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | (link ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
                              nullptr);
  if (handle == INVALID_HANDLE_VALUE) return fileFailure(lastErrno());
  const FileResult result = giveTimeAndMode(
      handle, source, writable || link, link ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str()));
  CloseHandle(handle);
  return result;
}

FileResult carryFileFacts(std::FILE* file, const FileFacts& current, const FileFacts& source,
                          bool writable, bool) {
  if (std::fflush(file) != 0) return fileFailure(errno);
  HANDLE handle = handleOf(file);
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD attributes = GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes
                                                                      : INVALID_FILE_ATTRIBUTES;
  (void)current;
  return giveTimeAndMode(handle, source, writable, attributes);
}

FileResult freeSpaceOf(std::string_view directory, std::uint64_t& bytes) {
  std::wstring wide;
  if (FileResult r = wideHostPathOf(directory, wide); !r) return r;
  if (!wide.ends_with(L'\\')) wide += L'\\';
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(wide.c_str(), &available, nullptr, nullptr))
    return fileFailure(lastErrno());
  bytes = available.QuadPart;
  return fileSuccess();
}

int nameLimitOf(std::string_view directory) {
  const std::string full = fullPath(directory);
  if (full.empty()) return 255;
  const std::wstring root = wideOf(full.substr(0, 3));
  DWORD limit = 0;
  if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, &limit, nullptr, nullptr, 0) ||
      limit == 0)
    return 255;
  return static_cast<int>(limit);
}

}  // namespace corvane
