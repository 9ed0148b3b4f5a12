#include "platform/posix/terminal_console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/keycodes.h"
#include "platform/posix/terminal_session.h"
#include "platform/screen.h"

namespace corvane {
namespace {

// The back end on two pipes: what the test writes into `input` is what the user typed;
// what the back end writes is read back from `output`.
class TerminalConsoleTest : public ::testing::Test {
 protected:
  TerminalConsoleTest() {
    EXPECT_EQ(pipe(input_), 0);
    EXPECT_EQ(pipe2(output_, O_NONBLOCK), 0);
    TerminalOptions options;
    options.inputFd = input_[0];
    options.outputFd = output_[1];
    options.escapeDelayMs = 0;
    console_ = std::make_unique<TerminalConsole>(options);
    // Nothing may be left over from another test in the shared wake-up pipe.
    InputRecord r;
    while (console_->readInput(r, 0)) {
    }
  }
  ~TerminalConsoleTest() override {
    for (int fd : {input_[0], input_[1], output_[0], output_[1]})
      if (fd >= 0) close(fd);
  }

  void type(std::string_view bytes) {
    ASSERT_EQ(write(input_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::string written() {
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = read(output_[0], buffer, sizeof buffer)) > 0)
      out.append(buffer, static_cast<std::size_t>(n));
    return out;
  }

  int input_[2] = {-1, -1}, output_[2] = {-1, -1};
  std::unique_ptr<TerminalConsole> console_;
};

TEST_F(TerminalConsoleTest, OutputFollowsTheScreenState) {
  ScreenImage image(10, 3);
  image.at(2, 1).ch = U'Q';
  console_->writeRect(image, 0, 0, 9, 2);
  EXPECT_EQ(written(), "");  // not entered yet

  console_->enterScreen();
  EXPECT_EQ(written().rfind(enterSequence(TerminalModes{}, ""), 0), 0u);
  console_->writeRect(image, 0, 0, 9, 2);
  std::string flush = written();
  EXPECT_EQ(flush.rfind(term::SyncBegin, 0), 0u);
  EXPECT_EQ(flush.substr(flush.size() - term::SyncEnd.size()), term::SyncEnd);
  EXPECT_NE(flush.find('Q'), std::string::npos);
  console_->writeRect(image, 0, 0, 9, 2);
  EXPECT_EQ(written(), "");  // nothing changed

  console_->leaveScreen();
  EXPECT_EQ(written(), leaveSequence(TerminalModes{}));
  image.at(3, 1).ch = U'R';
  console_->writeRect(image, 0, 0, 9, 2);
  console_->beep(3000, 1);
  EXPECT_EQ(written(), "");  // a child program has the terminal

  console_->enterScreen();
  written();
  console_->writeRect(image, 0, 0, 9, 2);
  flush = written();
  EXPECT_NE(flush.find('Q'), std::string::npos);  // everything again: the mirror was forgotten
  EXPECT_NE(flush.find('R'), std::string::npos);
}

TEST_F(TerminalConsoleTest, CursorIsPlacedAfterEachFlushWhileVisible) {
  console_->enterScreen();
  written();
  console_->setCursorPosition(5, 2);
  EXPECT_EQ(written(), "");  // hidden: nothing to move
  console_->setCursorShape(CursorSmall);
  EXPECT_EQ(written(), "\x1b[3 q\x1b[?25h\x1b[3;6H");
  ScreenImage image(10, 3);
  image.at(0, 0).ch = U'x';
  console_->writeRect(image, 0, 0, 0, 0);
  std::string flush = written();
  EXPECT_NE(flush.find("x\x1b[3;6H\x1b[?2026l"), std::string::npos);
  console_->setCursorShape(CursorOff);
  EXPECT_EQ(written(), "\x1b[?25l");
}

TEST_F(TerminalConsoleTest, ReadsRecordsAndHonoursTheEscapeDelay) {
  InputRecord r;
  EXPECT_FALSE(console_->readInput(r, 0));
  type(
      "\x1b[1;5P"
      "a");
  ASSERT_TRUE(console_->readInput(r, 0));
  EXPECT_EQ(r.scanCode, key::scan::F1);
  EXPECT_EQ(r.controlState, ControlLeftCtrl);
  ASSERT_TRUE(console_->readInput(r, 0));
  EXPECT_EQ(r.character, 'a');

  console_->setEscapeDelay(60'000);
  type("\x1b");
  EXPECT_FALSE(console_->readInput(r, 0));  // could still be a sequence
  EXPECT_FALSE(console_->escapePending());
  console_->setEscapeDelay(0);
  EXPECT_TRUE(console_->escapePending());
  ASSERT_TRUE(console_->readInput(r, 0));
  EXPECT_EQ(r.character, 27);
}

TEST_F(TerminalConsoleTest, EscapePendingKeepsTheRecordsAndFlushDropsThem) {
  type("xy\x1b[27u");
  EXPECT_TRUE(console_->escapePending());
  InputRecord r;
  for (int expected : {int{'x'}, int{'y'}, 27}) {
    ASSERT_TRUE(console_->readInput(r, 0));
    EXPECT_EQ(r.character, expected);
  }
  type("abc");
  EXPECT_FALSE(console_->escapePending());
  console_->flushInput();
  EXPECT_FALSE(console_->readInput(r, 0));
}

TEST_F(TerminalConsoleTest, ResizeAndWakeUp) {
  console_->enterScreen();
  written();
  wakeReader(WakeResize);
  InputRecord r;
  ASSERT_TRUE(console_->readInput(r, 0));
  EXPECT_EQ(r.kind, InputRecord::Kind::Resize);
  EXPECT_NE(written().find(term::ClearScreen), std::string::npos);  // repainted

  console_->wake();
  EXPECT_FALSE(console_->readInput(r, -1));  // returns instead of waiting for ever
}

TEST_F(TerminalConsoleTest, ClosedInputEndsTheWait) {
  close(input_[1]);
  input_[1] = -1;
  InputRecord r;
  EXPECT_FALSE(console_->readInput(r, -1));
  EXPECT_TRUE(console_->inputClosed());
  EXPECT_FALSE(console_->readInput(r, -1));
}

TEST_F(TerminalConsoleTest, UserScreenWaitsForAKeyAndRedrawsAfterwards) {
  ScreenImage image(4, 1);
  image.at(1, 0).ch = U'W';
  console_->enterScreen();
  console_->writeRect(image, 0, 0, 3, 0);
  written();
  type(
      "\x1b[<0;1;1m"
      "q"
      "z");  // a release does not end the wait, a key does
  console_->showUserScreen();
  std::string shown = written();
  EXPECT_LT(shown.find(term::UserScreen), shown.find(term::ProgramScreen));
  InputRecord r;
  ASSERT_TRUE(console_->readInput(r, 0));
  EXPECT_EQ(r.character, 'z');
  console_->writeRect(image, 0, 0, 3, 0);
  EXPECT_NE(written().find('W'), std::string::npos);
}

}  // namespace
}  // namespace corvane
