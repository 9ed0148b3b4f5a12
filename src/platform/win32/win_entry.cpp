#include "platform/win32/win_entry.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/drives.h"
#include "platform/host_entry.h"
#include "platform/paths.h"

namespace corvane {

bool isLinkEntry(DWORD attributes, DWORD reparseTag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
         (reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

std::uint64_t volumeSerialOf(std::string_view hostPath) {
  if (hostPath.size() < 3 || hostPath[1] != ':') return 0;
  const char letter = foldCase(hostPath[0]);
  if (letter < 'a' || letter > 'z') return 0;
  // Asked once per fixed drive: each question may touch the device. Removable drives
  // (A: and B:) change their volume and are asked every time.
  static std::atomic<std::uint64_t> known[26] = {};
  std::atomic<std::uint64_t>& cached = known[letter - 'a'];
  if (letter > 'b' && cached.load() != 0) return cached.load() & 0xFFFFFFFFu;
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
  DWORD serial = 0;
  if (!GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return 0;
  cached.store(std::uint64_t{1} << 32 | serial);
  return serial;
}

std::uint64_t pathIdentity(std::string_view programPath) {
  // FNV-1a over the folded path; the top bit keeps it apart from the file indexes of opened
  // entries, whose top bits are a small sequence number.
  std::uint64_t hash = 14695981039346656037ULL;
  for (char c : programPath) {
    hash ^= static_cast<unsigned char>(foldCase(c));
    hash *= 1099511628211ULL;
  }
  return hash | 1ULL << 63;
}

void identityOf(const std::wstring& wide, std::string_view programPath, bool follow,
                std::uint64_t& device, std::uint64_t& inode) {
  HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                              nullptr);
  BY_HANDLE_FILE_INFORMATION info;
  if (handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info)) {
    device = info.dwVolumeSerialNumber;
    inode = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  } else {
    device = volumeSerialOf(toHostPath(programPath));
    inode = pathIdentity(programPath);
  }
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

void shapeFindRecord(const WIN32_FIND_DATAW& data, std::string name, FindRecord& record) {
  record.name = std::move(name);
  record.shortName = utf8Of(data.cAlternateFileName);
  record.attribute = static_cast<std::uint8_t>(data.dwFileAttributes & RecordAttributeMask);
  const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  record.isLink = isLinkEntry(data.dwFileAttributes, data.dwReserved0);
  record.linkToDirectory = record.isLink && directory;
  record.size = directory ? 0
                          : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
  packDosDateTime(timeOfFileTime(data.ftLastWriteTime), record.date, record.time);
  record.found = 1;
}

void giveListedIdentity(std::string_view directory, std::uint64_t volume, std::uint64_t fileIndex,
                        FindRecord& record) {
  record.device = volume;
  record.inode = fileIndex != 0 ? fileIndex : pathIdentity(joinPath(directory, record.name));
}

namespace {

constexpr std::size_t DirectoryBatchBytes = 65536;
constexpr std::size_t NoRecordLeft = static_cast<std::size_t>(-1);

FILETIME fileTimeOf(const LARGE_INTEGER& time) {
  return FILETIME{static_cast<DWORD>(time.QuadPart & 0xFFFFFFFF), static_cast<DWORD>(time.QuadPart >> 32)};
}

}  // namespace

DirectoryReader::~DirectoryReader() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

int DirectoryReader::open(std::string_view hostPath) {
  handle_ = CreateFileW(widePath(hostPath).c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return lastErrno();
  buffer_.assign(DirectoryBatchBytes / sizeof(std::uint64_t), 0);
  offset_ = NoRecordLeft;
  return 0;
}

bool DirectoryReader::fill() {
  const FILE_INFO_BY_HANDLE_CLASS level = restart_ ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo;
  restart_ = false;
  if (!GetFileInformationByHandleEx(handle_, level, buffer_.data(),
                                    static_cast<DWORD>(buffer_.size() * sizeof(std::uint64_t)))) {
    const DWORD error = GetLastError();
    error_ = error == ERROR_NO_MORE_FILES ? 0 : errnoOfWindowsError(error);
    return false;
  }
  offset_ = 0;
  return true;
}

bool DirectoryReader::next(WIN32_FIND_DATAW& data, std::uint64_t& fileIndex) {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  if (offset_ == NoRecordLeft && !fill()) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data());
  const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset_);
  offset_ = info->NextEntryOffset == 0 ? NoRecordLeft : offset_ + info->NextEntryOffset;

  data = WIN32_FIND_DATAW{};
  data.dwFileAttributes = info->FileAttributes;
  data.ftCreationTime = fileTimeOf(info->CreationTime);
  data.ftLastAccessTime = fileTimeOf(info->LastAccessTime);
  data.ftLastWriteTime = fileTimeOf(info->LastWriteTime);
  data.nFileSizeHigh = static_cast<DWORD>(static_cast<std::uint64_t>(info->EndOfFile.QuadPart) >> 32);
  data.nFileSizeLow = static_cast<DWORD>(info->EndOfFile.QuadPart & 0xFFFFFFFF);
  // A reparse point's tag stands where the size of its extended attributes would.
  if ((info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) data.dwReserved0 = info->EaSize;
  const std::size_t nameLength = std::min<std::size_t>(info->FileNameLength / sizeof(wchar_t), MAX_PATH - 1);
  std::memcpy(data.cFileName, info->FileName, nameLength * sizeof(wchar_t));
  const std::size_t shortLength = std::min<std::size_t>(info->ShortNameLength / sizeof(wchar_t), 13);
  std::memcpy(data.cAlternateFileName, info->ShortName, shortLength * sizeof(wchar_t));
  fileIndex = static_cast<std::uint64_t>(info->FileId.QuadPart);
  return true;
}

int lookUpEntry(std::string_view programPath, FindRecord& record) {
  const std::string host = toHostPath(programPath);
  if (host.empty()) return ENOENT;
  const std::wstring wide = widePath(host);
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &info)) return lastErrno();
  WIN32_FIND_DATAW data{};
  data.dwFileAttributes = info.dwFileAttributes;
  data.ftLastWriteTime = info.ftLastWriteTime;
  data.nFileSizeHigh = info.nFileSizeHigh;
  data.nFileSizeLow = info.nFileSizeLow;
  // The directory's own entry gives the reparse tag and the alternate name (a drive root
  // has none).
  if (!isDriveRoot(programPath)) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(wide.c_str(), FindExInfoStandard, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
      if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        data.dwReserved0 = found.dwReserved0;
      std::memcpy(data.cAlternateFileName, found.cAlternateFileName, sizeof data.cAlternateFileName);
      FindClose(search);
    }
  }
  shapeFindRecord(data, std::string(baseName(programPath)), record);
  identityOf(wide, programPath, true, record.device, record.inode);
  if (isDriveRoot(programPath)) record.name = std::string(programPath.substr(0, 3));
  return 0;
}

}  // namespace corvane
