// Host directories: what start-up needs before any drive path exists (where the program
// lives, whether a directory can be written, creating one) and what the drive map asks of
// the host (the working directory, links resolved, whether a directory can be read).
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The host directory of the running program (from /proc/self/exe, else argv[0]); "" when
// it cannot be told.
std::string programHostDirectory(const char* argv0);
// Where an installed program keeps the files it brings: "share/corvane" beside the program's
// directory ("/usr/local/bin" gives "/usr/local/share/corvane"); "" when the program's
// directory cannot be told. Whether it exists is for the caller to find out.
std::string programShareDirectory(const char* argv0);
// The directory exists and the process may create files in it.
bool hostDirectoryWritable(std::string_view directory);
// The program's own directory is the place for its setup file (named setupName there). On
// POSIX only a portable folder is: writable and holding the file already (an installed
// program never puts files beside its binary otherwise). On Windows, where a program keeps
// its files beside itself, any writable one is.
bool programDirectoryKeepsSetup(std::string_view programDirectory, std::string_view setupName);
// Creates the directory and its missing parents; true when it exists afterwards.
bool ensureHostDirectory(std::string_view directory);
// The host directory part of a host path ("/a/b/c.SET" gives "/a/b").
std::string hostDirectoryOf(std::string_view path);

// The path starts at a root ("/" on POSIX; "X:\", "X:/" or "\\server" on Windows).
bool hostPathIsAbsolute(std::string_view path);
// The directory that holds the per-user configuration directories of programs:
// XDG_CONFIG_HOME on POSIX ("" when unset), %APPDATA% on Windows.
std::string userConfigHome();

// The process's working directory; "" when it cannot be told (removed, too long).
std::string hostWorkingDirectory();
// The path with every symbolic link resolved; "" when it does not exist.
std::string resolvedHostPath(std::string_view path);
// The path names a directory (following links).
bool hostIsDirectory(std::string_view path);
// The path names a directory whose names can be read.
bool hostDirectoryReadable(std::string_view path);

}  // namespace corvane
