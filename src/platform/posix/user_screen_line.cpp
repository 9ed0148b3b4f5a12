#include "platform/posix/user_screen_line.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/charset.h"
#include "platform/posix/terminal_session.h"
#include "platform/term_output.h"

namespace corvane {
namespace {

// On the user's screen: pasted text stays text (a line break in it never runs a command),
// and a long row does not wrap onto a second line. Undone before a command and at the end.
constexpr std::string_view TakeSequence = "\x1b[?2004h\x1b[?7l";
constexpr std::string_view ReleaseSequence = "\x1b[?2004l\x1b[?7h";
constexpr std::string_view ClearLine = "\r\x1b[K";
constexpr std::string_view EraseToEnd = "\x1b[K";
// The terminal's own cursor, visible, before a command gets the terminal.
constexpr std::string_view OrdinaryCursor = "\x1b[0 q\x1b[?25h";

char32_t lineChar(char32_t ch) {
  if (ch < 0x20 || ch == 0x7F) return cp437ToUnicode(static_cast<std::uint8_t>(ch));
  if ((ch >= 0x80 && ch < 0xA0) || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return U' ';
  return charCells(ch) == 0 ? U' ' : ch;
}

struct Instance {
  int fd = -1;  // -1: standard output
  OutputCharset charset = OutputCharset::Utf8;
  std::unique_ptr<UserScreenLine> line;
};

// Never destroyed: it may stand in front of the console until the process ends.
Instance& instance() {
  static Instance& i = *new Instance;
  return i;
}

int outputFd() { return instance().fd >= 0 ? instance().fd : STDOUT_FILENO; }

}  // namespace

std::string rowAsLine(const ScreenImage& image, int row, int columns, OutputCharset charset) {
  std::string out;
  if (row < 0 || row >= image.rows) return out;
  const int last = std::min(columns, image.columns) - 1;
  std::size_t kept = 0;  // bytes up to the last character that is not a blank
  for (int column = 0; column <= last; ++column) {
    const char32_t ch = image.at(column, row).ch;
    if (ch == WideTail) continue;
    const char32_t shown = lineChar(ch);
    const bool wide = charCells(shown) == 2;
    if (wide && column + 1 > last) break;  // its second half is cut off
    if (charset == OutputCharset::Ascii)
      out.append(wide ? 2 : 1, asciiStandIn(shown));
    else
      appendUtf8(out, shown);
    if (shown != U' ') kept = out.size();
  }
  out.resize(kept);
  return out;
}

void UserScreenLine::write(std::string_view bytes) const {
  if (!bytes.empty()) writeAllBytes(fd_, bytes);
}

void UserScreenLine::takeInput() {
  enterTerminalSession();
  write(TakeSequence);
}

void UserScreenLine::releaseInput() {
  write(ReleaseSequence);
  leaveTerminalSession();
}

void UserScreenLine::placeCursor(std::string& out) const {
  out += '\r';
  if (cursorRow_ == row_ && cursorColumn_ > 0) {
    char move[24];
    std::snprintf(move, sizeof move, "\x1b[%dC", cursorColumn_);
    out += move;
  }
}

void UserScreenLine::drawRow(const ScreenImage& image) {
  if (row_ < 0) return;
  int columns = 0, rows = 0;
  inner_->terminalSize(columns, rows);
  if (columns <= 0) columns = image.columns;
  std::string out = "\r";
  out += rowAsLine(image, row_, columns, charset_);
  out += EraseToEnd;
  placeCursor(out);
  write(out);
}

void UserScreenLine::bringBackProgramScreen(const ScreenImage& image) {
  write(ClearLine);
  setNormalScreenAtLineStart(true);
  releaseInput();
  mode_ = Mode::ProgramScreen;
  inner_->enterScreen();
  inner_->setCursorShape(cursorShape_);
  inner_->setCursorPosition(cursorColumn_, cursorRow_);
  inner_->writeRect(image, 0, 0, image.columns - 1, image.rows - 1);
}

void UserScreenLine::show(ConsoleBackend& inner, const ScreenImage& image, int row,
                          int firstQuietRow) {
  std::lock_guard lock(mutex_);
  if (mode_ == Mode::Off) inner_ = &inner;
  row_ = row;
  quietFrom_ = firstQuietRow;
  snapshot_ = image;
  if (mode_ != Mode::UserScreen) {
    if (mode_ == Mode::Off || mode_ == Mode::ProgramScreen) inner_->leaveScreen();
    takeInput();
    mode_ = Mode::UserScreen;
  }
  std::string cursor = cursorShapeSequence(cursorShape_);
  write(cursor);
  drawRow(image);
}

void UserScreenLine::end() {
  std::lock_guard lock(mutex_);
  if (mode_ == Mode::UserScreen) {
    write(ClearLine);
    setNormalScreenAtLineStart(true);
    releaseInput();
  }
  if (mode_ == Mode::UserScreen || mode_ == Mode::Running) {
    inner_->enterScreen();
    inner_->setCursorShape(cursorShape_);
    inner_->setCursorPosition(cursorColumn_, cursorRow_);
  }
  mode_ = Mode::Off;
}

UserScreenLine::Mode UserScreenLine::mode() const {
  std::lock_guard lock(mutex_);
  return mode_;
}

void UserScreenLine::writeRect(const ScreenImage& image, int left, int top, int right, int bottom) {
  std::lock_guard lock(mutex_);
  switch (userScreenWrite(mode_, snapshot_, image, left, top, right, bottom, row_, quietFrom_)) {
    case UserScreenWrite::Console:
      inner_->writeRect(image, left, top, right, bottom);
      return;
    case UserScreenWrite::ProgramScreen:
      bringBackProgramScreen(image);
      return;
    case UserScreenWrite::Row:
      drawRow(image);
      return;
    case UserScreenWrite::Nothing:
      return;
  }
}

void UserScreenLine::setCursorShape(int shape) {
  std::lock_guard lock(mutex_);
  cursorShape_ = shape;
  if (mode_ == Mode::UserScreen) {
    std::string out = cursorShapeSequence(shape);
    if (cursorShapeVisible(shape)) placeCursor(out);
    write(out);
  } else if (mode_ != Mode::Running) {
    inner_->setCursorShape(shape);
  }
}

void UserScreenLine::setCursorPosition(int column, int row) {
  std::lock_guard lock(mutex_);
  cursorColumn_ = column;
  cursorRow_ = row;
  if (mode_ == Mode::UserScreen) {
    if (row == row_ && cursorShapeVisible(cursorShape_)) {
      std::string out;
      placeCursor(out);
      write(out);
    }
  } else if (mode_ != Mode::Running) {
    inner_->setCursorPosition(column, row);
  }
}

void UserScreenLine::beep(int frequency, int ticks) {
  std::lock_guard lock(mutex_);
  if (mode_ == Mode::UserScreen || mode_ == Mode::Running) {
    write(term::Bell);
  } else {
    inner_->beep(frequency, ticks);
  }
}

void UserScreenLine::wake() {
  std::lock_guard lock(mutex_);  // inner_ changes on the drawing thread
  if (inner_ != nullptr) inner_->wake();
}

void UserScreenLine::leaveScreen() {
  std::lock_guard lock(mutex_);
  if (mode_ == Mode::UserScreen) {
    write(OrdinaryCursor);
    releaseInput();
    mode_ = Mode::Running;
  } else if (mode_ != Mode::Running) {
    inner_->leaveScreen();
  }
}

void UserScreenLine::enterScreen() {
  std::lock_guard lock(mutex_);
  if (mode_ == Mode::Running) {
    takeInput();
    mode_ = Mode::UserScreen;
  } else if (mode_ != Mode::UserScreen) {
    inner_->enterScreen();
  }
}

bool userScreenLineAvailable() {
  if (instance().fd >= 0) return true;
  return terminalSessionStarted() && !terminalRestored() && isatty(STDOUT_FILENO) == 1;
}

void showUserScreenLine(int row, int firstQuietRow) {
  if (!hasConsole()) return;
  Instance& i = instance();
  if (!i.line) i.line = std::make_unique<UserScreenLine>(outputFd(), i.charset);
  UserScreenLine& line = *i.line;
  ConsoleBackend& active = console();
  ConsoleBackend& inner = &active == &line ? *line.inner() : active;
  line.show(inner, screenImage(), row, firstQuietRow);
  setConsole(&line);
}

void endUserScreenLine() {
  Instance& i = instance();
  if (!i.line || !hasConsole() || &console() != i.line.get()) return;
  ConsoleBackend* inner = i.line->inner();
  i.line->end();
  setConsole(inner);
  flushScreen();
}

bool userScreenLineInUse() {
  const Instance& i = instance();
  return i.line && hasConsole() && &console() == i.line.get();
}

bool userScreenLineShown() {
  return userScreenLineInUse() && instance().line->mode() == UserScreenLine::Mode::UserScreen;
}

void setUserScreenLineOutput(int fd) {
  Instance& i = instance();
  if (userScreenLineInUse()) return;  // never retargeted while in front of the console
  i.fd = fd;
  i.line.reset();
}

void setUserScreenLineCharset(OutputCharset charset) {
  Instance& i = instance();
  if (userScreenLineInUse()) return;
  i.charset = charset;
  i.line.reset();
}

}  // namespace corvane
