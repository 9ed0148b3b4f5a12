// The summary beside or below a panel's list: in the single file list a column of six
// labelled values (counts, sizes, free space) with the volume name and the nesting level;
// in the other layouts two lines under the list about the entry under the cursor and the
// counts. Numbers go through formatSize.
#pragma once

#include <string>

#include "panels/panel.h"
#include "panels/panel_geometry.h"

namespace corvane {

// The six values of the info column, each already "%12s"-aligned.
struct InfoValues {
  std::string totalFiles, totalSize, selectedFiles, selectedSize, fileSize, diskFree;
};
InfoValues infoValues(const Panel& panel);

// Free bytes of the panel's volume.
std::uint64_t volumeFreeBytes(const VolumeInfo& volume);

// The two info lines of the layouts without the info column, each padded to width cells.
struct InfoLines {
  std::string entry;   // name, size or "<DIR>", date and time, attributes of the cursor entry
  std::string counts;  // files/selected files, total size/selected size
};
InfoLines infoLines(const Panel& panel, int width);

// Draws the whole info area of the geometry's kind (labels, separators and values) into the
// panel's window; nestingLevel is shown as "[%d]" in the info column.
void drawInfoArea(const Panel& panel, const PanelGeometry& geometry, int nestingLevel);
// Draws only the values (after a cursor move, a selection or a recount).
void drawInfoValues(const Panel& panel, const PanelGeometry& geometry, int nestingLevel);

}  // namespace corvane
