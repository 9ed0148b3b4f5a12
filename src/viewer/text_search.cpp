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

// Upper-case copy of bytes, written so that the compiler can vectorise it.
void foldInto(const unsigned char* from, std::size_t length, unsigned char* to) {
  for (std::size_t i = 0; i < length; ++i) to[i] = upperAscii(from[i]);
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

// The candidates are the occurrences of the first character in either case; the nearer of
// the two is tried next.
std::ptrdiff_t binaryHitIgnoringCase(const unsigned char* data, std::size_t length,
                                     std::string_view upperPattern) {
  const std::size_t m = upperPattern.size();
  if (m > length) return -1;
  const std::size_t last = length - m;  // the last position a whole pattern fits at
  const unsigned char upper = static_cast<unsigned char>(upperPattern[0]);
  const unsigned char lower =
      upper >= 'A' && upper <= 'Z' ? static_cast<unsigned char>(upper + 32) : upper;
  auto next = [&](unsigned char c, std::size_t from) -> std::size_t {
    if (from > last) return length;
    const void* at = std::memchr(data + from, c, last + 1 - from);
    return at == nullptr ? length
                         : static_cast<std::size_t>(static_cast<const unsigned char*>(at) - data);
  };
  std::size_t nextUpper = next(upper, 0);
  std::size_t nextLower = lower == upper ? length : next(lower, 0);
  for (;;) {
    const std::size_t candidate = std::min(nextUpper, nextLower);
    if (candidate >= length) return -1;
    if (sameIgnoringCase(data + candidate, upperPattern))
      return static_cast<std::ptrdiff_t>(candidate);
    if (candidate == nextUpper) nextUpper = next(upper, candidate + 1);
    if (candidate == nextLower) nextLower = next(lower, candidate + 1);
  }
}

std::string upperCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(upperAscii(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::ptrdiff_t findText(std::span<const unsigned char> chunk, std::string_view pattern, bool binary,
                        bool ignoreCase, std::vector<unsigned char>& scratch) {
  if (pattern.empty() || pattern.size() > chunk.size()) return -1;
  if (!ignoreCase) return exactHit(chunk.data(), chunk.size(), pattern.data(), pattern.size());
  const std::string upper = upperCopy(pattern);
  if (binary) return binaryHitIgnoringCase(chunk.data(), chunk.size(), upper);
  if (scratch.size() < chunk.size()) scratch.resize(chunk.size());
  foldInto(chunk.data(), chunk.size(), scratch.data());
  return exactHit(scratch.data(), chunk.size(), upper.data(), upper.size());
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
  std::vector<unsigned char> scratch;
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
    const std::ptrdiff_t hit = findText(bytes, pattern, binary, ignoreCase, scratch);
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
