#include "platform/screen.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "platform/console.h"

namespace corvane {
namespace {

struct ScreenState {
  ScreenImage real{80, 25};
  std::unique_ptr<ScreenImage> scratch;  // while drawing off-screen
  int hold = 0;
  int cursorShape = CursorHidden;
  int cursorColumn = 0, cursorRow = 0;
  std::atomic<bool> suspended{false};
  std::mutex output;  // the clock thread flushes too
};

ScreenState& state() {
  static ScreenState s;
  return s;
}

ConsoleBackend* activeConsole = nullptr;

}  // namespace

ConsoleBackend& console() { return *activeConsole; }
bool hasConsole() { return activeConsole != nullptr; }
void setConsole(ConsoleBackend* backend) { activeConsole = backend; }

int screenRows() { return state().real.rows; }
int screenColumns() { return state().real.columns; }

void initScreenImage(int columns, int rows) {
  ScreenState& s = state();
  s.scratch.reset();
  s.real = ScreenImage(columns, rows);
  s.hold = 0;
}

ScreenImage& screenImage() {
  ScreenState& s = state();
  return s.scratch ? *s.scratch : s.real;
}

void flushRect(int left, int top, int right, int bottom) {
  ScreenState& s = state();
  if (s.scratch || s.suspended || activeConsole == nullptr) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, s.real.columns - 1);
  bottom = std::min(bottom, s.real.rows - 1);
  if (left > right || top > bottom) return;
  std::lock_guard lock(s.output);
  activeConsole->writeRect(s.real, left, top, right, bottom);
}

void flushScreen() { flushRect(0, 0, screenColumns() - 1, screenRows() - 1); }

void flushRows(int firstRow, int count) {
  flushRect(0, firstRow, screenColumns() - 1, firstRow + count - 1);
}

void flushCells(int column, int row, int count) {
  if (count <= 0) return;
  int columns = screenColumns();
  if (count > columns)
    flushRect(column, row, columns - 1, row + count / columns);
  else
    flushRect(column, row, column + count - 1, row);
}

void flushWindowRect(int x, int y, int width, int height) {
  flushRect(x, y, x + width, y + height);
}

void raiseHold(int level) {
  ScreenState& s = state();
  if (s.hold == 0) s.hold = level;
}

int holdLevel() { return state().hold; }

int lowerHold(int level) {
  ScreenState& s = state();
  if (!(s.hold == 2 && level != 2)) s.hold = 0;
  return s.hold;
}

void beginOffScreen() {
  ScreenState& s = state();
  if (!s.scratch) s.scratch = std::make_unique<ScreenImage>(s.real.columns, s.real.rows);
}

void endOffScreen() { state().scratch.reset(); }

bool drawingOffScreen() { return state().scratch != nullptr; }

SavedScreen saveScreen() { return std::make_unique<ScreenImage>(screenImage()); }

void restoreScreen(SavedScreen saved) {
  if (!saved) return;
  ScreenImage& image = screenImage();
  if (saved->columns == image.columns && saved->rows == image.rows) image.cells = saved->cells;
  if (holdLevel() == 0) flushScreen();
}

void restoreScreenRect(const ScreenImage& saved, int left, int top, int right, int bottom) {
  if (drawingOffScreen()) return;
  ScreenImage& image = screenImage();
  int l = std::max(left - 1, 0), t = std::max(top - 1, 0);
  int r = std::min({right - 1, image.columns - 1, saved.columns - 1});
  int b = std::min({bottom - 1, image.rows - 1, saved.rows - 1});
  for (int row = t; row <= b; ++row)
    for (int col = l; col <= r; ++col) image.at(col, row) = saved.at(col, row);
  flushRect(l, t, r, b);
}

void showStartupScreen() {
  if (activeConsole == nullptr || outputSuspended()) return;
  activeConsole->showUserScreen();
  flushScreen();
}

void setCursorShape(int shape) {
  state().cursorShape = shape;
  if (activeConsole != nullptr && !outputSuspended()) activeConsole->setCursorShape(shape);
}

int cursorShape() { return state().cursorShape; }

void setCursorPosition(int column, int row) {
  ScreenState& s = state();
  s.cursorColumn = column;
  s.cursorRow = row;
  if (activeConsole != nullptr && !outputSuspended()) activeConsole->setCursorPosition(column, row);
}

void getCursorPosition(int& column, int& row) {
  column = state().cursorColumn;
  row = state().cursorRow;
}

void scrollRect(int top, int left, int bottom, int right, int lines, ColorAttr fill) {
  ScreenImage& image = screenImage();
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.columns - 1);
  bottom = std::min(bottom, image.rows - 1);
  if (left > right || top > bottom || lines == 0) return;
  int height = bottom - top + 1;
  auto blankRow = [&](int row) {
    for (int col = left; col <= right; ++col) image.at(col, row) = {U' ', fill};
  };
  if (lines >= height || -lines >= height) {
    for (int row = top; row <= bottom; ++row) blankRow(row);
  } else if (lines > 0) {
    for (int row = top; row <= bottom - lines; ++row)
      for (int col = left; col <= right; ++col) image.at(col, row) = image.at(col, row + lines);
    for (int row = bottom - lines + 1; row <= bottom; ++row) blankRow(row);
  } else {
    int down = -lines;
    for (int row = bottom; row >= top + down; --row)
      for (int col = left; col <= right; ++col) image.at(col, row) = image.at(col, row - down);
    for (int row = top; row < top + down; ++row) blankRow(row);
  }
  if (holdLevel() == 0) flushRect(left, top, right, bottom);
}

void beep(int frequency, int ticks) {
  if (activeConsole != nullptr && !outputSuspended()) activeConsole->beep(frequency, ticks);
}

void rejectBeep() { beep(3000, 1); }

void pauseUnits(int units) {
  if (activeConsole != nullptr && units > 0) activeConsole->sleepMs(units * 32);
}

void suspendOutput() { state().suspended = true; }
bool outputSuspended() { return state().suspended; }
void resumeOutput() { state().suspended = false; }

}  // namespace corvane
