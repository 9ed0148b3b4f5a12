#include "platform/win32/win_entry.h"

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

void shapeFindRecord(const WIN32_FIND_DATAW& data, std::string_view programPath,
                     std::uint64_t volume, FindRecord& record) {
  record.name = utf8Of(data.cFileName);
  record.shortName = utf8Of(data.cAlternateFileName);
  record.attribute = static_cast<std::uint8_t>(data.dwFileAttributes & RecordAttributeMask);
  const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  record.isLink = isLinkEntry(data.dwFileAttributes, data.dwReserved0);
  record.linkToDirectory = record.isLink && directory;
  record.size = directory ? 0
                          : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
  packDosDateTime(timeOfFileTime(data.ftLastWriteTime), record.date, record.time);
  record.device = volume;
  record.inode = pathIdentity(programPath);
  record.found = 1;
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
  const std::wstring name = wideOf(baseName(programPath));
  wcsncpy(data.cFileName, name.c_str(), MAX_PATH - 1);
  shapeFindRecord(data, programPath, 0, record);
  identityOf(wide, programPath, true, record.device, record.inode);
  if (isDriveRoot(programPath)) record.name = std::string(programPath.substr(0, 3));
  return 0;
}

}  // namespace corvane
