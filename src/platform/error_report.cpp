#include "platform/error_report.h"

#include <cstdio>
#include <cstring>

#include "platform/textf.h"

namespace corvane {
namespace {

// Breaks a message into lines of at most width characters at blanks.
std::string wrap(std::string_view text, std::size_t width) {
  std::string out, line;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word = text.substr(pos, end - pos);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      out += line + "\n";
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
    pos = end + 1;
  }
  if (!line.empty()) out += line + "\n";
  return out;
}

}  // namespace

std::string consoleErrorText(const char* module, int line, const char* function, int errorCode) {
  std::string text = textf("%s: Error %d from %s on line %d:\n", module, errorCode, function, line);
  const char* message = errorCode != 0 ? std::strerror(errorCode) : nullptr;
  if (message != nullptr && *message != '\0') {
    text += wrap(message, 40);
  } else {
    text += textf("Unable to obtain error message text! \n%s: Error %d from %s on line %d", module,
                  errorCode, "FormatMessage", line);
  }
  text += "\n\nContinue execution?";
  return text;
}

}  // namespace corvane
