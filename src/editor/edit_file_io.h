// Loading a file into the editor's lines and writing lines back: saving with a backup,
// writing the block to a file, printing the file or the block.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "editor/edit_buffer.h"
#include "platform/replace_file.h"

namespace corvane {

// Results of loading.
constexpr int LoadDone = 13;
constexpr int LoadCancelled = 27;
constexpr int LoadFailed = 1;
// Results of saving.
constexpr int SaveDone = 0;
constexpr int SaveFailed = 1;

// Lines between which the loader looks for Esc.
constexpr long LoadPollLines = 400;

// Splits the file's load buffer into its lines, after the sentinel. Each line loses its line
// end (LF, CR LF, or a CR at the very end) and remembers it; TABs expand to the next multiple
// of 8 columns and trailing blanks go. A line over 2000 bytes (TABs expanded) goes on in the
// next line, cut on a character boundary; splitLines counts the lines that were split.
// cancelled() is asked every LoadPollLines lines: true stops. Returns LoadDone, LoadCancelled
// or LoadFailed (memory short).
int splitIntoLines(EditedFile& file, const std::function<bool()>& cancelled, long& splitLines);

// Writes lines first .. last (in file order) as the file holds them: an unchanged line with
// the bytes it was read with; a changed one from its text (leading blanks as TABs when it
// began with one) and its own line end. A line without one (the last line of a file that had
// none, a new line at the end) gets the file's default line end; a piece of a split line
// gets none unless it is the last line written. False when a write failed.
bool writeLines(FileSink& sink, const EditedFile& file, const EditLine* first,
                const EditLine* last);

// The backup name: the extension of the name's last component (after its last ".", not a
// leading one) replaced by ".BAK", or ".BAK" appended when it has none.
std::string backupName(std::string_view name);

// Reads the file into a fresh record: a missing file gives an empty one (LoadDone). A file
// that exists but is no regular file or cannot be read to its end shows "File open error"
// (LoadFailed); one too large for memory is refused before reading with the allocation
// report (LoadFailed). Esc while reading asks " Cancel operation ? " (LoadCancelled).
int readEditFile(std::string_view name, EditedFile& file);

// " Filename : ", preset with preset (45 columns shown, up to 260 characters); the full path
// of the answer, or "" for Escape, an empty answer or a name no drive holds.
std::string askFileName(std::string_view preset);

// Save (Save, Save+exit): asks the name, then writes the file the safe way with a backup when
// preference 7 asks for one. Saving under another existing name asks before overwriting;
// saving over a file that changed on disk since it was read asks " File changed on disk,
// overwrite ? ". On success the name is the one saved under, the file is no longer modified
// and the cursor state is stored. SaveDone or SaveFailed (also when cancelled).
int saveEditFile(EditedFile& file);

// Writes the block's lines to a file asked for with " Filename : ". Returns 13 or 27.
int writeBlock(const EditedFile& blockFile);
// Prints lines first .. last to the printer port of the setup. Returns 13 or 27.
int printLines(const EditLine* first, const EditLine* last);

}  // namespace corvane
