// The archive readers: ZIP, LZH, ZOO and ARJ headers turned into members, without any screen.
// A reader takes the archive as positioned reads (a file, or bytes in memory for tests and
// fuzzing) and hands every member and every message to a sink. Archives come from anywhere:
// each header moves the reader forward inside the file, no count or size from the archive
// sizes an allocation, and a header that does not fit ends the listing with a message.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace corvane {

// Results of a reader, as the panel's reading gives them back.
enum ArchiveResult : int {
  ArchiveRead = 0,
  ArchiveBadHeader = 3,    // a header without its signature, or one that does not fit
  ArchiveMissing = 9,      // no such archive (after the extension was tried)
  ArchiveEndedEarly = 51,  // a read ended before the header it needed
};

// Where a reader reads from.
class ArchiveSource {
 public:
  virtual ~ArchiveSource() = default;
  virtual std::uint64_t size() const = 0;
  // Up to buffer.size() bytes from offset; the count read (less only at the end, or when the
  // file cannot be read further).
  virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) = 0;
};

class MemorySource : public ArchiveSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) override;

 private:
  std::string_view bytes_;
};

// An archive file opened for reading (a regular file only).
class FileSource : public ArchiveSource {
 public:
  // False, with nothing open, when path is not a regular file that can be read.
  bool open(std::string_view path);
  std::uint64_t size() const override { return size_; }
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) override;

 private:
  FileHandle file_;
  std::uint64_t size_ = 0;
};

// How a member's name bytes are to be read.
enum class NameEncoding : std::uint8_t {
  Utf8,         // the archive says UTF-8 (bytes that are not UTF-8 still show as code page 437)
  Cp437,        // the IBM PC code page
  Utf8IfValid,  // UTF-8 when the bytes are valid UTF-8, else code page 437
};

struct ArchiveMember {
  // The member's path exactly as the archiver names it: the stored bytes, components joined
  // by "/" (LZH's "\" and 0xFF separators, ZOO's directory field already joined), without a
  // final separator. The archiver calls get exactly these bytes.
  std::string storedPath;
  NameEncoding encoding = NameEncoding::Utf8IfValid;
  std::uint64_t size = 0;  // original (unpacked) size
  std::uint16_t time = 0;  // DOS time and date, local time
  std::uint16_t date = 0;
  bool directory = false;
  // A symbolic link or another special file (extracting it gives no regular file, and a path
  // through it could lead anywhere).
  bool link = false;
  // The stored name could not be kept whole (longer than a reader takes).
  bool truncated = false;
};

class ArchiveSink {
 public:
  virtual ~ArchiveSink() = default;
  virtual void member(const ArchiveMember& member) = 0;
  // A message of the reader, in the archiver's own words; the listing goes on or ends as
  // the reader decides.
  virtual void message(std::string_view text) = 0;
};

// The readers. name is the archive's file name as the messages show it. A self-extracting
// LZH or ARJ archive (selfExtracting) has code before its first header, which is searched
// for.
int readZipArchive(ArchiveSource& source, ArchiveSink& sink);
int readLzhArchive(ArchiveSource& source, ArchiveSink& sink, bool selfExtracting);
int readZooArchive(ArchiveSource& source, ArchiveSink& sink);
int readArjArchive(ArchiveSource& source, ArchiveSink& sink, std::string_view name,
                   bool selfExtracting);
// The reader of an archive type (config/archiver_defs.h ArchiveType). A name ending in
// ".exe" or ".com", or an archive whose type came from its content, may be self-extracting.
int readArchive(int type, ArchiveSource& source, ArchiveSink& sink, std::string_view name,
                bool typeByContent = false);

// The type by content, for files whose extension names none: a ZIP end record at the end,
// an LZH header in the first 2048 bytes, a ZOO archive header, an ARJ main header at the
// start or after a stub. 0 when none is found.
int archiveTypeByContent(ArchiveSource& source);
// The type of an archive file (a program path): by its extension, else by its content
// (byContent set then). 0 when neither gives one.
int archiveTypeOfFile(std::string_view path, bool& byContent);

// Opens an archive for reading by its program path; when the path is not a file the type's
// own extension is tried as its reader does (ZIP: ".zip" appended when the name is missing
// or a directory; LZH: the extension replaced by ".lzh", or ".lzh" appended, a dot that
// begins the name being part of it; ZOO: ".zoo" appended to a name without it). The name opened goes into opened. False when neither
// could be opened.
bool openArchiveFile(int type, std::string_view path, FileSource& source, std::string& opened);

}  // namespace corvane
