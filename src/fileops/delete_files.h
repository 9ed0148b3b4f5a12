// Deleting: whole trees with running counts, the subdirectories of a directory (for the
// directory tree), the delete command on the cursor entry and (operation 3 of the
// selected-files loop) on the selection. Only what the user chose goes: no walk follows a
// link or leaves its file system, and the host's root is never deleted nor emptied.
#pragma once

#include <string_view>

#include "actions/command_context.h"
#include "actions/selected_files.h"
#include "platform/file_result.h"

namespace corvane {

// Removes everything below directory and then directory itself, counting into the state's
// deletion counters (a file that cannot be removed counts too) and showing the counts in the
// deletion window when one is open. A read-only directory is made writable for its entries to
// go; a read-only file only with preference 14. Esc asks " Cancel operation ? ". 1 when everything
// went, 0 when anything failed or the user stopped.
int deleteTree(std::string_view directory);
// deleteTree with the counters reset, in a two-line window; with summary the counts are
// shown afterwards ("%d Files and %d Directories deleted !").
int deleteDirectory(std::string_view directory, bool summary);
// deleteTree on every subdirectory of directory whose name does not begin with "." (links
// are not subdirectories); the directory and its files stay. Ends with the counts.
void deleteSubdirectories(std::string_view directory);

// A file (or link) deleted; when that fails and preference 14 is on, made writable and
// deleted again; when it still fails "\nError : File %s not deleted !". 0 when it went.
int deleteFileReported(std::string_view path);
// An emptied directory removed (a read-only one made writable for it, and left read-only
// when entries remain); the failure is returned, not reported.
FileResult removeEmptiedDirectory(std::string_view path);

// "d", Delete on the entry under the cursor: a file (or link) after " Delete ' %s ' ? "
// (preference 0), a directory after " Delete all directories below '%s' ? " and (preference
// 8) the ATTENTION question; the entry leaves the list once it is gone.
int deleteCommand(CommandContext& context, CommandId code);

// Operation 3 of the selected-files loop: " Delete ' %s ' ? " of "all selected Files"
// (preference 11) before; " Continue ? " per entry with confirmation.
int prepareDeleteSelection(SelectedFilesRun& run);
int deleteSelectedFile(SelectedFilesRun& run, SelectedFile& file);
void finishDeleteSelection(SelectedFilesRun& run);

}  // namespace corvane
