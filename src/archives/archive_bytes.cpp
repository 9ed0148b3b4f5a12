#include "archives/archive_bytes.h"

#include <algorithm>
#include <array>

#include "platform/local_time.h"
#include "platform/paths.h"

namespace corvane {
namespace {

template <typename Word, Word Polynomial>
constexpr std::array<Word, 256> crcTable() {
  std::array<Word, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    Word x = static_cast<Word>(i);
    for (int bit = 0; bit < 8; ++bit)
      x = static_cast<Word>((x & 1) != 0 ? (x >> 1) ^ Polynomial : x >> 1);
    table[i] = x;
  }
  return table;
}

constexpr auto Crc16Table = crcTable<std::uint16_t, 0xA001>();
constexpr auto Crc32Table = crcTable<std::uint32_t, 0xEDB88320u>();
static_assert(Crc16Table[1] == 0xC0C1 && Crc32Table[1] == 0x77073096u);

}  // namespace

std::uint16_t le16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return 0;
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return 0;
  return static_cast<std::uint32_t>(le16(bytes, offset)) |
         static_cast<std::uint32_t>(le16(bytes, offset + 2)) << 16;
}

std::uint64_t le64(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 8) return 0;
  return static_cast<std::uint64_t>(le32(bytes, offset)) |
         static_cast<std::uint64_t>(le32(bytes, offset + 4)) << 32;
}

std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (std::uint8_t b : bytes)
    crc = static_cast<std::uint16_t>((crc >> 8) ^ Crc16Table[(crc ^ b) & 0xFF]);
  return crc;
}

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) crc = (crc >> 8) ^ Crc32Table[(crc ^ b) & 0xFF];
  return crc ^ 0xFFFFFFFFu;
}

std::uint16_t crc16WithoutField(std::span<const std::uint8_t> bytes, std::size_t offset) {
  const std::uint8_t zero[2] = {0, 0};
  const std::size_t before = std::min(offset, bytes.size());
  const std::uint16_t crc = crc16(zero, crc16(bytes.first(before)));
  return crc16(bytes.subspan(std::min(offset + 2, bytes.size())), crc);
}

void setMemberStamp(ArchiveMember& member, std::uint32_t stamp, bool unixTime) {
  if (unixTime) {
    dosDateTimeOf(stamp, member.date, member.time);
  } else {
    member.time = static_cast<std::uint16_t>(stamp & 0xFFFF);
    member.date = static_cast<std::uint16_t>(stamp >> 16);
  }
}

std::span<const std::uint8_t> HeaderWindow::at(std::uint64_t offset, std::size_t length) {
  const std::uint64_t size = source_.size();
  if (offset >= size) return {};
  const bool covered =
      offset >= base_ && offset - base_ <= got_ && got_ - (offset - base_) >= length;
  if (!covered) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(std::max(length, block_), size - offset));
    if (buffer_.size() < want) buffer_.resize(want);
    base_ = offset;
    got_ = source_.readAt(offset, std::span(buffer_.data(), want));
  }
  const std::size_t skip = static_cast<std::size_t>(offset - base_);
  return {buffer_.data() + skip, got_ - skip};
}

bool isSelfExtractorName(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view tail = name.substr(name.size() - 4);
  return sameName(tail, ".exe") || sameName(tail, ".com");
}

}  // namespace corvane
