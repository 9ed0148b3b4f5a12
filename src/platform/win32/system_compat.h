// What the Windows C library lacks of the POSIX one that code above the platform layer uses
// (an error number, a byte search). Given to every file of the Windows build on the compiler's
// command line, so the callers stay as they are; the definitions are in system_compat.cpp.
#pragma once

#include <errno.h>
#include <stddef.h>

#ifndef EDQUOT
#define EDQUOT 122  // disk quota exceeded (Windows reports it as a full disk, ENOSPC)
#endif

#ifdef __cplusplus
extern "C" {
#endif
// The first occurrence of needle in haystack; haystack itself for an empty needle.
void* memmem(const void* haystack, size_t haystackLength, const void* needle, size_t needleLength);
#ifdef __cplusplus
}
#endif
