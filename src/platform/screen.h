// The screen image that all drawing writes to, and the operations that show changed
// rectangles of it on the console: flushes, holds, off-screen drawing, save and restore,
// cursor, scrolling, beep and pauses, the screen saver.
//
// One owner keeps the image, the off-screen image, the hold level, the cursor, the active
// console and the screen saver, and changes them only under its lock. Cells are drawn by the
// drawing thread alone (the thread that allocated the image; debug builds check it): another
// thread never touches the picture, it posts what it has to show (postClockReport) and the
// drawing thread draws it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/color.h"
#include "platform/local_time.h"

namespace corvane {

// Second half of a wide character: the cell left of it holds the character.
constexpr char32_t WideTail = 0x110000;

struct ScreenCell {
  char32_t ch = U' ';
  ColorAttr attr = 0x07;
  bool operator==(const ScreenCell&) const = default;
};

struct ScreenImage {
  int columns = 0;
  int rows = 0;
  std::vector<ScreenCell> cells;  // row by row, row 0 at the top

  ScreenImage() = default;
  ScreenImage(int c, int r) : columns(c), rows(r), cells(static_cast<std::size_t>(c) * r) {}
  ScreenCell& at(int column, int row) {
    return cells[static_cast<std::size_t>(row) * columns + column];
  }
  const ScreenCell& at(int column, int row) const {
    return cells[static_cast<std::size_t>(row) * columns + column];
  }
  bool contains(int column, int row) const {
    return column >= 0 && row >= 0 && column < columns && row < rows;
  }
};

// Screen size (rows, columns) of the run.
int screenRows();
int screenColumns();

// Allocates the image for the given size (console initialisation and restarts); the calling
// thread becomes the drawing thread.
void initScreenImage(int columns, int rows);

// The image drawing goes to: the real one, or the scratch image while drawing off-screen.
// Drawing thread only.
ScreenImage& screenImage();

// Flushes: copy the covered cells to the console. All return at once while drawing
// off-screen or after output was suspended.
void flushScreen();
void flushRows(int firstRow, int count);
// count cells from (column, row); a count beyond the row runs to the last column of the
// rows it covers.
void flushCells(int column, int row, int count);
// Rows y .. y + height and columns x .. x + width (the shadow included), 0-based.
void flushWindowRect(int x, int y, int width, int height);
// Inclusive rectangle, clipped to the screen.
void flushRect(int left, int top, int right, int bottom);

// Flush hold: while raised, drawing primitives do not flush cell by cell.
void raiseHold(int level);
int holdLevel();
// Lowers to 0 unless the hold is 2 and level is not 2. Returns the level that remains.
int lowerHold(int level);

void beginOffScreen();
void endOffScreen();
bool drawingOffScreen();

// Whole-screen save: a copy of the image.
using SavedScreen = std::unique_ptr<ScreenImage>;
SavedScreen saveScreen();
// Copies back and releases; flushes the screen unless a hold is raised.
void restoreScreen(SavedScreen saved);
// Copies the rectangle (1-based, inclusive) back from a saved copy and flushes it.
void restoreScreenRect(const ScreenImage& saved, int left, int top, int right, int bottom);
// Shows the user's screen from before the start until a key is pressed.
void showStartupScreen();

// Cursor shapes: 0 visible 20 per cent, 1 visible 70 per cent, 2 hidden, 3 off the screen.
enum CursorShape : int { CursorSmall = 0, CursorLarge = 1, CursorHidden = 2, CursorOff = 3 };
void setCursorShape(int shape);
int cursorShape();
void setCursorPosition(int column, int row);
void getCursorPosition(int& column, int& row);

// Scrolls the inclusive rectangle by lines (positive up, negative down); freed lines are
// blanks in fill. Flushes the rectangle unless a hold is raised.
void scrollRect(int top, int left, int bottom, int right, int lines, ColorAttr fill);

// Beep at a frequency for ticks of 55 ms; the rejection beep is 3000 Hz for one tick.
void beep(int frequency, int ticks);
void rejectBeep();
// Pauses for units of 32 ms.
void pauseUnits(int units);

// Set once at shutdown: from then on nothing reaches the console.
void suspendOutput();
bool outputSuspended();
// Lets output through again (after a test, or when a child program comes back).
void resumeOutput();

// Screen saver: on keeps the picture and blanks the screen; each step moves the animation on
// (a dot at a random place, from the 60th step the product title one character per step);
// off puts the kept picture back (only when the size did not change meanwhile) and flushes.
bool screenSaverActive();
void screenSaverOn();
void screenSaverStep();
// Puts the saved picture back and records activity; nothing when the saver is off.
void screenSaverOff();

// What the clock thread hands to the drawing thread once per tick: the figures of the status
// line. A later report replaces an earlier one not yet taken; a chime is kept until taken.
struct ClockReport {
  LocalTime time;
  std::uint64_t freeBytes = 0;
  int memoryLoad = 0;
  bool chime = false;  // a full hour passed
};
// Any thread: keeps the report and wakes the console's input wait.
void postClockReport(const ClockReport& report);
// Drawing thread: the report posted since the last call; false when there is none.
bool takeClockReport(ClockReport& report);

}  // namespace corvane
