// File and directory operations on program paths: the only place besides drives.cpp and
// find.cpp where host file calls are made.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace corvane {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The read-only attribute (AttrReadOnly) protects an entry for every user, root too: a
// read-only file is not opened for writing and not deleted, a read-only directory not
// removed (access denied), until the attribute is cleared with setAttributes.

// fopen on the host path of a program path; empty on failure.
FileHandle openFile(std::string_view path, const char* mode);

bool fileExists(std::string_view path);  // any kind of entry
bool directoryExists(std::string_view path);
bool makeDirectory(std::string_view path);
bool removeDirectory(std::string_view path);  // empty directories only, never a drive root
bool deleteFile(std::string_view path);       // not a directory; a link itself, not its target
// Never replaces an existing target (a change of case only is allowed where the file
// system folds case).
bool renameFile(std::string_view from, std::string_view to);

// Attribute byte (FileAttribute bits) or -1 when the entry cannot be read.
int getAttributes(std::string_view path);
// Sets read-only (removes every write permission; clearing it gives the owner write
// permission) and the user-set hidden, system and archive bits (kept in the extended
// attribute user.DOSATTRIB where the file system allows it). The directory bit is ignored.
// False when the attributes read back differ from those asked for (a name beginning with
// "." stays hidden; a file system without extended attributes keeps none of them).
bool setAttributes(std::string_view path, int attributes);
// Only the hidden, system and archive bits the user set (0 when none): one lookup, for
// entries found without FindUserAttributes (find.h).
int userAttributes(std::string_view path);
// Last-write time as DOS date and time in local time.
bool getFileTime(std::string_view path, std::uint16_t& date, std::uint16_t& time);
bool setFileTime(std::string_view path, std::uint16_t date, std::uint16_t time);
// Size in bytes (0 for a directory), -1 when the entry cannot be read.
std::int64_t fileSize(std::string_view path);

// Whether the last failing call of this header failed because access was denied.
bool lastErrorAccessDenied();
// The host's text for the last failing call's error.
std::string lastErrorText();

}  // namespace corvane
