// What every part of the Windows back end shares: UTF-8 program text to the UTF-16 of the
// wide API and back, host paths made long-path safe, Windows error codes as the error numbers
// FileResult carries, and file times. Used inside the platform layer only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace corvane {

std::wstring wideOf(std::string_view utf8);
std::string utf8Of(std::wstring_view wide);
std::string utf8Of(const wchar_t* wide);

// A host path ("C:\dir\name", either separator) for the wide file API: backslashes only, and
// past MAX_PATH - 12 characters the "\\?\" form that lifts the limit (a relative path is
// left as it is).
std::wstring widePath(std::string_view hostPath);

// The error number (errno.h) that stands for a Windows error code.
int errnoOfWindowsError(DWORD error);
// The same for GetLastError().
int lastErrno();

// FILETIME (100 ns since 1601, UTC) to and from seconds since 1970 (rounded down, before 1970
// too) and the nanoseconds past them.
std::time_t timeOfFileTime(const FILETIME& fileTime, std::int64_t* nanoseconds = nullptr);
FILETIME fileTimeOfTime(std::time_t when, std::int64_t nanoseconds = 0);

// The host path of a program path for the wide API ("" when it has no drive).
std::wstring hostWidePath(std::string_view programPath);

}  // namespace corvane
