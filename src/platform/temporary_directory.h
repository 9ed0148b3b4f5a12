// Directories of the program's own below the temporary directory: made fresh for one use,
// entered by nobody else, removed whole afterwards.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace corvane {

// The host directory for temporary files: the first of TMP, TEMP and TMPDIR that holds an
// absolute path, else /tmp.
std::string temporaryHostDirectory();

// Makes a new directory only the user may enter (mode 0700) below the temporary directory,
// its name prefix and a unique ending; its program path goes into path. Fails (ENOENT) when
// the temporary directory lies on no drive.
FileResult makeFreshDirectory(std::string_view prefix, std::string& path);

// Removes a directory (a program path) with everything below it. Symbolic links are removed,
// never followed; directories without permissions for the user are given them first.
FileResult removeDirectoryTree(std::string_view path);

}  // namespace corvane
