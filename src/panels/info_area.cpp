#include "panels/info_area.h"

#include <algorithm>

#include "panels/display_texts.h"
#include "panels/entry_format.h"
#include "platform/charset.h"
#include "platform/drive_info.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/window.h"

namespace corvane {

namespace {

constexpr int InfoItemCount = 6;
constexpr int InfoNameCells = 20;
constexpr unsigned char VerticalLine = 0xB3;
constexpr unsigned char VerticalTee = 0xB4;
constexpr unsigned char HorizontalLine = 0xC4;

std::string infoValue(const std::string& number) { return textf(FormatInfoValue, number.c_str()); }

std::string glyph(unsigned char cp437, int count = 1) {
  std::string out;
  for (int i = 0; i < count; ++i) appendUtf8(out, cp437ToUnicode(cp437));
  return out;
}

// Rows of the info column: label of item i, its value, the separator below it (0: none).
int labelRow(const PanelGeometry& g, int i) { return g.compactInfo ? 1 + 2 * i : 1 + 3 * i; }
int valueRow(const PanelGeometry& g, int i) { return labelRow(g, i) + 1; }
int separatorRow(const PanelGeometry& g, int i) {
  return g.compactInfo || i == InfoItemCount - 1 ? 0 : labelRow(g, i) + 2;
}
int volumeRow(const PanelGeometry& g) { return valueRow(g, InfoItemCount - 1) + 1; }

void writeRow(const PanelGeometry& g, const std::string& text, int cells, int column, int row) {
  if (row < 1 || row > g.windowRows || cells <= 0) return;
  writeText(text, cells - 1, column, row, WritePad);
}

void drawColumnValues(const Panel& panel, const PanelGeometry& g, int nestingLevel) {
  const InfoValues v = infoValues(panel);
  const std::string* values[InfoItemCount] = {&v.totalFiles,   &v.totalSize, &v.selectedFiles,
                                              &v.selectedSize, &v.fileSize,  &v.diskFree};
  for (int i = 0; i < InfoItemCount; ++i)
    writeRow(g, *values[i], InfoColumnWidth, 1, valueRow(g, i));
  writeRow(g, " " + padCells(panel.volume.volumeName, 11), InfoColumnWidth, 1, volumeRow(g));
  writeRow(g, textf(FormatNestingLevel, nestingLevel), InfoColumnWidth, 1, volumeRow(g) + 1);
}

void drawColumnFrame(const PanelGeometry& g) {
  for (int row = 1; row <= g.windowRows; ++row)
    writeRow(g, glyph(VerticalLine), 1, InfoColumnWidth + 1, row);
  for (int i = 0; i < InfoItemCount; ++i) {
    writeRow(g, std::string(InfoLabels[i]), InfoColumnWidth, 1, labelRow(g, i));
    const int separator = separatorRow(g, i);
    if (separator == 0) continue;
    writeRow(g, glyph(HorizontalLine, InfoColumnWidth), InfoColumnWidth, 1, separator);
    writeRow(g, glyph(VerticalTee), 1, InfoColumnWidth + 1, separator);
  }
}

void drawLineValues(const Panel& panel, const PanelGeometry& g) {
  const InfoLines lines = infoLines(panel, g.windowColumns);
  writeRow(g, lines.entry, g.windowColumns, 1, g.windowRows - 1);
  writeRow(g, lines.counts, g.windowColumns, 1, g.windowRows);
}

void flushWindowArea(const ScreenWindow& window) {
  flushRect(window.x, window.y, window.x + window.width - 1, window.y + window.height - 1);
}

template <typename Draw>
void drawInWindow(const Panel& panel, Draw draw) {
  if (panel.window == nullptr) return;
  CurrentWindowScope scope(*panel.window);
  raiseHold(1);
  draw();
  if (lowerHold(1) == 0) flushWindowArea(*panel.window);
}

}  // namespace

std::uint64_t volumeFreeBytes(const VolumeInfo& volume) {
  return volume.freeClusters * volume.sectorsPerCluster * volume.bytesPerSector;
}

InfoValues infoValues(const Panel& panel) {
  InfoValues v;
  v.totalFiles = infoValue(formatSize(static_cast<std::uint64_t>(std::max(panel.fileCount, 0))));
  v.totalSize = infoValue(formatSize(panel.totalSize));
  v.selectedFiles =
      infoValue(formatSize(static_cast<std::uint64_t>(std::max(panel.selectedCount, 0))));
  v.selectedSize = infoValue(formatSize(panel.selectedSize));
  const std::uint64_t cursorSize =
      panel.cursor != NoNode ? node(panel.list, panel.cursor).entry.size : 0;
  v.fileSize = infoValue(formatSize(cursorSize));
  v.diskFree = infoValue(formatSize(volumeFreeBytes(panel.volume)));
  return v;
}

InfoLines infoLines(const Panel& panel, int width) {
  InfoLines lines;
  if (panel.cursor != NoNode) {
    const FileNode& n = node(panel.list, panel.cursor);
    const bool directory = n.entry.isDirectory() && (n.mark & MarkSizeComputed) == 0;
    const std::string size = directory ? std::string(TextDirectoryInfo)
                                       : textf(FormatInfoSize, fitSize(n.entry.size, 10).c_str());
    // The name column is 20 cells, its last one blank so that a size of ten characters
    // never joins the name (fewer in a window too narrow for both); date and time and the
    // attributes follow, each only when it fits whole.
    const int nameCells = std::clamp(width - textCells(size), 1, InfoNameCells);
    std::string name = n.entry.name;
    if (panel.nameCase == 0) name = upperCaseLetters(name);
    std::string line = padCells(padCells(name, nameCells - 1), nameCells) + size;
    const std::string parts[] = {
        " " + dateTimeText(n.entry.date, n.entry.time, currentDateStyle(), DateForm::InfoLine),
        " " + attributeText(n.entry.attributes),
    };
    for (const std::string& part : parts)
      if (textCells(line) + textCells(part) <= width) line += part;
    lines.entry = padCells(line, width);
  } else {
    lines.entry = padCells("", width);
  }
  auto pair = [](std::uint64_t a, std::uint64_t b) {
    return textf(FormatInfoPair, fitSize(a, 6).c_str(), fitSize(b, 6).c_str());
  };
  lines.counts = padCells(pair(static_cast<std::uint64_t>(std::max(panel.fileCount, 0)),
                               static_cast<std::uint64_t>(std::max(panel.selectedCount, 0))) +
                              " " + pair(panel.totalSize, panel.selectedSize),
                          width);
  return lines;
}

void drawInfoArea(const Panel& panel, const PanelGeometry& g, int nestingLevel) {
  drawInWindow(panel, [&] {
    if (g.infoKind == InfoAreaKind::Column) {
      drawColumnFrame(g);
      drawColumnValues(panel, g, nestingLevel);
    } else if (g.infoKind == InfoAreaKind::Lines && g.infoRows >= InfoLineRows) {
      separatorLine(panel.window, 0, g.windowRows - 2);
      drawLineValues(panel, g);
    }
  });
}

void drawInfoValues(const Panel& panel, const PanelGeometry& g, int nestingLevel) {
  drawInWindow(panel, [&] {
    if (g.infoKind == InfoAreaKind::Column)
      drawColumnValues(panel, g, nestingLevel);
    else if (g.infoKind == InfoAreaKind::Lines && g.infoRows >= InfoLineRows)
      drawLineValues(panel, g);
  });
}

}  // namespace corvane
