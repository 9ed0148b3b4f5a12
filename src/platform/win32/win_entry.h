// Directory entries on Windows in the terms of the find record, shared by the find, walk and
// file parts of the back end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// Fills record from what a directory listing said of the entry at programPath.
void shapeFindRecord(const WIN32_FIND_DATAW& data, std::string_view programPath,
                     std::uint64_t volume, FindRecord& record);

// The entry at a full program path itself (a link not followed) into record. The error
// number when there is none.
int lookUpEntry(std::string_view programPath, FindRecord& record);

}  // namespace corvane
