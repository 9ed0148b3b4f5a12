#include "ui/window.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>
#include <vector>

#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/semaphores.h"
#include "ui/ui_state.h"

namespace corvane {
namespace {

// The window stack's state lives in the toolkit's record (ui_state.h); these name its parts.
ScreenWindow*& currentWindowRef() { return uiState().currentWindow; }

// Every live record, so that releasing one can mend the previous links of the others.
// Never destroyed: handles with static storage (the error window) are released at exit.
std::vector<ScreenWindow*>& liveWindows() {
  static auto* windows = new std::vector<ScreenWindow*>;
  return *windows;
}

// Takes a window out of the stack: the current window and every link that pointed at it
// move on to its own previous window.
void unlink(ScreenWindow* window) {
  if (currentWindowRef() == window) currentWindowRef() = window->previous;
  for (ScreenWindow* other : liveWindows())
    if (other->previous == window) other->previous = window->previous;
  window->previous = nullptr;
}

int originShift(const ScreenWindow& window) { return windowFramed(window) ? 0 : 1; }

void placeConsoleCursor(const ScreenWindow& window) {
  int column = std::clamp(windowScreenColumn(window, window.cursorColumn), 0,
                          std::max(screenColumns() - 1, 0));
  int row = std::clamp(windowScreenRow(window, window.cursorRow), 0, std::max(screenRows() - 1, 0));
  setCursorPosition(column, row);
}

// Writes a cell at an outer window position (0, 0 = top-left corner), clipped to the screen.
void putOuter(const ScreenWindow& window, int column, int row, char32_t ch, ColorAttr attr) {
  ScreenImage& image = screenImage();
  int c = window.x + column, r = window.y + row;
  if (image.contains(c, r)) image.at(c, r) = {ch, attr};
}

void setOuterAttr(const ScreenWindow& window, int column, int row, ColorAttr attr) {
  ScreenImage& image = screenImage();
  int c = window.x + column, r = window.y + row;
  if (image.contains(c, r)) image.at(c, r).attr = attr;
}

// Swaps the saved rectangle with the screen (close and reopen).
void exchangeSaved(ScreenWindow& window) {
  ScreenImage& image = screenImage();
  for (int r = 0; r < window.savedRows; ++r) {
    int row = window.y + r;
    if (row >= image.rows) break;
    for (int c = 0; c < window.savedColumns; ++c) {
      int column = window.x + c;
      if (column >= image.columns) break;
      std::swap(image.at(column, row),
                window.saveUnder[static_cast<std::size_t>(r) * window.savedColumns + c]);
    }
  }
}

void saveScreenUnder(ScreenWindow& window) {
  const ScreenImage& image = screenImage();
  int extra = (window.flags & (WindowFrameMask | WindowShadow)) ? 1 : 0;
  window.savedColumns = std::max(0, std::min(window.width + extra, image.columns - window.x));
  window.savedRows = std::max(0, std::min(window.height + extra, image.rows - window.y));
  for (int r = 0; r < window.savedRows; ++r)
    for (int c = 0; c < window.savedColumns; ++c)
      window.saveUnder[static_cast<std::size_t>(r) * window.savedColumns + c] =
          image.at(window.x + c, window.y + r);
}

void clearInterior(const ScreenWindow& window) {
  char32_t ch = (window.flags & WindowFill) ? cp437ToUnicode(fillCharacter()) : U' ';
  int inset = windowFramed(window) ? 1 : 0;
  for (int row = inset; row < window.height - inset; ++row)
    for (int column = inset; column < window.width - inset; ++column)
      putOuter(window, column, row, ch, window.textColor);
}

// The title as it fits the top line: at most width - 2 cells, else "~" and its last
// width - 3 cells. Returns the characters (a wide one followed by WideTail).
std::vector<char32_t> fittedTitle(std::string_view title, int width) {
  std::vector<char32_t> chars;
  for (std::size_t pos = 0; pos < title.size();) {
    char32_t ch;
    pos += decodeChar(title, pos, ch);
    int cells = charCells(ch);
    if (cells == 0) continue;
    chars.push_back(ch);
    if (cells == 2) chars.push_back(WideTail);
  }
  if (static_cast<int>(chars.size()) <= width - 2) return chars;
  std::size_t keep = static_cast<std::size_t>(std::max(width - 3, 0));
  std::vector<char32_t> tail(chars.end() - static_cast<std::ptrdiff_t>(keep), chars.end());
  if (!tail.empty() && tail.front() == WideTail) tail.front() = U' ';  // its head was cut off
  tail.insert(tail.begin(), U'~');
  return tail;
}

void drawTitle(const ScreenWindow& window) {
  std::vector<char32_t> title = fittedTitle(window.title, window.width);
  int start = std::max((window.width - static_cast<int>(title.size())) / 2, 0);
  ScreenImage& image = screenImage();
  for (std::size_t i = 0; i < title.size(); ++i) {
    int c = window.x + start + static_cast<int>(i);
    if (image.contains(c, window.y)) image.at(c, window.y).ch = title[i];  // frame colours stay
  }
}

void drawFrame(ScreenWindow& window) {
  const FrameStyle& set = frameSet(window.flags);
  window.frame = &set;
  auto glyph = [&](FramePosition position) { return cp437ToUnicode(set.chars[position]); };
  // The block set draws its (blank) sides in the text colour.
  ColorAttr lines = window.frameColor;
  ColorAttr sides = &set == &BlockFrame ? window.textColor : window.frameColor;
  int right = window.width - 1, bottom = window.height - 1;

  putOuter(window, 0, 0, glyph(FrameTopLeft), lines);
  putOuter(window, right, 0, glyph(FrameTopRight), lines);
  putOuter(window, 0, bottom, glyph(FrameBottomLeft), lines);
  putOuter(window, right, bottom, glyph(FrameBottomRight), lines);
  for (int column = 1; column < right; ++column) {
    putOuter(window, column, 0, glyph(FrameTop), lines);
    putOuter(window, column, bottom, glyph(FrameBottom), lines);
  }
  for (int row = 1; row < bottom; ++row) {
    putOuter(window, 0, row, glyph(FrameSide), sides);
    putOuter(window, right, row, glyph(FrameSide), sides);
  }
  if (window.flags & WindowHorizontalBar) {
    for (int column = 2; column < right - 1; ++column)
      putOuter(window, column, bottom, cp437ToUnicode(ScrollTrack), lines);
    putOuter(window, 1, bottom, cp437ToUnicode(ScrollLeft), lines);
    putOuter(window, right - 1, bottom, cp437ToUnicode(ScrollRight), lines);
  }
  if (window.flags & WindowVerticalBar) {
    for (int row = 2; row < bottom - 1; ++row)
      putOuter(window, right, row, cp437ToUnicode(ScrollTrack), lines);
    putOuter(window, right, 1, cp437ToUnicode(ScrollUp), lines);
    putOuter(window, right, bottom - 1, cp437ToUnicode(ScrollDown), lines);
  }
  if (!window.title.empty()) drawTitle(window);
}

// The cells right of and below the window keep their characters and turn dark grey; the
// bottom part is left out when the window touches the last screen row.
void drawShadow(const ScreenWindow& window) {
  for (int row = 1; row < window.height; ++row) setOuterAttr(window, window.width, row, ShadowAttr);
  if (window.y + window.height >= screenRows()) return;
  for (int column = 1; column <= window.width; ++column)
    setOuterAttr(window, column, window.height, ShadowAttr);
}

void flushWindow(const ScreenWindow& window) {
  flushWindowRect(window.x, window.y, window.width, window.height);
}

void scrollInterior(const ScreenWindow& window) {
  int inset = windowFramed(window) ? 1 : 0;
  scrollRect(window.y + inset, window.x + inset, window.y + window.height - 1 - inset,
             window.x + window.width - 1 - inset, 1, window.textColor);
  ++uiState().scrollCount;
}

// Teletype cell write at a window coordinate, kept inside the window and the screen.
void teletypeCell(const ScreenWindow& window, int column, int row, char32_t ch) {
  int c = windowScreenColumn(window, column), r = windowScreenRow(window, row);
  if (c < window.x || r < window.y || c >= window.x + window.width || r >= window.y + window.height)
    return;
  ScreenImage& image = screenImage();
  if (!image.contains(c, r)) return;
  image.at(c, r) = {ch, window.textColor};
  if (holdLevel() == 0) flushCells(c, r, 1);
}

void teletypeNewLine(ScreenWindow& window) {
  int lastRow = windowLastRow(window);
  if (window.cursorRow >= lastRow) {
    scrollInterior(window);
    window.cursorRow = lastRow;
  } else {
    ++window.cursorRow;
  }
  window.cursorColumn = 1;
}

void wakeFromSaver() {
  if (screenSaverActive()) screenSaverOff();
}

struct WindowPlace {
  int x, y, width, height, flags;
};

// The place of a window opened at 1-based (x, y): clipped to the screen, a window reaching
// past the right or bottom edge narrowed so that its shadow column or row is the last one;
// no frame below three cells.
WindowPlace clipPlace(int x, int y, int width, int height, int flags) {
  const int columns = screenColumns(), rows = screenRows();
  x = std::clamp(x, 1, std::max(columns, 1));
  y = std::clamp(y, 1, std::max(rows, 1));
  width = std::min(width, columns + 1);  // same result below, without overflow
  height = std::min(height, rows + 1);
  if (x + width > columns + 1) width = columns - x;
  if (y + height > rows + 1) height = rows - y;
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width < 3 || height < 3)
    flags &= ~(WindowFrameMask | WindowHorizontalBar | WindowVerticalBar);
  return {x - 1, y - 1, width, height, flags};
}

// Saves what lies under the window and draws it empty: interior, frame, title, shadow.
void drawFresh(ScreenWindow& window) {
  saveScreenUnder(window);
  if (window.flags >= WindowClear) clearInterior(window);
  if (windowFramed(window)) drawFrame(window);
  if (window.flags & WindowShadow) drawShadow(window);
}

// A window without an owner's relayout: its picture where it was, moved left and up as far
// as needed to stay inside the screen (the top left corner stays on the screen).
void placePicture(ScreenWindow& window) {
  const std::vector<ScreenCell> picture(
      window.saveUnder.get(),
      window.saveUnder.get() + static_cast<std::size_t>(window.savedColumns) * window.savedRows);
  const int pictureColumns = window.savedColumns, pictureRows = window.savedRows;
  const int extra = (window.flags & WindowShadow) ? 1 : 0;
  window.x = std::max(std::min(window.x, screenColumns() - window.width - extra), 0);
  window.y = std::max(std::min(window.y, screenRows() - window.height - extra), 0);
  saveScreenUnder(window);
  for (int r = 0; r < std::min(window.height, pictureRows); ++r)
    for (int c = 0; c < std::min(window.width, pictureColumns); ++c)
      putOuter(window, c, r, picture[static_cast<std::size_t>(r) * pictureColumns + c].ch,
               picture[static_cast<std::size_t>(r) * pictureColumns + c].attr);
  if (window.flags & WindowShadow) drawShadow(window);
}

// The open windows from the bottom up.
std::vector<ScreenWindow*> openWindowsInOrder() {
  std::vector<ScreenWindow*> open;
  for (ScreenWindow* window : liveWindows())
    if (window->visible) open.push_back(window);
  std::sort(open.begin(), open.end(), [](const ScreenWindow* a, const ScreenWindow* b) {
    return a->stackOrder < b->stackOrder;
  });
  return open;
}

// Drawing into a window waits until its owner laid it out again.
bool drawable(const ScreenWindow& window) { return !window.relayoutPending; }

}  // namespace

void WindowDeleter::operator()(ScreenWindow* window) const {
  unlink(window);
  std::vector<ScreenWindow*>& live = liveWindows();
  live.erase(std::remove(live.begin(), live.end(), window), live.end());
  delete window;
}

bool windowFramed(const ScreenWindow& window) { return (window.flags & WindowFrameMask) != 0; }

int windowScreenColumn(const ScreenWindow& window, int column) {
  return window.x + column - originShift(window);
}

int windowScreenRow(const ScreenWindow& window, int row) {
  return window.y + row - originShift(window);
}

int windowLastColumn(const ScreenWindow& window) {
  return windowFramed(window) ? window.width - 2 : window.width;
}

int windowLastRow(const ScreenWindow& window) {
  return windowFramed(window) ? window.height - 2 : window.height;
}

int openWindow(WindowHandle& handle, int x, int y, int width, int height, ColorAttr text,
               ColorAttr frame, int flags, std::string_view title) {
  if (handle) {
    ScreenWindow& window = *handle;
    if (window.visible) return 0;
    window.previous = currentWindowRef();
    window.helpContext = currentWindowRef() ? currentWindowRef()->helpContext : 0;
    window.visible = true;
    window.stackOrder = ++uiState().stackCounter;
    currentWindowRef() = &window;
    {
      OutputLock lock;
      wakeFromSaver();
      raiseHold(1);
      exchangeSaved(window);
      if (lowerHold(1) == 0) flushWindow(window);
    }
    if (!(window.flags & WindowKeepCursor)) windowCursor(1, 1);
    return 0;
  }

  const WindowPlace place = clipPlace(x, y, width, height, flags);
  width = place.width;
  height = place.height;

  WindowHandle fresh(new (std::nothrow) ScreenWindow);
  if (!fresh) return -1;
  std::size_t cells = static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height + 1);
  fresh->saveUnder.reset(new (std::nothrow) ScreenCell[cells]);
  if (!fresh->saveUnder) return -1;
  liveWindows().push_back(fresh.get());

  ScreenWindow& window = *fresh;
  window.frame = &DoubleFrame;
  window.visible = true;
  window.requestedFlags = flags;
  window.flags = place.flags;
  window.previous = currentWindowRef();
  window.helpContext = currentWindowRef() ? currentWindowRef()->helpContext : 0;
  window.stackOrder = ++uiState().stackCounter;
  window.x = place.x;
  window.y = place.y;
  window.width = width;
  window.height = height;
  window.textColor = text;
  window.frameColor = frame;
  if (!title.empty()) window.title = title;
  currentWindowRef() = &window;

  {
    // The saver would put its own picture back over the window and its save-under.
    OutputLock lock;
    wakeFromSaver();
    raiseHold(1);
    drawFresh(window);
    if (lowerHold(1) == 0) flushWindow(window);
  }
  if (!(flags & WindowKeepCursor)) windowCursor(1, 1);
  handle = std::move(fresh);
  return 0;
}

void moveWindow(ScreenWindow& window, int x, int y, int width, int height) {
  if (!window.visible) return;
  // The frame bits that a smaller place dropped come back with a larger one.
  const WindowPlace place = clipPlace(x, y, width, height, window.requestedFlags);
  const std::size_t cells =
      static_cast<std::size_t>(place.width + 1) * static_cast<std::size_t>(place.height + 1);
  if (place.width != window.width || place.height != window.height) {
    std::unique_ptr<ScreenCell[]> buffer(new (std::nothrow) ScreenCell[cells]);
    if (!buffer) return;
    window.saveUnder = std::move(buffer);
  }
  window.x = place.x;
  window.y = place.y;
  window.width = place.width;
  window.height = place.height;
  window.flags = place.flags;
  window.relayoutPending = false;
  OutputLock lock;
  drawFresh(window);
}

void liftWindows() {
  if (uiState().windowsLifted) return;
  const std::vector<ScreenWindow*> open = openWindowsInOrder();
  OutputLock lock;
  for (auto it = open.rbegin(); it != open.rend(); ++it) exchangeSaved(**it);
  uiState().windowsLifted = true;
}

void relayoutWindows(int columns, int rows) {
  liftWindows();
  const std::vector<ScreenWindow*> open = openWindowsInOrder();
  for (ScreenWindow* window : open) window->relayoutPending = true;
  {
    OutputLock lock;
    initScreenImage(std::max(columns, 1), std::max(rows, 1));
  }
  raiseHold(2);
  for (ScreenWindow* window : open) {
    if (window->relayout != nullptr) window->relayout(*window, window->relayoutOwner);
    if (window->relayoutPending) {  // no owner, or one that did not move it
      OutputLock lock;
      placePicture(*window);
      window->relayoutPending = false;
    }
  }
  uiState().windowsLifted = false;
  lowerHold(2);
  if (currentWindowRef()) placeConsoleCursor(*currentWindowRef());
  flushScreen();
}

void closeWindow(ScreenWindow* window) {
  if (window == nullptr) window = currentWindowRef();
  if (window == nullptr || !window->visible) return;
  {
    OutputLock lock;
    wakeFromSaver();
    raiseHold(1);
    exchangeSaved(*window);
    if (lowerHold(1) == 0) flushWindow(*window);
  }
  window->visible = false;
  unlink(window);
  if (currentWindowRef()) placeConsoleCursor(*currentWindowRef());
}

void freeWindow(WindowHandle& handle) {
  if (!handle) return;
  closeWindow(handle.get());
  handle.reset();
}

void dropWindow(WindowHandle& handle) {
  if (handle) handle->visible = false;
  handle.reset();
}

void activateWindow(ScreenWindow& window) {
  currentWindowRef() = &window;
  placeConsoleCursor(window);
}

ScreenWindow* currentWindow() { return currentWindowRef(); }

CurrentWindowScope::CurrentWindowScope(ScreenWindow& window) : saved_(currentWindowRef()) {
  currentWindowRef() = &window;
}

CurrentWindowScope::~CurrentWindowScope() {
  currentWindowRef() = saved_;
  if (currentWindowRef()) placeConsoleCursor(*currentWindowRef());
}

int currentHelpContext() { return currentWindowRef() ? currentWindowRef()->helpContext : 0; }

void setHelpContext(int context) {
  if (currentWindowRef()) currentWindowRef()->helpContext = context;
}

void windowCursor(int column, int row) {
  if (!currentWindowRef()) return;
  currentWindowRef()->cursorColumn = column;
  currentWindowRef()->cursorRow = row;
  placeConsoleCursor(*currentWindowRef());
}

MouseZone windowZone(const ScreenWindow& window, int column, int cells, int row, KeyCode code) {
  MouseZone zone;
  zone.x1 = windowScreenColumn(window, column);
  zone.x2 = zone.x1 + std::max(cells, 1) - 1;
  zone.y1 = zone.y2 = windowScreenRow(window, row);
  zone.leftCode = code;
  return zone;
}

MouseZone windowInteriorZone(const ScreenWindow& window, KeyCode code) {
  MouseZone zone = windowZone(window, 1, windowLastColumn(window), 1, code);
  zone.y2 = windowScreenRow(window, windowLastRow(window));
  return zone;
}

std::string shortNameLayout(std::string_view name) {
  std::string out(name);
  if (name == "." || name == ".." || textChars(name) >= 13) return out;
  std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || name.find('.', dot + 1) != std::string_view::npos)
    return out;
  // Names of the 8.3 shape only: a leading dot marks a hidden name, not an empty base, and a
  // longer extension would be pushed out of its column.
  if (dot == 0 || dot > 8 || textChars(name.substr(dot + 1)) > 3) return out;
  int pad = 8 - textCells(name.substr(0, dot));
  if (pad > 0) out.insert(dot, static_cast<std::size_t>(pad), ' ');
  return out;
}

void writeText(std::string_view text, int width, int column, int row, int options) {
  OutputLock lock;
  // Switched off before writing (under the semaphore, as the clock animates it): switching it
  // off puts the saved picture back, which would hide what is written.
  wakeFromSaver();
  ScreenWindow* window = currentWindowRef();
  bool screenCoordinates = options & WriteScreen;
  bool keepAttributes = options & WriteKeepAttr;
  if (!screenCoordinates && (window == nullptr || !drawable(*window))) return;

  ScreenImage& image = screenImage();
  int c = screenCoordinates ? column - 1 : windowScreenColumn(*window, column);
  int r = screenCoordinates ? row : windowScreenRow(*window, row);
  int limit = (options & WriteHotkey) ? width : width + 1;
  if (r < 0 || r >= image.rows || limit <= 0) return;
  ColorAttr attr = window == nullptr             ? ColorAttr{0x07}
                   : (options & WriteFrameColor) ? window->frameColor
                                                 : window->textColor;

  std::string laidOut;
  if (options & WriteFileName) {
    laidOut = shortNameLayout(text);
    text = laidOut;
  }

  int written = 0, first = INT_MAX, last = -1;
  auto put = [&](char32_t ch, ColorAttr cellAttr) {
    if (c >= 0 && c < image.columns) {
      ScreenCell& cell = image.at(c, r);
      cell.ch = ch;
      if (!keepAttributes) cell.attr = cellAttr;
      first = std::min(first, c);
      last = std::max(last, c);
    }
    ++c;
    ++written;
  };

  bool caretPending = options & WriteHotkey;
  bool hotkeyNext = false;
  for (std::size_t pos = 0; pos < text.size() && written < limit;) {
    if (caretPending && text[pos] == '^' && pos + 1 < text.size()) {
      caretPending = false;
      hotkeyNext = true;
      ++pos;
      continue;
    }
    char32_t ch;
    pos += decodeChar(text, pos, ch);
    int cells = charCells(ch);
    if (cells == 0) continue;
    ColorAttr cellAttr = hotkeyNext ? color(ColorHotkey) : attr;
    hotkeyNext = false;
    if (cells == 2) {
      if (written + 2 > limit) {
        put(U' ', cellAttr);
        break;
      }
      if (c < 0 || c + 1 >= image.columns) {  // would be split by a screen edge
        put(U' ', cellAttr);
        put(U' ', cellAttr);
        continue;
      }
      put(ch, cellAttr);
      put(WideTail, cellAttr);
    } else {
      put(ch, cellAttr);
    }
  }
  if (options & WritePad)
    while (written < limit && c < image.columns) put(U' ', attr);

  if (last >= first && holdLevel() == 0) flushCells(first, r, last - first + 1);
}

void writeTextAbsolute(std::string_view text, int width, int column, int row) {
  writeText(text, width, column, row, WriteScreen | WriteKeepAttr);
}

void putChar(char32_t ch) {
  OutputLock lock;
  if (screenSaverActive())
    screenSaverOff();
  else
    noteActivity();
  ScreenWindow* window = currentWindowRef();
  if (window == nullptr || !drawable(*window)) return;
  ScreenWindow& w = *window;
  const int last = windowLastColumn(w), edge = last + 1;

  switch (ch) {
    case 8:
      w.cursorColumn = std::max(1, w.cursorColumn - 1);
      teletypeCell(w, w.cursorColumn, w.cursorRow, U' ');
      break;
    case 9:
      if (w.cursorColumn + 8 <= edge) w.cursorColumn += 8;
      break;
    case 10:
      teletypeNewLine(w);
      break;
    case 13:
      w.cursorColumn = 1;
      break;
    default: {
      int cells = charCells(ch);
      if (cells == 0) break;
      if (w.cursorColumn + cells - 1 > last) {
        // The rest of the row cannot take the character: a blank where half of a wide one
        // would stand, then wrap (or drop it in no-wrap mode).
        if (w.cursorColumn <= last) teletypeCell(w, w.cursorColumn, w.cursorRow, U' ');
        if (uiState().noWrap || cells > last) {
          w.cursorColumn = edge;
          break;
        }
        teletypeNewLine(w);
      }
      teletypeCell(w, w.cursorColumn, w.cursorRow, ch);
      if (cells == 2) teletypeCell(w, w.cursorColumn + 1, w.cursorRow, WideTail);
      w.cursorColumn = std::min(w.cursorColumn + cells, edge);
      break;
    }
  }
  placeConsoleCursor(w);
}

void setTeletypeNoWrap(bool on) { uiState().noWrap = on; }

int teletypeScrollCount() { return uiState().scrollCount; }

void scrollWindowUp() {
  OutputLock lock;
  if (currentWindowRef()) scrollInterior(*currentWindowRef());
}

void separatorLine(ScreenWindow* window, int column, int row) {
  if (window == nullptr) window = currentWindowRef();
  if (window == nullptr || !drawable(*window)) return;
  const ScreenWindow& w = *window;
  const FrameStyle& set = w.frame ? *w.frame : frameSet(w.flags);
  int right = windowFramed(w) ? w.width - 1 : w.width;
  int r = windowScreenRow(w, row);
  ScreenImage& image = screenImage();
  int first = INT_MAX, last = -1;
  for (int col = column; col <= right; ++col) {
    FramePosition position = col == column  ? FrameLeftTee
                             : col == right ? FrameRightTee
                                            : FrameSeparator;
    int c = windowScreenColumn(w, col);
    if (!image.contains(c, r)) continue;
    image.at(c, r) = {cp437ToUnicode(set.chars[position]), w.frameColor};
    first = std::min(first, c);
    last = std::max(last, c);
  }
  if (last >= first && holdLevel() == 0) flushCells(first, r, last - first + 1);
}

void drawVerticalScrollBar(ScreenWindow& window, int percent) {
  if (!windowFramed(window) || window.height < 4 || !drawable(window)) return;
  percent = std::clamp(percent, 0, 100);
  int column = window.width - 1, bottom = window.height - 1;
  putOuter(window, column, 1, cp437ToUnicode(ScrollUp), window.frameColor);
  putOuter(window, column, bottom - 1, cp437ToUnicode(ScrollDown), window.frameColor);
  for (int row = 2; row < bottom - 1; ++row)
    putOuter(window, column, row, cp437ToUnicode(ScrollTrack), window.frameColor);
  if (window.height >= 5)
    putOuter(window, column, percent * (window.height - 5) / 100 + 2, cp437ToUnicode(ScrollThumb),
             window.frameColor);
  if (holdLevel() == 0)
    flushRect(window.x + column, window.y, window.x + column, window.y + bottom);
}

void drawHorizontalScrollBar(ScreenWindow& window, int percent) {
  if (!windowFramed(window) || window.width < 4) return;
  percent = std::clamp(percent, 0, 100);
  int row = window.height - 1, right = window.width - 1;
  putOuter(window, 1, row, cp437ToUnicode(ScrollLeft), window.frameColor);
  putOuter(window, right - 1, row, cp437ToUnicode(ScrollRight), window.frameColor);
  for (int column = 2; column < right - 1; ++column)
    putOuter(window, column, row, cp437ToUnicode(ScrollTrack), window.frameColor);
  if (window.width >= 5)
    putOuter(window, percent * (window.width - 5) / 100 + 2, row, cp437ToUnicode(ScrollThumb),
             window.frameColor);
  if (holdLevel() == 0) flushRect(window.x, window.y + row, window.x + right, window.y + row);
}

}  // namespace corvane
