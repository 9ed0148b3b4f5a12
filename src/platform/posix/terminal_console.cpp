#include "platform/posix/terminal_console.h"

#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/terminal_session.h"
#include "platform/signals.h"

namespace corvane {
namespace {

constexpr std::size_t ReadChunk = 4096;
constexpr int DrainLimit = 64;  // reads per drain: 256 KiB, then the rest waits
constexpr std::size_t EscapeScanLimit = 256;
// Work loops ask for Esc once per file or block: the terminal is read for it at most this
// often (milliseconds), not with two system calls per ask.
constexpr std::uint64_t EscapeLookGapMs = 4;

std::uint64_t monotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
         static_cast<std::uint64_t>(ts.tv_nsec) / 1'000'000u;
}

bool isEscapePress(const InputRecord& r) {
  return r.kind == InputRecord::Kind::Key && r.keyDown && r.modifierKey == ModifierKey::None &&
         r.character == 27;
}

}  // namespace

TerminalConsole::TerminalConsole(const TerminalOptions& options)
    : options_(options), decoder_(0x7F) {
  modes_.focusEvents = options.focusEvents;
}

bool TerminalConsole::start(std::string_view title) {
  if (!beginTerminalSession(options_.inputFd, options_.outputFd)) return false;
  decoder_.setEraseByte(terminalEraseCharacter());
  {
    std::lock_guard lock(output_);
    title_ = title;
    if (!queryTerminalSize(options_.outputFd, terminalColumns_, terminalRows_))
      terminalColumns_ = terminalRows_ = 0;
  }
  publishSequences();
  enterScreen();

  // kitty keyboard protocol: the flags answer comes before the device attributes, or not
  // at all. Keys typed meanwhile are decoded and kept.
  {
    std::lock_guard lock(output_);
    writeLocked(term::KittyQuery);
  }
  std::uint64_t deadline = nowMs() + static_cast<std::uint64_t>(options_.queryTimeoutMs);
  for (std::uint64_t now = nowMs();
       !decoder_.deviceAttributesSeen() && !inputClosed_ && now < deadline; now = nowMs())
    pumpInput(static_cast<int>(deadline - now));
  if (decoder_.kittyReplySeen()) {
    std::lock_guard lock(output_);
    modes_.kittyKeyboard = true;
    decoder_.setKittyMode(true);
    writeLocked(term::KittyPush);
  }
  publishSequences();
  return true;
}

void TerminalConsole::stop() {
  std::lock_guard lock(output_);
  restoreTerminal();
  live_ = false;
}

void TerminalConsole::publishSequences() {
  std::lock_guard lock(output_);
  setSessionSequences(enterSequence(modes_, title_, options_.charset), leaveSequence(modes_));
}

bool TerminalConsole::outputAllowed() const { return live_ && !terminalRestored(); }

void TerminalConsole::writeLocked(std::string_view bytes) {
  if (outputAllowed()) writeAllBytes(options_.outputFd, bytes);
}

void TerminalConsole::appendCursorLocked(std::string& out) {
  if (!cursorShapeVisible(cursorShape_)) return;
  // Off-screen positions (shape 3 puts the cursor on row 80) clamp to the last cell known.
  int columns = terminalColumns_ > 0 ? terminalColumns_ : mirror_.columns;
  int rows = terminalRows_ > 0 ? terminalRows_ : mirror_.rows;
  int column = std::max(cursorColumn_, 0), row = std::max(cursorRow_, 0);
  if (columns > 0) column = std::min(column, columns - 1);
  if (rows > 0) row = std::min(row, rows - 1);
  appendCursorMove(out, column, row);
  mirror_.cursorColumn = column;
  mirror_.cursorRow = row;
}

void TerminalConsole::writeRect(const ScreenImage& image, int left, int top, int right,
                                int bottom) {
  std::lock_guard lock(output_);
  if (!outputAllowed()) return;
  // Cells beyond the terminal are not written: the cursor would clamp onto the last row.
  if (terminalColumns_ > 0) right = std::min(right, terminalColumns_ - 1);
  if (terminalRows_ > 0) bottom = std::min(bottom, terminalRows_ - 1);
  std::string& out = scratch_;
  out.assign(term::SyncBegin);
  std::size_t start = out.size();
  renderRect(image, left, top, right, bottom, mirror_, out, options_.charset);
  if (out.size() == start) return;
  appendCursorLocked(out);
  out += term::SyncEnd;
  writeLocked(out);
}

void TerminalConsole::setCursorShape(int shape) {
  std::lock_guard lock(output_);
  cursorShape_ = shape;
  std::string out = cursorShapeSequence(shape);
  appendCursorLocked(out);
  writeLocked(out);
}

void TerminalConsole::setCursorPosition(int column, int row) {
  std::lock_guard lock(output_);
  cursorColumn_ = column;
  cursorRow_ = row;
  if (!cursorShapeVisible(cursorShape_)) return;
  std::string out;
  appendCursorLocked(out);
  writeLocked(out);
}

void TerminalConsole::setTitle(std::string_view title) {
  {
    std::lock_guard lock(output_);
    title_ = title;
    writeLocked(titleSequence(title, options_.charset));
  }
  publishSequences();
}

void TerminalConsole::beep(int, int) {
  std::lock_guard lock(output_);
  writeLocked(term::Bell);
}

void TerminalConsole::repaintLocked(bool clear) {
  // The mirror is what the terminal showed: write it again in full.
  ScreenImage image(mirror_.columns, mirror_.rows);
  for (std::size_t i = 0; i < image.cells.size(); ++i)
    if (mirror_.cells[i].ch != MirrorUnknown) image.cells[i] = mirror_.cells[i];
  invalidateMirror(mirror_);
  std::string out(term::SyncBegin);
  if (clear) out += term::ClearScreen;
  out += cursorShapeSequence(cursorShape_);
  int right = image.columns - 1, bottom = image.rows - 1;
  if (terminalColumns_ > 0) right = std::min(right, terminalColumns_ - 1);
  if (terminalRows_ > 0) bottom = std::min(bottom, terminalRows_ - 1);
  renderRect(image, 0, 0, right, bottom, mirror_, out, options_.charset);
  appendCursorLocked(out);
  out += term::SyncEnd;
  writeLocked(out);
}

void TerminalConsole::takeWakeBytes() {
  int fd = wakeReadFd();
  if (fd < 0) return;
  char bytes[64];
  ssize_t n;
  while ((n = read(fd, bytes, sizeof bytes)) > 0) {
    for (ssize_t i = 0; i < n; ++i) {
      if (bytes[i] == WakeResize) {
        std::lock_guard lock(output_);
        if (!queryTerminalSize(options_.outputFd, terminalColumns_, terminalRows_))
          terminalColumns_ = terminalRows_ = 0;
        if (outputAllowed()) repaintLocked(true);
        InputRecord r;
        r.kind = InputRecord::Kind::Resize;
        queue_.push_back(r);
      } else if (bytes[i] == WakeContinued) {
        std::lock_guard lock(output_);
        if (outputAllowed()) repaintLocked(false);  // the enter sequence cleared the screen
      } else {
        wakeRequested_ = true;
      }
    }
  }
}

void TerminalConsole::hangUp() {
  inputClosed_ = true;
  if (!terminalSessionStarted()) return;
  // The terminal is gone: end as on SIGHUP. The program's own end (its files written) when
  // it takes that request; else restore, then the signal's default action; when SIGHUP is
  // ignored, end anyway rather than spin on a dead input.
  recordEndRequest();
  serviceEndRequest();
  raise(SIGHUP);
  restoreTerminal();
  _exit(1);
}

void TerminalConsole::pumpInput(int waitMs) {
  pollfd fds[2] = {{options_.inputFd, POLLIN, 0}, {wakeReadFd(), POLLIN, 0}};
  int count = fds[1].fd >= 0 ? 2 : 1;
  if (inputClosed_) fds[0].fd = -1;  // poll ignores negative descriptors
  int ready = poll(fds, static_cast<nfds_t>(count), waitMs);
  if (ready <= 0) return;  // timeout or EINTR (a signal: its wake byte is read next time)
  if (count == 2 && (fds[1].revents & POLLIN)) takeWakeBytes();
  if (fds[0].revents & POLLNVAL) {
    hangUp();
  } else if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
    char buffer[ReadChunk];
    ssize_t n = read(options_.inputFd, buffer, sizeof buffer);
    if (n > 0) {
      decoded_.clear();
      decoder_.feed(std::string_view(buffer, static_cast<std::size_t>(n)), decoded_);
      queue_.insert(queue_.end(), decoded_.begin(), decoded_.end());
      pendingSince_ = nowMs();
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      hangUp();
    }
  }
}

void TerminalConsole::drainInput() {
  for (int i = 0; i < DrainLimit && !inputClosed_; ++i) {
    pollfd fd{options_.inputFd, POLLIN, 0};
    if (poll(&fd, 1, 0) <= 0) break;
    pumpInput(0);
  }
  if (wakeReadFd() >= 0) takeWakeBytes();
}

bool TerminalConsole::readInput(InputRecord& record, int timeoutMs) {
  std::uint64_t start = nowMs();
  bool polled = false;
  for (;;) {
    if (!queue_.empty()) {
      record = queue_.front();
      queue_.pop_front();
      return true;
    }
    if (inputClosed_ || wakeRequested_) {
      wakeRequested_ = false;
      return false;
    }
    std::uint64_t now = nowMs();
    int wait = -1;
    if (timeoutMs >= 0) {
      std::uint64_t elapsed = now - start;
      wait = elapsed >= static_cast<std::uint64_t>(timeoutMs)
                 ? 0
                 : timeoutMs - static_cast<int>(elapsed);
      if (wait == 0 && polled && !decoder_.pending()) return false;
    }
    if (decoder_.pending()) {
      int delay = decoder_.inPaste() ? options_.pasteGapMs : options_.escapeDelayMs;
      std::uint64_t due = pendingSince_ + static_cast<std::uint64_t>(delay);
      if (now >= due) {
        decoded_.clear();
        decoder_.flushPending(decoded_);
        queue_.insert(queue_.end(), decoded_.begin(), decoded_.end());
        continue;
      }
      int untilDue = static_cast<int>(due - now);
      if (wait == 0 && polled) return false;
      wait = wait < 0 ? untilDue : std::min(wait, untilDue);
    }
    pumpInput(wait);
    polled = true;
  }
}

bool TerminalConsole::escapePending() {
  const std::uint64_t now = nowMs();
  if (now >= lastEscapeLookMs_ + EscapeLookGapMs || now < lastEscapeLookMs_) {
    drainInput();
    lastEscapeLookMs_ = now;
  }
  if (decoder_.pending() && !decoder_.inPaste() &&
      nowMs() >= pendingSince_ + static_cast<std::uint64_t>(options_.escapeDelayMs)) {
    decoded_.clear();
    decoder_.flushPending(decoded_);
    queue_.insert(queue_.end(), decoded_.begin(), decoded_.end());
  }
  std::size_t scanned = 0;
  for (const InputRecord& r : queue_) {
    if (isEscapePress(r)) return true;
    if (++scanned == EscapeScanLimit) break;
  }
  return false;
}

void TerminalConsole::flushInput() {
  drainInput();
  std::erase_if(queue_, [](const InputRecord& r) { return r.kind != InputRecord::Kind::Resize; });
}

void TerminalConsole::sleepMs(int ms) {
  if (ms <= 0) return;
  timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1'000'000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

std::uint64_t TerminalConsole::nowMs() { return monotonicMs(); }

void TerminalConsole::terminalSize(int& columns, int& rows) {
  if (!queryTerminalSize(options_.outputFd, columns, rows) &&
      !queryTerminalSize(options_.inputFd, columns, rows)) {
    columns = 80;
    rows = 25;
  }
}

void TerminalConsole::leaveScreen() {
  std::lock_guard lock(output_);
  if (!live_) return;
  writeLocked(leaveSequence(modes_));
  leaveTerminalSession();
  live_ = false;
}

void TerminalConsole::enterScreen() {
  std::lock_guard lock(output_);
  if (live_ || terminalRestored()) return;
  enterTerminalSession();
  live_ = true;
  // The other program may have reset any mode: send everything again.
  std::string out = enterSequence(modes_, title_, options_.charset);
  out += cursorShapeSequence(cursorShape_);
  invalidateMirror(mirror_);
  appendCursorLocked(out);
  writeLocked(out);
}

void TerminalConsole::showUserScreen() {
  {
    std::lock_guard lock(output_);
    if (!outputAllowed()) return;
    std::string out;
    if (modes_.kittyKeyboard) out += "\x1b[<u";
    out += term::UserScreen;
    writeLocked(out);
  }
  std::vector<InputRecord> kept;  // resizes and the like, for the reader afterwards
  InputRecord r;
  while (!inputClosed_) {
    if (!readInput(r, -1)) continue;
    if (r.kind == InputRecord::Kind::Key && r.keyDown && r.modifierKey == ModifierKey::None) break;
    if (r.kind == InputRecord::Kind::Mouse && r.buttons != 0) break;
    if (r.kind == InputRecord::Kind::Resize) kept.push_back(r);
  }
  {
    std::lock_guard lock(output_);
    std::string out(term::ProgramScreen);
    if (modes_.kittyKeyboard) out += term::KittyPush;
    out += term::ClearScreen;
    out += cursorShapeSequence(cursorShape_);
    invalidateMirror(mirror_);
    writeLocked(out);
  }
  queue_.insert(queue_.begin(), kept.begin(), kept.end());
}

void TerminalConsole::wake() { wakeReader(WakeAny); }

}  // namespace corvane
