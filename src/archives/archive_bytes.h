// What the four readers share: little-endian fields read with bounds, the two CRCs of the
// formats, and a header window fetched with one positioned read.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "archives/archive_reader.h"

namespace corvane {

// Fields of a byte span; a field beyond its end reads as 0 (callers check lengths first
// where it matters).
std::uint16_t le16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint64_t le64(std::span<const std::uint8_t> bytes, std::size_t offset);

// CRC-16 of LZH and ZOO (reflected 0xA001, initial 0) and CRC-32 of ZIP and ARJ.
std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);
std::uint32_t crc32(std::span<const std::uint8_t> bytes);
// The CRC-16 of a header that holds its own CRC: the 16-bit field at offset taken as 0.
std::uint16_t crc16WithoutField(std::span<const std::uint8_t> bytes, std::size_t offset);

// A member's DOS date and time from a stamp: Unix seconds when unixTime (made local), else a
// DOS stamp with the date in its high word.
void setMemberStamp(ArchiveMember& member, std::uint32_t stamp, bool unixTime);

// Reads an archive's headers: each call serves the bytes at an offset with one positioned
// read of at least `block` bytes, or from the bytes read before when they cover it. The
// buffer is reused; a span it returned is valid until the next call.
class HeaderWindow {
 public:
  HeaderWindow(ArchiveSource& source, std::size_t block) : source_(source), block_(block) {}
  // The bytes from offset on: at least length of them, fewer only where the file ends (or
  // cannot be read further).
  std::span<const std::uint8_t> at(std::uint64_t offset, std::size_t length);

 private:
  ArchiveSource& source_;
  std::size_t block_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t base_ = 0;
  std::size_t got_ = 0;
};

// The first LZH header in the first LzhScanLength bytes (a self-extractor's code before
// it): a method id "-l??-" after a header size above 20 with a matching sum (levels 0 and 1),
// or after a total size of at least 24 and the attribute byte 0x20 (level 2).
constexpr std::size_t LzhScanLength = 2048;
bool findLzhHeader(ArchiveSource& source, std::uint64_t& position);

// The first ARJ main header at or after the start, within ArjScanLength bytes: the id, a
// basic header size up to 2600 and a matching CRC-32.
constexpr std::uint64_t ArjScanLength = 256 * 1024;
bool findArjMainHeader(ArchiveSource& source, std::uint64_t& position);

// Whether the file ends with a ZIP end record (its comment inside the file).
bool hasZipEndRecord(ArchiveSource& source);
// Whether the file starts with a ZOO archive header.
bool hasZooHeader(ArchiveSource& source);

// Whether a name ends in ".exe" or ".com" (a self-extracting archive), any case.
bool isSelfExtractorName(std::string_view name);

}  // namespace corvane
