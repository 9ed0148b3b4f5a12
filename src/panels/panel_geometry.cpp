#include "panels/panel_geometry.h"

#include <algorithm>

#include "config/setup_block.h"
#include "ui/window.h"

namespace corvane {

KeyboardLayout keyboardLayout() {
  const int value = setupBlock().keyboardLayout.get();
  return value == KeyboardCorvane ? KeyboardCorvane
         : value == KeyboardXtree ? KeyboardXtree
                                  : KeyboardCommander;
}

InfoAreaKind infoAreaKindFor(ScreenLayout layout, KeyboardLayout keyboard, bool globalList) {
  if (globalList) return InfoAreaKind::Column;
  if (layout == LayoutSingleList && keyboard != KeyboardCommander) return InfoAreaKind::Column;
  return InfoAreaKind::Lines;
}

PanelGeometry computePanelGeometry(const GeometryRequest& request) {
  PanelGeometry g;
  g.windowColumns = std::max(request.windowColumns, 1);
  g.windowRows = std::max(request.windowRows, 1);
  g.infoKind = infoAreaKindFor(request.layout, request.keyboard, request.globalList);
  g.compactInfo = request.compactInfo;

  if (g.infoKind == InfoAreaKind::Column) {
    // The info column, then one separating column.
    g.listColumn = std::min(InfoColumnWidth + 2, g.windowColumns);
  } else {
    g.listColumn = 1;
    // Keep at least one list row however small the window.
    g.infoRows = std::clamp(g.windowRows - 1, 0, InfoLineRows);
  }
  g.rowsPerColumn = std::max(g.windowRows - g.infoRows, 1);
  const int listWidth = std::max(g.windowColumns - g.listColumn + 1, 1);
  const bool wideSetting = request.fileDisplaySetting >= 3;

  if ((request.displayMode & DisplayModeBits) == DisplayShort) {
    int width = request.layout != LayoutSingleList      ? 13
                : request.keyboard == KeyboardCommander ? 13
                                                        : 15;
    if (wideSetting) width += 3;
    g.columnWidth = std::min(width, listWidth);
    g.columns = std::max(listWidth / g.columnWidth, 1);
  } else {
    g.columnWidth = std::max(listWidth - (wideSetting ? 3 : 1), 1);
    g.columns = 1;
  }
  const bool ownSingleList =
      request.layout == LayoutSingleList && request.keyboard == KeyboardCorvane;
  g.fieldColumn = std::max(g.windowColumns - (ownSingleList ? 29 : 17), g.listColumn + 1);
  return g;
}

PanelGeometry computePanelGeometry(const ScreenWindow& window, GeometryRequest request) {
  request.windowColumns = windowLastColumn(window);
  request.windowRows = windowLastRow(window);
  return computePanelGeometry(request);
}

}  // namespace corvane
