// Drawing a panel's list into its window in the panel's display mode: the short display in
// columns with its mark column, the long display with size, date, attributes and compare
// mark, the narrow long display without the date. Every call draws only what is on screen:
// the cost follows the rows shown, never the length of the list.
//
// Slots: the entries shown are numbered from the top node, column by column (slot =
// column * rowsPerColumn + row, both 0-based); the cursor's slot is panel.cursorColumn *
// rowsPerColumn + panel.cursorRow. The placeholder of an unreadable directory (MarkError)
// takes no slot.
#pragma once

#include "panels/panel.h"
#include "panels/panel_geometry.h"

namespace corvane {

// The cursor mark of the short display: "#" instead of "+" and the triangle. No preference
// switch holds it; whoever owns the setting sets it here.
void setAlternativeCursorMark(bool on);
bool alternativeCursorMark();

// Draws the list from panel.top into panel.window: every slot of the page, empty slots
// cleared. Nothing without a window. When the panel's info flag is set and the State window
// is open, the State window is drawn again too.
void drawFileList(const Panel& panel, const PanelGeometry& geometry);

// Draws the entry shown in one slot (a 0-based row and column of the list); id is the node
// shown there, or NoNode to clear the slot. The cursor look is used when id is the cursor.
void drawListSlot(const Panel& panel, const PanelGeometry& geometry, NodeId id, int row,
                  int column);

// After the cursor moved within the page: redraws the slot it left (holding oldCursor) and
// the slot it is on now. Two rows, whatever the length of the list.
void drawCursorMove(const Panel& panel, const PanelGeometry& geometry, NodeId oldCursor, int oldRow,
                    int oldColumn);

}  // namespace corvane
