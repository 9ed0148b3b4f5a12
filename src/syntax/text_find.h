// Finding a string in bytes, exactly or with the letters A-Z and a-z compared without regard
// to case (every other byte, those of multi-byte characters among them, exactly).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// A to z as A to Z; every other byte as it is.
inline unsigned char foldAscii(unsigned char c) {
  return static_cast<unsigned char>(c - (static_cast<unsigned char>(c - 'a') < 26 ? 32 : 0));
}

// A pattern prepared once for many searches (the lines of a file, the chunks of a file).
class TextFinder {
 public:
  // binary chooses the method, not the result: ignoring case, the candidates are the
  // occurrences (in either case) of the pattern's first character for binary data, of its
  // rarest character for text.
  TextFinder(std::string_view pattern, bool ignoreCase, bool binary = false);

  // The first position in bytes where the pattern begins, or -1; zero bytes are ordinary
  // bytes. An empty pattern is never found.
  std::ptrdiff_t find(std::span<const unsigned char> bytes) const;
  // The first position at or after from, or npos.
  std::size_t find(std::string_view text, std::size_t from) const;

  std::size_t size() const { return pattern_.size(); }

 private:
  std::string pattern_;  // upper case when case is ignored
  bool ignoreCase_ = false;
  std::size_t anchor_ = 0;
};

// The first position in chunk where pattern begins, or -1 (TextFinder's rules).
std::ptrdiff_t findText(std::span<const unsigned char> chunk, std::string_view pattern, bool binary,
                        bool ignoreCase);

}  // namespace corvane
