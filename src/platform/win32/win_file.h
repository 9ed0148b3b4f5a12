// Open files of the Windows back end: the system handle under a C library stream, and the
// program path of an entry turned into its long-path safe wide host path.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/file_result.h"
#include "platform/win32/win_text.h"

namespace corvane {

// The system handle of a stream; INVALID_HANDLE_VALUE when it has none.
HANDLE handleOf(std::FILE* file);

// The wide host path of a program path; ENOENT when its drive does not exist.
FileResult wideHostPathOf(std::string_view path, std::wstring& wide);

// Whether Windows keeps a name as given: not a device name ("CON", "PRN", "AUX", "NUL",
// "COM1".."COM9", "LPT1".."LPT9", also with an extension), no control character and none of
// <>:"/\|?*, and no trailing dot or blank ("." and ".." are not names).
bool windowsNameAllowed(std::string_view name);
// wideHostPathOf for a path an entry is to be made under: FileErrorBadName when a name of it
// is not allowed.
FileResult wideTargetPathOf(std::string_view path, std::wstring& wide);

// A stream over a handle the caller opened (binary; mode "rb", "wb", "r+b", "ab"); the handle
// is closed when that fails.
FileResult streamOfHandle(HANDLE handle, const char* mode, std::FILE*& stream);

// Read-only set with the other attributes kept; FILE_ATTRIBUTE_NORMAL when none is left.
DWORD withReadOnly(DWORD attributes, bool readOnly);

}  // namespace corvane
