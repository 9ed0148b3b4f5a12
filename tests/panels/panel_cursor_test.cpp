#include "panels/panel_cursor.h"

#include <gtest/gtest.h>

#include "display_fixture.h"

namespace corvane {
namespace {

// A panel of n files without a window, and the geometry of rows x columns slots.
struct Fixture {
  Panel panel;
  PanelGeometry g;
  int index = 0;

  Fixture(int n, int rows, int columns, int mode) {
    panel.displayBits = mode;
    testing::appendFiles(panel, n);
    g.rowsPerColumn = rows;
    g.columns = columns;
  }
  int topIndex() const { return nodeIndex(panel.list, panel.top); }
  int cursorIndex() const { return nodeIndex(panel.list, panel.cursor); }
  // The cursor's slot agrees with its distance from the top.
  bool consistent() const {
    return cursorIndex() == index &&
           index - topIndex() == panel.cursorColumn * g.rowsPerColumn + panel.cursorRow &&
           panel.cursorRow < g.rowsPerColumn && panel.cursorColumn < g.columns;
  }
};

TEST(PanelCursorTest, LongDisplayScrollsByLinesAndPages) {
  Fixture f(100, 10, 1, DisplayLongAttributes);
  struct Step {
    CursorMove move;
    int index, top;
    bool scrolled;
  } steps[] = {
      {CursorMove::Up, 0, 0, false},  // already first: nothing
      {CursorMove::Down, 1, 0, false},      {CursorMove::ColumnForward, 11, 2, true},
      {CursorMove::ColumnBack, 1, 1, true}, {CursorMove::End, 99, 90, true},
      {CursorMove::Down, 99, 90, false},    {CursorMove::Up, 98, 90, false},
      {CursorMove::Home, 0, 0, true},
  };
  for (const Step& s : steps) {
    const CursorChange c = moveCursor(f.panel, f.g, s.move, f.index);
    EXPECT_EQ(f.index, s.index) << static_cast<int>(s.move);
    EXPECT_EQ(f.topIndex(), s.top) << static_cast<int>(s.move);
    EXPECT_EQ(c.scrolled, s.scrolled) << static_cast<int>(s.move);
    EXPECT_TRUE(f.consistent()) << static_cast<int>(s.move);
  }
}

TEST(PanelCursorTest, ShortDisplayScrollsByColumnsAndKeepsTheLastPageFull) {
  Fixture f(95, 10, 3, DisplayShort);
  struct Step {
    CursorMove move;
    int index, top, row, column;
  } steps[] = {
      {CursorMove::ColumnForward, 10, 0, 0, 1},
      {CursorMove::ColumnForward, 20, 0, 0, 2},
      {CursorMove::Down, 21, 0, 1, 2},
      {CursorMove::ColumnForward, 31, 10, 1, 2},  // one column further
      {CursorMove::End, 94, 65, 9, 2},            // the last page is full
      {CursorMove::ColumnBack, 84, 65, 9, 1},
      {CursorMove::Home, 0, 0, 0, 0},
      {CursorMove::ColumnBack, 0, 0, 0, 0},
  };
  for (const Step& s : steps) {
    moveCursor(f.panel, f.g, s.move, f.index);
    EXPECT_EQ(f.index, s.index) << static_cast<int>(s.move);
    EXPECT_EQ(f.topIndex(), s.top) << static_cast<int>(s.move);
    EXPECT_EQ(f.panel.cursorRow, s.row) << static_cast<int>(s.move);
    EXPECT_EQ(f.panel.cursorColumn, s.column) << static_cast<int>(s.move);
    EXPECT_TRUE(f.consistent()) << static_cast<int>(s.move);
  }
}

TEST(PanelCursorTest, ScrollToCursorStartsTheColumnOrKeepsTheLastPageFull) {
  struct Case {
    int n, cursor, top;
  } cases[] = {{95, 5, 0}, {95, 29, 0}, {95, 55, 50}, {95, 94, 65}, {20, 19, 0}};
  for (const Case& c : cases) {
    Fixture f(c.n, 10, 3, DisplayShort);
    f.panel.cursor = nodeAtIndex(f.panel.list, c.cursor);
    scrollToCursor(f.panel, f.g, c.cursor);
    f.index = c.cursor;
    EXPECT_EQ(f.topIndex(), c.top) << c.cursor;
    EXPECT_TRUE(f.consistent()) << c.cursor;
  }
}

TEST(PanelCursorTest, RandomMovesKeepThePageConsistent) {
  for (int mode : {DisplayShort, DisplayLongPlain}) {
    Fixture f(57, 7, mode == DisplayShort ? 3 : 1, mode);
    unsigned seed = 12345;
    for (int i = 0; i < 2000; ++i) {
      seed = seed * 1103515245u + 12345u;
      moveCursor(f.panel, f.g, static_cast<CursorMove>((seed >> 16) % 6), f.index);
      ASSERT_TRUE(f.consistent()) << "step " << i;
      ASSERT_LE(f.topIndex(), 57 - f.g.pageSize());
    }
  }
}

}  // namespace
}  // namespace corvane
