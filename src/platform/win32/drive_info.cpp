#include "platform/drive_info.h"

#include "platform/drives.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

constexpr std::string_view LabelNotReady = "NOTREADY";

// File systems whose names are 8.3 only.
bool shortNameFileSystem(std::wstring_view name) {
  return name == L"FAT" || name == L"FAT12" || name == L"FAT16";
}

}  // namespace

bool getDriveInfo(int number, DriveInfo& info) {
  info = DriveInfo{};
  info.volumeLabel = LabelNotReady;
  if (number < 1 || number > 26) return false;
  const wchar_t root[] = {static_cast<wchar_t>(L'A' + number - 1), L':', L'\\', 0};
  if (!driveMapped(static_cast<char>('A' + number - 1))) return false;
  wchar_t label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
  DWORD serial = 0, maxComponent = 0, flags = 0;
  if (!GetVolumeInformationW(root, label, MAX_PATH, &serial, &maxComponent, &flags, fileSystem,
                             MAX_PATH))
    return false;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  ULARGE_INTEGER available{}, total{};
  if (!GetDiskFreeSpaceExW(root, &available, &total, nullptr)) return false;
  if (GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                        &totalClusters) &&
      sectorsPerCluster != 0 && bytesPerSector != 0) {
    info.sectorsPerCluster = sectorsPerCluster;
    info.bytesPerSector = bytesPerSector;
  } else {
    info.sectorsPerCluster = 8;
    info.bytesPerSector = 512;
  }
  // Clusters from the byte counts: GetDiskFreeSpaceW caps its counts at 2 GiB on old systems.
  const std::uint64_t cluster = std::uint64_t{info.sectorsPerCluster} * info.bytesPerSector;
  info.totalClusters = total.QuadPart / cluster;
  info.availableClusters = available.QuadPart / cluster;
  info.fileSystemType =
      shortNameFileSystem(fileSystem) || (maxComponent != 0 && maxComponent < 201) ? 1 : 6;
  info.volumeLabel = volumeLabelText(utf8Of(label));
  return true;
}

}  // namespace corvane
