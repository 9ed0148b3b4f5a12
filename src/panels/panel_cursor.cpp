#include "panels/panel_cursor.h"

#include <algorithm>
#include <cstdlib>

namespace corvane {

namespace {

// The node delta steps from id (negative: towards the head); stops at the ends.
NodeId walk(const FileList& list, NodeId id, long delta) {
  while (delta > 0 && id != NoNode && list.nodes[id].next != NoNode) {
    id = list.nodes[id].next;
    --delta;
  }
  while (delta < 0 && id != NoNode && list.nodes[id].prev != NoNode) {
    id = list.nodes[id].prev;
    ++delta;
  }
  return id;
}

// The node at index target, reached from whichever known place is nearest: the head, the
// tail or a node whose index is known.
NodeId nodeNear(const FileList& list, long length, long target, NodeId known, long knownIndex) {
  const long fromHead = target;
  const long fromTail = length - 1 - target;
  const long fromKnown = known != NoNode ? std::labs(target - knownIndex) : length;
  if (fromKnown <= fromHead && fromKnown <= fromTail) return walk(list, known, target - knownIndex);
  if (fromHead <= fromTail) return walk(list, list.head, target);
  return walk(list, list.tail, -fromTail);
}

long ceilDivide(long a, long b) { return (a + b - 1) / b; }

void placeInPage(Panel& panel, const PanelGeometry& g, long cursorIndex, long topIndex) {
  const long slot = cursorIndex - topIndex;
  panel.cursorRow = static_cast<int>(slot % g.rowsPerColumn);
  panel.cursorColumn = static_cast<int>(slot / g.rowsPerColumn);
}

}  // namespace

CursorChange moveCursor(Panel& panel, const PanelGeometry& g, CursorMove move, int& cursorIndex) {
  CursorChange change;
  const long n = panel.list.length;
  if (n == 0 || panel.cursor == NoNode) return change;
  const long rows = std::max(g.rowsPerColumn, 1);
  const long page = std::max(g.pageSize(), 1);
  const bool byColumns = (panel.displayBits & DisplayModeBits) == DisplayShort;

  const long index = cursorIndex;
  const long top = std::max(index - (panel.cursorColumn * rows + panel.cursorRow), 0L);
  long target = index;
  switch (move) {
    case CursorMove::Up:
      target = index - 1;
      break;
    case CursorMove::Down:
      target = index + 1;
      break;
    case CursorMove::ColumnBack:
      target = index - rows;
      break;
    case CursorMove::ColumnForward:
      target = index + rows;
      break;
    case CursorMove::Home:
      target = 0;
      break;
    case CursorMove::End:
      target = n - 1;
      break;
  }
  target = std::clamp(target, 0L, n - 1);
  if (target == index) return change;

  long newTop = top;
  if (target < top) {
    newTop = byColumns ? std::max(top - ceilDivide(top - target, rows) * rows, 0L) : target;
  } else if (target >= top + page) {
    newTop =
        byColumns ? top + ceilDivide(target - (top + page) + 1, rows) * rows : target - page + 1;
    newTop = std::min(newTop, std::max(n - page, 0L));
  }

  change.moved = true;
  change.oldCursor = panel.cursor;
  change.oldRow = panel.cursorRow;
  change.oldColumn = panel.cursorColumn;
  if (newTop != top) {
    change.scrolled = true;
    panel.top = nodeNear(panel.list, n, newTop, panel.top, top);
  }
  panel.cursor = walk(panel.list, panel.top, target - newTop);
  placeInPage(panel, g, target, newTop);
  cursorIndex = static_cast<int>(target);
  return change;
}

void scrollToCursor(Panel& panel, const PanelGeometry& g, int cursorIndex) {
  const long n = panel.list.length;
  if (n == 0 || panel.cursor == NoNode) {
    panel.top = panel.list.head;
    panel.cursorRow = panel.cursorColumn = 0;
    return;
  }
  const long rows = std::max(g.rowsPerColumn, 1);
  const long page = std::max(g.pageSize(), 1);
  const long index = std::clamp<long>(cursorIndex, 0, n - 1);
  long top = 0;
  if (index >= page) top = std::min(index / rows * rows, std::max(n - page, 0L));
  panel.top = walk(panel.list, panel.cursor, top - index);
  placeInPage(panel, g, index, top);
}

void keepCursorOnPage(Panel& panel, const PanelGeometry& g, int cursorIndex) {
  const long n = panel.list.length;
  const long page = std::max(g.pageSize(), 1);
  if (panel.top == NoNode || !isLiveNode(panel.list, panel.top)) {
    scrollToCursor(panel, g, cursorIndex);
    return;
  }
  long slot = 0;
  NodeId id = panel.top;
  while (id != NoNode && id != panel.cursor && slot < page) {
    id = panel.list.nodes[id].next;
    ++slot;
  }
  const long top = cursorIndex - slot;
  if (id == NoNode || id != panel.cursor || slot >= page || top < 0 ||
      top > std::max(n - page, 0L)) {
    scrollToCursor(panel, g, cursorIndex);
    return;
  }
  placeInPage(panel, g, cursorIndex, top);
}

}  // namespace corvane
