#include "platform/win32/win_user_screen.h"

#include <algorithm>
#include <vector>

namespace corvane {
namespace {

bool bufferInfo(HANDLE buffer, CONSOLE_SCREEN_BUFFER_INFO& info) {
  return GetConsoleScreenBufferInfo(buffer, &info) != 0 && info.dwSize.X > 0 && info.dwSize.Y > 0;
}

}  // namespace

void WinUserScreenLine::takeUserScreen() {
  inner_.setProgramInput(true);
  CONSOLE_SCREEN_BUFFER_INFO info;
  line_ = bufferInfo(inner_.userBuffer(), info) ? info.dwCursorPosition.Y : 0;
}

void WinUserScreenLine::drawRow(const ScreenImage& image) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (row_ < 0 || row_ >= image.rows || !bufferInfo(inner_.userBuffer(), info)) return;
  // The row as plain text in the buffer's own colours, blanks to the end of the line.
  const SHORT width = info.dwSize.X;
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width));
  for (SHORT column = 0; column < width; ++column) {
    CHAR_INFO& cell = cells[static_cast<std::size_t>(column)];
    const char32_t ch = column < image.columns ? image.at(column, row_).ch : U' ';
    cell.Char.UnicodeChar = ch == WideTail ? L' ' : consoleCharOfCell(ch);
    cell.Attributes = info.wAttributes;
  }
  SMALL_RECT region{0, line_, static_cast<SHORT>(width - 1), line_};
  WriteConsoleOutputW(inner_.userBuffer(), cells.data(), COORD{width, 1}, COORD{0, 0}, &region);
  applyCursor();
}

void WinUserScreenLine::clearRow() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!bufferInfo(inner_.userBuffer(), info)) return;
  DWORD written = 0;
  FillConsoleOutputCharacterW(inner_.userBuffer(), L' ', static_cast<DWORD>(info.dwSize.X),
                              COORD{0, line_}, &written);
  FillConsoleOutputAttribute(inner_.userBuffer(), info.wAttributes,
                             static_cast<DWORD>(info.dwSize.X), COORD{0, line_}, &written);
  SetConsoleCursorPosition(inner_.userBuffer(), COORD{0, line_});
}

// The program's cursor on the prompt line when it stands in the watched row; the buffer's
// cursor stays on that line in any case, so that a command's output follows it.
void WinUserScreenLine::applyCursor() {
  CONSOLE_CURSOR_INFO cursor{};
  const bool onRow = cursorRow_ == row_ && (cursorShape_ == CursorSmall || cursorShape_ == CursorLarge);
  cursor.dwSize = cursorShape_ == CursorLarge ? 70 : 20;
  cursor.bVisible = onRow;
  SetConsoleCursorInfo(inner_.userBuffer(), &cursor);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!bufferInfo(inner_.userBuffer(), info)) return;
  const SHORT column = onRow ? static_cast<SHORT>(std::clamp(cursorColumn_, 0, info.dwSize.X - 1)) : 0;
  SetConsoleCursorPosition(inner_.userBuffer(), COORD{column, line_});
}

void WinUserScreenLine::bringBackProgramScreen(const ScreenImage& image) {
  clearRow();
  mode_ = Mode::ProgramScreen;
  inner_.enterScreen();
  inner_.setCursorShape(cursorShape_);
  inner_.setCursorPosition(cursorColumn_, cursorRow_);
  inner_.writeRect(image, 0, 0, image.columns - 1, image.rows - 1);
}

void WinUserScreenLine::show(const ScreenImage& image, int row, int firstQuietRow) {
  row_ = row;
  quietFrom_ = firstQuietRow;
  snapshot_ = image;
  if (mode_ != Mode::UserScreen) {
    if (mode_ == Mode::Off || mode_ == Mode::ProgramScreen) inner_.leaveScreen();
    takeUserScreen();
    mode_ = Mode::UserScreen;
  }
  drawRow(image);
}

void WinUserScreenLine::end() {
  if (mode_ == Mode::UserScreen) clearRow();
  if (mode_ == Mode::UserScreen || mode_ == Mode::Running) {
    inner_.enterScreen();
    inner_.setCursorShape(cursorShape_);
    inner_.setCursorPosition(cursorColumn_, cursorRow_);
  }
  mode_ = Mode::Off;
}

void WinUserScreenLine::writeRect(const ScreenImage& image, int left, int top, int right, int bottom) {
  switch (userScreenWrite(mode_, snapshot_, image, left, top, right, bottom, row_, quietFrom_)) {
    case UserScreenWrite::Console:
      inner_.writeRect(image, left, top, right, bottom);
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

void WinUserScreenLine::setCursorShape(int shape) {
  cursorShape_ = shape;
  if (mode_ == Mode::UserScreen) {
    applyCursor();
  } else if (mode_ != Mode::Running) {
    inner_.setCursorShape(shape);
  }
}

void WinUserScreenLine::setCursorPosition(int column, int row) {
  cursorColumn_ = column;
  cursorRow_ = row;
  if (mode_ == Mode::UserScreen) {
    applyCursor();
  } else if (mode_ != Mode::Running) {
    inner_.setCursorPosition(column, row);
  }
}

void WinUserScreenLine::leaveScreen() {
  if (mode_ == Mode::UserScreen) {
    CONSOLE_CURSOR_INFO cursor{20, TRUE};
    SetConsoleCursorInfo(inner_.userBuffer(), &cursor);
    inner_.setProgramInput(false);
    mode_ = Mode::Running;
  } else if (mode_ != Mode::Running) {
    inner_.leaveScreen();
  }
}

void WinUserScreenLine::enterScreen() {
  if (mode_ == Mode::Running) {
    takeUserScreen();
    mode_ = Mode::UserScreen;
  } else if (mode_ != Mode::UserScreen) {
    inner_.enterScreen();
  }
}

}  // namespace corvane
