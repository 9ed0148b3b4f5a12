// Drawing a panel as the loop shows it: the list and its info area, the current path on the
// top frame line (highlighted on the active panel), the position marker on the right frame,
// and the two rows a cursor move changes.
#pragma once

#include "commands/loop_state.h"
#include "panels/panel_cursor.h"

namespace corvane {

// The title of a panel's top line: its directory (in a nested loop "%s Nr. %d" with " Files ",
// or "Global List" for a global list, and the nesting level before it).
std::string panelTitle(const Panel& panel, int level);

// Draws the whole panel: list, info area, title; the marker is drawn again at the next
// drawPositionMarker. Nothing without a window.
void drawPanel(PanelView& view, bool active, int level);
void drawPanelTitle(const PanelView& view, bool active, int level);
// The cursor's position in the list as a percentage on the right frame, drawn only when it
// changed since the last time.
void drawPositionMarker(PanelView& view);
int positionPercent(int cursorIndex, int fileCount);

// After a cursor move: the whole list when it scrolled, else the two rows; then the values
// of the info area.
void showCursorChange(PanelView& view, const CursorChange& change, int level);

// Index of the top node: the cursor's index less its slot on the page.
int topIndexOf(const PanelView& view, const PanelGeometry& geometry);

}  // namespace corvane
