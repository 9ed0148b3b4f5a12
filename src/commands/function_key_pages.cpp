#include "commands/function_key_pages.h"

#include "commands/loop_texts.h"
#include "config/setup_block.h"
#include "platform/color.h"
#include "platform/screen.h"
#include "platform/textf.h"

namespace corvane {
namespace {

constexpr int PageWindowRows = 2;
constexpr int LabelCells = 8;
constexpr int InsertColumn = 71;  // where "Insert" stands on the first row (one-digit page)
constexpr int InsertCells = 6;

}  // namespace

int nextFunctionKeyPage(int page) { return (page + 1) % (FunctionKeyPageCount + 1); }

void showFunctionKeyPage(WindowHandle& window, int page) {
  if (page <= 0) {
    freeWindow(window);
    return;
  }
  if (!window || !window->visible) {
    freeWindow(window);
    if (openWindow(window, 1, screenRows() - PageWindowRows + 1, screenColumns(), PageWindowRows,
                   color(ColorPulldown), color(ColorPulldown), WindowClear) != 0)
      return;
  } else if (window->relayoutPending) {  // the screen has a new size
    moveWindow(*window, 1, screenRows() - PageWindowRows + 1, screenColumns(), PageWindowRows);
  }
  CurrentWindowScope scope(*window);
  raiseHold(1);
  const int width = windowLastColumn(*window);
  writeText(textf(FormatFunctionKeyPage, page), width - 1, 1, 1, WritePad);
  writeText({}, width - 1, 1, 2, WritePad);
  for (int i = 0; i < FunctionKeysPerPage; ++i) {
    const FunctionKeyRecord* record =
        functionKeyRecord(setupBlock(), functionKeyIndex(page, key::fkey(5 + i)));
    if (record != nullptr)
      writeText(record->comment.text(), LabelCells, FunctionKeyLabelColumns[i], 2);
  }
  if (lowerHold(1) == 0) flushWindowRect(window->x, window->y, window->width, window->height);
}

std::vector<MouseZone> functionKeyPageZones(const ScreenWindow& window) {
  std::vector<MouseZone> zones;
  for (int i = 0; i < FunctionKeysPerPage; ++i) {
    MouseZone zone;
    zone.x1 = windowScreenColumn(window, FunctionKeyLabelColumns[i]);
    zone.x2 = zone.x1 + LabelCells - 1;
    zone.y1 = windowScreenRow(window, 1);
    zone.y2 = windowScreenRow(window, 2);
    zone.leftCode = key::fkey(5 + i);
    zones.push_back(zone);
  }
  MouseZone insert;
  insert.x1 = windowScreenColumn(window, InsertColumn);
  insert.x2 = insert.x1 + InsertCells - 1;
  insert.y1 = insert.y2 = windowScreenRow(window, 1);
  insert.leftCode = key::Ins;
  zones.push_back(insert);
  return zones;
}

}  // namespace corvane
