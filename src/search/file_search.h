// Text search in files: the streaming scan of one file, searchFile (the scan, then the hit
// shown in the viewer and the user's answer), the text search over the cursor file or the
// selection, and the tree search that gathers the files holding a string into a global list.
// The search string and its case flag are the viewer's settings, shared for the whole run.
#pragma once

#include <string>
#include <string_view>

#include "actions/command_context.h"
#include "actions/selected_files.h"

namespace corvane {

// Results of searchFile.
enum SearchFileResult : int {
  SearchNoHit = 0,      // not found, not readable, or the hit was declared invalid (I)
  SearchHitNext = 1,    // F, "!"
  SearchHitStop = 2,    // Esc, "*": the whole search ends
  SearchHitQuiet = 3,   // S: further hits are not shown (also a hit found without showing)
  SearchHitEdited = 4,  // E: the file was opened in the editor
};

// How the scan of one file went.
enum class FileScan { Found, NotFound, OpenFailed, ReadFailed, Cancelled };

// Whether the regular file at path holds pattern (ignoreCase: A-Z and a-z compare without
// regard to case). Reads in large blocks that overlap by the pattern's length less one and
// stops at the first hit; never opens a FIFO, socket or device (OpenFailed). Esc during a
// long file asks " Cancel operation ? " (Cancelled on "Y"). A read failure ends the scan with
// what was read (Found when that held the string, else ReadFailed).
FileScan scanFile(std::string_view path, std::string_view pattern, bool ignoreCase);

// Searches one file: without a hit SearchNoHit at once (a file that cannot be opened is
// reported when hits are shown); with show off a hit is SearchHitQuiet; with show on the hit
// is shown in the viewer and the key it was left with gives the result (E opens the editor
// on the file first; keys without a meaning give SearchNoHit). caseFlag 1 ignores case. A scan
// cancelled with Esc gives SearchHitStop with cancelled set (when given).
int searchFile(std::string_view fileName, std::string_view pattern, bool show, int caseFlag,
               bool* cancelled = nullptr);

// The result of the viewer's end key (or ViewLeft for Esc) as searchFile gives it, without
// running the editor.
int searchResultOfKey(int viewerResult);

// "i" and 4113 without a selection: " Define Textsearch ", then the cursor file (an archive
// member extracted first) with hits shown; "String '%s' not found ! " when absent.
int searchTextCommand(CommandContext& context, CommandId code);

// Operation 8 of the selected-files loop (Alt-I).
int prepareTextSearch(SelectedFilesRun& run);
int searchSelectedFile(SelectedFilesRun& run, SelectedFile& file);

// The search a tree search runs: files below directory matching mask (all subdirectories
// when recursive), kept when they hold text (every file when text is empty).
struct TreeSearch {
  std::string directory;
  std::string mask = "*.*";
  std::string text;
  bool ignoreCase = false;
  bool recursive = true;
  bool show = true;  // hits shown in the viewer (S switches it off for the rest)
};

// Fills panel with the global list of the tree search: GlobalListFound (13) when a file
// was kept, else GlobalListEmpty after " No Files found ! ". Esc at a hit ends the gathering
// with the files kept so far.
int gatherTextSearch(Panel& panel, const TreeSearch& search);

// 4106: the tree search's form ("Search :", "Directory  : " with its mask, "Recursive ",
// "Show match ?"), then the global list in a nested loop.
int treeSearchCommand(CommandContext& context, CommandId code);

// 4102: "Search :" for a pattern, the global list of every matching file below its directory
// in a nested loop titled "Global List Nr. %d".
int globalListCommand(CommandContext& context, CommandId code);

}  // namespace corvane
