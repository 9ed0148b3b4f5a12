// LZH: headers of levels 0 to 3 one after another, each followed by its packed data, which
// is skipped; the archive ends at the end of the file or at a 0 byte where a header would be.
#include <algorithm>

#include "archives/archive_bytes.h"
#include "archives/archive_reader.h"
#include "archives/archive_texts.h"

namespace corvane {
namespace {

constexpr std::size_t HeaderRead = 4096;
constexpr std::size_t CommonPrefix = 22;
// The most bytes a header may take with its extended headers (levels 1 and 3 declare 32-bit
// sizes; real headers stay far below).
constexpr std::uint64_t HeaderLimit = 1 << 20;
constexpr std::uint8_t PathSeparator = 0xFF;

// What the extended headers add.
struct Extended {
  std::string name;
  std::string directory;
  bool hasName = false;
  bool hasUnixTime = false;
  std::uint32_t unixTime = 0;
  bool hasSize = false;
  std::uint64_t size = 0;
  bool hasMode = false;
  std::uint16_t mode = 0;
  bool hasCrc = false;
  std::size_t crcOffset = 0;  // of the header CRC's field from the header's start
  std::uint16_t crc = 0;
};

std::string withSlashes(std::span<const std::uint8_t> bytes) {
  std::string path(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  for (char& c : path)
    if (c == '\\' || static_cast<std::uint8_t>(c) == PathSeparator) c = '/';
  return path;
}

// One extended header (type, data) at offset within the header.
void takeExtended(std::uint8_t type, std::span<const std::uint8_t> data, std::size_t offset,
                  Extended& ext) {
  switch (type) {
    case 0x00:
      if (data.size() >= 2 && !ext.hasCrc) {
        ext.hasCrc = true;
        ext.crcOffset = offset + 1;
        ext.crc = le16(data, 0);
      }
      break;
    case 0x01:
      ext.name.assign(reinterpret_cast<const char*>(data.data()), data.size());
      ext.hasName = true;
      break;
    case 0x02:
      ext.directory = withSlashes(data);
      break;
    case 0x42:
      if (data.size() >= 16) {
        ext.hasSize = true;
        ext.size = le64(data, 8);
      }
      break;
    case 0x50:
      if (data.size() >= 2) {
        ext.hasMode = true;
        ext.mode = le16(data, 0);
      }
      break;
    case 0x54:
      if (data.size() >= 4) {
        ext.hasUnixTime = true;
        ext.unixTime = le32(data, 0);
      }
      break;
    default:
      break;
  }
}

// A chain of extended headers inside bytes (the whole header), the first of firstSize bytes
// at offset; sizes are 16-bit (32-bit with wide). False when one does not fit.
bool readChain(std::span<const std::uint8_t> bytes, std::size_t offset, std::uint64_t firstSize,
               bool wide, Extended& ext) {
  const std::size_t sizeField = wide ? 4 : 2;
  std::uint64_t size = firstSize;
  while (size != 0) {
    if (size < 1 + sizeField || offset > bytes.size() || size > bytes.size() - offset) return false;
    const std::size_t length = static_cast<std::size_t>(size);
    takeExtended(bytes[offset], bytes.subspan(offset + 1, length - 1 - sizeField), offset, ext);
    size = wide ? le32(bytes, offset + length - 4) : le16(bytes, offset + length - 2);
    offset += length;
  }
  return true;
}

// The header CRC, when the header carries one, over its bytes with the field as 0.
bool headerCrcMatches(std::span<const std::uint8_t> header, const Extended& ext) {
  if (!ext.hasCrc) return true;
  return crc16WithoutField(header, ext.crcOffset) == ext.crc;
}

std::uint8_t byteSum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}

// Reads the header at position into member; next is where the one after it starts. False
// for a header of an unknown kind, a failed sum or CRC, or one that does not fit the file.
bool readHeader(HeaderWindow& window, std::uint64_t position, ArchiveMember& member,
                std::uint64_t& next) {
  std::span<const std::uint8_t> h = window.at(position, CommonPrefix);
  if (h.size() < CommonPrefix || h[2] != '-' || h[6] != '-') return false;
  const std::string_view method(reinterpret_cast<const char*>(h.data() + 2), 5);
  const int level = h[20];
  std::uint64_t packed = le32(h, 7);
  std::uint64_t size = le32(h, 11);
  const std::uint32_t stamp = le32(h, 15);
  Extended ext;
  std::string path;
  bool unixTime = false;
  std::uint64_t headerLength = 0;

  if (level == 0 || level == 1) {
    const std::size_t base = std::size_t{h[0]} + 2;
    const std::size_t nameLength = h[21];
    if (base < CommonPrefix + nameLength + (level == 1 ? 5 : 0)) return false;
    h = window.at(position, base);
    if (h.size() < base || byteSum(h.subspan(2, base - 2)) != h[1]) return false;
    path = withSlashes(h.subspan(CommonPrefix, nameLength));
    headerLength = base;
    if (level == 1) {
      // The skip size counts the extended headers too: they come out of it.
      std::uint64_t chain = 0;
      for (std::uint64_t size16 = le16(h, base - 2), at = position + base; size16 != 0;) {
        if (size16 < 3 || chain + size16 > packed || base + chain + size16 > HeaderLimit)
          return false;
        const std::span<const std::uint8_t> e = window.at(at, static_cast<std::size_t>(size16));
        if (e.size() < size16) return false;
        chain += size16;
        at += size16;
        size16 = le16(e, static_cast<std::size_t>(size16) - 2);
      }
      headerLength = base + chain;
      h = window.at(position, static_cast<std::size_t>(headerLength));
      if (h.size() < headerLength || !readChain(h, base, le16(h, base - 2), false, ext))
        return false;
      packed -= chain;
      if (!ext.hasName) ext.name.assign(path);  // the base header's name
      path.clear();
    }
  } else if (level == 2) {
    headerLength = le16(h, 0);
    if (headerLength < 26) return false;
    h = window.at(position, static_cast<std::size_t>(headerLength));
    if (h.size() < headerLength ||
        !readChain(h.first(static_cast<std::size_t>(headerLength)), 26, le16(h, 24), false, ext))
      return false;
    unixTime = true;
  } else if (level == 3) {
    if (le16(h, 0) != 4) return false;
    h = window.at(position, 32);
    if (h.size() < 32) return false;
    headerLength = le32(h, 24);
    if (headerLength < 32 || headerLength > HeaderLimit) return false;
    h = window.at(position, static_cast<std::size_t>(headerLength));
    if (h.size() < headerLength ||
        !readChain(h.first(static_cast<std::size_t>(headerLength)), 32, le32(h, 28), true, ext))
      return false;
    unixTime = true;
  } else {
    return false;
  }
  if (!headerCrcMatches(h.first(static_cast<std::size_t>(headerLength)), ext)) return false;

  if (level >= 1) {
    path = ext.directory;
    while (!path.empty() && path.back() == '/') path.pop_back();
    if (!path.empty() && !ext.name.empty()) path += '/';
    path += ext.name;
  }
  member = ArchiveMember{};
  member.directory = method == "-lhd-";
  // A symbolic link is a directory entry named "link|target" (and a mode that says so).
  const std::size_t bar = member.directory ? path.find('|') : std::string::npos;
  member.link = bar != std::string::npos || (ext.hasMode && (ext.mode & 0xF000) == 0xA000);
  if (bar != std::string::npos) {
    path.erase(bar);
    member.directory = false;
  }
  while (!path.empty() && path.back() == '/') path.pop_back();
  member.storedPath = std::move(path);
  member.encoding = NameEncoding::Utf8IfValid;
  member.size = ext.hasSize ? ext.size : size;
  setMemberStamp(member, ext.hasUnixTime ? ext.unixTime : stamp, ext.hasUnixTime || unixTime);
  next = position + headerLength + packed;
  return true;
}

}  // namespace

bool findLzhHeader(ArchiveSource& source, std::uint64_t& position) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(
      std::min<std::uint64_t>(source.size(), LzhScanLength + 256 + CommonPrefix)));
  const std::size_t got = source.readAt(0, bytes);
  const std::span<const std::uint8_t> b(bytes.data(), got);
  for (std::size_t p = 0; p < LzhScanLength && p + CommonPrefix <= got; ++p) {
    if (b[p + 2] != '-' || b[p + 3] != 'l' || b[p + 6] != '-') continue;
    const int level = b[p + 20];
    const std::size_t base = std::size_t{b[p]} + 2;
    const bool found =
        (level == 0 || level == 1)
            ? b[p] > 20 && p + base <= got && byteSum(b.subspan(p + 2, base - 2)) == b[p + 1]
            : level == 2 && le16(b, p) >= 24 && b[p + 19] == 0x20;
    if (found) {
      position = p;
      return true;
    }
  }
  return false;
}

int readLzhArchive(ArchiveSource& source, ArchiveSink& sink, bool selfExtracting) {
  std::uint64_t position = 0;
  if (selfExtracting && !findLzhHeader(source, position)) return ArchiveRead;
  HeaderWindow window(source, HeaderRead);
  ArchiveMember member;
  for (;;) {
    const std::span<const std::uint8_t> first = window.at(position, 1);
    if (first.empty() || first[0] == 0) return ArchiveRead;
    std::uint64_t next = 0;
    if (!readHeader(window, position, member, next)) {
      sink.message(TextLzhUnknownHeader);
      return ArchiveBadHeader;
    }
    if (!member.storedPath.empty()) sink.member(member);
    position = next;
  }
}

}  // namespace corvane
