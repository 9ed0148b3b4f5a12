// The terminal session of the process: the saved terminal modes, the prebuilt leave and
// enter sequences, and the signal handlers that give the terminal back on every way out.
//
// restoreTerminal() is the one way back: idempotent, async-signal-safe (write() and
// tcsetattr() only), used by normal exit, atexit, std::terminate and the signal handlers.
//   SIGINT, SIGTERM, SIGHUP: recorded for the drawing thread (platform/signals.h) and the
//     reader woken: SIGINT asks whether to abort, SIGTERM and SIGHUP end the program cleanly.
//     Before the program registers its hooks, and on a second SIGTERM or SIGHUP while the
//     first is still pending, they restore and die as below.
//   SIGQUIT and every other signal whose default action ends the process (SIGUSR1, SIGUSR2,
//     SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGSYS, SIGTRAP, the real-time signals,
//     ...): restore, then die of the signal. One that was ignored or handled by someone else
//     when the session started is left so.
//   SIGPIPE: ignored; a write to a closed pipe fails where it is made.
//   SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT: restore, one line on stderr
//     ("corvane: fatal signal N"), then the default action (core dump, exit status): never
//     continue after a crash.
//   SIGTSTP: give the terminal back and stop; SIGCONT: take it again and wake the reader,
//     which repaints.
//   SIGWINCH: wake the reader, which reports a resize.
#pragma once

#include <string_view>

#include "platform/session.h"

namespace corvane {

namespace session_text {
constexpr std::string_view FatalSignal = "corvane: fatal signal ";  // followed by the number
}  // namespace session_text

// Both standard input and standard output are terminals (start-up needs them).
bool stdioAreTerminals();

// The size of the terminal on fd (TIOCGWINSZ); false when it cannot be told. Usable before
// any session starts.
bool queryTerminalSize(int fd, int& columns, int& rows);
// The size of the controlling terminal (standard output, else standard input).
bool terminalSizeAtStart(int& columns, int& rows);

// Starts the session on the terminal fds: saves the terminal modes, reads the erase
// character, installs the signal handlers and the atexit / terminate hooks. False when
// inFd is not a terminal (nothing changed then).
bool beginTerminalSession(int inFd, int outFd);
bool terminalSessionStarted();
// The erase character (VERASE) of the saved modes; 0x7F before a session.
unsigned char terminalEraseCharacter();

// Publishes the sequences the signal handlers write (copied; safe against a signal arriving
// while they change).
void setSessionSequences(std::string_view enter, std::string_view leave);

// Raw mode / the saved modes. The caller writes the enter sequence after entering and the
// leave sequence before leaving. Between the two the session is "active"; a stop signal
// then leaves and a continue signal enters again on its own (with the published sequences).
void enterTerminalSession();
void leaveTerminalSession();
bool terminalSessionActive();

// Final restore (see above). After it the session is never active again.
void restoreTerminal();
bool terminalRestored();

// Writes all bytes (retrying partial writes and EINTR); false when the fd fails.
bool writeAllBytes(int fd, std::string_view bytes);
// A pipe whose ends are closed on exec (and do not block when asked); false when none could
// be made.
bool makePipe(int fds[2], bool nonBlocking);

// Whether the cursor of the user's screen stands at the start of a line: the last thing the
// program wrote there (or what it left there) ended its line. True at start.
void setNormalScreenAtLineStart(bool atStart);
bool normalScreenAtLineStart();

// The reader's wake-up pipe: signal handlers and other threads write one byte to it.
enum WakeReason : char { WakeResize = 'W', WakeContinued = 'C', WakeAny = 'X' };
int wakeReadFd();  // created on first use; -1 when no pipe could be made
void wakeReader(WakeReason reason);

}  // namespace corvane
