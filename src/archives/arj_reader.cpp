// ARJ: the main header, then a local header for every member, each framed by the header id,
// its basic size, a CRC-32 and a chain of extended headers; the packed data after each is
// skipped. A basic size of 0 ends the archive.
#include <algorithm>
#include <string>
#include <vector>

#include "archives/archive_bytes.h"
#include "archives/archive_reader.h"
#include "archives/archive_texts.h"
#include "platform/textf.h"

namespace corvane {
namespace {

constexpr std::uint16_t HeaderId = 0xEA60;
constexpr std::size_t MaxBasicSize = 2600;
constexpr std::size_t FirstHeaderMinimum = 30;
constexpr std::size_t FrameRead = 4 + MaxBasicSize + 4 + 2;
constexpr int TypeMainHeader = 2;
constexpr int TypeDirectory = 3;
constexpr int TypeVolumeLabel = 4;
constexpr int TypeChapterLabel = 5;
constexpr int TypeSpecial = 6;
constexpr int HostUnix = 2;
constexpr int HostNext = 8;

// A frame with the id, a basic size within the limit and a matching CRC at the start of
// bytes; its basic size in size.
bool validFrame(std::span<const std::uint8_t> bytes, std::size_t& size) {
  if (bytes.size() < 4 || le16(bytes, 0) != HeaderId) return false;
  size = le16(bytes, 2);
  if (size < FirstHeaderMinimum || size > MaxBasicSize || bytes.size() < 8 + size) return false;
  return crc32(bytes.subspan(4, size)) == le32(bytes, 4 + size);
}

// The zero-terminated text at offset within basic; false when it is not terminated there.
bool textAt(std::span<const std::uint8_t> basic, std::size_t offset, std::string& text,
            std::size_t& end) {
  if (offset >= basic.size()) return false;
  const auto first = basic.begin() + static_cast<std::ptrdiff_t>(offset);
  const auto zero = std::find(first, basic.end(), 0);
  if (zero == basic.end()) return false;
  text.assign(first, zero);
  end = static_cast<std::size_t>(zero - basic.begin()) + 1;
  return true;
}

// Moves position past a chain of extended headers (a 16-bit size, that many bytes and a
// CRC-32, until a size of 0). False when the file ends inside it.
bool skipExtended(HeaderWindow& window, std::uint64_t& position) {
  for (;;) {
    const std::span<const std::uint8_t> size = window.at(position, 2);
    if (size.size() < 2) return false;
    position += 2;
    const std::uint16_t length = le16(size, 0);
    if (length == 0) return true;
    position += std::uint64_t{length} + 4;
  }
}

}  // namespace

bool findArjMainHeader(ArchiveSource& source, std::uint64_t& position) {
  // No more than the file holds: a small file costs no 256 KiB buffer.
  std::vector<std::uint8_t> bytes(
      static_cast<std::size_t>(std::min<std::uint64_t>(source.size(), ArjScanLength + FrameRead)));
  const std::size_t got = source.readAt(0, bytes);
  const std::span<const std::uint8_t> b(bytes.data(), got);
  std::size_t size = 0;
  for (std::size_t p = 0; p < ArjScanLength && p + 4 <= got; ++p) {
    if (b[p] != 0x60 || b[p + 1] != 0xEA || !validFrame(b.subspan(p), size)) continue;
    position = p;
    return true;
  }
  return false;
}

int readArjArchive(ArchiveSource& source, ArchiveSink& sink, std::string_view name,
                   bool selfExtracting) {
  HeaderWindow window(source, FrameRead);
  std::uint64_t position = 0;
  std::size_t basicSize = 0;
  // A self-extractor's header is found by its scan; either way its frame is checked here.
  const bool found = !selfExtracting || findArjMainHeader(source, position);
  std::span<const std::uint8_t> frame = window.at(position, FrameRead);
  if (!found || !validFrame(frame, basicSize) || frame[4 + 6] != TypeMainHeader) {
    sink.message(textf(FormatArjNotArchive, std::string(name).c_str()));
    return ArchiveBadHeader;
  }
  // The first fault ends the listing.
  bool failed = false;
  auto fail = [&](std::string_view text) {
    sink.message(text);
    failed = true;
  };
  {
    // The archive's name and comment, both terminated inside the basic header.
    const std::span<const std::uint8_t> basic = frame.subspan(4, basicSize);
    std::string text;
    std::size_t end = 0;
    if (basic[0] > basicSize || !textAt(basic, basic[0], text, end) ||
        !textAt(basic, end, text, end))
      fail(TextArjBadComment);
  }
  position += 4 + basicSize + 4;
  if (!failed && !skipExtended(window, position)) fail(TextArjEndOfFile);

  ArchiveMember member;
  while (!failed) {
    frame = window.at(position, FrameRead);
    if (frame.size() < 4) {
      fail(TextArjEndOfFile);
      break;
    }
    basicSize = le16(frame, 2);
    if (le16(frame, 0) == HeaderId && basicSize == 0) break;  // the end of the archive
    if (le16(frame, 0) != HeaderId || basicSize > MaxBasicSize || basicSize < FirstHeaderMinimum) {
      fail(TextArjBadHeader);
      break;
    }
    if (frame.size() < 8 + basicSize) {
      fail(TextArjEndOfFile);
      break;
    }
    const std::span<const std::uint8_t> basic = frame.subspan(4, basicSize);
    if (crc32(basic) != le32(frame, 4 + basicSize)) {
      fail(TextArjHeaderCrc);
      break;
    }
    std::string path;
    std::size_t end = 0;
    if (basic[0] < FirstHeaderMinimum || !textAt(basic, basic[0], path, end)) {
      fail(TextArjBadHeader);
      break;
    }
    const int host = basic[3];
    const int type = basic[6];
    const std::uint32_t stamp = le32(basic, 8);
    const std::uint32_t packed = le32(basic, 12);
    member = ArchiveMember{};
    member.size = le32(basic, 16);
    const std::uint16_t mode = le16(basic, 26);
    const bool unixHost = host == HostUnix || host == HostNext;
    position += 4 + basicSize + 4;
    if (!skipExtended(window, position)) {
      fail(TextArjEndOfFile);
      break;
    }
    position += packed;

    for (char& c : path)
      if (c == '\\') c = '/';
    while (!path.empty() && path.back() == '/') path.pop_back();
    if (type == TypeMainHeader || type == TypeVolumeLabel || type == TypeChapterLabel ||
        path.empty())
      continue;
    member.storedPath = std::move(path);
    member.encoding = NameEncoding::Utf8IfValid;
    member.directory = type == TypeDirectory;
    member.link = type == TypeSpecial || (unixHost && (mode & 0xF000) == 0xA000);
    setMemberStamp(member, stamp, unixHost);
    sink.member(member);
  }
  if (failed) {
    sink.message(textf(FormatArjErrors, (std::string(name) + " ").c_str(), 1));
    return ArchiveBadHeader;
  }
  return ArchiveRead;
}

}  // namespace corvane
