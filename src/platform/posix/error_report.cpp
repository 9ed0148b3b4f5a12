// The console error report on a terminal: asked on standard error, answered on standard input.
#include "platform/error_report.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/console.h"

namespace corvane {

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
