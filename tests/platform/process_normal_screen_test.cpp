// The key prompt on the normal screen, on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <thread>

#include "platform/process.h"

namespace corvane {
namespace {

struct PseudoTerminal {
  PseudoTerminal() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
      slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  }
  ~PseudoTerminal() {
    if (slave >= 0) close(slave);
    if (master >= 0) close(master);
  }
  int master = -1, slave = -1;
};

// Reads from fd until count bytes came (or the fd fails).
std::string readBytes(int fd, std::size_t count) {
  std::string out;
  char buffer[64];
  while (out.size() < count) {
    ssize_t got = read(fd, buffer, std::min(sizeof buffer, count - out.size()));
    if (got <= 0) break;
    out.append(buffer, static_cast<std::size_t>(got));
  }
  return out;
}

TEST(NormalScreenKeyTest, TakesOneWholeKeyAndPutsTheModesBack) {
  PseudoTerminal pty;
  ASSERT_GE(pty.slave, 0);
  struct termios before {};
  ASSERT_EQ(tcgetattr(pty.slave, &before), 0);
  ASSERT_NE(before.c_lflag & ICANON, 0u);

  const std::string prompt = "Press any key !";
  std::string shown;
  std::thread user([&] {
    shown = readBytes(pty.master, prompt.size());
    // Up arrow: one key of three bytes, none of which may be left for the program.
    EXPECT_EQ(write(pty.master, "\x1b[A", 3), 3);
  });
  EXPECT_TRUE(waitKeyOnTerminal(pty.slave, pty.slave, prompt));
  user.join();
  EXPECT_EQ(shown, prompt);

  struct termios after {};
  ASSERT_EQ(tcgetattr(pty.slave, &after), 0);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_iflag, before.c_iflag);

  // Nothing of the key is left for the program, and it was not echoed.
  ASSERT_EQ(write(pty.master, "z\n", 2), 2);
  EXPECT_EQ(readBytes(pty.slave, 2), "z\n");
  EXPECT_EQ(readBytes(pty.master, 3), "z\r\n");  // only the echo of the new line

  const int notATerminal = open("/dev/null", O_RDONLY | O_CLOEXEC);
  EXPECT_FALSE(waitKeyOnTerminal(notATerminal, pty.slave, prompt));
  close(notATerminal);
}

// Esc typed while a command had the terminal: keys are looked at without waiting and used up;
// an arrow's sequence is not an Esc.
TEST(NormalScreenKeyTest, EscapeTypedMeanwhileIsSeenAndUsedUp) {
  PseudoTerminal pty;
  ASSERT_GE(pty.slave, 0);
  struct termios before {};
  ASSERT_EQ(tcgetattr(pty.slave, &before), 0);
  const struct {
    const char* typed;
    bool escape;
  } cases[] = {
      {"\x1b", true},    {"ab\x1b", true},  {"\x1b\x1b[B", true},
      {"\x1b[A", false}, {"\x1bOP", false}, {"ls", false},
  };
  for (const auto& c : cases) {
    // The line's end makes the typed keys readable in line mode too: waited for, so that
    // the look does not come before the keys.
    const std::string typed = std::string(c.typed) + "\n";
    ASSERT_EQ(write(pty.master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    struct pollfd ready {
      pty.slave, POLLIN, 0
    };
    ASSERT_EQ(poll(&ready, 1, 5000), 1) << c.typed;
    EXPECT_EQ(escapeTypedOnTerminal(pty.slave), c.escape) << c.typed;
    EXPECT_FALSE(escapeTypedOnTerminal(pty.slave)) << "used up: " << c.typed;
    struct termios after {};
    ASSERT_EQ(tcgetattr(pty.slave, &after), 0);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_cc[VMIN], before.c_cc[VMIN]);
  }
  const int notATerminal = open("/dev/null", O_RDONLY | O_CLOEXEC);
  EXPECT_FALSE(escapeTypedOnTerminal(notATerminal));
  close(notATerminal);
}

}  // namespace
}  // namespace corvane
