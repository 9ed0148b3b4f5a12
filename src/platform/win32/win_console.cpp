#include "platform/win32/win_console.h"

#include <algorithm>
#include <vector>

#include "platform/charset.h"
#include "platform/screen.h"
#include "platform/term_decoder.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

constexpr DWORD ProgramInputMode = ENABLE_WINDOW_INPUT | ENABLE_MOUSE_INPUT | ENABLE_EXTENDED_FLAGS;
constexpr DWORD UserInputMode =
    ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_EXTENDED_FLAGS;
constexpr int TickMs = 55;

// PC scan codes of the keys a console may deliver without one.
std::uint8_t scanOfVirtualKey(WORD vk) {
  switch (vk) {
    case VK_ESCAPE: return 0x01;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_RETURN: return 0x1C;
    case VK_HOME: return 0x47;
    case VK_UP: return 0x48;
    case VK_PRIOR: return 0x49;
    case VK_LEFT: return 0x4B;
    case VK_CLEAR: return 0x4C;
    case VK_RIGHT: return 0x4D;
    case VK_END: return 0x4F;
    case VK_DOWN: return 0x50;
    case VK_NEXT: return 0x51;
    case VK_INSERT: return 0x52;
    case VK_DELETE: return 0x53;
    case VK_F11: return 0x57;
    case VK_F12: return 0x58;
    default:
      if (vk >= VK_F1 && vk <= VK_F10) return static_cast<std::uint8_t>(0x3B + (vk - VK_F1));
      return 0;
  }
}

// The character a key gives when the console left it out (some consoles give Esc, Enter,
// Tab and Backspace without one).
std::uint8_t characterOfVirtualKey(WORD vk) {
  switch (vk) {
    case VK_ESCAPE: return 0x1B;
    case VK_RETURN: return 0x0D;
    case VK_TAB: return 0x09;
    case VK_BACK: return 0x08;
    default: return 0;
  }
}

ModifierKey modifierOf(WORD vk) {
  switch (vk) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
      return ModifierKey::Shift;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
      return ModifierKey::Control;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
      return ModifierKey::Alt;
    default:
      return ModifierKey::None;
  }
}

std::uint16_t controlStateOf(DWORD state) {
  // The console's bits are the program's: right Alt 0x01, left Alt 0x02, right Ctrl 0x04,
  // left Ctrl 0x08, Shift 0x10.
  return static_cast<std::uint16_t>(state & 0x1F);
}

// Writes the visible cells of a buffer once more, so that a console that does not repaint
// on a change of the active buffer (Wine's on a terminal) shows them.
void repaintBuffer(HANDLE buffer) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(buffer, &info)) return;
  SMALL_RECT window = info.srWindow;
  const COORD size{static_cast<SHORT>(window.Right - window.Left + 1),
                   static_cast<SHORT>(window.Bottom - window.Top + 1)};
  if (size.X <= 0 || size.Y <= 0) return;
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(size.X) * size.Y);
  if (!ReadConsoleOutputW(buffer, cells.data(), size, COORD{0, 0}, &window)) return;
  // Cells written as they are would be no change to such a console: each is written once
  // with another character first.
  std::vector<CHAR_INFO> other(cells);
  for (CHAR_INFO& cell : other) cell.Char.UnicodeChar = cell.Char.UnicodeChar == L'x' ? L'y' : L'x';
  SMALL_RECT region = window;
  WriteConsoleOutputW(buffer, other.data(), size, COORD{0, 0}, &region);
  region = window;
  WriteConsoleOutputW(buffer, cells.data(), size, COORD{0, 0}, &region);
  SetConsoleCursorPosition(buffer, info.dwCursorPosition);
}

}  // namespace

// Defined in session.cpp: what a control event asks for.
BOOL WINAPI consoleControlHandler(DWORD event);

void waitKeyPress(HANDLE input) {
  for (;;) {
    INPUT_RECORD in;
    DWORD count = 0;
    if (!ReadConsoleInputW(input, &in, 1, &count) || count == 0) return;
    if (in.EventType == KEY_EVENT && in.Event.KeyEvent.bKeyDown &&
        modifierOf(in.Event.KeyEvent.wVirtualKeyCode) == ModifierKey::None)
      return;
  }
}

wchar_t consoleCharOfCell(char32_t ch) {
  if (ch < 0x20) return static_cast<wchar_t>(cp437ToUnicode(static_cast<std::uint8_t>(ch)));
  if (ch > 0xFFFF) return L'?';
  return static_cast<wchar_t>(ch);
}

bool translateInputRecord(const INPUT_RECORD& in, InputRecord& out, int& repeat) {
  out = InputRecord{};
  repeat = 1;
  switch (in.EventType) {
    case KEY_EVENT: {
      const KEY_EVENT_RECORD& key = in.Event.KeyEvent;
      out.kind = InputRecord::Kind::Key;
      out.keyDown = key.bKeyDown != 0;
      out.controlState = controlStateOf(key.dwControlKeyState);
      out.modifierKey = modifierOf(key.wVirtualKeyCode);
      const wchar_t wide = key.uChar.UnicodeChar;
      // Control characters (Enter, Tab, Ctrl with a letter) are their own codes.
      int character = wide < 0x20 || wide == 0x7F ? wide : unicodeToCp437(static_cast<char32_t>(wide));
      if (character < 0) character = '?';
      const bool alt = (key.dwControlKeyState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0;
      if (character == 0 && !alt) character = characterOfVirtualKey(key.wVirtualKeyCode);
      out.character = static_cast<std::uint8_t>(character);
      // Letters and digits reach the Alt and Ctrl codes through the key that carries them
      // on a German keyboard, as on every back end.
      std::uint8_t scan = 0;
      const WORD vk = key.wVirtualKeyCode;
      if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        scan = germanScanCode(static_cast<std::uint8_t>(vk >= 'A' ? vk - 'A' + 'a' : vk));
      if (scan == 0 && out.character >= 0x20) scan = germanScanCode(out.character);
      if (scan == 0) scan = scanOfVirtualKey(vk);
      if (scan == 0) scan = static_cast<std::uint8_t>(key.wVirtualScanCode);
      out.scanCode = scan;
      if (out.character == 0 && out.scanCode == 0 && out.modifierKey == ModifierKey::None)
        return false;  // a key the program has no code for
      repeat = key.wRepeatCount > 0 ? key.wRepeatCount : 1;
      return true;
    }
    case MOUSE_EVENT: {
      const MOUSE_EVENT_RECORD& mouse = in.Event.MouseEvent;
      if ((mouse.dwEventFlags & MOUSE_WHEELED) != 0) {
        const bool up = static_cast<SHORT>(HIWORD(mouse.dwButtonState)) > 0;
        out.kind = InputRecord::Kind::Key;
        out.scanCode = up ? 0x48 : 0x50;
        repeat = 3;
        return true;
      }
      out.kind = InputRecord::Kind::Mouse;
      out.column = mouse.dwMousePosition.X;
      out.row = mouse.dwMousePosition.Y;
      out.buttons = static_cast<std::uint8_t>(mouse.dwButtonState & (MouseLeft | MouseRight));
      out.moved = (mouse.dwEventFlags & MOUSE_MOVED) != 0;
      out.controlState = controlStateOf(mouse.dwControlKeyState);
      if (out.moved && out.buttons == 0) return false;  // hovering means nothing
      return true;
    }
    case WINDOW_BUFFER_SIZE_EVENT:
      out.kind = InputRecord::Kind::Resize;
      return true;
    case FOCUS_EVENT:
      out.kind = InputRecord::Kind::Focus;
      return in.Event.FocusEvent.bSetFocus == 0;
    default:
      return false;
  }
}

WinConsole::~WinConsole() {
  stop();
  if (wakeEvent_ != nullptr) CloseHandle(wakeEvent_);
}

bool WinConsole::start(std::string_view title) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD inputMode = 0, outputMode = 0;
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (input == INVALID_HANDLE_VALUE || output == INVALID_HANDLE_VALUE ||
      !GetConsoleMode(input, &inputMode) || !GetConsoleMode(output, &outputMode) ||
      !GetConsoleScreenBufferInfo(output, &info))
    return false;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE buffer = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                            CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (buffer == INVALID_HANDLE_VALUE) return false;
  if (wakeEvent_ == nullptr) wakeEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  input_ = input;
  original_ = output;
  buffer_ = buffer;
  savedInputMode_ = inputMode;
  {
    std::lock_guard<std::mutex> lock(output_);
    fitWindowLocked(original_);
  }
  // What the user's window shows, for a stand-in should one be needed.
  SMALL_RECT window = info.srWindow;
  const COORD windowSize{static_cast<SHORT>(window.Right - window.Left + 1),
                         static_cast<SHORT>(window.Bottom - window.Top + 1)};
  std::vector<CHAR_INFO> userCells(static_cast<std::size_t>(windowSize.X) * windowSize.Y);
  if (!ReadConsoleOutputW(output, userCells.data(), windowSize, COORD{0, 0}, &window)) userCells.clear();
  const COORD userCursor{static_cast<SHORT>(info.dwCursorPosition.X - info.srWindow.Left),
                         static_cast<SHORT>(info.dwCursorPosition.Y - info.srWindow.Top)};
  setTitle(title);

  SetConsoleCtrlHandler(consoleControlHandler, TRUE);
  enterScreen();
  makeStandInIfNeeded(userCells, windowSize, userCursor);
  return true;
}

void WinConsole::makeStandInIfNeeded(const std::vector<CHAR_INFO>& userCells, COORD size, COORD cursor) {
  // A cell written into the program's buffer and read back through the standard output.
  CHAR_INFO marker{}, read{};
  marker.Char.UnicodeChar = 0xE0C7;  // private use: never in the user's window
  marker.Attributes = 0x5A;
  SMALL_RECT corner{0, 0, 0, 0};
  WriteConsoleOutputW(buffer_, &marker, COORD{1, 1}, COORD{0, 0}, &corner);
  corner = SMALL_RECT{0, 0, 0, 0};
  const bool follows = ReadConsoleOutputW(original_, &read, COORD{1, 1}, COORD{0, 0}, &corner) &&
                       read.Char.UnicodeChar == marker.Char.UnicodeChar &&
                       read.Attributes == marker.Attributes;
  CHAR_INFO blank{};
  blank.Char.UnicodeChar = L' ';
  blank.Attributes = 0x07;
  corner = SMALL_RECT{0, 0, 0, 0};
  WriteConsoleOutputW(buffer_, &blank, COORD{1, 1}, COORD{0, 0}, &corner);
  if (!follows) return;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE standIn = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                             CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (standIn == INVALID_HANDLE_VALUE) return;
  SetConsoleScreenBufferSize(standIn, size);
  SMALL_RECT window{0, 0, static_cast<SHORT>(size.X - 1), static_cast<SHORT>(size.Y - 1)};
  SetConsoleWindowInfo(standIn, TRUE, &window);
  if (userCells.size() == static_cast<std::size_t>(size.X) * size.Y) {
    WriteConsoleOutputW(standIn, userCells.data(), size, COORD{0, 0}, &window);
  }
  SetConsoleCursorPosition(standIn, cursor);
  standIn_ = standIn;
}

void WinConsole::stop() {
  if (buffer_ == INVALID_HANDLE_VALUE) return;
  {
    std::lock_guard<std::mutex> lock(output_);
    live_ = false;
  }
  SetConsoleCtrlHandler(consoleControlHandler, FALSE);

  SetConsoleMode(input_, savedInputMode_);
  SetConsoleActiveScreenBuffer(userBuffer());
  repaintBuffer(userBuffer());
  CloseHandle(buffer_);
  buffer_ = INVALID_HANDLE_VALUE;
  // A stand-in stays open: it is what the console shows from now on.
}

void WinConsole::writeRect(const ScreenImage& image, int left, int top, int right, int bottom) {
  std::lock_guard<std::mutex> lock(output_);
  if (!live_ || right < left || bottom < top) return;
  const int width = right - left + 1, height = bottom - top + 1;
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width) * height);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const int x = left + column, y = top + row;
      const ScreenCell& cell = image.at(x, y);
      CHAR_INFO& out = cells[static_cast<std::size_t>(row) * width + column];
      out.Char.UnicodeChar = consoleCharOfCell(cell.ch);
      out.Attributes = cell.attr;
      // A wide character takes two cells: the console wants it in both, marked as its
      // leading and its trailing half; a half without its other half shows as a blank.
      if (cell.ch == WideTail) {
        const char32_t lead = x > 0 ? image.at(x - 1, y).ch : WideTail;
        const bool whole = lead != WideTail && lead <= 0xFFFF;
        out.Char.UnicodeChar = whole ? static_cast<wchar_t>(lead) : L' ';
        if (whole) out.Attributes |= COMMON_LVB_TRAILING_BYTE;
      } else if (x + 1 < image.columns && image.at(x + 1, y).ch == WideTail) {
        if (cell.ch <= 0xFFFF) out.Attributes |= COMMON_LVB_LEADING_BYTE;
        else out.Char.UnicodeChar = L' ';
      }
    }
  }
  SMALL_RECT region{static_cast<SHORT>(left), static_cast<SHORT>(top), static_cast<SHORT>(right),
                    static_cast<SHORT>(bottom)};
  WriteConsoleOutputW(buffer_, cells.data(), COORD{static_cast<SHORT>(width), static_cast<SHORT>(height)},
                      COORD{0, 0}, &region);
}

void WinConsole::applyCursorLocked() {
  if (!live_) return;
  CONSOLE_CURSOR_INFO info{};
  info.dwSize = cursorShape_ == 1 ? 70 : 20;
  info.bVisible = cursorShape_ == 0 || cursorShape_ == 1;
  SetConsoleCursorInfo(buffer_, &info);
  if (info.bVisible)
    SetConsoleCursorPosition(buffer_, COORD{static_cast<SHORT>(cursorColumn_), static_cast<SHORT>(cursorRow_)});
}

void WinConsole::setCursorShape(int shape) {
  std::lock_guard<std::mutex> lock(output_);
  cursorShape_ = shape;
  applyCursorLocked();
}

void WinConsole::setCursorPosition(int column, int row) {
  std::lock_guard<std::mutex> lock(output_);
  cursorColumn_ = column;
  cursorRow_ = row;
  applyCursorLocked();
}

void WinConsole::setTitle(std::string_view title) { SetConsoleTitleW(wideOf(title).c_str()); }

void WinConsole::beep(int frequency, int ticks) {
  Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(ticks * TickMs));
}

bool WinConsole::fitWindowLocked(HANDLE source) {
  CONSOLE_SCREEN_BUFFER_INFO info, own;
  if (buffer_ == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(source, &info) ||
      !GetConsoleScreenBufferInfo(buffer_, &own))
    return false;
  const SHORT columns = static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1);
  const SHORT rows = static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1);
  if (columns <= 0 || rows <= 0) return false;
  if (own.dwSize.X != columns || own.dwSize.Y != rows || own.srWindow.Left != 0 ||
      own.srWindow.Top != 0 || own.srWindow.Right != columns - 1 || own.srWindow.Bottom != rows - 1) {
    // A window never reaches past its buffer: first the window into the buffer's top left
    // corner, then the buffer to the size, then the window to all of it.
    SMALL_RECT window{0, 0, static_cast<SHORT>(std::min(columns, own.dwSize.X) - 1),
                      static_cast<SHORT>(std::min(rows, own.dwSize.Y) - 1)};
    SetConsoleWindowInfo(buffer_, TRUE, &window);
    SetConsoleScreenBufferSize(buffer_, COORD{columns, rows});
    window = SMALL_RECT{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
    SetConsoleWindowInfo(buffer_, TRUE, &window);
  }
  const bool changed = columns != columns_ || rows != rows_;
  columns_ = columns;
  rows_ = rows;
  return changed;
}

bool WinConsole::windowResized() {
  std::lock_guard<std::mutex> lock(output_);
  return live_ && fitWindowLocked(buffer_);
}

bool WinConsole::readInput(InputRecord& record, int timeoutMs) {
  // The queue is asked for its count before each wait, and a wait lasts one slice at most:
  // not every console signals its input handle for records another program wrote into it.
  constexpr DWORD SliceMs = 30;
  const ULONGLONG deadline = timeoutMs < 0 ? 0 : GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    if (!queue_.empty()) {
      record = queue_.front();
      queue_.pop_front();
      return true;
    }
    const int drained = drainInput();
    if (drained < 0) return false;
    if (drained > 0) continue;
    if (windowResized()) {
      record = InputRecord{};
      record.kind = InputRecord::Kind::Resize;
      return true;
    }
    DWORD wait = SliceMs;
    if (timeoutMs >= 0) {
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline) return false;
      wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, SliceMs));
    }
    HANDLE handles[] = {input_, wakeEvent_};
    if (WaitForMultipleObjects(2, handles, FALSE, wait) == WAIT_OBJECT_0 + 1) return false;
  }
}

void WinConsole::wake() {
  if (wakeEvent_ != nullptr) SetEvent(wakeEvent_);
}

int WinConsole::drainInput() {
  int taken = 0;
  for (;;) {
    DWORD pending = 0;
    if (!GetNumberOfConsoleInputEvents(input_, &pending)) return -1;
    if (pending == 0) return taken;
    INPUT_RECORD in[16];
    DWORD count = 0;
    if (!ReadConsoleInputW(input_, in, 16, &count)) return -1;
    if (count == 0) return taken;
    taken += static_cast<int>(count);
    for (DWORD i = 0; i < count; ++i) {
      InputRecord translated;
      int repeat = 1;
      if (!translateInputRecord(in[i], translated, repeat)) continue;
      // The buffer-size event of the program's own fitting tells nothing new.
      if (translated.kind == InputRecord::Kind::Resize && !windowResized()) continue;
      for (int n = 0; n < repeat && n < 64; ++n) queue_.push_back(translated);
    }
  }
}

bool WinConsole::escapePending() {
  // Called for every file or block of a long operation: the console is asked at most once
  // in EscapeLookGapMs, what it held is kept in the queue for readInput.
  const std::uint64_t now = GetTickCount64();
  if (now >= lastEscapeLookMs_ + EscapeLookGapMs || now < lastEscapeLookMs_) {
    (void)drainInput();
    lastEscapeLookMs_ = now;
  }
  for (const InputRecord& record : queue_) {
    if (record.kind == InputRecord::Kind::Key && record.keyDown && record.character == 0x1B)
      return true;
  }
  return false;
}

void WinConsole::flushInput() {
  std::deque<InputRecord> kept;
  for (const InputRecord& record : queue_) {
    if (record.kind == InputRecord::Kind::Resize) kept.push_back(record);
  }
  queue_.swap(kept);
  FlushConsoleInputBuffer(input_);
}

void WinConsole::setProgramInput(bool program) {
  SetConsoleMode(input_, program ? ProgramInputMode : UserInputMode);
}

void WinConsole::sleepMs(int ms) { Sleep(ms < 0 ? 0 : static_cast<DWORD>(ms)); }

std::uint64_t WinConsole::nowMs() { return GetTickCount64(); }

void WinConsole::terminalSize(int& columns, int& rows) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  HANDLE buffer = buffer_ != INVALID_HANDLE_VALUE ? buffer_ : GetStdHandle(STD_OUTPUT_HANDLE);
  if (!GetConsoleScreenBufferInfo(buffer, &info)) {
    columns = 80;
    rows = 25;
    return;
  }
  columns = info.srWindow.Right - info.srWindow.Left + 1;
  rows = info.srWindow.Bottom - info.srWindow.Top + 1;
}

void WinConsole::leaveScreen() {
  std::lock_guard<std::mutex> lock(output_);
  if (!live_) return;
  live_ = false;
  SetConsoleMode(input_, UserInputMode);
  SetConsoleActiveScreenBuffer(userBuffer());
  repaintBuffer(userBuffer());
}

void WinConsole::enterScreen() {
  std::lock_guard<std::mutex> lock(output_);
  if (buffer_ == INVALID_HANDLE_VALUE) return;
  SetConsoleMode(input_, ProgramInputMode);
  // The window may have changed its size while the user's buffer was shown.
  if (fitWindowLocked(userBuffer())) {
    InputRecord resize;
    resize.kind = InputRecord::Kind::Resize;
    queue_.push_back(resize);
  }
  SetConsoleActiveScreenBuffer(buffer_);
  repaintBuffer(buffer_);
  live_ = true;
  applyCursorLocked();
}

void WinConsole::showUserScreen() {
  leaveScreen();
  SetConsoleMode(input_, ProgramInputMode);
  waitKeyPress(input_);
  enterScreen();
}

}  // namespace corvane
