#include "ui/file_failure.h"

#include <string>

#include "platform/textf.h"
#include "ui/boxes.h"

namespace corvane {

int reportFileFailure(const char* format, std::string_view path, FileResult failure, int result) {
  return reportFailure(textf(format, std::string(path).c_str()), failure, result);
}

int reportFailure(std::string_view message, FileResult failure, int result) {
  std::string text(message);
  const std::string reason = fileErrorText(failure);
  if (!reason.empty()) {
    if (!text.ends_with('\n')) text += '\n';
    text += reason;
  }
  messageBox(text);
  return result;
}

}  // namespace corvane
