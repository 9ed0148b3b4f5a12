// What copying and moving files needs of the file system beyond opening and removing: the
// kind of an entry seen without following a link, byte ranges copied by the file system's own
// copy without filling holes, links and FIFOs made anew, the free space and the name limit of
// the file system holding a directory, and a file's mode, owner and exact time carried over.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_result.h"
#include "platform/file_system.h"

namespace corvane {

enum class FileKind { Regular, Directory, SymbolicLink, Fifo, Device, Socket };

// An entry itself (a link is described, not followed).
struct FileFacts {
  FileKind kind = FileKind::Regular;
  std::uint64_t size = 0;
  std::uint64_t allocated = 0;  // bytes the file system holds for it (fewer: it has holes)
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint32_t mode = 0;  // permission bits (07777)
  std::uint32_t owner = 0;
  std::uint32_t group = 0;
  std::int64_t modifiedSeconds = 0;  // last write, exactly
  std::int64_t modifiedNanoseconds = 0;
  std::string linkTarget;  // SymbolicLink only: what the link says
};

// The facts of the entry at a program path (its last name taken literally).
FileResult entryFacts(std::string_view path, FileFacts& facts);
// The facts of an open file.
FileResult openFileFacts(std::FILE* file, FileFacts& facts);

// Both streams of one file copy. The fallback buffer serves where the file system has no
// copy of its own (set once it was refused, for the rest of the file).
struct CopyChannel {
  std::FILE* from = nullptr;  // a regular file open for reading
  std::FILE* to = nullptr;    // a regular file open for writing, nothing buffered in it
  std::span<char> buffer;
  bool plainReads = false;
  bool holes = true;  // the source may have holes (false: it is copied without looking)
  // Where the bytes land: at the source offset plus this (a piece of a file and the whole).
  std::int64_t targetShift = 0;
};

struct RangeCopy {
  std::uint64_t copied = 0;  // bytes of the range now in the target, holes counted
  FileResult readFailure;    // the source could not be read
  FileResult writeFailure;   // the target could not be written
};

// Copies the bytes [offset, offset + length) of the source to the same place in the target
// (moved by the channel's targetShift).
// Holes of the source are skipped, not written, so a sparse source stays sparse: the caller
// gives the target its length with setFileLength once every range is in. copied falls
// short of length without a failure only when the source ended before offset + length.
RangeCopy copyRange(CopyChannel& channel, std::uint64_t offset, std::uint64_t length);
// Sets the length of an open file (a hole where it grows).
FileResult setFileLength(std::FILE* file, std::uint64_t length);
// Creates a new file for writing (never one that exists: EEXIST), with the permission
// bits 0666 less the process's mask until the copy's own are given to it.
FileResult createNewFile(std::string_view path, FileHandle& file);
// Closes a file that was written: buffered data flushed, the failure of the last writes or
// of the close itself returned. The handle is empty afterwards.
FileResult closeWrittenFile(FileHandle& file);

// A symbolic link saying target, or a FIFO with the permission bits, made at path. With
// replace an entry already there (not a directory) is replaced at once by a rename; else an
// existing one gives EEXIST.
FileResult makeSymbolicLink(std::string_view path, std::string_view target, bool replace);
FileResult makeFifo(std::string_view path, std::uint32_t mode, bool replace);

// Gives the entry at path the source's last-write time exactly and its permission bits
// (with writable: the owner may write, whatever the source's bits); with owner also its owner
// and group, where the process may give them. A symbolic link gets its time and owner only.
FileResult carryFileFacts(std::string_view path, const FileFacts& source, bool writable,
                          bool owner);
// The same for a file open for writing, whose facts now are current: only what differs is
// changed. Nothing may be written to it afterwards (that would change its time).
FileResult carryFileFacts(std::FILE* file, const FileFacts& current, const FileFacts& source,
                          bool writable, bool owner);

// Bytes available to the process on the file system holding the directory.
FileResult freeSpaceOf(std::string_view directory, std::uint64_t& bytes);
// The longest name the file system holding the directory takes (255 when it cannot be told).
int nameLimitOf(std::string_view directory);

}  // namespace corvane
