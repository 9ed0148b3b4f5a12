// Moving a panel's cursor through its list and keeping the page (top node, cursor row and
// column) in step with it. Every move walks at most about a page of nodes, also Home and
// End, so it costs the same in a list of ten entries and of a million.
#pragma once

#include "panels/panel.h"
#include "panels/panel_geometry.h"

namespace corvane {

enum class CursorMove {
  Up,             // one entry back
  Down,           // one entry forward
  ColumnBack,     // one column back in the short display, one page in the long ones
  ColumnForward,  // one column or page forward
  Home,           // the first entry
  End,            // the last entry
};

struct CursorChange {
  bool moved = false;     // the cursor is on another node
  bool scrolled = false;  // the top changed: the whole list needs drawing
  NodeId oldCursor = NoNode;
  int oldRow = 0, oldColumn = 0;
};

// Moves the cursor. cursorIndex is the cursor's index in the list, kept by the caller
// (nodeIndex gives it once; moves keep it). The top moves by whole columns in the short
// display and by lines in the long ones, and never so far that the last page is not full.
// Afterwards draw the list when scrolled, else drawCursorMove with the old place.
CursorChange moveCursor(Panel& panel, const PanelGeometry& geometry, CursorMove move,
                        int& cursorIndex);

// Puts the cursor on the node at cursorIndex (cursor must be that node) and chooses the top:
// the head while the cursor lies within the first page; otherwise the top that starts the
// cursor's column at a multiple of the rows per column, moved back so that the last page is
// full. Walks at most a page of nodes back from the cursor.
void scrollToCursor(Panel& panel, const PanelGeometry& geometry, int cursorIndex);

// After the geometry or the display mode changed: the page stays where it is when the cursor
// is still on it and the last page is full, else the page is put around the cursor as
// scrollToCursor does. Walks at most a page of nodes.
void keepCursorOnPage(Panel& panel, const PanelGeometry& geometry, int cursorIndex);

}  // namespace corvane
