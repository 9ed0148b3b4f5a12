// Directory search: find first / next / close over a caller-owned record, each found entry
// delivered with its attribute byte, DOS time and date (local time), size and name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace corvane {

enum FileAttribute : std::uint8_t {
  AttrReadOnly = 0x01,
  AttrHidden = 0x02,
  AttrSystem = 0x04,
  AttrVolume = 0x08,
  AttrDirectory = 0x10,
  AttrArchive = 0x20,
};

// Search option, given in the attribute mask of findFirst: also deliver the hidden, system
// and archive bits the user set (kept in an extended attribute). Reading them costs one more
// file-system lookup per entry, about as much as the entry's status, so large walks leave
// it out; without it an entry's attribute byte holds only what its kind, permissions and
// name give. getAttributes and userAttributes (file_system.h) give the full byte of one
// entry, for the entries actually shown.
constexpr int FindUserAttributes = 0x100;

struct FindSearch;  // the open host search

struct FindRecord {
  std::uint8_t attribute = 0;
  std::uint16_t time = 0;  // bits 0-4 seconds / 2, 5-10 minutes, 11-15 hours
  std::uint16_t date = 0;  // bits 0-4 day, 5-8 month, 9-15 years since 1980
  std::uint64_t size = 0;
  std::string name;  // the host name's bytes as they are (UTF-8 or not); a backslash in
                     // it shows as U+F05C (programNameOfHostName, drives.h)
  // The entry's 8.3 alternate name on volumes that keep one ("LONGFI~1.TXT"); empty when
  // the name needs none, the volume keeps none, on POSIX, and in tree walks.
  std::string shortName;
  // Identity on disk of what the record describes (a link's target; a dangling link itself):
  // two records with equal device and inode are the same file.
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool isLink = false;           // the entry is a symbolic link (described by its target)
  bool linkToDirectory = false;  // a link whose target is a directory (attribute 0x10 set)
  int found = 0;                 // 1 once an entry was converted into the record
  // Why the last findFirst found nothing: success when the directory was searched and held
  // no match, else the host's reason (access denied, no such directory).
  FileResult failure;
  std::unique_ptr<FindSearch> search;

  FindRecord();
  ~FindRecord();
  FindRecord(FindRecord&&) noexcept;
  FindRecord& operator=(FindRecord&&) noexcept;
};

// pattern: a program path whose last component may hold "*" and "?" ("C:\tmp\*.*"); a
// component without them names one entry, looked up exactly (case-sensitive on the host).
// 0 when an entry was found, 1 when nothing matches or the directory cannot be searched
// (then no search is open, and record.failure tells why). The attribute mask does not filter:
// every entry is delivered, "." and ".." first (except at a drive root, where there are none).
// A symbolic link is delivered as what it points to, with isLink set (a link to a directory
// has the directory bit, so a panel can enter it; walks never do); a dangling one as an empty
// file. Directories have size 0.
int findFirst(std::string_view pattern, int attributeMask, FindRecord& record);
// The one entry at path, its last name taken literally (a "*" or "?" in it is a character):
// delivered as findFirst delivers it, with the user-set attribute bits when the attribute
// mask asks for them. The failure when there is none.
FileResult findEntry(std::string_view path, FindRecord& record, int attributeMask = 0);
// 0 when a further entry was found, 1 at the end.
int findNext(FindRecord& record);
// Ends the search (also when stopped early; harmless when none is open).
void findClose(FindRecord& record);

// Wildcard match of one name against one pattern component with "*" and "?", case-insensitive
// ("*.*" matches every name, also names without a dot; likewise "x.*" matches "x"). "?" is
// one character: a whole UTF-8 sequence, or one byte that is not part of one.
bool wildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace corvane
