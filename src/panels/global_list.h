// The global list: every file matching a mask below a start directory, gathered into one
// panel. Each node keeps the directory it was found in (a chain of directory nodes in the
// list), so that its full path can be rebuilt.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "panels/panel.h"
#include "panels/read_texts.h"
#include "panels/sort_order.h"

namespace corvane {

inline constexpr int GlobalListFound = 13;
inline constexpr int GlobalListEmpty = 0;

// Answers of the per-file test.
inline constexpr int GlobalTestKeep = 1;
inline constexpr int GlobalTestCancel = 27;  // keeps this file and ends the search
inline constexpr int GlobalTestStop = 28;    // drops this file and ends the search

struct GlobalListOptions {
  SortMode sortMode = SortMode::Name;
  bool dayMonthDates = true;  // the European date style of the setup
  bool recursive = true;      // false: the files of the start directory only
  // Called with the full path of each file that matches the mask; GlobalTestKeep keeps it,
  // GlobalTestCancel keeps it and ends the search, GlobalTestStop drops it and ends the search,
  // anything else drops it.
  std::function<int(std::string_view path)> test;
};

// Makes panel the global list of the tree below startDirectory: display bits 130, current
// directory the start, volume information and name case of its drive. Shows the window
// "  FileFind  " with a line per file kept and the directory being searched on its bottom
// line; a directory that cannot be searched gives a 320 ms note and the scan goes on.
// Names beginning with "." are skipped, directories so named are not searched. Esc asks
// " Cancel operation ? ". GlobalListFound when the panel holds at least one file; otherwise
// " No Files found ! " was shown and GlobalListEmpty is returned.
int readGlobalList(Panel& panel, std::string_view startDirectory, std::string_view mask,
                   const GlobalListOptions& options);

// Full program path of a directory node, and of the file of a global-list node.
std::string directoryPath(const FileList& list, DirectoryId id);
std::string globalListPath(const FileList& list, NodeId id);

// The year of a packed DOS date as the listings show it: the DOS year plus 80 while that is
// below 100, else less 20 (1997 is 97, 2003 is 3).
int shortYear(std::uint16_t date);

// The line written for a found file: its path padded to pathCells cells, its size and its
// date ("%02d.%02d.%d" day, month, year or "%02d-%02d-%d" month, day, year; shortYear).
std::string foundFileLine(std::string_view path, std::uint64_t size, std::uint16_t date,
                          bool dayMonthDates, int pathCells = FoundNameCells);

}  // namespace corvane
