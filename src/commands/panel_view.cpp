#include "commands/panel_view.h"

#include <algorithm>

#include "archives/archive_panel.h"
#include "commands/loop_texts.h"
#include "panels/entry_format.h"
#include "panels/info_area.h"
#include "panels/panel_display.h"
#include "platform/charset.h"
#include "platform/color.h"
#include "platform/textf.h"
#include "search/search_texts.h"
#include "ui/window.h"

namespace corvane {

std::string panelTitle(const Panel& panel, int level) {
  const std::string shown =
      panel.archiveType != 0 ? archivePanelTitle(panel) : panel.currentDirectory;
  if (level <= 1) return shown;
  const std::string_view kind = isGlobalList(panel) ? TextGlobalList : TextNestedFiles;
  return textf(FormatNestedTitle, std::string(kind).c_str(), level) + " " + shown;
}

void drawPanelTitle(const PanelView& view, bool active, int level) {
  if (view.panel == nullptr || view.panel->window == nullptr) return;
  ScreenWindow& window = *view.panel->window;
  if (!windowFramed(window) || window.width < 5) return;
  CurrentWindowScope scope(window);
  const int inner = window.width - 2;
  raiseHold(1);
  // The frame line first, so that a shorter title leaves no rest of a longer one.
  const char32_t line =
      cp437ToUnicode(window.frame != nullptr ? window.frame->chars[FrameTop] : '-');
  std::string frameLine;
  for (int i = 0; i < inner; ++i) appendUtf8(frameLine, line);
  writeText(frameLine, inner - 1, 1, 0, WriteFrameColor);

  std::string title = " " + panelTitle(*view.panel, level) + " ";
  if (textCells(title) > inner) title = "~" + tailCells(title, inner - 1);
  const int cells = textCells(title);
  const ColorAttr saved = window.frameColor;
  if (active) window.frameColor = color(ColorPulldownLine);
  writeText(title, cells - 1, std::max((window.width - cells) / 2, 1), 0, WriteFrameColor);
  window.frameColor = saved;
  if (lowerHold(1) == 0) flushWindowRect(window.x, window.y, window.width, 1);
}

int positionPercent(int cursorIndex, int fileCount) {
  if (fileCount <= 0) return 0;
  const long long scaled = (static_cast<long long>(cursorIndex) + 1) * 200 / fileCount;
  return static_cast<int>(std::min<long long>((scaled + 1) / 2, 100));
}

void drawPositionMarker(PanelView& view) {
  if (view.panel == nullptr || view.panel->window == nullptr) return;
  const int percent = positionPercent(view.cursorIndex, static_cast<int>(view.panel->list.length));
  if (percent == view.lastPercent) return;
  view.lastPercent = percent;
  ScreenWindow& window = *view.panel->window;
  drawVerticalScrollBar(window, percent);
  // The bar runs down the right frame; where the info lines' separator meets that frame its
  // tee belongs there, not a piece of the track.
  const PanelGeometry geometry = geometryOf(*view.panel);
  const int separatorRow = geometry.windowRows - 2;
  const int thumbRow = percent * (window.height - 5) / 100 + 2;
  if (geometry.infoKind == InfoAreaKind::Lines && geometry.infoRows >= InfoLineRows &&
      window.frame != nullptr && windowFramed(window) && separatorRow > 1 &&
      separatorRow < window.height - 1) {
    CurrentWindowScope scope(window);
    std::string tee;
    appendUtf8(tee, cp437ToUnicode(window.frame->chars[FrameRightTee]));
    writeText(tee, 0, window.width - 1, separatorRow, WriteFrameColor);
    // The thumb that fell on the tee stands right next to it, inside the track.
    if (thumbRow == separatorRow) {
      const int row = separatorRow - 1 >= 2 ? separatorRow - 1 : separatorRow + 1;
      std::string thumb;
      appendUtf8(thumb, cp437ToUnicode(ScrollThumb));
      writeText(thumb, 0, window.width - 1, row, WriteFrameColor);
    }
  }
}

void drawPanel(PanelView& view, bool active, int level) {
  if (view.panel == nullptr || view.panel->window == nullptr) return;
  const Panel& panel = *view.panel;
  const PanelGeometry geometry = geometryOf(panel);
  raiseHold(1);
  drawFileList(panel, geometry);
  drawInfoArea(panel, geometry, level);
  drawPanelTitle(view, active, level);
  view.lastPercent = -1;
  ScreenWindow& window = *panel.window;
  if (lowerHold(1) == 0) flushWindowRect(window.x, window.y, window.width, window.height);
}

void showCursorChange(PanelView& view, const CursorChange& change, int level) {
  if (!change.moved || view.panel == nullptr || view.panel->window == nullptr) return;
  const Panel& panel = *view.panel;
  const PanelGeometry geometry = geometryOf(panel);
  if (change.scrolled)
    drawFileList(panel, geometry);
  else
    drawCursorMove(panel, geometry, change.oldCursor, change.oldRow, change.oldColumn);
  drawInfoValues(panel, geometry, level);
}

int topIndexOf(const PanelView& view, const PanelGeometry& geometry) {
  if (view.panel == nullptr) return 0;
  const int slot =
      view.panel->cursorColumn * std::max(geometry.rowsPerColumn, 1) + view.panel->cursorRow;
  return std::max(view.cursorIndex - slot, 0);
}

}  // namespace corvane
