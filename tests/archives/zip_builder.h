// ZIP archives written byte by byte, for the tests of the ZIP reader and the archive panels
// and for the archive benchmark (which includes this header alone): stored members with
// their local headers, the central directory and the end record, with the layouts a test
// needs to craft.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archives/archive_bytes.h"

namespace corvane::testing {

// Little-endian pieces.
inline void put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
inline void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}
inline void put64(std::string& out, std::uint64_t value) {
  put32(out, static_cast<std::uint32_t>(value));
  put32(out, static_cast<std::uint32_t>(value >> 32));
}

// A stored member of the test time 2021-03-14 15:26:58. A name ending in "/" is a directory.
struct ZipMember {
  std::string name;
  std::string data;
  // The uncompressed size declared when it is not the data's; from 0xFFFFFFFF on it goes
  // into a zip64 extra field.
  std::optional<std::uint64_t> declaredSize;
};

struct ZipLayout {
  bool localHeaders = true;  // false: the central directory alone, its offsets 0
  bool zip64End = false;     // a zip64 end record and locator; the end record's counts 0xFFFF
  std::uint16_t thisDisk = 0;
};

inline std::string zipArchive(const std::vector<ZipMember>& members, const ZipLayout& layout = {}) {
  constexpr std::uint32_t Small = 0xFFFFFFFFu;
  std::string local, central;
  for (const ZipMember& m : members) {
    const std::uint64_t size = m.declaredSize.value_or(m.data.size());
    const bool big = size >= Small;
    const auto offset =
        layout.localHeaders ? static_cast<std::uint32_t>(local.size()) : 0u;
    const std::uint32_t crc = crc32(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(m.data.data()), m.data.size()));
    auto common = [&](std::string& out, bool withZip64) {
      put16(out, 10);      // version needed
      put16(out, 0);       // flags
      put16(out, 0);       // stored
      put16(out, 0x7B5D);  // time
      put16(out, 0x526E);  // date
      put32(out, crc);
      put32(out, static_cast<std::uint32_t>(m.data.size()));
      put32(out, big ? Small : static_cast<std::uint32_t>(size));
      put16(out, static_cast<unsigned>(m.name.size()));
      put16(out, withZip64 && big ? 12 : 0);
    };
    if (layout.localHeaders) {
      put32(local, 0x04034B50);
      common(local, false);
      local += m.name + m.data;
    }
    put32(central, 0x02014B50);
    put16(central, 0x031E);  // made on Unix
    common(central, true);
    put16(central, 0);  // comment
    put16(central, 0);  // disk
    put16(central, 0);  // internal attributes
    put32(central, m.name.ends_with('/') ? 0x41ED0010u : 0x81A40000u);
    put32(central, offset);
    central += m.name;
    if (big) {
      put16(central, 0x0001);
      put16(central, 8);
      put64(central, size);
    }
  }
  std::string zip = local + central;
  const std::uint64_t directoryOffset = local.size();
  if (layout.zip64End) {
    const std::uint64_t zip64End = zip.size();
    put32(zip, 0x06064B50);
    put64(zip, 44);
    put16(zip, 0x031E);
    put16(zip, 45);
    put32(zip, 0);
    put32(zip, 0);
    put64(zip, members.size());
    put64(zip, members.size());
    put64(zip, central.size());
    put64(zip, directoryOffset);
    put32(zip, 0x07064B50);
    put32(zip, 0);
    put64(zip, zip64End);
    put32(zip, 1);
  }
  const unsigned count = layout.zip64End ? 0xFFFF : static_cast<unsigned>(members.size());
  put32(zip, 0x06054B50);
  put16(zip, layout.thisDisk);
  put16(zip, 0);
  put16(zip, count);
  put16(zip, count);
  put32(zip, static_cast<std::uint32_t>(central.size()));
  put32(zip, static_cast<std::uint32_t>(directoryOffset));
  put16(zip, 0);
  return zip;
}

}  // namespace corvane::testing
