// The key prompt on the normal screen, on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
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

}  // namespace
}  // namespace corvane
