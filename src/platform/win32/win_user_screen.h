// All windows off on the Windows console: the user's buffer (the output of earlier commands)
// is shown instead of the program's, with one row of the program's screen - the command
// line - written on it at the line where the user's buffer has its cursor, like a prompt.
//
// It stands in front of the WinConsole for that time. Input passes through, read as the
// program reads it; changes to the quiet rows (function-key bar, label rows) are not shown;
// any other visible change - a dialog opening, a window closing over the panels - brings the
// program's buffer back at once, whole, and the next show() goes back to the user's. Commands
// run while the user's buffer is shown (leaveScreen / enterScreen around them) stay on it:
// their output follows the prompt line, and the prompt is written again below it.
#pragma once

#include "platform/console.h"
#include "platform/screen.h"
#include "platform/user_screen_mode.h"
#include "platform/win32/win_console.h"

namespace corvane {

class WinUserScreenLine : public ConsoleBackend {
 public:
  using Mode = UserScreenMode;

  explicit WinUserScreenLine(WinConsole& inner) : inner_(inner) {}

  // Shows the user's buffer with row `row` of image (0-based; -1 for none) on the cursor's
  // line; rows from firstQuietRow on are not watched. Called again while the user's buffer
  // is shown, it takes the new rows and writes the row again.
  void show(const ScreenImage& image, int row, int firstQuietRow);
  // The program's buffer back (the prompt line cleared from the user's); the caller flushes
  // the whole image afterwards. Mode Off.
  void end();
  Mode mode() const { return mode_; }
  WinConsole& inner() const { return inner_; }

  void writeRect(const ScreenImage& image, int left, int top, int right, int bottom) override;
  void setCursorShape(int shape) override;
  void setCursorPosition(int column, int row) override;
  void setTitle(std::string_view title) override { inner_.setTitle(title); }
  void beep(int frequency, int ticks) override { inner_.beep(frequency, ticks); }
  bool readInput(InputRecord& record, int timeoutMs) override {
    return inner_.readInput(record, timeoutMs);
  }
  void wake() override { inner_.wake(); }
  bool escapePending() override { return inner_.escapePending(); }
  void flushInput() override { inner_.flushInput(); }
  void sleepMs(int ms) override { inner_.sleepMs(ms); }
  std::uint64_t nowMs() override { return inner_.nowMs(); }
  void terminalSize(int& columns, int& rows) override { inner_.terminalSize(columns, rows); }
  // Around a command: on the user's buffer the input goes to the command's mode and back, and
  // the user's buffer stays; otherwise the console's.
  void leaveScreen() override;
  void enterScreen() override;
  void showUserScreen() override { inner_.showUserScreen(); }

 private:
  // The user's buffer with its cursor's line taken as the prompt line.
  void takeUserScreen();
  void drawRow(const ScreenImage& image);
  void clearRow();
  void applyCursor();
  void bringBackProgramScreen(const ScreenImage& image);

  WinConsole& inner_;
  Mode mode_ = Mode::Off;
  int row_ = -1, quietFrom_ = 0;
  SHORT line_ = 0;        // the prompt line in the user's buffer
  ScreenImage snapshot_;  // the picture the user's buffer stands for
  int cursorShape_ = CursorHidden, cursorColumn_ = 0, cursorRow_ = 0;
};

}  // namespace corvane
