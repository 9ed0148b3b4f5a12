// Running a command line through the command interpreter and waiting for it. The caller
// puts the program's screen aside before and takes it back after.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The command interpreter: COMSPEC when set (and not a DOS interpreter such as
// "command.com" or "cmd.exe", which cannot run here), else SHELL, else /bin/sh.
std::string commandInterpreter();

// Runs `<interpreter> -c <commandLine>` with workingDirectory (a program path; "" keeps the
// process's own) as the child's directory, and waits. The program ignores SIGINT and SIGQUIT
// while it waits, as the child gets them from the terminal. Returns the exit status,
// 128 + the signal number when the child was killed by a signal, or -1 when the interpreter
// could not be started or the directory could not be entered.
int runShellCommand(std::string_view commandLine, std::string_view workingDirectory);

}  // namespace corvane
