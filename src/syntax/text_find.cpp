#include "syntax/text_find.h"

#include <algorithm>
#include <cstring>

namespace corvane {
namespace {

std::ptrdiff_t exactHit(const unsigned char* data, std::size_t length, const void* pattern,
                        std::size_t patternLength) {
  const void* hit = ::memmem(data, length, pattern, patternLength);
  return hit == nullptr ? -1 : static_cast<const unsigned char*>(hit) - data;
}

bool sameIgnoringCase(const unsigned char* data, std::string_view upperPattern) {
  for (std::size_t i = 0; i < upperPattern.size(); ++i)
    if (foldAscii(data[i]) != static_cast<unsigned char>(upperPattern[i])) return false;
  return true;
}

bool isLetter(unsigned char c) { return foldAscii(c) >= 'A' && foldAscii(c) <= 'Z'; }

// The candidates are the occurrences, in either case, of the pattern's character at anchor;
// the nearer of the two is tried next.
std::ptrdiff_t anchoredHitIgnoringCase(const unsigned char* data, std::size_t length,
                                       std::string_view upperPattern, std::size_t anchor) {
  const std::size_t m = upperPattern.size();
  if (m > length) return -1;
  const std::size_t last = length - m + anchor;  // the last place of the anchor in a whole hit
  const auto upper = static_cast<unsigned char>(upperPattern[anchor]);
  const auto lower = isLetter(upper) ? static_cast<unsigned char>(upper + 32) : upper;
  auto next = [&](unsigned char c, std::size_t from) -> std::size_t {
    if (from > last) return length;
    const void* at = std::memchr(data + from, c, last + 1 - from);
    return at == nullptr ? length
                         : static_cast<std::size_t>(static_cast<const unsigned char*>(at) - data);
  };
  std::size_t nextUpper = next(upper, anchor);
  std::size_t nextLower = lower == upper ? length : next(lower, anchor);
  for (;;) {
    const std::size_t candidate = std::min(nextUpper, nextLower);
    if (candidate >= length) return -1;
    if (sameIgnoringCase(data + candidate - anchor, upperPattern))
      return static_cast<std::ptrdiff_t>(candidate - anchor);
    if (candidate == nextUpper) nextUpper = next(upper, candidate + 1);
    if (candidate == nextLower) nextLower = next(lower, candidate + 1);
  }
}

// How common a byte is in text, roughly (letters by their frequency in English): a text
// chunk is searched from the pattern's rarest byte, which stops the byte search least.
int commonness(unsigned char c) {
  constexpr std::string_view Letters = "ETAOINSRHLDCUMFPGWYBVKXJQZ";  // most common first
  if (c == ' ') return 100;
  if (isLetter(c)) return 90 - 2 * static_cast<int>(Letters.find(static_cast<char>(foldAscii(c))));
  if (c >= '0' && c <= '9') return 50;
  return c < 0x80 ? 10 : 30;
}

std::size_t rarestByte(std::string_view pattern) {
  std::size_t rarest = 0;
  for (std::size_t i = 1; i < pattern.size(); ++i)
    if (commonness(static_cast<unsigned char>(pattern[i])) <
        commonness(static_cast<unsigned char>(pattern[rarest])))
      rarest = i;
  return rarest;
}

std::string upperCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

TextFinder::TextFinder(std::string_view pattern, bool ignoreCase, bool binary)
    : pattern_(pattern), ignoreCase_(ignoreCase) {
  if (!ignoreCase_) return;
  pattern_ = upperCopy(pattern);
  anchor_ = binary || pattern_.empty() ? 0 : rarestByte(pattern_);
}

std::ptrdiff_t TextFinder::find(std::span<const unsigned char> bytes) const {
  if (pattern_.empty() || pattern_.size() > bytes.size()) return -1;
  if (!ignoreCase_) return exactHit(bytes.data(), bytes.size(), pattern_.data(), pattern_.size());
  return anchoredHitIgnoringCase(bytes.data(), bytes.size(), pattern_, anchor_);
}

std::size_t TextFinder::find(std::string_view text, std::size_t from) const {
  if (from > text.size()) return std::string_view::npos;
  const std::ptrdiff_t at = find(std::span<const unsigned char>(
      reinterpret_cast<const unsigned char*>(text.data()) + from, text.size() - from));
  return at < 0 ? std::string_view::npos : from + static_cast<std::size_t>(at);
}

std::ptrdiff_t findText(std::span<const unsigned char> chunk, std::string_view pattern, bool binary,
                        bool ignoreCase) {
  return TextFinder(pattern, ignoreCase, binary).find(chunk);
}

}  // namespace corvane
