// Rectangular windows stacked on the screen image. Each window saves what lies under it (and
// under its shadow), so closing it puts the screen back without a redraw by its owner; a closed
// window keeps its own picture and can be shown again. The topmost window is the current one:
// text output, the text cursor and the help context refer to it.
//
// Coordinates inside a window are 1-based from the first inner cell: in a framed window column
// 0 and row 0 are the frame, in a window without frame column 1 is its first cell.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/color.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "ui/frame_style.h"

namespace corvane {

enum WindowFlag : int {
  WindowDouble = 0x01,         // double-line frame
  WindowSingle = 0x02,         // single-line frame
  WindowBlock = 0x04,          // block frame
  WindowShadow = 0x08,         // shadow right of and below the window
  WindowClear = 0x10,          // clear the interior when opened
  WindowFill = 0x20,           // fill the interior with the fill character instead of blanks
  WindowKeepCursor = 0x40,     // leave the cursor where it is when opened
  WindowHorizontalBar = 0x80,  // horizontal scroll bar in the bottom frame line
  WindowVerticalBar = 0x100,   // vertical scroll bar in the right frame line
};
constexpr int WindowFrameMask = WindowDouble | WindowSingle | WindowBlock;

struct ScreenWindow {
  int x = 0, y = 0;                     // top-left corner, 0-based screen cells
  int cursorColumn = 1, cursorRow = 1;  // text cursor, window coordinates
  int width = 0, height = 0;            // outer size, frame included
  ColorAttr textColor = 0x07;           // interior and text
  ColorAttr frameColor = 0x07;          // frame lines, text written with WriteFrameColor
  const FrameStyle* frame = nullptr;    // set chosen when the frame was drawn
  int flags = 0;                        // WindowFlag bits (frame bits dropped below 3 cells)
  int requestedFlags = 0;               // the flags it was opened with
  // What lies under the window and its shadow while it is open; its own picture once closed.
  // savedColumns x savedRows cells from (x, y), row by row.
  std::unique_ptr<ScreenCell[]> saveUnder;
  int savedColumns = 0, savedRows = 0;
  bool visible = false;
  ScreenWindow* previous = nullptr;  // the window that was current when this one was opened
  std::string title;
  int helpContext = 0;  // help page for F1; copied from the previous window at open
  int stackOrder = 0;   // when it was last opened: a window opened later lies above it
  // Lays the window out again when the screen size changes: its owner moves it (moveWindow)
  // and draws its contents. A window without one keeps its picture and is moved inside the
  // new screen where it no longer fits.
  void (*relayout)(ScreenWindow& window, void* owner) = nullptr;
  void* relayoutOwner = nullptr;
  bool relayoutPending = false;  // drawing into it waits for its owner's relayout
};

// Releasing a window record unlinks it from the window stack first, so a handle that goes
// away while its window is still open never leaves a dangling current window.
struct WindowDeleter {
  void operator()(ScreenWindow* window) const;
};
using WindowHandle = std::unique_ptr<ScreenWindow, WindowDeleter>;

// Drawing windows (open, close, reopen) and writing text into them take the output semaphore
// and switch the screen saver off first. None of these may be called while the semaphore is
// held.
//
// Opens a window at 1-based (x, y), clipped to the screen (a window reaching past the right
// or bottom edge is narrowed so that its shadow column or row is the last one). An empty
// handle gets a new record; a handle holding a closed window shows that window again as it
// was (its geometry, colours and picture; the arguments other than the handle are not used).
// A handle whose window is open is left alone. Returns 0, or -1 when memory is short (the
// handle stays empty and nothing is drawn).
[[nodiscard]] int openWindow(WindowHandle& handle, int x, int y, int width, int height,
                             ColorAttr text, ColorAttr frame, int flags,
                             std::string_view title = {});

// Puts back what lay under the window, keeps its picture for a later reopen, makes the
// previous window current and the cursor go to that window's text cursor. Nothing for a
// window that is not open. Without an argument: the current window.
void closeWindow(ScreenWindow* window = nullptr);
inline void closeWindow(WindowHandle& handle) {
  if (handle) closeWindow(handle.get());
}
// Closes the window and releases the record; the handle is empty afterwards.
void freeWindow(WindowHandle& handle);
// Releases the record without touching the screen (the whole screen is redrawn anyway).
void dropWindow(WindowHandle& handle);
// Gives an open window a new place and size (1-based; clipped as openWindow clips) within a
// relayout: it is opened afresh there over what the screen shows now (cleared, framed and
// shadowed as its flags say, the title kept) and what lies under it is saved anew. The owner
// draws the contents again.
void moveWindow(ScreenWindow& window, int x, int y, int width, int height);

// Following a change of the screen size, in two steps. Lifting puts back, from the top down,
// what lies under every open window; each keeps its own picture. Until the relayout the
// image belongs to whoever lifted (it may show something else meanwhile).
void liftWindows();
// The image takes the new size and every open window, from the bottom up, is laid out
// again: by its relayout hook, or with its picture, moved back inside the screen when it no
// longer fits. Lifts first when that was not done. The whole screen is flushed at the end.
void relayoutWindows(int columns, int rows);

// Makes the window current without drawing and puts the cursor to its text cursor.
void activateWindow(ScreenWindow& window);
ScreenWindow* currentWindow();

// Frees the window it holds when the scope ends, on every return path of dialog code.
class ScopedWindow {
 public:
  ScopedWindow() = default;
  ~ScopedWindow() { freeWindow(handle_); }
  ScopedWindow(const ScopedWindow&) = delete;
  ScopedWindow& operator=(const ScopedWindow&) = delete;

  [[nodiscard]] int open(int x, int y, int width, int height, ColorAttr text, ColorAttr frame,
                         int flags, std::string_view title = {}) {
    return openWindow(handle_, x, y, width, height, text, frame, flags, title);
  }
  ScreenWindow* get() const { return handle_.get(); }
  ScreenWindow* operator->() const { return handle_.get(); }
  ScreenWindow& operator*() const { return *handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  WindowHandle& handle() { return handle_; }

 private:
  WindowHandle handle_;
};

// Makes a window current for a scope (drawing into a window that is not on top, such as the
// function-key bar) and restores the previous current window and the cursor afterwards.
class CurrentWindowScope {
 public:
  explicit CurrentWindowScope(ScreenWindow& window);
  ~CurrentWindowScope();
  CurrentWindowScope(const CurrentWindowScope&) = delete;
  CurrentWindowScope& operator=(const CurrentWindowScope&) = delete;

 private:
  ScreenWindow* saved_;
};

// Help context of the current window (0 without a window).
int currentHelpContext();
void setHelpContext(int context);

bool windowFramed(const ScreenWindow& window);
// Screen cell of a window coordinate.
int windowScreenColumn(const ScreenWindow& window, int column);
int windowScreenRow(const ScreenWindow& window, int row);
// Last usable text column and row of the teletype output.
int windowLastColumn(const ScreenWindow& window);
int windowLastRow(const ScreenWindow& window);

// A mouse zone over cells (at least one) of a window row, from a window column, giving code.
MouseZone windowZone(const ScreenWindow& window, int column, int cells, int row, KeyCode code);
// A mouse zone over every cell inside the window's frame (every cell of a window without
// one), giving code.
MouseZone windowInteriorZone(const ScreenWindow& window, KeyCode code);

// Sets the text cursor of the current window and moves the console cursor there.
void windowCursor(int column, int row);

// Options of writeText.
enum WriteOption : int {
  WritePad = 0x01,         // pad with blanks to the field
  WriteScreen = 0x02,      // screen coordinates: column 1-based, row 0-based
  WriteKeepAttr = 0x04,    // characters only, the attributes on screen stay
  WriteFrameColor = 0x08,  // the frame colour instead of the text colour
  WriteFileName = 0x10,    // short file-name layout: "ab.c" as "ab      .c"
  WriteHotkey = 0x80,      // the first caret is hidden and marks a hotkey character
};

// Writes one line of text into the current window (or onto the screen with WriteScreen)
// under the output semaphore. The field is width + 1 cells, width cells with WriteHotkey;
// text beyond it is cut, a wide character that would be split becomes a blank. Clipped to
// the screen. Flushes the written cells unless a flush hold is raised, and switches the screen
// saver off. With WriteScreen and WriteKeepAttr no window is needed (the clock's status line).
void writeText(std::string_view text, int width, int column, int row, int options = 0);
// writeText with WriteScreen and WriteKeepAttr.
void writeTextAbsolute(std::string_view text, int width, int column, int row);

// The short file-name layout of WriteFileName: the part before the dot padded to eight cells,
// for names of the 8.3 shape only: not "." or "..", fewer than 13 characters, one dot among
// the first 9 characters but not the first, an extension of at most three characters.
std::string shortNameLayout(std::string_view name);

// Teletype output of one character at the text cursor of the current window: 8 backspace,
// 9 tab, 10 line feed, 13 carriage return; anything else is written in the text colour
// (wrapping at the right edge, scrolling the interior on the last row). Code page 437 control
// glyphs are passed as their Unicode code points.
void putChar(char32_t ch);
// No-wrap mode: characters at the right edge are dropped instead of wrapping. Only the
// hotkey label printer switches it, for its mode 32.
void setTeletypeNoWrap(bool on);
// Counts interior scrolls done by the teletype output (the label printer uses it to decide
// how much to flush).
int teletypeScrollCount();

// Scrolls the interior of the current window one line up; the new line is blank in the text
// colour.
void scrollWindowUp();

// A horizontal line across the window at row, from column (0 = on the left frame) to the right
// frame, joined to the frame by tees, in the frame colour. Without argument: current window.
void separatorLine(ScreenWindow* window, int column, int row);

// Scroll bars in the frame, thumb at the position in per cent (0..100), frame colour.
void drawVerticalScrollBar(ScreenWindow& window, int percent);
void drawHorizontalScrollBar(ScreenWindow& window, int percent);

}  // namespace corvane
