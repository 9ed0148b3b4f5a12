#include "platform/error_report.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/console.h"
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

void consoleErrorReport(const char* module, int line, const char* function, int errorCode) {
  std::string text = consoleErrorText(module, line, function, errorCode);
  ConsoleBackend* backend = hasConsole() ? &console() : nullptr;
  if (backend != nullptr) backend->leaveScreen();
  std::fprintf(stderr, "\a\nConsole API Error\n%s (y/n) ", text.c_str());
  std::fflush(stderr);
  char answer = 'y';
  for (;;) {
    char c;
    if (::read(STDIN_FILENO, &c, 1) != 1) break;  // no terminal to ask: go on
    if (c == 'y' || c == 'Y') break;
    if (c == 'n' || c == 'N') {
      answer = 'n';
      break;
    }
  }
  std::fputc('\n', stderr);
  if (answer == 'n') std::exit(1);
  if (backend != nullptr) backend->enterScreen();
}

}  // namespace corvane
