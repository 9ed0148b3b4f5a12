#include "platform/drive_info.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include "platform/drives.h"

namespace corvane {
namespace {

constexpr std::string_view LabelNotReady = "NOTREADY";
constexpr long LongNameThreshold = 201;

char letterOf(int number) {
  return number >= 1 && number <= 26 ? static_cast<char>('A' + number - 1) : 0;
}

}  // namespace

bool getDriveInfo(int number, DriveInfo& info) {
  info = DriveInfo{};
  info.volumeLabel = LabelNotReady;
  char letter = letterOf(number);
  if (letter == 0 || !driveAccessible(letter)) return false;
  std::string root = driveHostRoot(letter);
  struct statvfs vfs {};
  if (statvfs(root.c_str(), &vfs) != 0) return false;

  // Blocks of the fragment size, told as clusters of 512-byte sectors where they divide.
  unsigned long blockSize = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
  if (blockSize >= 512 && blockSize % 512 == 0) {
    info.bytesPerSector = 512;
    info.sectorsPerCluster = static_cast<std::uint32_t>(blockSize / 512);
  } else {
    info.bytesPerSector = static_cast<std::uint32_t>(blockSize);
    info.sectorsPerCluster = 1;
  }
  info.totalClusters = vfs.f_blocks;
  info.availableClusters = vfs.f_bavail;

  long nameMax = pathconf(root.c_str(), _PC_NAME_MAX);
  info.fileSystemType = nameMax < 0 || nameMax >= LongNameThreshold ? 6 : 1;  // -1: no limit

  info.volumeLabel = volumeLabelOf(root);
  return true;
}

}  // namespace corvane
