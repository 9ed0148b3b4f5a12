// All windows off on a terminal: the user's own screen (the output of earlier commands) is
// shown instead of the program's, with one row of the program's screen - the command line -
// drawn on it at the line where the user's screen has its cursor, like a shell prompt.
//
// It works as a console back end put in front of the real one for that time. Input passes
// through unchanged (the terminal stays in raw mode on the user's screen); the watched row
// is written as plain text on the cursor's line; changes to the other rows of the command
// window (the quiet rows: function-key bar, label rows) are not shown. Any other visible
// change - a dialog opening, a window closing over the panels - brings the program's screen
// back at once, whole, so that nothing is ever drawn where the user cannot see it; the next
// showUserScreenLine() goes back to the user's screen. Commands run while the user's screen is
// shown (leaveScreen / enterScreen around them) stay on it: their output follows the prompt
// line and the prompt is drawn again below it.
#pragma once

#include <mutex>
#include <string>

#include "platform/console.h"
#include "platform/screen.h"
#include "platform/session.h"
#include "platform/term_output.h"
#include "platform/user_screen_mode.h"

namespace corvane {

class UserScreenLine : public ConsoleBackend {
 public:
  using Mode = UserScreenMode;

  // Writes go to outputFd; the inner back end is set by show().
  explicit UserScreenLine(int outputFd, OutputCharset charset = OutputCharset::Utf8)
      : fd_(outputFd), charset_(charset) {}

  // Shows the user's screen in front of inner (leaving its screen when it shows the
  // program's), raw input kept, with row `row` of image (0-based; -1 for none) on the
  // cursor's line. Rows from firstQuietRow on are not watched. Called again while the user's
  // screen is shown, it takes the new rows and draws the row again.
  void show(ConsoleBackend& inner, const ScreenImage& image, int row, int firstQuietRow);
  // Back to the program's screen (the projected line cleared, inner's screen entered); the
  // caller flushes the whole image to inner afterwards. Mode Off.
  void end();
  Mode mode() const;
  ConsoleBackend* inner() const { return inner_; }

  void writeRect(const ScreenImage& image, int left, int top, int right, int bottom) override;
  void setCursorShape(int shape) override;
  void setCursorPosition(int column, int row) override;
  void setTitle(std::string_view title) override { inner_->setTitle(title); }
  void beep(int frequency, int ticks) override;
  bool readInput(InputRecord& record, int timeoutMs) override {
    return inner_->readInput(record, timeoutMs);
  }
  bool escapePending() override { return inner_->escapePending(); }
  void wake() override;
  void flushInput() override { inner_->flushInput(); }
  void sleepMs(int ms) override { inner_->sleepMs(ms); }
  std::uint64_t nowMs() override { return inner_->nowMs(); }
  void terminalSize(int& columns, int& rows) override { inner_->terminalSize(columns, rows); }
  // Around a command: on the user's screen the terminal goes to its ordinary mode and back,
  // and the user's screen stays; otherwise inner's.
  void leaveScreen() override;
  void enterScreen() override;
  void showUserScreen() override { inner_->showUserScreen(); }

 private:
  void write(std::string_view bytes) const;
  void takeInput();
  void releaseInput();
  // The watched row of image as plain text on the cursor's line, the cursor placed.
  void drawRow(const ScreenImage& image);
  void placeCursor(std::string& out) const;
  void bringBackProgramScreen(const ScreenImage& image);

  int fd_;
  OutputCharset charset_;
  ConsoleBackend* inner_ = nullptr;
  mutable std::mutex mutex_;
  Mode mode_ = Mode::Off;
  int row_ = -1, quietFrom_ = 0;
  ScreenImage snapshot_;  // the picture the user's screen stands for
  int cursorShape_ = CursorHidden, cursorColumn_ = 0, cursorRow_ = 0;
};

// The text of a screen row as a terminal line: UTF-8 (or ASCII stand-ins), control
// characters as their code page 437 glyphs, halves of wide characters skipped, trailing
// blanks dropped, at most `columns` cells.
std::string rowAsLine(const ScreenImage& image, int row, int columns,
                      OutputCharset charset = OutputCharset::Utf8);

// The program-wide instance over the active console is driven through platform/session.h
// (showUserScreenLine and the others).
// The charset of the session, for the instance made from now on.
void setUserScreenLineCharset(OutputCharset charset);

}  // namespace corvane
