// The console session on a POSIX terminal: the one terminal back end of the process.
#include "platform/session.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/console.h"
#include "platform/posix/terminal_console.h"
#include "platform/posix/terminal_session.h"
#include "platform/posix/user_screen_line.h"
#include "platform/screen.h"

namespace corvane {
namespace {

// Lives until the process ends; the clock thread, which may wake it, is joined before.
TerminalConsole& terminal() {
  static TerminalConsole console;
  return console;
}

}  // namespace

bool consoleSessionPossible() { return stdioAreTerminals(); }

bool startConsoleSession(std::string_view title, const SessionOptions& options) {
  TerminalConsole& console = terminal();
  console.setAsciiOnly(options.asciiOnly);
  if (!console.start(title)) return false;
  setUserScreenLineCharset(options.asciiOnly ? OutputCharset::Ascii : OutputCharset::Utf8);
  setConsole(&console);
  return true;
}

void stopConsoleSession() {
  // The user's screen in front: the program's screen first, so that leaving it ends where
  // the user's screen had its cursor.
  if (userScreenLineInUse()) endUserScreenLine();
  suspendOutput();
  if (terminalSessionStarted()) terminal().stop();
}

void writeExitLine(std::string_view text) {
  std::string line;
  if (!normalScreenAtLineStart()) line += '\n';
  line += text;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
  setNormalScreenAtLineStart(true);
}

}  // namespace corvane
