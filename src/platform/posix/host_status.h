// The POSIX side of entry status: struct stat turned into the portable EntryStatus, looked
// up relative to an open directory with the link told apart from its target. Used by the
// find, walk and file back ends only.
#pragma once

#include <sys/stat.h>

#include "platform/host_entry.h"

namespace corvane {

// The portable status of what st describes (link and dangling left false).
EntryStatus entryStatusOf(const struct stat& st);

// Kind of a directory entry as readdir's d_type tells it.
enum class EntryKind { Unknown, Directory, Link, Other };
EntryKind entryKindOfType(unsigned char type);

// Status of the entry name in the directory dirFd: a link is described by its target with
// link set, a dangling link by itself with dangling set. kind spares the lookup that tells a
// link apart when readdir already told it. On failure returns the host's error number
// (the entry vanished, or the directory cannot be searched), else 0.
int entryStatusAt(int dirFd, const char* name, EntryKind kind, EntryStatus& status);

}  // namespace corvane
