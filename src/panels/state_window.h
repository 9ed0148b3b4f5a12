// The State window: a summary of a panel (counts, total size, drive, free space, volume,
// file system, free memory) shown over the other panel of the two-list layout while bit 0
// of the panel's info flag is set. One can be open at a time.
#pragma once

#include <string>
#include <vector>

#include "panels/panel.h"

namespace corvane {

// The file-system name of a volume class: "FAT" 1, "HPFS" 2, "NFS" 3, "CDFS" 4, "NETWARE" 5,
// "VFAT" 6, "UNKNOWN" above, four blanks for 0.
std::string_view fileSystemName(int fileSystemClass);

// The rows of the State window from its first row on, before the blank rows: the banner
// (two rows), then the groups; an empty string stands for a separator line.
std::vector<std::string> stateWindowRows(const Panel& panel);

// Opens the State window over the other panel's window rectangle, draws it and sets bit 0
// of panel.infoFlag; the panel's own window stays the current one. 0, or -1 when there is no
// other panel with a window (single list, global list) or the window cannot be opened: then
// nothing changes.
int openStateWindow(Panel& panel);
// Draws the contents again (the panel changed). Nothing when it is not open for this panel.
void drawStateWindow(const Panel& panel);
// Closes it and clears the info flag. The other panel's picture under it is as it was when
// the window opened: the caller redraws that panel.
void closeStateWindow(Panel& panel);
bool stateWindowOpen();

}  // namespace corvane
