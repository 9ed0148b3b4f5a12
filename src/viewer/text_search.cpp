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

}  // namespace

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
  const int result = runForm(centredForm(SearchFormWidth, TextSearchFormTitle, items));
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
