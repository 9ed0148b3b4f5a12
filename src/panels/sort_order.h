// The order of a file list. Two rules exist:
// - the insertion rule places each entry read from disk: directories by name, files by the
//   SortMode (Name and Mode by name, Size larger first, Date newest first, Extension with
//   names without extension last, Unsorted in delivery order), a new entry after the equal
//   ones already there;
// - the re-sort rule orders an existing list when the SortMode changes: directories first,
//   both kinds by the mode's key (Mode by mark word, larger first), equal keys keeping their
//   order, names without extension keeping their order under Extension.
// Names and extensions compare without regard to case. Sizes are 64-bit.
#pragma once

#include <cstdint>
#include <vector>

#include "panels/file_list.h"

namespace corvane {

enum class SortMode : int {
  Name = 0,
  Size = 1,
  Date = 2,
  Extension = 3,
  Mode = 4,
  Unsorted = 5,
};
inline constexpr int SortModeCount = 6;

// Whether the insertion rule puts entry n before the listed entry x of the same kind, that is
// whether x sorts strictly after n.
bool insertsBefore(const FileEntry& x, const FileEntry& n, SortMode mode);
// Whether the re-sort rule puts node q before its predecessor p.
bool resortsBefore(const FileNode& q, const FileNode& p, SortMode mode);

// Inserts one entry where the insertion rule puts it, walking the chain from the head: a
// directory after the directories not greater than it, a file after the directories and
// before the first file that sorts after it, else at the end. At the end a placeholder
// (MarkError) tail is taken over instead of appending. Returns the node. O(n).
NodeId insertSorted(FileList& list, FileEntry entry, std::uint32_t mark, SortMode mode);

struct PendingEntry {
  FileEntry entry;
  std::uint32_t mark = 0;
};
// Inserts the entries as insertSorted would, one after the other in the given order, also
// when the list is not in insertion order (after a re-sort): each goes before the first
// node of its part that sorts after it. O(n + k log k) for k entries.
void insertEntries(FileList& list, std::vector<PendingEntry> entries, SortMode mode);

// Orders the whole chain by the insertion rule, equal entries keeping their chain order
// (what inserting the nodes one by one in chain order gives). For freshly built lists: the
// nodes are renumbered in the new order (ids held before are void), which keeps later walks
// over the chain in step with memory.
void sortList(FileList& list, SortMode mode);

// Re-sorts in place by the re-sort rule (a stable sort). The nodes keep their places in the
// chain and exchange their contents (entry, mark word, directory link), so a cursor or top
// node stays at its position.
void resortList(FileList& list, SortMode mode);

}  // namespace corvane
