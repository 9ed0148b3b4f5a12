// File and directory operations on program paths. Each call that can fail returns its own
// FileResult.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_result.h"

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

// fopen on the host path of a program path; empty on failure. A mode that only reads ("r",
// "rb") opens regular files only, as openRegularFile does.
FileHandle openFile(std::string_view path, const char* mode);
// The same, with the reason of a failure.
FileResult openFile(std::string_view path, const char* mode, FileHandle& file);

enum class LinkPolicy { Follow, Refuse };
// Opens a file for reading only when it is a regular file: opened without waiting (a FIFO
// without a writer, a device that blocks), checked, and only then switched to ordinary
// blocking reads. A directory, FIFO, socket or device gives FileErrorNotRegular and is never
// read. LinkPolicy::Refuse also refuses a symbolic link (ELOOP) instead of reading its target.
FileResult openRegularFile(std::string_view path, FileHandle& file,
                           LinkPolicy links = LinkPolicy::Follow);
// The same for a host path, which need not lie on a drive: the files start-up finds beside
// the program before the drive map matters.
FileResult openRegularHostFile(std::string_view hostPath, FileHandle& file,
                               LinkPolicy links = LinkPolicy::Follow);

// Reads up to size bytes from offset of an open file (pread: the handle's position and its
// buffered reads stay as they were). got is what was read; it is less than size only at the
// end of the file (not an error: the file may have shrunk meanwhile) or on a failure, which
// the result tells with what was read before it.
FileResult readFileAt(std::FILE* file, std::int64_t offset, void* buffer, std::size_t size,
                      std::size_t& got);
// The length of an open file as it is now; -1 when it cannot be had.
std::int64_t openFileLength(std::FILE* file);

bool fileExists(std::string_view path);  // any kind of entry
bool directoryExists(std::string_view path);
FileResult makeDirectory(std::string_view path);
FileResult removeDirectory(std::string_view path);  // empty directories only, never a drive root
FileResult deleteFile(std::string_view path);  // not a directory; a link itself, not its target
// Never replaces an existing target (EEXIST; a change of case only is allowed where the file
// system folds case).
FileResult renameFile(std::string_view from, std::string_view to);
// Gives a file a name another file has, which it replaces in one step (a file the program
// wrote completely beside its final name). Not for directories.
FileResult renameOver(std::string_view from, std::string_view to);

// Attribute byte (FileAttribute bits) or -1 when the entry cannot be read.
int getAttributes(std::string_view path);
// Sets read-only (removes every write permission; clearing it gives the owner write
// permission) and the user-set hidden, system and archive bits (kept in the extended
// attribute user.DOSATTRIB where the file system allows it). The directory bit is ignored.
// Fails (EPERM) when the attributes read back differ from those asked for (a name beginning
// with "." stays hidden; a file system without extended attributes keeps none of them).
FileResult setAttributes(std::string_view path, int attributes);
// Only the hidden, system and archive bits the user set (0 when none): one lookup, for
// entries found without FindUserAttributes (find.h).
int userAttributes(std::string_view path);
// Last-write time as DOS date and time in local time.
FileResult getFileTime(std::string_view path, std::uint16_t& date, std::uint16_t& time);
FileResult setFileTime(std::string_view path, std::uint16_t date, std::uint16_t time);
// Size in bytes (0 for a directory), -1 when the entry cannot be read.
std::int64_t fileSize(std::string_view path);

}  // namespace corvane
