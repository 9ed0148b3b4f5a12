// The console back end on a POSIX terminal (xterm-compatible, tmux): raw input decoded into
// console input records, screen rectangles written as differences against a mirror of what
// the terminal shows, in one write() per flush.
//
// Threads: the main thread reads input; any thread may flush. writeRect and the other
// output calls share one internal lock that is never held while calling out of this class,
// so it nests safely inside the screen layer's own output lock.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"
#include "platform/term_decoder.h"
#include "platform/term_output.h"

namespace corvane {

struct TerminalOptions {
  int inputFd = 0;
  int outputFd = 1;
  int escapeDelayMs = 50;    // a lone ESC with nothing after it for this long is Escape
  int pasteGapMs = 1000;     // a bracketed paste silent for this long has ended
  int queryTimeoutMs = 300;  // wait for the answer to the kitty keyboard query
  bool focusEvents = true;
  OutputCharset charset = OutputCharset::Utf8;
};

class TerminalConsole : public ConsoleBackend {
 public:
  explicit TerminalConsole(const TerminalOptions& options = {});

  // Takes the terminal: starts the session (saved modes, signal handlers), raw mode, the
  // enter sequence with the title, then asks whether the terminal speaks the kitty keyboard
  // protocol and pushes its flags when it does. False, with nothing changed, when the input
  // is not a terminal.
  bool start(std::string_view title);
  // Gives the terminal back for good (restoreTerminal), after any flush in progress on
  // another thread has gone out, so no drawing lands on the user's screen. Idempotent.
  void stop();

  void writeRect(const ScreenImage& image, int left, int top, int right, int bottom) override;
  void setCursorShape(int shape) override;
  void setCursorPosition(int column, int row) override;
  void setTitle(std::string_view title) override;
  void beep(int frequency, int ticks) override;

  // A Resize record comes when the terminal changed its size (the picture is already
  // repainted from the mirror); false on timeout, after wake(), or once the input is gone.
  bool readInput(InputRecord& record, int timeoutMs) override;
  bool escapePending() override;
  // Discards pending input (what is readable now is read and dropped; a resize is kept).
  void flushInput() override;

  void sleepMs(int ms) override;
  std::uint64_t nowMs() override;
  void terminalSize(int& columns, int& rows) override;

  void leaveScreen() override;
  void enterScreen() override;
  void showUserScreen() override;

  // Makes a waiting readInput return (from another thread or a signal handler).
  void wake() override;
  void setEscapeDelay(int ms) { options_.escapeDelayMs = ms < 0 ? 0 : ms; }
  // Before start(): nothing but ASCII is sent (every other character by its stand-in).
  void setAsciiOnly(bool ascii) {
    options_.charset = ascii ? OutputCharset::Ascii : OutputCharset::Utf8;
  }
  void setPasteLineBreaks(bool asEnter) { decoder_.setPasteLineBreaks(asEnter); }
  bool kittyKeyboard() const { return modes_.kittyKeyboard; }
  // The input reached end of file or failed (the terminal is gone).
  bool inputClosed() const { return inputClosed_; }

 private:
  // Waits up to waitMs (negative: no limit) for input or a wake-up and takes what came.
  void pumpInput(int waitMs);
  // Reads what is readable now without waiting (bounded).
  void drainInput();
  void takeWakeBytes();
  void hangUp();
  bool outputAllowed() const;
  void writeLocked(std::string_view bytes);
  void appendCursorLocked(std::string& out);
  void repaintLocked(bool clear);
  void publishSequences();

  TerminalOptions options_;
  TermDecoder decoder_;
  std::deque<InputRecord> queue_;
  std::vector<InputRecord> decoded_;
  std::uint64_t pendingSince_ = 0;
  std::uint64_t lastEscapeLookMs_ = 0;  // escapePending's last read of the terminal
  bool wakeRequested_ = false;
  bool inputClosed_ = false;

  std::mutex output_;
  TerminalMirror mirror_;
  TerminalModes modes_;
  std::string title_;
  std::string scratch_;
  int cursorShape_ = 2, cursorColumn_ = 0, cursorRow_ = 0;
  int terminalColumns_ = 0, terminalRows_ = 0;
  bool live_ = false;  // the program's screen is up: output goes out
};

}  // namespace corvane
