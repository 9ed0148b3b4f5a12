// Case-insensitive name comparison as the lists use it: A to Z folded to a to z, every other
// byte compared by its unsigned value. Kept inline because sorting and lookups run it
// millions of times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

inline unsigned char foldByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// <0, 0, >0 in the folded order; a proper prefix comes first.
inline int compareFolded(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = foldByte(static_cast<unsigned char>(a[i]));
    const unsigned char y = foldByte(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

inline bool equalFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && compareFolded(a, b) == 0;
}

inline void appendFolded(std::string& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<char>(foldByte(static_cast<unsigned char>(c))));
}

// 64-bit FNV-1a over the folded bytes.
inline std::uint64_t foldedHash(std::string_view text) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (char c : text) {
    h ^= foldByte(static_cast<unsigned char>(c));
    h *= 0x100000001b3ull;
  }
  return h;
}

// Everything from the first "." on ("a.tar.gz" gives ".tar.gz"); empty without a ".".
inline std::string_view extensionOf(std::string_view name) {
  const std::size_t dot = name.find('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

}  // namespace corvane
