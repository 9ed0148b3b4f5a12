// Where the parts of a panel go inside its window: the list's rows and columns, the field
// column of the long displays and the info area. The command loop computes one geometry per
// panel from the window size and the settings, and hands it to every drawing call.
#pragma once

#include "panels/panel.h"

namespace corvane {

struct ScreenWindow;

enum KeyboardLayout : int {
  KeyboardCorvane = 0,
  KeyboardCommander = 1,
  KeyboardXtree = 2,
};

// Keyboard layout of the setup block (COMMANDER for a value it does not know).
KeyboardLayout keyboardLayout();

enum class InfoAreaKind {
  None,    // the whole window holds the list (file-selection dialog)
  Column,  // single file list: six labels and values in a column at the left edge
  Lines,   // other layouts: a separator and two info lines at the bottom
};

// All positions are 1-based window coordinates of the window's interior.
struct PanelGeometry {
  int windowColumns = 0;  // interior size
  int windowRows = 0;
  int listColumn = 1;  // first column of the list (its mark column)
  int listRow = 1;
  int rowsPerColumn = 1;
  // Short display: the width of one column, its mark cell included. Long displays: the
  // width of the one list line.
  int columnWidth = 13;
  int columns = 1;
  int fieldColumn = 1;  // long display with attributes: where size, date ... start
  InfoAreaKind infoKind = InfoAreaKind::None;
  int infoRows = 0;  // rows kept for the info area at the bottom (Lines only)
  bool compactInfo = false;

  int pageSize() const { return rowsPerColumn * columns; }
};

struct GeometryRequest {
  int windowColumns = 78;  // interior size of the panel's window
  int windowRows = 20;
  ScreenLayout layout = LayoutSingleList;
  KeyboardLayout keyboard = KeyboardCorvane;
  int fileDisplaySetting = 0;      // the setup's file display value
  int displayMode = DisplayShort;  // DisplayShort, DisplayLongAttributes or DisplayLongPlain
  bool globalList = false;
  bool compactInfo = false;  // the small window arrangement
};

constexpr int InfoColumnWidth = 12;
constexpr int InfoLineRows = 3;  // separator and two lines

// Short display columns: 13 in the two-list and tree layouts, 15 in the single list (13 with
// the COMMANDER layout), 3 more with a file-display setting of 3 or more. Long displays: one
// line as wide as the list less 1 (less 3 with that setting), the field of the long display
// with attributes at the interior width less 29 in the single list of the CORVANE layout,
// else less 17. The single list of the CORVANE and XTREE layouts and the global list get the
// info column; the others the info lines.
PanelGeometry computePanelGeometry(const GeometryRequest& request);
// The same with the interior size taken from a window.
PanelGeometry computePanelGeometry(const ScreenWindow& window, GeometryRequest request);

// Which info area a panel shows in a keyboard layout.
InfoAreaKind infoAreaKindFor(ScreenLayout layout, KeyboardLayout keyboard, bool globalList);

}  // namespace corvane
