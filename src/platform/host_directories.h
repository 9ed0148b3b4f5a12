// Host directories that start-up needs before any drive path exists: where the program lives,
// whether a directory can be written, and creating one.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The host directory of the running program (from /proc/self/exe, else argv[0]); "" when
// it cannot be told.
std::string programHostDirectory(const char* argv0);
// The directory exists and the process may create files in it.
bool hostDirectoryWritable(std::string_view directory);
// Creates the directory and its missing parents; true when it exists afterwards.
bool ensureHostDirectory(std::string_view directory);
// The host directory part of a host path ("/a/b/c.SET" gives "/a/b").
std::string hostDirectoryOf(std::string_view path);

}  // namespace corvane
