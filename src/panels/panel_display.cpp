#include "panels/panel_display.h"

#include <algorithm>
#include <string>

#include "panels/display_texts.h"
#include "panels/entry_format.h"
#include "panels/panels_state.h"
#include "panels/state_window.h"
#include "platform/charset.h"
#include "platform/screen.h"
#include "ui/window.h"

namespace corvane {

namespace {

// The narrow field of the long display without attributes: size or " <D>" in eight cells,
// a blank, the attribute letters and the one-character compare mark.
constexpr int NarrowFieldCells = 14;
constexpr int GlobalListNameCells = 10;  // the least a global list's path column keeps

bool takesSlot(const FileNode& n) { return (n.mark & MarkError) == 0; }

std::string markCell(char32_t ch) {
  std::string out;
  appendUtf8(out, ch);
  return out;
}

// The whole text of one slot, exactly as many cells as the slot is wide.
std::string slotText(const Panel& panel, const PanelGeometry& g, NodeId id, int windowRow,
                     int slotColumn) {
  const FileNode& n = node(panel.list, id);
  const bool cursor = id == panel.cursor;
  const int mode = panel.displayBits & DisplayModeBits;
  const std::string name = displayName(panel, id);

  if (mode == DisplayShort) {
    char32_t mark = U' ';
    // The mark column is left out on the last three rows of the window.
    if (windowRow <= g.windowRows - 3) {
      if (cursor)
        mark = cp437ToUnicode(panelsState().alternativeCursorMark ? CursorMarkAlternative
                              : n.entry.isDirectory()             ? CursorMarkDirectory
                                                                  : CursorMarkFile);
      else
        mark = compareMarkShort(n.mark);
    }
    return markCell(mark) + padCells(name, g.columnWidth - 1);
  }

  const int lineEnd = slotColumn + g.columnWidth - 1;  // last window column of the line
  std::string field;
  int fieldStart;
  if (mode == DisplayLongPlain) {
    const std::string size = n.entry.isDirectory() && (n.mark & MarkSizeComputed) == 0
                                 ? std::string(TextDirectoryNarrow)
                                 : sizeColumnText(n.entry.size);
    field = padCells("", 8 - textCells(size)) + size + " " + attributeText(n.entry.attributes);
    appendUtf8(field, compareMarkShort(n.mark));
    fieldStart = lineEnd - NarrowFieldCells + 1;
  } else {
    // The field stands whole before the end of the line (from the field column when there
    // is room) and the name column takes the rest; in a line too narrow for that the parts
    // go from the end until the name keeps a cell.
    const std::string parts[] = {
        sizeFieldText(n),
        dateTimeText(n.entry.date, n.entry.time, currentDateStyle(), DateForm::LongDisplay),
        attributeText(n.entry.attributes) + " ",
        std::string(compareMarkLong(n.mark)),
    };
    int count = static_cast<int>(std::size(parts));
    auto cellsOf = [&](int partCount) {
      int cells = 0;
      for (int i = 0; i < partCount; ++i) cells += textCells(parts[i]);
      return cells;
    };
    // A global list's paths need more room than a name: attributes and marks give way first.
    const int nameMinimum = isGlobalList(panel) ? GlobalListNameCells : 1;
    while (count > 0 && lineEnd - cellsOf(count) + 1 - slotColumn - 2 < nameMinimum) --count;
    for (int i = 0; i < count; ++i) field += parts[i];
    fieldStart = std::min(g.fieldColumn, lineEnd - cellsOf(count) + 1);
  }
  // The name column runs from after the mark cell to one blank before the field.
  const int nameCells = std::max(fieldStart - slotColumn - 2, 0);
  // A global list's path too long for its column keeps its end, where the file's own name is.
  const bool cutPath = isGlobalList(panel) && nameCells > 1 && textCells(name) > nameCells;
  std::string line =
      " " + padCells(cutPath ? "~" + tailCells(name, nameCells - 1) : name, nameCells);
  line = padCells(line, std::max(fieldStart - slotColumn, 0)) + field;
  return padCells(line, g.columnWidth);
}

// Draws one slot into the current window.
void drawSlot(const Panel& panel, const PanelGeometry& g, NodeId id, int row, int column) {
  if (row < 0 || row >= g.rowsPerColumn || column < 0 || column >= g.columns) return;
  ScreenWindow& window = *panel.window;
  const int windowRow = g.listRow + row;
  const int slotColumn = g.listColumn + column * g.columnWidth;
  const ColorAttr normal = window.textColor;
  if (id == NoNode) {
    writeText("", g.columnWidth - 1, slotColumn, windowRow, WritePad);
    return;
  }
  window.textColor = entryColor(node(panel.list, id), id == panel.cursor, normal);
  writeText(slotText(panel, g, id, windowRow, slotColumn), g.columnWidth - 1, slotColumn, windowRow,
            WritePad);
  window.textColor = normal;
}

void flushWindowArea(const ScreenWindow& window) {
  flushRect(window.x, window.y, window.x + window.width - 1, window.y + window.height - 1);
}

}  // namespace

void setAlternativeCursorMark(bool on) { panelsState().alternativeCursorMark = on; }
bool alternativeCursorMark() { return panelsState().alternativeCursorMark; }

void drawFileList(const Panel& panel, const PanelGeometry& geometry) {
  if (panel.window == nullptr) return;
  {
    CurrentWindowScope scope(*panel.window);
    raiseHold(1);
    NodeId id = panel.top;
    for (int column = 0; column < geometry.columns; ++column) {
      for (int row = 0; row < geometry.rowsPerColumn; ++row) {
        while (id != NoNode && !takesSlot(node(panel.list, id))) id = nextNode(panel.list, id);
        drawSlot(panel, geometry, id, row, column);
        if (id != NoNode) id = nextNode(panel.list, id);
      }
    }
    // Cells right of the last column (another display mode may have drawn there).
    const int restColumn = geometry.listColumn + geometry.columns * geometry.columnWidth;
    const int restCells = geometry.windowColumns - restColumn + 1;
    for (int row = 0; restCells > 0 && row < geometry.rowsPerColumn; ++row)
      writeText("", restCells - 1, restColumn, geometry.listRow + row, WritePad);
    if (lowerHold(1) == 0) flushWindowArea(*panel.window);
  }
  if ((panel.infoFlag & 1) != 0) drawStateWindow(panel);
}

void drawListSlot(const Panel& panel, const PanelGeometry& geometry, NodeId id, int row,
                  int column) {
  if (panel.window == nullptr) return;
  CurrentWindowScope scope(*panel.window);
  drawSlot(panel, geometry, id, row, column);
}

void drawCursorMove(const Panel& panel, const PanelGeometry& geometry, NodeId oldCursor, int oldRow,
                    int oldColumn) {
  if (panel.window == nullptr) return;
  CurrentWindowScope scope(*panel.window);
  if (oldCursor != NoNode && oldCursor != panel.cursor)
    drawSlot(panel, geometry, oldCursor, oldRow, oldColumn);
  if (panel.cursor != NoNode)
    drawSlot(panel, geometry, panel.cursor, panel.cursorRow, panel.cursorColumn);
}

}  // namespace corvane
