#include "viewer/text_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "platform/screen.h"
#include "ui/form.h"
#include "viewer/viewer_state.h"
#include "viewer/viewer_texts.h"

namespace corvane {
namespace {

constexpr int SearchFormWidth = 50;

unsigned char upperAscii(unsigned char c) {
  return static_cast<unsigned char>(c - (static_cast<unsigned char>(c - 'a') < 26 ? 32 : 0));
}

std::ptrdiff_t exactHit(const unsigned char* data, std::size_t length, const void* pattern,
                        std::size_t patternLength) {
  const void* hit = ::memmem(data, length, pattern, patternLength);
  return hit == nullptr ? -1 : static_cast<const unsigned char*>(hit) - data;
}

bool sameIgnoringCase(const unsigned char* data, std::string_view upperPattern) {
  for (std::size_t i = 0; i < upperPattern.size(); ++i)
    if (upperAscii(data[i]) != static_cast<unsigned char>(upperPattern[i])) return false;
  return true;
}

bool isLetter(unsigned char c) { return upperAscii(c) >= 'A' && upperAscii(c) <= 'Z'; }

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
  if (isLetter(c)) return 90 - 2 * static_cast<int>(Letters.find(static_cast<char>(upperAscii(c))));
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
  for (char& c : out) c = static_cast<char>(upperAscii(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::ptrdiff_t findText(std::span<const unsigned char> chunk, std::string_view pattern, bool binary,
                        bool ignoreCase) {
  if (pattern.empty() || pattern.size() > chunk.size()) return -1;
  if (!ignoreCase) return exactHit(chunk.data(), chunk.size(), pattern.data(), pattern.size());
  const std::string upper = upperCopy(pattern);
  return anchoredHitIgnoringCase(chunk.data(), chunk.size(), upper, binary ? 0 : rarestByte(upper));
}

int defineTextSearch() {
  ViewerState& state = viewerState();
  std::uint16_t caseSensitive = state.caseFlag == 0 ? 1 : 0;
  const FormItem items[] = {
      {.label = TextSearchLabel,
       .type = FormText,
       .text = &state.searchString,
       .maxLength = SearchStringMaxLength},
      {.label = TextCaseSensitive, .type = FormSwitch, .flag = &caseSensitive},
      {.type = FormSeparator},
      {.label = FormKeyLine, .type = FormStatic},
  };
  FormDescriptor form;
  form.width = SearchFormWidth;
  form.x = std::max((screenColumns() - SearchFormWidth - 3) / 2 + 1, 1);
  form.y = std::max(screenRows() / 2 - 3, 1);
  form.valueColumn = 1;
  form.title = TextSearchFormTitle;
  form.items = items;
  const int result = runForm(form);
  state.caseFlag = caseSensitive != 0 ? 0 : 1;
  return result;
}

FileSearchResult findInFile(std::FILE* file, std::int64_t from, std::string_view pattern,
                            bool ignoreCase, std::int64_t& found, FileSearchProgress* progress) {
  found = -1;
  if (pattern.empty() || from < 0) return FileSearchResult::NotFound;
  std::vector<unsigned char> chunk(SearchChunkBytes);
  const std::int64_t length = openFileLength(file);
  const std::size_t overlap = pattern.size() - 1;
  bool first = true, binary = false;
  for (std::int64_t offset = from;;) {
    if (progress != nullptr && progress->cancelled(offset, length))
      return FileSearchResult::Cancelled;
    std::size_t got = 0;
    const FileResult read = readFileAt(file, offset, chunk.data(), chunk.size(), got);
    const std::span<const unsigned char> bytes(chunk.data(), got);
    if (first) {
      binary = std::memchr(chunk.data(), 0, got) != nullptr;
      first = false;
    }
    const std::ptrdiff_t hit = findText(bytes, pattern, binary, ignoreCase);
    if (hit >= 0) {
      found = offset + hit;
      return FileSearchResult::Found;
    }
    if (!read) return FileSearchResult::ReadFailed;
    if (got < chunk.size()) return FileSearchResult::NotFound;
    offset += static_cast<std::int64_t>(got - overlap);
  }
}

}  // namespace corvane
