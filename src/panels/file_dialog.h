// The file-selection dialog: a small file browser in a window, offered wherever the program
// asks for an existing file. It lists a directory filtered by a mask with the panels' reader
// and painter, and lets the user change directory, drive, mask and display mode, or type a
// name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "panels/directory_read.h"

namespace corvane {

// Modes: browse the file system with an untitled list, or with the mask as its title; any
// other value is list mode, where the entries come from a source instead of a directory.
inline constexpr int FileDialogBrowse = 0;
inline constexpr int FileDialogBrowseTitled = 2;
inline constexpr int FileDialogList = 1;

// Zone codes of the list rows (0x0500 + row): a double click on one gives Enter.
inline constexpr int FileDialogRowZone = 0x0500;

// Lets the user choose a file. startPath is a path whose last component is the mask
// ("C:\cfg\*.dat"); its directory part, if any, becomes current first. columnWidth is the
// short display's column width. In list mode listSource delivers the entries (it carries
// whatever the caller's reader needs); the list starts in the long display, unsorted for
// the dialog's duration, and directory, drive and root changes are refused.
// Returns the full path of the chosen file (browse modes), its bare name (list mode), or
// the text typed after Tab; nothing when the user cancelled. In the browse modes the
// process's current directory is back as it was on every way out; the sort order always is.
std::optional<std::string> selectFile(std::string_view startPath, int columnWidth, int mode,
                                      const EntrySource& listSource = {});

// Folds a mask typed at "Mask :": trailing blanks go, an empty mask becomes "*.*", any other
// is lower-cased.
std::string foldDialogMask(std::string_view typed);

}  // namespace corvane
