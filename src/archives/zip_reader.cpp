// ZIP: the end record found from the end of the file, the zip64 end record when its locator
// is there, then the central directory's headers one after another.
#include <algorithm>

#include "archives/archive_bytes.h"
#include "archives/archive_reader.h"
#include "archives/archive_texts.h"
#include "platform/textf.h"

namespace corvane {
namespace {

constexpr std::uint32_t SignatureEnd = 0x06054B50;           // PK\5\6
constexpr std::uint32_t SignatureZip64End = 0x06064B50;      // PK\6\6
constexpr std::uint32_t SignatureZip64Locator = 0x07064B50;  // PK\6\7
constexpr std::uint32_t SignatureCentral = 0x02014B50;       // PK\1\2
constexpr std::uint32_t SignatureDigital = 0x05054B50;       // PK\5\5
constexpr std::size_t EndRecordSize = 22;
constexpr std::size_t MaxCommentSize = 65535;
constexpr std::size_t Zip64EndSize = 56;
constexpr std::size_t LocatorSize = 20;
constexpr std::size_t CentralSize = 46;
// The longest name and extra field a header keeps; longer ones are reported.
constexpr std::size_t NameLimit = 4096;
constexpr std::size_t ExtraLimit = 4096;
// The central directory is read in blocks of this size.
constexpr std::size_t DirectoryBlock = 64 * 1024;
constexpr std::uint32_t Saturated32 = 0xFFFFFFFFu;
constexpr std::uint16_t Zip64ExtraId = 0x0001;
constexpr int HostUnix = 3;
constexpr int HostOsX = 19;

struct EndRecord {
  std::uint64_t position = 0;  // of the zip64 end record when there is one, else of this
  std::uint32_t thisDisk = 0;
  std::uint32_t directoryDisk = 0;
  std::uint64_t entries = 0;
  std::uint64_t directorySize = 0;
  std::uint64_t directoryOffset = 0;
};

// The end record: the highest signature whose comment ends exactly at the end of the file,
// else the highest one whose comment fits inside it.
bool findEndRecord(ArchiveSource& source, EndRecord& end) {
  const std::uint64_t size = source.size();
  if (size < EndRecordSize) return false;
  const std::size_t tail =
      static_cast<std::size_t>(std::min<std::uint64_t>(size, EndRecordSize + MaxCommentSize));
  std::vector<std::uint8_t> bytes(tail);
  const std::size_t got = source.readAt(size - tail, bytes);
  if (got < EndRecordSize) return false;
  const std::uint64_t base = size - tail;
  std::size_t found = got;  // none
  for (std::size_t p = got - EndRecordSize + 1; p-- > 0;) {
    if (le32(bytes, p) != SignatureEnd) continue;
    const std::uint64_t ends = base + p + EndRecordSize + le16(bytes, p + 20);
    if (ends == size) {
      found = p;
      break;
    }
    if (ends <= size && found == got) found = p;
  }
  if (found == got) return false;
  const std::span<const std::uint8_t> record(bytes.data() + found, EndRecordSize);
  end.position = base + found;
  end.thisDisk = le16(record, 4);
  end.directoryDisk = le16(record, 6);
  end.entries = le16(record, 10);
  end.directorySize = le32(record, 12);
  end.directoryOffset = le32(record, 16);

  // Counts, size and offset from the zip64 end record the locator points to.
  if (end.position < LocatorSize) return true;
  std::uint8_t locator[LocatorSize];
  if (source.readAt(end.position - LocatorSize, locator) != LocatorSize ||
      le32(locator, 0) != SignatureZip64Locator)
    return true;
  const std::uint64_t at = le64(locator, 8);
  std::uint8_t zip64[Zip64EndSize];
  if (size < Zip64EndSize || at > size - Zip64EndSize || source.readAt(at, zip64) != Zip64EndSize ||
      le32(zip64, 0) != SignatureZip64End)
    return true;
  end.position = at;
  end.thisDisk = le32(zip64, 16);
  end.directoryDisk = le32(zip64, 20);
  end.entries = le64(zip64, 32);
  end.directorySize = le64(zip64, 40);
  end.directoryOffset = le64(zip64, 48);
  return true;
}

// The saturated fields' real values from the zip64 block of an extra field.
void applyZip64(std::span<const std::uint8_t> extra, std::uint32_t storedSize,
                std::uint64_t& size) {
  for (std::size_t p = 0; p + 4 <= extra.size();) {
    const std::uint16_t id = le16(extra, p);
    const std::size_t length = le16(extra, p + 2);
    if (length > extra.size() - p - 4) return;
    if (id == Zip64ExtraId) {
      // In this order, only those saturated: original size, compressed size, offset, disk.
      if (storedSize == Saturated32 && length >= 8) size = le64(extra, p + 4);
      return;
    }
    p += 4 + length;
  }
}

NameEncoding encodingOf(std::uint16_t flags, int host) {
  if ((flags & 0x0800) != 0) return NameEncoding::Utf8;
  // Unix writers store their own bytes (UTF-8 nowadays) without the flag.
  return host == HostUnix || host == HostOsX ? NameEncoding::Utf8IfValid : NameEncoding::Cp437;
}

}  // namespace

bool hasZipEndRecord(ArchiveSource& source) {
  EndRecord end;
  return findEndRecord(source, end);
}

int readZipArchive(ArchiveSource& source, ArchiveSink& sink) {
  EndRecord end;
  if (!findEndRecord(source, end)) {
    sink.message(TextZipNoEndRecord);
    return ArchiveBadHeader;
  }
  if (end.thisDisk != end.directoryDisk) {
    sink.message(TextZipMultiDisk);
    return ArchiveBadHeader;
  }
  // Where the directory really starts: bytes before the archive (a stub) or missing ones
  // move it against what the end record says.
  using Wide = __int128;
  Wide directoryOffset = end.directoryOffset;
  Wide extra = Wide(end.position) - directoryOffset - Wide(end.directorySize);
  if (extra > 0 && end.directoryOffset == 0 && end.directorySize != 0) {
    sink.message(TextZipNullOffset);
    directoryOffset = extra;
    extra = 0;
  } else if (extra > 0) {
    sink.message(textf(FormatZipExtraBytes, static_cast<long>(extra)));
  } else if (extra < 0) {
    sink.message(textf(FormatZipMissingBytes, static_cast<long>(-extra)));
  }
  const Wide start = directoryOffset + extra;
  const std::uint64_t size = source.size();
  if (start < 0 || start > Wide(size)) return end.entries == 0 ? ArchiveRead : ArchiveEndedEarly;

  HeaderWindow window(source, DirectoryBlock);
  std::uint64_t position = static_cast<std::uint64_t>(start);
  ArchiveMember member;
  for (std::uint64_t i = 0; i < end.entries; ++i) {
    std::span<const std::uint8_t> h = window.at(position, CentralSize);
    if (h.size() >= 4 && le32(h, 0) != SignatureCentral) {
      sink.message(textf(FormatZipNoHeaderSignature, static_cast<unsigned>(i + 1)));
      return ArchiveBadHeader;
    }
    if (h.size() < CentralSize) return ArchiveEndedEarly;
    const std::size_t nameLength = le16(h, 28);
    const std::size_t extraLength = le16(h, 30);
    const std::size_t commentLength = le16(h, 32);
    const std::size_t length = CentralSize + nameLength + extraLength + commentLength;
    h = window.at(position, length);
    if (h.size() < length) return ArchiveEndedEarly;

    const std::uint16_t flags = le16(h, 8);
    const int host = h[5];
    const std::uint32_t storedSize = le32(h, 24);
    std::string_view name(reinterpret_cast<const char*>(h.data() + CentralSize), nameLength);
    member = ArchiveMember{};
    if (name.size() > NameLimit) {
      sink.message(TextZipNameTooLong);
      name = name.substr(0, NameLimit);
      member.truncated = true;
    }
    member.size = storedSize;
    if (extraLength > ExtraLimit) {
      sink.message(textf(FormatZipExtraTooLong, static_cast<int>(extraLength)));
    } else {
      applyZip64(h.subspan(CentralSize + nameLength, extraLength), storedSize, member.size);
    }
    position += length;

    if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
      member.directory = true;
      name.remove_suffix(1);
    }
    if (name.empty()) continue;
    member.storedPath.assign(name);
    member.encoding = encodingOf(flags, host);
    member.time = le16(h, 12);
    member.date = le16(h, 14);
    const std::uint32_t mode = le32(h, 38) >> 16;
    member.link = (host == HostUnix || host == HostOsX) && (mode & 0xF000) == 0xA000;
    sink.member(member);
  }

  // After the last header: the end record, the zip64 end record or a signature block.
  const std::span<const std::uint8_t> after = window.at(position, 4);
  const std::uint32_t next = after.size() >= 4 ? le32(after, 0) : 0;
  if (next != SignatureEnd && next != SignatureZip64End && next != SignatureDigital)
    sink.message(TextZipNoEndAfterDirectory);
  return ArchiveRead;
}

}  // namespace corvane
