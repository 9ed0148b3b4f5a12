// What the find, walk and file back ends share about host directory entries: the shaping of
// a find record, the attribute byte, the user-set attribute bits kept in an extended
// attribute, and DOS date and time. Used inside the platform layer only.
#pragma once

#include <cstdint>
#include <ctime>
#include <string_view>

#include "platform/find.h"

namespace corvane {

// What a back end learnt about one entry, in the terms of the find record.
struct EntryStatus {
  bool directory = false;  // the entry, or a link's target, is a directory
  bool ownerWritable = true;
  bool link = false;      // the entry itself is a symbolic link
  bool dangling = false;  // a link whose target cannot be reached: described by the link
  std::uint64_t size = 0;
  std::time_t modified = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// Fills the record from an entry's status and its host name (name, attribute byte without the
// user-set bits, size (0 for directories and dangling links), DOS date and time, identity
// and link flags) and sets found.
void shapeFindRecord(const EntryStatus& status, std::string_view hostName, FindRecord& record);

// The extended attribute that keeps the hidden, system and archive bits set by the user,
// as the text "0x%x".
constexpr const char* DosAttributeName = "user.DOSATTRIB";
constexpr int UserAttributeBits = 0x02 | 0x04 | 0x20;

// The attribute byte an entry has by its kind, permission and name: directory, read-only
// when the owner may not write, hidden for names beginning with "." (not "." and "..").
std::uint8_t baseAttributes(bool directory, bool ownerWritable, std::string_view name);

// Hidden, system and archive bits of the DOS attribute text of a host path (following
// symbolic links); 0 when it has none. unsupported is set when the file system keeps no
// such attributes at all. (Back end.)
int readUserAttributes(const char* hostPath, bool& unsupported);
// Parses the stored text; 0 for anything that is not "0x" and hexadecimal digits.
int parseUserAttributes(const char* text, std::size_t length);

// Last-write time in local time as DOS date and time; before 1980 gives 1980-01-01 00:00,
// after 2107 the last representable moment.
void packDosDateTime(std::time_t when, std::uint16_t& date, std::uint16_t& time);
// The moment of a DOS date and time in local time; false when a field is out of range.
bool unpackDosDateTime(std::uint16_t date, std::uint16_t time, std::time_t& when);

}  // namespace corvane
