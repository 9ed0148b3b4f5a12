// The console session on the Windows console: the one console back end of the process, and
// the console's control events.
#include "platform/session.h"

#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/screen.h"
#include "platform/signals.h"
#include "platform/win32/win_console.h"
#include "platform/win32/win_text.h"
#include "platform/win32/win_user_screen.h"

namespace corvane {
namespace {

constexpr DWORD EndWaitMs = 4000;  // the system ends the process about 5 s after a close event

// Lives until the process ends; the clock thread, which may wake it, is joined before.
WinConsole& winConsole() {
  static WinConsole console;
  return console;
}

// Set once the session is given back, so that a close event can wait for it.
HANDLE stoppedEvent() {
  static HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}

// In front of the console while the user's screen is shown; lives as long as the console.
WinUserScreenLine& userScreenLine() {
  static WinUserScreenLine line(winConsole());
  return line;
}

}  // namespace

// Ctrl-C and Ctrl-Break ask whether to abort (not while an external program has the console:
// it gets them itself); closing the console, logging off and shutting down end the program
// cleanly, waited for here, as the system ends the process when the handler returns.
BOOL WINAPI consoleControlHandler(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      if (!externalProgramRunning()) {
        recordInterruptRequest();
        winConsole().wake();
      }
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      recordEndRequest();
      winConsole().wake();
      WaitForSingleObject(stoppedEvent(), EndWaitMs);
      return TRUE;
    default:
      return FALSE;
  }
}

bool consoleSessionPossible() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
         GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode);
}

// Text reaches the console as UTF-16 through the wide API, whatever the code page.
bool localeIsUtf8() { return true; }

bool startConsoleSession(std::string_view title, const SessionOptions&) {
  (void)stoppedEvent();
  WinConsole& console = winConsole();
  if (!console.start(title)) return false;
  setConsole(&console);
  return true;
}

void stopConsoleSession() {
  // The user's screen in front: the program's buffer first, so that leaving it shows the
  // user's buffer without the prompt line.
  if (userScreenLineInUse()) endUserScreenLine();
  suspendOutput();
  winConsole().stop();
  SetEvent(stoppedEvent());
}

void writeExitLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(output, &mode)) {
    const std::wstring wide = wideOf(line);
    WriteConsoleW(output, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }
}

bool userScreenLineAvailable() { return winConsole().started(); }

void showUserScreenLine(int row, int firstQuietRow) {
  if (!hasConsole() || !winConsole().started()) return;
  WinUserScreenLine& line = userScreenLine();
  line.show(screenImage(), row, firstQuietRow);
  setConsole(&line);
}

void endUserScreenLine() {
  if (!userScreenLineInUse()) return;
  userScreenLine().end();
  setConsole(&winConsole());
  flushScreen();
}

bool userScreenLineInUse() { return hasConsole() && &console() == &userScreenLine(); }

bool userScreenLineShown() {
  return userScreenLineInUse() && userScreenLine().mode() == WinUserScreenLine::Mode::UserScreen;
}

// The user's screen is the console's own buffer: there is no descriptor to give it.
void setUserScreenLineOutput(int) {}

}  // namespace corvane
