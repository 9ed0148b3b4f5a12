#include "platform/file_result.h"

#include <cstring>
#include <string_view>

namespace corvane {

std::string fileErrorText(FileResult result) {
  if (result.error == 0) return {};
  if (result.error == FileErrorNotRegular) return "Not a regular file";
  if (result.error == FileErrorBadName) return "Name not allowed by the file system";
  char buffer[256] = {};
  if (strerror_s(buffer, sizeof buffer, result.error) != 0) return "Unknown error";
  return buffer;
}

}  // namespace corvane
