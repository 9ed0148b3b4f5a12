// The text search the viewer runs over a file, and what the text search in files shares
// with it: the string matcher (syntax/text_find.h), the search settings' form and the
// chunked search of an open file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>

#include "syntax/text_find.h"

namespace corvane {

// Shows the form " Define Textsearch " on the search settings (the string and " Case
// sensitive ? ", YES being case flag 0). FormAccepted (13) or FormCancelled (27).
int defineTextSearch();

// How a chunked search went.
enum class FileSearchResult { Found, NotFound, Cancelled, ReadFailed };

// Asked between chunks with the offset reached and the file's length: true ends the search
// as cancelled.
class FileSearchProgress {
 public:
  virtual ~FileSearchProgress() = default;
  virtual bool cancelled(std::int64_t offset, std::int64_t length) = 0;
};

// Bytes of one chunk of the file search.
constexpr std::size_t SearchChunkBytes = 61440;

// Searches an open file from offset to its end for the pattern: chunks of SearchChunkBytes
// that overlap by the pattern's length less one, so a hit across a chunk boundary is found;
// the file counts as binary when its first chunk holds a zero byte. found is the file offset
// of the first hit at or after from. A read failure ends the search (ReadFailed) with what was
// searched until then.
FileSearchResult findInFile(std::FILE* file, std::int64_t from, std::string_view pattern,
                            bool ignoreCase, std::int64_t& found,
                            FileSearchProgress* progress = nullptr);

}  // namespace corvane
