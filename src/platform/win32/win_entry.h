// Directory entries on Windows in the terms of the find record, shared by the find, walk and
// file parts of the back end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/find.h"
#include "platform/win32/win_text.h"

namespace corvane {

// The attribute bits a find record carries (read-only, hidden, system, directory, archive).
constexpr DWORD RecordAttributeMask = 0x37;

// A reparse point that stands for another entry (symbolic link, junction).
bool isLinkEntry(DWORD attributes, DWORD reparseTag);

// The volume serial number of the volume holding a host path (0 when it cannot be read).
std::uint64_t volumeSerialOf(std::string_view hostPath);

// The identity of an entry that has not been opened (entries of a listing): the path folded
// to lower case, so that two names of one entry that differ in case are one.
std::uint64_t pathIdentity(std::string_view programPath);

// The identity on disk (volume serial, file index) of the entry at a wide host path: what a
// link points to with follow, else the link itself. The path's identity when it cannot be
// opened.
void identityOf(const std::wstring& wide, std::string_view programPath, bool follow,
                std::uint64_t& device, std::uint64_t& inode);

// Fills record, but for its identity (device, inode), from what a directory listing said of
// the entry named name (the listed name, already UTF-8).
void shapeFindRecord(const WIN32_FIND_DATAW& data, std::string name, FindRecord& record);

// The identity of a listed entry that is not a link: fileIndex (as an opened entry gives it)
// when not 0, else that of its program path, joined from directory and name only then.
void giveListedIdentity(std::string_view directory, std::uint64_t volume, std::uint64_t fileIndex,
                        FindRecord& record);

// The entries of one directory read through one handle of it, in batches: what a find gives
// of each (names, attributes, sizes, times, the 8.3 name, a reparse point's tag) and its file
// index, which no find gives - without opening any entry.
class DirectoryReader {
 public:
  DirectoryReader() = default;
  ~DirectoryReader();
  DirectoryReader(const DirectoryReader&) = delete;
  DirectoryReader& operator=(const DirectoryReader&) = delete;

  // The directory at a host path; the error number when it cannot be opened for listing.
  int open(std::string_view hostPath);
  // The next entry ("." and ".." included); false at the end, and on a failure, whose error
  // number error() then gives.
  bool next(WIN32_FIND_DATAW& data, std::uint64_t& fileIndex);
  int error() const { return error_; }

 private:
  bool fill();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::vector<std::uint64_t> buffer_;  // 8-byte aligned records
  std::size_t offset_ = 0;             // of the next record; SIZE_MAX when none is left
  bool restart_ = true;
  int error_ = 0;
};

// The entry at a full program path itself (a link not followed) into record. The error
// number when there is none.
int lookUpEntry(std::string_view programPath, FindRecord& record);

}  // namespace corvane
