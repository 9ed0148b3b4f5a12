#include "platform/screen.h"

#include <algorithm>
#include <cassert>
#include <mutex>
#include <random>
#include <string_view>
#include <thread>

#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/product.h"

namespace corvane {
namespace {

constexpr std::string_view SaverTitle = ProductTitle;
constexpr int SaverTitleFromStep = 60;

struct SaverState {
  bool active = false;
  ScreenImage saved;  // the picture put back when the saver ends
  int step = 0;
  int dotColumn = -1, dotRow = -1;
  std::size_t titleChars = 0;
  std::minstd_rand random{12345};

  int randomBelow(int n) {
    return n <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(n));
  }
};

// The one owner of the screen. Every member is read and changed under `lock`; the functions
// below are its only way in. Calls out to the console are made under the lock too, so that a
// back end never sees two threads (the console never calls back into this file).
struct ScreenOwner {
  std::mutex lock;
  ScreenImage real{80, 25};
  std::unique_ptr<ScreenImage> scratch;  // while drawing off-screen
  int hold = 0;
  int cursorShape = CursorHidden;
  int cursorColumn = 0, cursorRow = 0;
  bool suspended = false;
  ConsoleBackend* console = nullptr;
  std::thread::id drawingThread;  // unset until the first image is allocated
  SaverState saver;
  ClockReport report;
  bool reportPosted = false;

  ScreenImage& image() { return scratch ? *scratch : real; }
  bool outputOpen() const { return console != nullptr && !suspended; }

  void flushLocked(int left, int top, int right, int bottom) {
    if (scratch || !outputOpen()) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, real.columns - 1);
    bottom = std::min(bottom, real.rows - 1);
    if (left > right || top > bottom) return;
    console->writeRect(real, left, top, right, bottom);
  }
  void flushAllLocked() { flushLocked(0, 0, real.columns - 1, real.rows - 1); }
};

ScreenOwner& owner() {
  static ScreenOwner s;
  return s;
}

// Runs f on the owner under its lock and gives back what f returns.
template <typename F>
decltype(auto) locked(F&& f) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  return f(s);
}

// Cells are the drawing thread's alone: any other thread posts instead.
void checkDrawingThread([[maybe_unused]] const ScreenOwner& s) {
  assert(s.drawingThread == std::thread::id() || s.drawingThread == std::this_thread::get_id());
}

void blank(ScreenImage& image) {
  for (ScreenCell& cell : image.cells) cell = {U' ', 0};
}

}  // namespace

ConsoleBackend& console() {
  return locked([](ScreenOwner& s) -> ConsoleBackend& { return *s.console; });
}

bool hasConsole() {
  return locked([&](ScreenOwner& s) { return s.console != nullptr; });
}

void setConsole(ConsoleBackend* backend) {
  locked([&](ScreenOwner& s) { s.console = backend; });
}

int screenRows() {
  return locked([&](ScreenOwner& s) { return s.real.rows; });
}

int screenColumns() {
  return locked([&](ScreenOwner& s) { return s.real.columns; });
}

void initScreenImage(int columns, int rows) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  s.drawingThread = std::this_thread::get_id();
  s.scratch.reset();
  s.real = ScreenImage(columns, rows);
  s.hold = 0;
}

ScreenImage& screenImage() {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  checkDrawingThread(s);
  return s.image();
}

void flushRect(int left, int top, int right, int bottom) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  checkDrawingThread(s);
  s.flushLocked(left, top, right, bottom);
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
  locked([&](ScreenOwner& s) {
    if (s.hold == 0) s.hold = level;
  });
}

int holdLevel() {
  return locked([&](ScreenOwner& s) { return s.hold; });
}

int lowerHold(int level) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  if (!(s.hold == 2 && level != 2)) s.hold = 0;
  return s.hold;
}

void beginOffScreen() {
  locked([&](ScreenOwner& s) {
    if (!s.scratch) s.scratch = std::make_unique<ScreenImage>(s.real.columns, s.real.rows);
  });
}

void endOffScreen() {
  locked([&](ScreenOwner& s) { s.scratch.reset(); });
}

bool drawingOffScreen() {
  return locked([&](ScreenOwner& s) { return s.scratch != nullptr; });
}

SavedScreen saveScreen() {
  return locked([&](ScreenOwner& s) { return std::make_unique<ScreenImage>(s.image()); });
}

void restoreScreen(SavedScreen saved) {
  if (!saved) return;
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  ScreenImage& image = s.image();
  if (saved->columns == image.columns && saved->rows == image.rows) image.cells = saved->cells;
  if (s.hold == 0) s.flushAllLocked();
}

void restoreScreenRect(const ScreenImage& saved, int left, int top, int right, int bottom) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  if (s.scratch) return;
  ScreenImage& image = s.real;
  int l = std::max(left - 1, 0), t = std::max(top - 1, 0);
  int r = std::min({right - 1, image.columns - 1, saved.columns - 1});
  int b = std::min({bottom - 1, image.rows - 1, saved.rows - 1});
  for (int row = t; row <= b; ++row)
    for (int col = l; col <= r; ++col) image.at(col, row) = saved.at(col, row);
  s.flushLocked(l, t, r, b);
}

void showStartupScreen() {
  ConsoleBackend* backend = nullptr;
  {
    ScreenOwner& s = owner();
    std::lock_guard guard(s.lock);
    if (!s.outputOpen()) return;
    backend = s.console;
  }
  backend->showUserScreen();  // waits for a key: not under the lock
  flushScreen();
}

void setCursorShape(int shape) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  s.cursorShape = shape;
  if (s.outputOpen()) s.console->setCursorShape(shape);
}

int cursorShape() {
  return locked([&](ScreenOwner& s) { return s.cursorShape; });
}

void setCursorPosition(int column, int row) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  s.cursorColumn = column;
  s.cursorRow = row;
  if (s.outputOpen()) s.console->setCursorPosition(column, row);
}

void getCursorPosition(int& column, int& row) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  column = s.cursorColumn;
  row = s.cursorRow;
}

void scrollRect(int top, int left, int bottom, int right, int lines, ColorAttr fill) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  checkDrawingThread(s);
  ScreenImage& image = s.image();
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
  if (s.hold == 0) s.flushLocked(left, top, right, bottom);
}

void beep(int frequency, int ticks) {
  locked([&](ScreenOwner& s) {
    if (s.outputOpen()) s.console->beep(frequency, ticks);
  });
}

void rejectBeep() { beep(3000, 1); }

void pauseUnits(int units) {
  ConsoleBackend* backend = nullptr;
  {
    ScreenOwner& s = owner();
    std::lock_guard guard(s.lock);
    backend = s.console;
  }
  if (backend != nullptr && units > 0) backend->sleepMs(units * 32);
}

void suspendOutput() {
  locked([&](ScreenOwner& s) { s.suspended = true; });
}

bool outputSuspended() {
  return locked([&](ScreenOwner& s) { return s.suspended; });
}

void resumeOutput() {
  locked([&](ScreenOwner& s) { s.suspended = false; });
}

bool screenSaverActive() {
  return locked([&](ScreenOwner& s) { return s.saver.active; });
}

void screenSaverOn() {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  checkDrawingThread(s);
  SaverState& saver = s.saver;
  if (saver.active) return;
  ScreenImage& image = s.image();
  saver.saved = image;
  saver.step = 0;
  saver.dotColumn = saver.dotRow = -1;
  saver.titleChars = 0;
  blank(image);
  saver.active = true;
  s.flushAllLocked();
}

void screenSaverStep() {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  checkDrawingThread(s);
  SaverState& saver = s.saver;
  if (!saver.active) return;
  ScreenImage& image = s.image();
  if (saver.step == 0) {
    blank(image);
    s.flushAllLocked();
  }
  if (saver.dotColumn >= 0 && image.contains(saver.dotColumn, saver.dotRow)) {
    image.at(saver.dotColumn, saver.dotRow) = {U' ', 0};
    s.flushLocked(saver.dotColumn, saver.dotRow, saver.dotColumn, saver.dotRow);
  }
  saver.dotRow = saver.randomBelow(image.rows);
  saver.dotColumn = 1 + saver.randomBelow(std::min(78, image.columns - 1));
  int colour = saver.randomBelow(16);
  if (image.contains(saver.dotColumn, saver.dotRow)) {
    image.at(saver.dotColumn, saver.dotRow) = {cp437ToUnicode(0xFA),
                                               static_cast<ColorAttr>(colour < 11 ? colour : 0)};
    s.flushLocked(saver.dotColumn, saver.dotRow, saver.dotColumn, saver.dotRow);
  }
  if (saver.step >= SaverTitleFromStep) {
    if (saver.titleChars < SaverTitle.size()) {
      int row = saver.randomBelow(image.rows);
      int column = saver.randomBelow(std::min(20, image.columns));
      int titleColour = saver.randomBelow(16);
      if (image.contains(column, row)) {
        image.at(column, row) = {static_cast<char32_t>(SaverTitle[saver.titleChars]),
                                 static_cast<ColorAttr>(titleColour == 0 ? 5 : titleColour)};
        s.flushLocked(column, row, column, row);
      }
      ++saver.titleChars;
    } else {
      saver.step = -1;  // the next step starts the cycle again
      saver.titleChars = 0;
    }
  }
  ++saver.step;
}

void screenSaverOff() {
  {
    ScreenOwner& s = owner();
    std::lock_guard guard(s.lock);
    checkDrawingThread(s);
    SaverState& saver = s.saver;
    if (!saver.active) return;
    ScreenImage& image = s.image();
    if (saver.saved.columns == image.columns && saver.saved.rows == image.rows)
      image.cells = saver.saved.cells;
    saver.active = false;
    s.flushAllLocked();
  }
  noteActivity();
}

void postClockReport(const ClockReport& report) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  bool chime = s.reportPosted && s.report.chime;
  s.report = report;
  s.report.chime = report.chime || chime;
  s.reportPosted = true;
  if (s.console != nullptr) s.console->wake();
}

bool takeClockReport(ClockReport& report) {
  ScreenOwner& s = owner();
  std::lock_guard guard(s.lock);
  if (!s.reportPosted) return false;
  report = s.report;
  s.reportPosted = false;
  return true;
}

}  // namespace corvane
