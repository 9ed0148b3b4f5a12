// The one place where a failed file call is told to the user.
#pragma once

#include <string_view>

#include "platform/file_result.h"

namespace corvane {

// Shows the caller's own failure message (a format with one "%s" for the path) with the
// system's reason on the line below it in a message box, waits for a key, and returns result,
// so that a caller reports and gives its own result in one statement:
//   return reportFileFailure(FormatListFileOpenError, path, written, ListFileFailed);
int reportFileFailure(const char* format, std::string_view path, FileResult failure, int result);
// The same for a message that names no path ("Read error").
int reportFailure(std::string_view message, FileResult failure, int result);

}  // namespace corvane
