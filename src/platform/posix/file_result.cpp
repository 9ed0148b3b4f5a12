#include "platform/file_result.h"

#include <string.h>

#include <string_view>

namespace corvane {
namespace {

constexpr std::string_view TextNotRegular = "Not a regular file";
constexpr std::string_view TextBadName = "Name not allowed by the file system";

// strerror_r is the XSI one (int, text in the buffer) or the GNU one (returns the text,
// which need not be in the buffer), by the C library: both are taken.
[[maybe_unused]] const char* errorTextOf(int result, const char* buffer) {
  return result == 0 ? buffer : "Unknown error";
}
[[maybe_unused]] const char* errorTextOf(const char* text, const char*) { return text; }

}  // namespace

std::string fileErrorText(FileResult result) {
  if (result.error == 0) return {};
  if (result.error == FileErrorNotRegular) return std::string(TextNotRegular);
  if (result.error == FileErrorBadName) return std::string(TextBadName);
  char buffer[256] = {};
  return errorTextOf(strerror_r(result.error, buffer, sizeof buffer), buffer);
}

}  // namespace corvane
