// Filling a panel's list: the fresh read of its directory, the re-read in place that keeps
// the marks, and the generic reader fed by a callback. Every reader inserts by the insertion
// rule (sort_order.h), keeps the counters, lets the user stop with Esc (" Cancel operation ? ",
// "Y" keeps what was read so far) and leaves the list never empty.
#pragma once

#include <functional>

#include "panels/panel.h"
#include "panels/sort_order.h"

namespace corvane {

inline constexpr int ReadDone = 13;
inline constexpr int ReadCancelled = 27;

struct ReadOptions {
  SortMode sortMode = SortMode::Name;
  // The CORVANE keyboard layout is active: a single-list panel shows " Reading directory   "
  // while it is read.
  bool ownKeyboardLayout = true;
};

// Reads the volume information of the panel's drive and sets the name case flag from it
// (names kept on long-name volumes, lower-cased on short-name ones).
void readVolumeInformation(Panel& panel);

// Fresh read of panel.currentDirectory: the old list goes, every directory but "." and
// every file matching the panel mask comes in. An unreadable directory gives ".." (after the
// "ACCESS ERROR" box when access was denied); a directory where nothing was accepted gives
// the placeholder ".." with MarkError. Cursor and top go to the head.
// ReadDone, or ReadCancelled when the user stopped it (the partial list is consistent).
int readDirectory(Panel& panel, const ReadOptions& options);

// Re-read in place: unchanged entries keep their nodes and marks (a new spelling of the
// same name is taken over), changed ones are re-inserted with their marks, new ones come in
// unmarked and vanished ones go; then the counters are recomputed. A name is matched to the
// listed node of the same spelling first, else to one that differs only in case, never to
// a node matched already. A directory whose size was computed keeps that size while its
// time stamp stays; when it changed, the re-inserted entry loses MarkSizeComputed (its size
// is the file system's again). Cursor and top go to the head.
// ReadDone, or ReadCancelled (entries not yet compared then stay as they were).
int rereadDirectory(Panel& panel, const ReadOptions& options);

// Generic reader: source(entry, first) fills entry and returns 0 while it delivers, first
// being 0 on the first call and 1 after. Same acceptance as the fresh read; names of length
// 0 are skipped. When the first call fails the list is the placeholder " ", when nothing
// was accepted "Error:%4d" with the source's last result, both with MarkError.
using EntrySource = std::function<int(FileEntry& entry, int further)>;
int readFromSource(Panel& panel, const ReadOptions& options, const EntrySource& source);

}  // namespace corvane
