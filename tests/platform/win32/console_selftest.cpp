// The console back end on a real console (Wine gives one inside a pseudo-terminal): a
// rectangle written and read back, input records put into the console's queue and read back
// as key codes, and the control handler reached by a Ctrl-C event. Prints one line per
// failed check and a closing count into the file named by its argument; the exit status is 1
// when any check failed.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/keyboard.h"
#include "platform/keycodes.h"
#include "platform/screen.h"
#include "platform/signals.h"
#include "platform/win32/win_console.h"
#include "platform/win32/win_user_screen.h"

namespace corvane {
namespace {

int passed = 0, failed = 0;
std::string failures;
bool interrupted = false;

void check(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    failures += "FAILED: " + what + "\n";
  }
}

void rectangleComesBack(WinConsole& console) {
  ScreenImage& image = screenImage();
  const char32_t text[] = {U'A', U'z', U'\u2554', U'\u2591', U'\u00e4', U'7'};
  for (int i = 0; i < 6; ++i) {
    image.at(10 + i, 3) = ScreenCell{text[i], static_cast<ColorAttr>(0x1E + i)};
    image.at(10 + i, 4) = ScreenCell{text[5 - i], static_cast<ColorAttr>(0x70 | i)};
  }
  console.writeRect(image, 10, 3, 15, 4);
  CHAR_INFO cells[12];
  SMALL_RECT region{10, 3, 15, 4};
  const bool read = ReadConsoleOutputW(console.screenBuffer(), cells, COORD{6, 2}, COORD{0, 0},
                                       &region) != 0;
  check(read, "ReadConsoleOutputW of the written rectangle");
  if (!read) return;
  for (int row = 0; row < 2; ++row) {
    for (int i = 0; i < 6; ++i) {
      const ScreenCell& want = image.at(10 + i, 3 + row);
      const CHAR_INFO& got = cells[row * 6 + i];
      char where[64];
      std::snprintf(where, sizeof where, "cell %d,%d", 10 + i, 3 + row);
      check(got.Char.UnicodeChar == static_cast<wchar_t>(want.ch), std::string(where) + " character");
      check((got.Attributes & 0xFF) == want.attr, std::string(where) + " attribute");
    }
  }
  // A wide character fills its two cells, never a stand-in in the second.
  image.at(10, 5) = ScreenCell{U'\u4e2d', 0x1F};
  image.at(11, 5) = ScreenCell{WideTail, 0x1F};
  console.writeRect(image, 10, 5, 11, 5);
  SMALL_RECT wide{10, 5, 11, 5};
  check(ReadConsoleOutputW(console.screenBuffer(), cells, COORD{2, 1}, COORD{0, 0}, &wide) != 0,
        "ReadConsoleOutputW of a wide character");
  check(cells[0].Char.UnicodeChar == L'\u4e2d', "a wide character's first cell");
  check(cells[1].Char.UnicodeChar == L'\u4e2d' || cells[1].Char.UnicodeChar == L' ',
        "a wide character's second cell");
}

INPUT_RECORD keyRecord(WORD vk, WORD scan, wchar_t ch, DWORD state, bool down) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = vk;
  record.Event.KeyEvent.wVirtualScanCode = scan;
  record.Event.KeyEvent.uChar.UnicodeChar = ch;
  record.Event.KeyEvent.dwControlKeyState = state;
  return record;
}

// Puts one record into the console's queue and reads it back as a key code; 0 when it did not
// arrive (read only what is there, so that a lost record fails instead of waiting).
KeyCode keyOfRecord(WinConsole& console, const INPUT_RECORD& record) {
  console.flushInput();
  DWORD written = 0;
  if (!WriteConsoleInputW(console.inputHandle(), &record, 1, &written) || written != 1) return 0;
  DWORD pending = 0;
  for (int i = 0; i < 100 && pending == 0; ++i) {
    GetNumberOfConsoleInputEvents(console.inputHandle(), &pending);
    if (pending == 0) Sleep(20);
  }
  KeyCode got = pending > 0 ? readKey() : 0;
  // The console may report a focus change of its own first (a modifier event).
  for (int i = 0; i < 3 && got == key::ModifierEvent; ++i) {
    GetNumberOfConsoleInputEvents(console.inputHandle(), &pending);
    if (pending == 0 && !console.inputQueued()) break;
    got = readKey();
  }
  return got;
}

void recordsComeBackAsKeys(WinConsole& console) {
  struct Case {
    const char* name;
    INPUT_RECORD record;
    KeyCode expected;
  };
  const Case cases[] = {
      {"a", keyRecord('A', 0x1E, L'a', 0, true), 'a'},
      {"Shift-A", keyRecord('A', 0x1E, L'A', SHIFT_PRESSED, true), 'A'},
      {"F2", keyRecord(VK_F2, 0x3C, 0, 0, true), key::F2},  // F1 is the reader's own (help)
      {"Alt-X", keyRecord('X', 0x2D, L'x', LEFT_ALT_PRESSED, true), key::alt('x')},
      {"Alt-Z by the German position", keyRecord('Z', 0x2C, L'z', LEFT_ALT_PRESSED, true),
       key::alt('z')},
      {"Ctrl-B", keyRecord('B', 0x30, 2, LEFT_CTRL_PRESSED, true), key::ctrl('b')},
      {"Esc without a character", keyRecord(VK_ESCAPE, 0x01, 0, 0, true), key::Escape},
      {"Enter", keyRecord(VK_RETURN, 0x1C, L'\r', 0, true), key::Enter},
      {"Home without a scan code", keyRecord(VK_HOME, 0, 0, ENHANCED_KEY, true), key::Home},
      {"Down", keyRecord(VK_DOWN, 0x50, 0, ENHANCED_KEY, true), key::Down},
      {"frame character", keyRecord(0, 0, L'\u00e4', 0, true), 0x84},
  };
  for (const Case& c : cases) {
    // The terminal under the console may put input of its own into the queue at any time
    // (answers to its queries): a record is tried up to three times, and a wrong translation
    // fails all three.
    KeyCode got = 0;
    for (int attempt = 0; attempt < 3 && got != c.expected; ++attempt) got = keyOfRecord(console, c.record);
    char text[96];
    std::snprintf(text, sizeof text, "%s read as 0x%04X, expected 0x%04X", c.name, got,
                  c.expected);
    check(got == c.expected, text);
  }
}

// An Esc waiting behind other keys is seen, a queue without one is not, and the keys looked
// through are still read afterwards, in order.
void escapeIsSeenAndKeysStay(WinConsole& console) {
  struct Case {
    const char* name;
    std::vector<INPUT_RECORD> records;
    bool escape;
  };
  const Case cases[] = {
      {"a then Esc",
       {keyRecord('A', 0x1E, L'a', 0, true), keyRecord(VK_ESCAPE, 0x01, 0, 0, true)},
       true},
      {"a and b",
       {keyRecord('A', 0x1E, L'a', 0, true), keyRecord('B', 0x30, L'b', 0, true)},
       false},
  };
  for (const Case& c : cases) {
    console.flushInput();
    DWORD written = 0;
    check(WriteConsoleInputW(console.inputHandle(), c.records.data(),
                             static_cast<DWORD>(c.records.size()), &written) != 0 &&
              written == c.records.size(),
          std::string(c.name) + ": written");
    Sleep(2 * EscapeLookGapMs);
    check(console.escapePending() == c.escape, std::string(c.name) + ": Esc pending");
    std::string keys;
    InputRecord record;
    while (keys.size() < c.records.size() && console.readInput(record, 200)) {
      if (record.kind == InputRecord::Kind::Key && record.keyDown && record.character != 0)
        keys += static_cast<char>(record.character);
    }
    std::string expected;
    for (const INPUT_RECORD& in : c.records)
      expected += static_cast<char>(
          in.Event.KeyEvent.uChar.UnicodeChar != 0 ? in.Event.KeyEvent.uChar.UnicodeChar : 0x1B);
    check(keys == expected, std::string(c.name) + ": the keys read after the look");
  }
}

// Reads input until a resize record comes (true) or nothing has come for timeoutMs.
bool resizeArrives(WinConsole& console, int timeoutMs) {
  InputRecord record;
  while (console.readInput(record, timeoutMs))
    if (record.kind == InputRecord::Kind::Resize) return true;
  return false;
}

// A console that changes only the window (a smaller one) and one that changes the buffer
// with it and sends its event: each arrives as one resize record, and the program's buffer
// is made the window's size, so that row 0 is the window's top row.
void windowSizesArriveAsResizes(WinConsole& console) {
  struct Case {
    const char* name;
    SHORT columns, rows;
    bool growBuffer;
  };
  for (const Case& c : {Case{"smaller window", 90, 25, false}, Case{"larger buffer", 120, 35, true}}) {
    console.flushInput();
    if (c.growBuffer) SetConsoleScreenBufferSize(console.screenBuffer(), COORD{c.columns, c.rows});
    SMALL_RECT window{0, 0, static_cast<SHORT>(c.columns - 1), static_cast<SHORT>(c.rows - 1)};
    check(SetConsoleWindowInfo(console.screenBuffer(), TRUE, &window) != 0,
          std::string(c.name) + ": SetConsoleWindowInfo");
    check(resizeArrives(console, 500), std::string(c.name) + ": a resize record");
    int columns = 0, rows = 0;
    console.terminalSize(columns, rows);
    check(columns == c.columns && rows == c.rows, std::string(c.name) + ": the new size");
    CONSOLE_SCREEN_BUFFER_INFO info;
    check(GetConsoleScreenBufferInfo(console.screenBuffer(), &info) && info.dwSize.X == c.columns &&
              info.dwSize.Y == c.rows && info.srWindow.Top == 0 && info.srWindow.Left == 0,
          std::string(c.name) + ": the buffer fitted to the window");
    check(!resizeArrives(console, 300), std::string(c.name) + ": only one resize record");
  }
}

// The first `width` characters of a row of a buffer, trailing blanks dropped.
std::wstring rowText(HANDLE buffer, SHORT row, SHORT width) {
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width));
  SMALL_RECT region{0, row, static_cast<SHORT>(width - 1), row};
  if (!ReadConsoleOutputW(buffer, cells.data(), COORD{width, 1}, COORD{0, 0}, &region)) return L"<unread>";
  std::wstring text;
  for (const CHAR_INFO& cell : cells) text += cell.Char.UnicodeChar;
  return text.erase(text.find_last_not_of(L' ') + 1);
}

// Between leaveScreen and enterScreen what a command writes to the standard output lands on
// the user's screen, not over the program's.
void commandsWriteOnTheUserScreen(WinConsole& console) {
  console.leaveScreen();
  DWORD written = 0;
  WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), L"\r\nfrom a command", 16, &written, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info;
  const SHORT row = GetConsoleScreenBufferInfo(console.userBuffer(), &info) ? info.dwCursorPosition.Y : 0;
  check(rowText(console.userBuffer(), row, 20) == L"from a command", "a command's output on the user's screen");
  check(rowText(console.screenBuffer(), row, 20) != L"from a command", "a command's output not on the program's");
  console.enterScreen();
}

// The command line projected onto the user's buffer at its cursor's line, written again
// there when it changes and below a command's output, quiet rows ignored, and the program's
// buffer back, whole, on any other change.
void commandLineOnTheUserScreen(WinConsole& console) {
  ScreenImage& image = screenImage();
  const int promptRow = image.rows - 3, quietRow = image.rows - 1;
  for (ScreenCell& cell : image.cells) cell = ScreenCell{U' ', 0x1F};
  const std::u32string prompt = U"C:\\>dir";
  for (std::size_t i = 0; i < prompt.size(); ++i) image.at(static_cast<int>(i), promptRow).ch = prompt[i];
  HANDLE user = console.userBuffer();
  SetConsoleCursorPosition(user, COORD{0, 5});
  WinUserScreenLine line(console);
  line.setCursorShape(CursorSmall);
  line.setCursorPosition(7, promptRow);
  line.show(image, promptRow, quietRow);
  check(line.mode() == WinUserScreenLine::Mode::UserScreen, "user screen: shown");
  check(rowText(user, 5, 20) == L"C:\\>dir", "user screen: the prompt on the cursor's line");
  CONSOLE_SCREEN_BUFFER_INFO info;
  check(GetConsoleScreenBufferInfo(user, &info) && info.dwCursorPosition.X == 7 &&
            info.dwCursorPosition.Y == 5,
        "user screen: the cursor in the prompt");

  image.at(0, quietRow).ch = U'Q';
  line.writeRect(image, 0, quietRow, image.columns - 1, quietRow);
  image.at(7, promptRow).ch = U'X';
  line.writeRect(image, 0, promptRow, image.columns - 1, promptRow);
  check(line.mode() == WinUserScreenLine::Mode::UserScreen, "user screen: kept over quiet rows");
  check(rowText(user, 5, 20) == L"C:\\>dirX", "user screen: the prompt written again");

  line.leaveScreen();
  DWORD written = 0;
  WriteConsoleW(user, L"\r\nout\r\n", 7, &written, nullptr);
  line.enterScreen();
  line.writeRect(image, 0, promptRow, image.columns - 1, promptRow);
  check(rowText(user, 6, 20) == L"out" && rowText(user, 7, 20) == L"C:\\>dirX",
        "user screen: the prompt below a command's output");

  image.at(0, 1).ch = U'Z';
  line.writeRect(image, 0, 1, 0, 1);
  check(line.mode() == WinUserScreenLine::Mode::ProgramScreen, "user screen: left on a change");
  check(rowText(console.screenBuffer(), 1, 1) == L"Z" &&
            rowText(console.screenBuffer(), static_cast<SHORT>(promptRow), 20) == L"C:\\>dirX",
        "user screen: the program's buffer back whole");
  check(rowText(user, 7, 20).empty(), "user screen: the prompt cleared from the user's buffer");
  line.end();
  check(line.mode() == WinUserScreenLine::Mode::Off, "user screen: ended");
}

void controlHandlerIsReached() {
  interrupted = false;
  check(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != 0, "GenerateConsoleCtrlEvent");
  for (int i = 0; i < 100 && !interrupted; ++i) {
    Sleep(50);
    serviceSignalRequests();
  }
  check(interrupted, "Ctrl-C reached the interrupt hook");
}

int run(const char* resultPath) {
  WinConsole console;
  if (!console.start("NT-Corvane console self-test")) {
    std::fputs("console self-test: no console\n", stderr);
    return 1;
  }
  setConsole(&console);
  int columns = 0, rows = 0;
  console.terminalSize(columns, rows);
  initScreenImage(columns, rows);
  setSignalRequestHooks({[] { interrupted = true; }, [] {}});

  rectangleComesBack(console);
  recordsComeBackAsKeys(console);
  escapeIsSeenAndKeysStay(console);
  controlHandlerIsReached();
  check(columns == 100 && rows == 30, "the console has the pseudo-terminal's size (100 x 30)");
  commandsWriteOnTheUserScreen(console);
  commandLineOnTheUserScreen(console);
  windowSizesArriveAsResizes(console);

  console.stop();
  // The console's own output shares the terminal: the result goes to a file.
  std::FILE* out = resultPath != nullptr ? std::fopen(resultPath, "w") : stdout;
  if (out == nullptr) return 1;
  std::fputs(failures.c_str(), out);
  std::fprintf(out, "console self-test: %d passed, %d failed\n", passed, failed);
  if (out != stdout) std::fclose(out);
  return failed == 0 ? 0 : 1;
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) { return corvane::run(argc > 1 ? argv[1] : nullptr); }
