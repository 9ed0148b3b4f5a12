// The selected-files loop as its operations see it: one run of an operation over the selected
// entries of the current panel, the entry handed to the operation, and what the operation
// answers for it. The loop and its table of operations are the command loop's
// (commands/selected_files.h); the operations belong to the folders that carry them out.
#pragma once

#include <string>

#include "actions/command_context.h"
#include "panels/file_list.h"

namespace corvane {

// One run over the selected entries.
struct SelectedFilesRun {
  CommandContext* context = nullptr;
  int operation = 0;  // the operation's number in the loop's table
  // " With confirmation ? " was answered "Y"; an operation may switch it off for the rest
  // (an All given to its per-file question).
  bool confirm = false;
  int number = 0;  // running number of the entry being handled, from 1
  int count = 0;   // selected entries when the run began
  // What the operation's preparation asked for.
  std::string destination;           // copy, move, compare: a full directory path
  std::string mask = "*.*";          // copy, move: the files taken from selected directories
  bool generateDirectories = false;  // global list: each file's directory re-created below
  std::string text;                  // the typed command, the search text, the output
  int option = 0;                    // an operation's own choice (binary comparison)
};

// The entry handed to the operation.
struct SelectedFile {
  NodeId node = NoNode;
  FileEntry entry;        // as listed
  std::string path;       // its name; the full path in the global list; the extracted copy of
                          // an archive member
  std::string directory;  // full path of the directory it was listed in
};

// What an operation answers for one entry. The loop clears the mark of a handled entry,
// takes a gone one out of the list and leaves the mark of a kept one.
enum SelectedResult : int {
  SelectedHandled = 0,
  SelectedGone = 1,      // its source no longer exists (moved, deleted)
  SelectedKept = 2,      // failed, skipped or refused
  SelectedStop = 0x100,  // or-ed in: the loop ends after this entry
};

}  // namespace corvane
