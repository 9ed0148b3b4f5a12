#include "panels/panel_display.h"

#include <gtest/gtest.h>

#include <string>

#include "config/setup_block.h"
#include "display_fixture.h"
#include "panels/panel_cursor.h"
#include "platform/charset.h"

namespace corvane {
namespace {

using testing::append;
using testing::directoryEntry;
using testing::dosDate;
using testing::dosTime;
using testing::fileEntry;

class PanelDisplayTest : public testing::DisplayTest {
 protected:
  PanelDisplayTest() {
    savedClock_ = setupBlock().clockFlags.get();
    setupBlock().clockFlags.set(ClockFlag24Hours);
    setAlternativeCursorMark(false);
  }
  ~PanelDisplayTest() override {
    setupBlock().clockFlags.set(savedClock_);
    setAlternativeCursorMark(false);
  }

  static PanelGeometry geometry(int columns, int rows, ScreenLayout layout, int mode) {
    GeometryRequest r;
    r.windowColumns = columns;
    r.windowRows = rows;
    r.layout = layout;
    r.displayMode = mode;
    return computePanelGeometry(r);
  }

  static std::string glyph(unsigned char cp437) {
    std::string out;
    appendUtf8(out, cp437ToUnicode(cp437));
    return out;
  }

  std::uint16_t savedClock_;
};

TEST(PanelGeometryTest, WidthsByLayoutAndSetting) {
  struct Case {
    ScreenLayout layout;
    KeyboardLayout keyboard;
    int setting, mode;
    int listColumn, columnWidth, columns, rows, fieldColumn;
    InfoAreaKind info;
  } cases[] = {
      {LayoutSingleList, KeyboardCorvane, 0, DisplayShort, 14, 15, 4, 20, 49, InfoAreaKind::Column},
      {LayoutSingleList, KeyboardCommander, 0, DisplayShort, 1, 13, 6, 17, 61, InfoAreaKind::Lines},
      {LayoutSingleList, KeyboardXtree, 0, DisplayShort, 14, 15, 4, 20, 61, InfoAreaKind::Column},
      {LayoutTwoLists, KeyboardCorvane, 0, DisplayShort, 1, 13, 6, 17, 61, InfoAreaKind::Lines},
      {LayoutListAndTree, KeyboardCorvane, 3, DisplayShort, 1, 16, 4, 17, 61, InfoAreaKind::Lines},
      {LayoutSingleList, KeyboardCorvane, 3, DisplayShort, 14, 18, 3, 20, 49, InfoAreaKind::Column},
      {LayoutSingleList, KeyboardCorvane, 0, DisplayLongAttributes, 14, 64, 1, 20, 49,
       InfoAreaKind::Column},
      {LayoutTwoLists, KeyboardCorvane, 0, DisplayLongPlain, 1, 77, 1, 17, 61, InfoAreaKind::Lines},
      {LayoutTwoLists, KeyboardCorvane, 4, DisplayLongPlain, 1, 75, 1, 17, 61, InfoAreaKind::Lines},
  };
  for (const Case& c : cases) {
    GeometryRequest r;
    r.windowColumns = 78;
    r.windowRows = 20;
    r.layout = c.layout;
    r.keyboard = c.keyboard;
    r.fileDisplaySetting = c.setting;
    r.displayMode = c.mode;
    const PanelGeometry g = computePanelGeometry(r);
    const std::string what = "layout " + std::to_string(c.layout) + " keyboard " +
                             std::to_string(c.keyboard) + " mode " + std::to_string(c.mode);
    EXPECT_EQ(g.listColumn, c.listColumn) << what;
    EXPECT_EQ(g.columnWidth, c.columnWidth) << what;
    EXPECT_EQ(g.columns, c.columns) << what;
    EXPECT_EQ(g.rowsPerColumn, c.rows) << what;
    EXPECT_EQ(g.fieldColumn, c.fieldColumn) << what;
    EXPECT_EQ(g.infoKind, c.info) << what;
  }
  // The global list always has the info column.
  GeometryRequest global;
  global.layout = LayoutTwoLists;
  global.globalList = true;
  EXPECT_EQ(computePanelGeometry(global).infoKind, InfoAreaKind::Column);
}

TEST_F(PanelDisplayTest, ShortDisplayFillsColumnsTopToBottom) {
  Panel panel;
  panel.nameCase = 2;
  panel.displayBits = DisplayShort;
  giveWindow(panel, 40, 10);
  addFiles(panel, 16);
  const PanelGeometry g = geometry(40, 10, LayoutTwoLists, DisplayShort);
  ASSERT_EQ(g.rowsPerColumn, 7);
  ASSERT_EQ(g.columns, 3);
  drawFileList(panel, g);
  for (int i = 0; i < 16; ++i) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "f%02d     .txt", i);
    const int column = 1 + (i / 7) * 13, row = 1 + i % 7;
    EXPECT_EQ(cellText(panel, column + 1, row, 12), expected) << i;
  }
  // The slots after the last entry are blank, and so are the cells right of the columns.
  EXPECT_EQ(cellText(panel, 27, 3, 14), std::string(14, ' '));
  EXPECT_EQ(cellText(panel, 40, 1, 1), " ");
}

TEST_F(PanelDisplayTest, MarkColumnAndCursorMarks) {
  Panel panel;
  panel.nameCase = 2;
  panel.displayBits = DisplayShort;
  giveWindow(panel, 40, 10);
  // Single list: ten rows, the mark column left out on rows 8 to 10.
  append(panel.list, directoryEntry("dir"));
  for (int i = 1; i < 10; ++i) append(panel.list, fileEntry("f" + std::to_string(i)));
  countList(panel);
  panel.top = panel.list.head;
  NodeId ids[10];
  int i = 0;
  for (NodeId id : chain(panel.list)) ids[i++] = id;
  node(panel.list, ids[1]).mark = MarkCompareNewer;
  node(panel.list, ids[6]).mark = MarkCompareDiffer;
  node(panel.list, ids[7]).mark = MarkCompareDiffer;
  panel.cursor = ids[0];
  const PanelGeometry g = geometry(40, 10, LayoutSingleList, DisplayShort);
  ASSERT_EQ(g.listColumn, 14);
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 14, 1, 1), "+");
  EXPECT_EQ(cellText(panel, 14, 2, 1), glyph(0x18));
  EXPECT_EQ(cellText(panel, 14, 3, 1), " ");
  EXPECT_EQ(cellText(panel, 14, 7, 1), "!");
  EXPECT_EQ(cellText(panel, 14, 8, 1), " ");  // rows 8, 9, 10: no mark column

  // The file cursor's triangle, and no cursor mark on the last three rows.
  panel.cursor = ids[3];
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 14, 1, 1), " ");
  EXPECT_EQ(cellText(panel, 14, 4, 1), glyph(0x11));
  panel.cursor = ids[8];
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 14, 9, 3), " f8");
  EXPECT_EQ(cellAttr(panel, 15, 9), color(ColorActFilecursor));

  setAlternativeCursorMark(true);
  panel.cursor = ids[0];
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 14, 1, 1), "#");
  panel.cursor = ids[2];
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 14, 3, 1), "#");
}

TEST_F(PanelDisplayTest, LongDisplayFields) {
  Panel panel;
  panel.nameCase = 2;
  panel.displayBits = DisplayLongAttributes;
  giveWindow(panel, 78, 6);
  append(panel.list, directoryEntry("sub"));
  FileEntry file = fileEntry("notes.txt", 12345, dosDate(2003, 7, 4), dosTime(14, 5));
  file.attributes = AttrReadOnly | AttrArchive;
  const NodeId fileId = append(panel.list, file);
  FileEntry sized = directoryEntry("big");
  sized.size = 4096;
  append(panel.list, sized, MarkSizeComputed);
  countList(panel);
  panel.top = panel.cursor = panel.list.head;
  node(panel.list, fileId).mark = MarkCompareOlder;

  // Single list of the own layout: the whole field (size, date and time, attributes,
  // compare mark) ends the line, the name column takes the rest. A directory without a date
  // shows none.
  PanelGeometry g = geometry(78, 6, LayoutSingleList, DisplayLongAttributes);
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 45, 1, 33), "   <DIR>                ....     ");
  EXPECT_EQ(cellText(panel, 14, 2, 14), " notes   .txt ");
  EXPECT_EQ(cellText(panel, 45, 2, 33), "   12345 04.07.03 14:05 ..RA  OLD");
  EXPECT_EQ(cellText(panel, 45, 3, 8), "    4096");
  setupBlock().clockFlags.set(0);
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 53, 2, 16), " 07-04-03 02:05p");

  // Two lists at any width from 80 columns: the same whole field (at the width less 17 it
  // would lose the date).
  g = geometry(38, 6, LayoutTwoLists, DisplayLongAttributes);
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 1, 2, 38), " no    12345 07-04-03 02:05p..RA  OLD ");
  g = geometry(78, 6, LayoutTwoLists, DisplayLongAttributes);
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 45, 2, 33), "   12345 07-04-03 02:05p..RA  OLD");

  // Without attributes: the narrow field ends the line.
  panel.displayBits = DisplayLongPlain;
  g = geometry(78, 6, LayoutTwoLists, DisplayLongPlain);
  drawFileList(panel, g);
  EXPECT_EQ(cellText(panel, 64, 1, 14), "     <D> .... ");
  EXPECT_EQ(cellText(panel, 64, 2, 14), "   12345 ..RA" + glyph(0x19));
  EXPECT_EQ(cellText(panel, 64, 3, 8), "    4096");
}

TEST_F(PanelDisplayTest, GlobalListLongDisplayShowsFullPaths) {
  Panel panel;
  panel.nameCase = 2;
  panel.displayBits = DisplayLongAttributes | DisplayGlobalList;
  giveWindow(panel, 78, 4);
  panel.list.directories.push_back({NoDirectory, 1, NoDirectory, 0, "T:\\src"});
  panel.list.directories.push_back({0, NoDirectory, NoDirectory, 1, "lib"});
  FileNode& n = node(panel.list, append(panel.list, fileEntry("a.c", 10)));
  n.directory = 1;
  countList(panel);
  panel.top = panel.cursor = panel.list.head;
  drawFileList(panel, geometry(78, 4, LayoutSingleList, DisplayLongAttributes));
  EXPECT_EQ(cellText(panel, 14, 1, 16), " T:\\src\\lib\\a.c ");
  // In a narrow panel the path keeps its end, and keeps room before attributes and marks.
  for (const auto& [width, shown] :
       {std::pair{44, " ~src\\lib\\a.c       10"}, std::pair{38, " ~rc\\lib\\a.c       10"}}) {
    giveWindow(panel, width, 4);
    drawFileList(panel, geometry(width, 4, LayoutTwoLists, DisplayLongAttributes));
    const std::string row = cellText(panel, 1, 1, width - 2);
    EXPECT_EQ(row.substr(0, std::string_view(shown).size()), shown) << row;
  }
  // The short display keeps the bare name.
  panel.displayBits = DisplayShort | DisplayGlobalList;
  drawFileList(panel, geometry(78, 4, LayoutSingleList, DisplayShort));
  EXPECT_EQ(cellText(panel, 14, 1, 12), glyph(0x11) + "a       .c ");
}

TEST_F(PanelDisplayTest, AwkwardNamesStayInTheirColumn) {
  Panel panel;
  panel.nameCase = 2;
  panel.displayBits = DisplayShort;
  giveWindow(panel, 39, 5);
  const std::string wide =
      "a\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC"
      "\xE8\xAA\x9E";  // a + six wide: 13 cells
  append(panel.list, fileEntry(std::string(300, 'x')));
  append(panel.list, fileEntry("bad\xFF\xFE\x01\x09name.txt"));
  append(panel.list, fileEntry(wide));
  append(panel.list, fileEntry("e\xCC\x81tude"));  // a combining accent takes no cell
  append(panel.list, fileEntry("next.txt"));
  countList(panel);
  panel.top = panel.cursor = panel.list.head;
  const PanelGeometry g = geometry(39, 5, LayoutTwoLists, DisplayShort);
  ASSERT_EQ(g.rowsPerColumn, 2);
  drawFileList(panel, g);
  // Column 0 holds the 300-character name and the invalid one; the next column starts
  // with its mark cell exactly at column 14.
  EXPECT_EQ(cellText(panel, 2, 1, 12), std::string(12, 'x'));
  EXPECT_EQ(cellText(panel, 14, 1, 1), " ");
  EXPECT_EQ(textCells(cellText(panel, 2, 2, 12)), 12);
  EXPECT_EQ(cellText(panel, 14, 2, 1), " ");
  // The wide name: 'a' and five wide characters fill eleven cells, the sixth would be
  // split and leaves a blank.
  EXPECT_EQ(cellText(panel, 15, 1, 12),
            "a\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC ");
  EXPECT_EQ(cellText(panel, 27, 1, 1), " ");
  EXPECT_EQ(cellText(panel, 28, 1, 9), "next    .");
  EXPECT_EQ(cellText(panel, 15, 2, 5), "etude");

  // In the long display the name stops one blank before the field.
  panel.displayBits = DisplayLongAttributes;
  const PanelGeometry lg = geometry(39, 5, LayoutTwoLists, DisplayLongAttributes);
  drawFileList(panel, lg);
  EXPECT_EQ(cellText(panel, 2, 1, 12), "xxx        0");
}

TEST_F(PanelDisplayTest, PlaceholderTakesNoSlot) {
  Panel panel;
  panel.displayBits = DisplayShort;
  giveWindow(panel, 39, 5);
  append(panel.list, directoryEntry(".."), MarkError);
  countList(panel);
  panel.top = panel.cursor = panel.list.head;
  drawFileList(panel, geometry(39, 5, LayoutTwoLists, DisplayShort));
  EXPECT_EQ(cellText(panel, 1, 1, 39), std::string(39, ' '));
}

TEST_F(PanelDisplayTest, CursorMoveRedrawsTwoRowsOnly) {
  Panel panel;
  panel.nameCase = 2;
  panel.displayBits = DisplayLongAttributes;
  giveWindow(panel, 38, 12);
  addFiles(panel, 5000);
  const PanelGeometry g = geometry(38, 12, LayoutTwoLists, DisplayLongAttributes);
  drawFileList(panel, g);
  int index = 0;
  moveCursor(panel, g, CursorMove::Down, index);
  console_.writes.clear();
  const CursorChange change = moveCursor(panel, g, CursorMove::Down, index);
  ASSERT_TRUE(change.moved);
  ASSERT_FALSE(change.scrolled);
  drawCursorMove(panel, g, change.oldCursor, change.oldRow, change.oldColumn);
  ASSERT_FALSE(console_.writes.empty());
  for (const FlushedRect& r : console_.writes) {
    EXPECT_EQ(r.top, r.bottom);
    EXPECT_TRUE(r.top == panel.window->y + 2 || r.top == panel.window->y + 3) << r.top;
  }
  EXPECT_EQ(cellAttr(panel, 2, 3), color(ColorActFilecursor));
  EXPECT_EQ(cellAttr(panel, 2, 2), panel.window->textColor);
}

}  // namespace
}  // namespace corvane
