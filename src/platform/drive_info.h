// Questions about drives: which exist, which are ready, their space, label and file-system
// class; and the formatting of byte counts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

struct DriveInfo {
  std::uint64_t totalClusters = 0;
  std::uint64_t availableClusters = 0;
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  int fileSystemType = 1;  // 6: long-name volume (maximum name length 201 or more)
  // The host directory's last component upper-cased ("ROOT" for "/"), cut to 11 characters,
  // its first "." removed; "NOTREADY" when the drive cannot be read.
  std::string volumeLabel;

  std::uint64_t freeBytes() const { return availableClusters * sectorsPerCluster * bytesPerSector; }
  std::uint64_t totalBytes() const { return totalClusters * sectorsPerCluster * bytesPerSector; }
};

// Drive numbers: 1 = A ... 26 = Z.
bool driveExists(int number);
// 0 when the drive is ready (it then becomes the current drive); non-zero when it is not
// (the current drive stays).
int driveReady(int number);
// Fills info (space from statvfs as clusters of 512-byte sectors; file-system type 6 when
// the longest name is 201 or more); a drive that cannot be read gets "NOTREADY" and zero
// clusters. Returns whether the drive could be read.
bool getDriveInfo(int number, DriveInfo& info);

// name upper-cased (a to z only) and cut to 11 characters, a UTF-8 sequence counting as one.
std::string volumeLabelText(std::string_view name);

// The volume label of a drive whose host directory is hostRoot: its last component
// upper-cased (A to Z only), cut to 11 characters (a UTF-8 sequence counting as one), its
// first "." removed; "ROOT" for "/".
std::string volumeLabelOf(std::string_view hostRoot);

// Grouped decimal with "." between groups of three, shortened with " kB", " MB" or " GB"
// when longer than 8 characters: 524288 gives "524.288", 5000000 gives "5.0 MB",
// 1000000 gives "1.000.0 kB". Counts from 1024 * 10^9 on go on with " TB", " PB" and " EB"
// in the same steps (10^15 gives "1.000.0 TB"), so the number never passes 8 characters.
std::string formatSize(std::uint64_t bytes);

}  // namespace corvane
