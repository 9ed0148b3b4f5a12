// Running a command line through the command interpreter and waiting for it. The caller
// puts the program's screen aside before and takes it back after.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// The command interpreter: COMSPEC when set (and not a DOS interpreter such as
// "command.com" or "cmd.exe", which cannot run here), else SHELL, else /bin/sh.
std::string commandInterpreter();

// The language of that interpreter, which decides how names are quoted for it: a POSIX shell,
// or cmd.exe (platform/cmd_words.h).
enum class CommandSyntax : std::uint8_t { PosixShell, WindowsCmd };
CommandSyntax commandSyntax();

// Why a command could not start: entering its directory failed (directory set) or starting
// the interpreter did, with the system's text of the error.
struct CommandStartFailure {
  bool directory = false;
  std::string reason;
};

// Runs `<interpreter> -c <commandLine>` with workingDirectory (a program path; "" keeps the
// process's own) as the child's directory, and waits. The program ignores SIGINT and SIGQUIT
// while it waits, as the child gets them from the terminal. Returns the exit status,
// 128 + the signal number when the child was killed by a signal, or -1 when the interpreter
// could not be started or the directory could not be entered (failure, when given, says
// which and why).
int runShellCommand(std::string_view commandLine, std::string_view workingDirectory,
                    CommandStartFailure* failure = nullptr);

// Whether a command word names an executable file: a word with "/" is a host path (relative
// to the host directory of workingDirectory, a program path), a word without one is looked
// up in the directories of PATH as the interpreter would. Directories do not count.
bool findExecutable(std::string_view word, std::string_view workingDirectory);

// The user's normal screen while the program's screen is put aside (between the console's
// leaveScreen and enterScreen), on standard input and output. Each does nothing when the fd
// it needs is not a terminal.
//
// "cls": clears the normal screen and puts the cursor in its top left corner.
void clearNormalScreen();
// Writes the text as it is.
void writeNormalScreen(std::string_view text);
// Shows the prompt and waits for one key, read without echo and without line editing (an
// interrupt key is a key too); the terminal's modes are put back afterwards.
void waitKeyOnNormalScreen(std::string_view prompt);
// The same on given fds (tests use a pseudo-terminal). False when inFd is not a terminal
// or failed before a key came.
bool waitKeyOnTerminal(int inFd, int outFd, std::string_view prompt);
// Whether Esc was typed since the terminal was last read: every key typed meanwhile is read
// without waiting and used up (an Esc that begins a key's sequence, such as an arrow's, does
// not count). False when standard input is not a terminal.
bool escapeTypedOnNormalScreen();
// The same on a given fd (tests use a pseudo-terminal).
bool escapeTypedOnTerminal(int inFd);

}  // namespace corvane
