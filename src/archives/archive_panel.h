// Archive panels: an archive's contents listed as a directory in a nested loop of their own.
// The panel's mask holds the archive's program path, "/", the directory inside it and the
// file mask (panels/archive_listing.h); every read of the panel goes through the archive's
// reader.
#pragma once

#include <string>
#include <string_view>

#include "actions/command_context.h"
#include "archives/archive_reader.h"
#include "archives/member_names.h"
#include "panels/panel.h"
#include "panels/sort_order.h"

namespace corvane {

// Reads the archive panel's list: " Reading directory   " while it reads (unless quiet),
// the archiver definitions for the archive loaded (unless quiet), ".." first, then what the
// reader finds below the panel's inner directory, each reader message in a box (unless
// quiet; a few per read at most). Entries selected before keep their mark when they are
// still listed. Returns ArchiveRead or the reader's result (ArchiveMissing when the archive
// could not be opened).
int readArchiveDirectory(Panel& panel, SortMode mode, bool quiet);

// The archive of an archive panel (its program path) and whether its type came from its
// content rather than its name.
std::string archivePathOf(const Panel& panel);
bool typedByContent(const Panel& panel);

// A member of the panel's archive: how it is stored and how it is listed.
struct PanelMember {
  ArchiveMember member;
  ListedName listed;
};

// The member a listed entry of the panel stands for, read afresh from the archive (without
// messages): the first member listed under the entry's path, the exact spelling first. False
// when none is (a directory that only deeper members imply, or a member gone meanwhile).
bool findPanelMember(const Panel& panel, std::string_view name, PanelMember& found);

// Every member of the archive, read without messages; false when it could not be opened.
bool readArchiveMembers(std::string_view archivePath, int type, bool byContent,
                        std::vector<PanelMember>& members);

// 2072, 4131 (and the COMMANDER Enter on an archive's name): the archive under the cursor as
// a nested panel. The type comes from the extension, else from the content ("Archive type
// unknown " for neither). LoopContinue, or the rebuild code the nested loop ended with.
int openArchiveCommand(CommandContext& context, CommandId code);

// Moving inside an archive panel. Enter on a directory goes into it; Enter on "..", and
// Backspace, go up one archive directory and end the panel's loop (LoopEnd) at its top;
// Ctrl-Backspace goes to the top. Each leaves the re-read request.
int enterArchiveDirectoryCommand(CommandContext& context, std::string_view name);
int leaveArchiveDirectoryCommand(CommandContext& context);
int archiveTopCommand(CommandContext& context);

// The title of an archive panel: the archive's path, "/" and the directory inside it.
std::string archivePanelTitle(const Panel& panel);

}  // namespace corvane
