// The console error report on Windows: asked in a message box, as the console itself may be
// what failed.
#include "platform/error_report.h"

#include <cstdlib>
#include <string>

#include "platform/console.h"
#include "platform/win32/win_text.h"

namespace corvane {

void consoleErrorReport(const char* module, int line, const char* function, int errorCode) {
  const std::string text = consoleErrorText(module, line, function, errorCode) + " (y/n)";
  const int answer = MessageBoxW(nullptr, wideOf(text).c_str(), L"Console API Error",
                                 MB_YESNO | MB_ICONERROR | MB_SETFOREGROUND);
  if (answer == IDNO) std::exit(1);
}

}  // namespace corvane
