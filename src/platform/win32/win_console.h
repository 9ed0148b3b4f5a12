// The console back end on the Windows console: a private screen buffer that rectangles of
// cells are written into, and the console's input records read as the program's own. The
// user's buffer is put back around external programs and at the end.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"

namespace corvane {

// A console input record as the program's input record; false for records that mean
// nothing to it (menu and focus events of no use, keys that carry nothing). A wheel turn
// gives three Up or Down presses in extra.
bool translateInputRecord(const INPUT_RECORD& in, InputRecord& out, int& repeat);

// Reads the console's records until a key is pressed that is more than Shift, Ctrl or Alt
// alone, or the console cannot be read.
void waitKeyPress(HANDLE input);

// The console character of a screen cell (control codes as their code page 437 glyphs).
wchar_t consoleCharOfCell(char32_t ch);

// The least time between two looks at the console for an Esc press.
constexpr std::uint64_t EscapeLookGapMs = 4;

class WinConsole : public ConsoleBackend {
 public:
  WinConsole() = default;
  ~WinConsole() override;
  WinConsole(const WinConsole&) = delete;
  WinConsole& operator=(const WinConsole&) = delete;

  // Takes the console: a new screen buffer the size of the window, made active, the title,
  // input as raw records with the mouse and window sizes, the control handler. False, with
  // nothing changed, when standard input or output is not a console.
  bool start(std::string_view title);
  // The user's buffer back, cleared (the console does not always repaint it), the input
  // mode as it was. Idempotent.
  void stop();
  bool started() const { return buffer_ != INVALID_HANDLE_VALUE; }

  void writeRect(const ScreenImage& image, int left, int top, int right, int bottom) override;
  void setCursorShape(int shape) override;
  void setCursorPosition(int column, int row) override;
  void setTitle(std::string_view title) override;
  void beep(int frequency, int ticks) override;
  bool readInput(InputRecord& record, int timeoutMs) override;
  void wake() override;
  bool escapePending() override;
  void flushInput() override;
  void sleepMs(int ms) override;
  std::uint64_t nowMs() override;
  void terminalSize(int& columns, int& rows) override;
  void leaveScreen() override;
  void enterScreen() override;
  void showUserScreen() override;

  // The buffer that shows the user's screen: the console's own, or where the standard
  // output follows whichever buffer is active, the stand-in made at start.
  HANDLE userBuffer() const { return standIn_ != INVALID_HANDLE_VALUE ? standIn_ : original_; }
  HANDLE inputHandle() const { return input_; }
  // Input as the program reads it (raw records) or as a command reads it (lines, echo).
  void setProgramInput(bool program);
  HANDLE screenBuffer() const { return buffer_; }
  bool inputQueued() const { return !queue_.empty(); }

 private:
  void applyCursorLocked();
  // Makes the program's buffer exactly the size of the window that source (the program's
  // own buffer, or the user's after a command) shows, the window at the buffer's top left,
  // and remembers that size. True when the size changed from the one remembered.
  bool fitWindowLocked(HANDLE source);
  // Before a wait: the window changed its size without telling (not every console sends a
  // buffer-size event for the window alone).
  bool windowResized();
  // Moves every record the console holds into the queue, translated. The count of console
  // records read, -1 when the console cannot be read.
  int drainInput();
  // Where the standard output handle follows the active buffer instead of naming the one it
  // was opened on (Wine's console), the user's buffer can never be made active again once
  // the program's is: a buffer of the program's own takes its place, with the cells and
  // cursor it showed (saved before the program's buffer became active).
  void makeStandInIfNeeded(const std::vector<CHAR_INFO>& userCells, COORD size, COORD cursor);

  HANDLE input_ = INVALID_HANDLE_VALUE;
  HANDLE original_ = INVALID_HANDLE_VALUE;
  HANDLE buffer_ = INVALID_HANDLE_VALUE;
  HANDLE standIn_ = INVALID_HANDLE_VALUE;
  HANDLE wakeEvent_ = nullptr;
  DWORD savedInputMode_ = 0;
  bool live_ = false;
  std::mutex output_;
  std::deque<InputRecord> queue_;
  int cursorShape_ = 2, cursorColumn_ = 0, cursorRow_ = 0;
  int columns_ = 0, rows_ = 0;  // the window size the program was last told
  std::uint64_t lastEscapeLookMs_ = 0;
};

}  // namespace corvane
