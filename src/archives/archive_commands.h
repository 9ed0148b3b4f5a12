// The commands that work on archives: packing the cursor file or the selected files into an
// archive, unpacking one, and the viewer and Autoview on an archive panel's members.
#pragma once

#include <string>

#include "actions/command_context.h"
#include "actions/selected_files.h"

namespace corvane {

struct ScreenWindow;

// 4133: "ARCHIVE :" preset "CV.ZIP"; the cursor file (a directory with its contents) packed
// into it by the archiver its name's type gives. LoopContinue.
int compressCommand(CommandContext& context, CommandId code);

// Operation 15 of the selected-files loop (4134, Alt-F5): "Archivname :" preset "CV.ZIP";
// the entries are collected and packed in as few packer runs as possible at the end; an
// entry's mark goes when the archive holds it afterwards.
int prepareCompressSelection(SelectedFilesRun& run);
int compressSelectedFile(SelectedFilesRun& run, SelectedFile& file);
void finishCompressSelection(SelectedFilesRun& run);

// 4146, Alt-F6: "Destination :", then the archive under the cursor (in an archive panel the
// one shown) unpacked there. LoopContinue.
int decompressCommand(CommandContext& context, CommandId code);

// "z" and "h": the viewer on the cursor entry; in an archive panel on its extracted copy
// ("Error extracting file %s " when there is none), removed afterwards.
int viewEntryCommand(CommandContext& context, CommandId code);

// Autoview in an archive panel: the cursor member's extracted copy (kept while the cursor
// stays on it) drawn into the window once, or given the keys. As drawAutoview and
// enterAutoview of the viewer.
bool drawArchiveAutoview(CommandContext& context, ScreenWindow& target);
int enterArchiveAutoview(CommandContext& context, ScreenWindow& target);

// The cursor member of an archive panel extracted for a command that runs on it (run by
// extension, the configured programs): true with its copy in extracted, else "Error
// extracting file %s " was shown (or the beep, for no file under the cursor).
bool extractCursorMember(CommandContext& context, std::string& extracted);

}  // namespace corvane
