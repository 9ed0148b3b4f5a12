// The console session of the run: the console taken at start and given back at the end, and
// the user's own screen shown in between. The system's back end implements it (on POSIX the
// terminal); start-up and the command window use only this.
#pragma once

#include <string_view>

namespace corvane {

namespace session_text {
constexpr std::string_view NotATerminal = "corvane: standard input and output must be a terminal\n";
}  // namespace session_text

// The program can take a console here: its standard input and output are one.
bool consoleSessionPossible();

// The character type of the user's locale is UTF-8 (LC_ALL, LC_CTYPE, LANG in that order).
bool localeIsUtf8();

struct SessionOptions {
  // Nothing but ASCII reaches the console: every other character is shown by a stand-in
  // ("/ASC", or a locale that is not UTF-8).
  bool asciiOnly = false;
};

// Takes the console (saved modes, raw input, the program's screen with the title, the
// handling of signals and console events) and makes its back end the active console. False,
// with nothing changed, when the console cannot be taken.
bool startConsoleSession(std::string_view title, const SessionOptions& options);
// Gives the console back for good: output suspended, then the user's screen and modes
// restored. Idempotent; also right when the session never started.
void stopConsoleSession();
// After the session: a line of text on the user's screen, on a line of its own even when
// the last thing written there (a "Press any key" prompt) did not end its line.
void writeExitLine(std::string_view text);

// All windows off: the user's screen (the output of earlier commands) with one row of the
// program's screen - the command line - drawn on it, in front of the active console.
//
// Whether the user's screen can be shown (a session runs, or a test gave an output).
bool userScreenLineAvailable();
// Shows the user's screen with screen row `row` (0-based; -1 for none) on the cursor's line;
// rows from firstQuietRow on are not watched. Any other visible change brings the program's
// screen back; a further call goes back to the user's screen.
void showUserScreenLine(int row, int firstQuietRow);
// The program's screen back with the console it had, the whole image flushed. Nothing when
// the user's screen is not in use.
void endUserScreenLine();
// In front of the console (also while a dialog brought the program's screen back), and
// whether the user's screen is what the console shows now.
bool userScreenLineInUse();
bool userScreenLineShown();
// Tests: the descriptor the user's screen is written to (a pipe), which also makes it
// available without a terminal; -1 back to standard output and terminal sessions only.
void setUserScreenLineOutput(int fd);

}  // namespace corvane
