#include "platform/posix/terminal_session.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/posix/terminal_console.h"
#include "platform/signals.h"

namespace corvane {
namespace {

// A pseudo-terminal, and a child process that runs a session on its slave side. The
// handlers and the session are process-wide, so each case runs in its own child.
struct Pty {
  int master = -1, slave = -1;
  Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    fcntl(master, F_SETFL, O_NONBLOCK);
  }
  ~Pty() {
    if (slave >= 0) close(slave);
    if (master >= 0) close(master);
  }
  std::string drain() const {
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = read(master, buffer, sizeof buffer)) > 0)
      out.append(buffer, static_cast<std::size_t>(n));
    return out;
  }
  bool canonical() const {
    termios t{};
    tcgetattr(slave, &t);
    return (t.c_lflag & ICANON) != 0;
  }
};

// Runs body in a child (its return value is the exit status) with stderr into a pipe.
pid_t runChild(const Pty& pty, int errorPipe[2], const std::function<int()>& body) {
  EXPECT_EQ(pipe2(errorPipe, O_NONBLOCK), 0);
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    dup2(errorPipe[1], STDERR_FILENO);
    // Whatever the runner ignores.
    for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXFSZ, SIGRTMIN})
      signal(sig, SIG_DFL);
    if (!beginTerminalSession(pty.slave, pty.slave)) _exit(90);
    // The wake-up pipe may come from the parent, shared with earlier children: start empty.
    char stale;
    while (read(wakeReadFd(), &stale, 1) > 0) {
    }
    setSessionSequences("<enter>", "<leave>");
    enterTerminalSession();
    _exit(body());
  }
  close(errorPipe[1]);
  return pid;
}

std::string readAll(int fd) {
  std::string out;
  char buffer[512];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(n));
  close(fd);
  return out;
}

TEST(TerminalSession, CrashSignalRestoresReportsAndDies) {
  Pty pty;
  ASSERT_GE(pty.slave, 0);
  int errors[2];
  pid_t pid = runChild(pty, errors, [&] {
    if (pty.canonical()) return 91;  // raw mode was not set
    raise(SIGSEGV);
    return 92;  // never continue after a crash
  });
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGSEGV);
  EXPECT_EQ(pty.drain(), "<leave>");
  EXPECT_TRUE(pty.canonical());
  EXPECT_EQ(readAll(errors[0]),
            std::string(session_text::FatalSignal) + std::to_string(SIGSEGV) + "\n");
}

// Before the program takes them, SIGTERM and SIGHUP end it at once like the signals that mean
// nothing to it; every one of them gives the terminal back first.
TEST(TerminalSession, TerminationSignalsAndExitRestoreOnce) {
  for (int sig : {SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM, SIGXFSZ, SIGRTMIN, 0}) {
    Pty pty;
    ASSERT_GE(pty.slave, 0);
    int errors[2];
    pid_t pid = runChild(pty, errors, [&] {
      if (sig != 0) raise(sig);
      restoreTerminal();
      restoreTerminal();
      return terminalRestored() && !terminalSessionActive() ? 0 : 93;
    });
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    if (sig != 0) {
      ASSERT_TRUE(WIFSIGNALED(status)) << sig;
      EXPECT_EQ(WTERMSIG(status), sig);
    } else {
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(pty.drain(), "<leave>") << sig;
    EXPECT_TRUE(pty.canonical());
    EXPECT_EQ(readAll(errors[0]), "");
  }
}

TEST(TerminalSession, EndAndInterruptAreLeftToTheProgramOnceItTakesThem) {
  Pty pty;
  ASSERT_GE(pty.slave, 0);
  int errors[2];
  pid_t pid = runChild(pty, errors, [&] {
    static bool interrupted = false;
    setSignalRequestHooks({.interrupt = [] { interrupted = true; }, .end = [] {}});
    raise(SIGINT);
    raise(SIGTERM);
    if (!terminalSessionActive() || pty.canonical()) return 94;  // still the program's
    pollfd wake{wakeReadFd(), POLLIN, 0};
    if (poll(&wake, 1, 0) != 1) return 95;  // the reader is woken
    serviceSignalRequests();
    if (!interrupted || !endRequested()) return 96;
    // A pipe closed at its other end fails where it is written; the program goes on.
    int closed[2];
    if (pipe(closed) != 0) return 97;
    close(closed[0]);
    if (write(closed[1], "x", 1) != -1 || errno != EPIPE) return 98;
    raise(SIGTERM);  // a second demand while the first still waits: at once
    return 99;
  });
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(pty.drain(), "<leave>");
  EXPECT_TRUE(pty.canonical());
  EXPECT_EQ(readAll(errors[0]), "");
}

TEST(TerminalSession, StopGivesTheTerminalBackAndContinueTakesItAgain) {
  Pty pty;
  ASSERT_GE(pty.slave, 0);
  int errors[2];
  pid_t pid = runChild(pty, errors, [&] {
    raise(SIGTSTP);
    // Continued: raw again, and the reader is told to repaint.
    if (pty.canonical() || !terminalSessionActive()) return 94;
    pollfd fd{wakeReadFd(), POLLIN, 0};
    char reason = 0;
    if (poll(&fd, 1, 5000) != 1 || read(fd.fd, &reason, 1) != 1) return 95;
    return reason == WakeContinued ? 0 : 96;
  });
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, WUNTRACED), pid);
  ASSERT_TRUE(WIFSTOPPED(status));
  EXPECT_EQ(pty.drain(), "<leave>");
  EXPECT_TRUE(pty.canonical());
  kill(pid, SIGCONT);
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(pty.drain(), "<enter>");
}

TEST(TerminalSession, ConsoleStartAsksForTheKittyProtocol) {
  Pty pty;
  ASSERT_GE(pty.slave, 0);
  int errors[2];
  ASSERT_EQ(pipe2(errors, O_NONBLOCK), 0);
  pid_t pid = fork();
  if (pid == 0) {
    TerminalOptions options;
    options.inputFd = options.outputFd = pty.slave;
    options.queryTimeoutMs = 10'000;
    TerminalConsole console(options);
    if (!console.start("NT-Corvane test")) _exit(90);
    InputRecord r;
    // The answer came with a key typed before it: the key is kept.
    bool key = console.readInput(r, 0) && r.character == 'k';
    bool kitty = console.kittyKeyboard();
    console.stop();
    _exit(kitty && key ? 0 : 91);
  }
  close(errors[1]);
  std::string seen;
  while (seen.find(term::KittyQuery) == std::string::npos) {
    pollfd fd{pty.master, POLLIN, 0};
    ASSERT_EQ(poll(&fd, 1, 10'000), 1) << "no query";
    seen += pty.drain();
  }
  EXPECT_NE(seen.find("\x1b]2;NT-Corvane test\x07"), std::string::npos);
  EXPECT_NE(seen.find(term::ProgramScreen), std::string::npos);
  std::string reply = "k\x1b[?0u\x1b[?62;22c";
  ASSERT_EQ(write(pty.master, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::string rest = pty.drain();
  EXPECT_NE(rest.find(term::KittyPush), std::string::npos);
  EXPECT_NE(rest.find("\x1b[<u"), std::string::npos);  // popped again by the restore
  EXPECT_TRUE(pty.canonical());
  close(errors[0]);
}

TEST(TerminalSession, SizeAndLocale) {
  Pty pty;
  ASSERT_GE(pty.slave, 0);
  winsize ws{};
  ws.ws_col = 132;
  ws.ws_row = 43;
  ASSERT_EQ(ioctl(pty.master, TIOCSWINSZ, &ws), 0);
  int columns = 0, rows = 0;
  ASSERT_TRUE(queryTerminalSize(pty.slave, columns, rows));
  EXPECT_EQ(columns, 132);
  EXPECT_EQ(rows, 43);
  int pipes[2];
  ASSERT_EQ(pipe(pipes), 0);
  EXPECT_FALSE(queryTerminalSize(pipes[0], columns, rows));
  close(pipes[0]);
  close(pipes[1]);

  struct Case {
    const char *all, *ctype, *lang;
    bool utf8;
  };
  const Case cases[] = {{"de_DE.UTF-8", "C", nullptr, true},
                        {nullptr, "C", "en_US.UTF-8", false},
                        {"", nullptr, "en_US.utf8", true},
                        {nullptr, nullptr, nullptr, false}};
  std::string saved[3];
  const char* names[3] = {"LC_ALL", "LC_CTYPE", "LANG"};
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* v = std::getenv(names[i]);
    had[i] = v != nullptr;
    if (v) saved[i] = v;
  }
  for (const Case& c : cases) {
    const char* values[3] = {c.all, c.ctype, c.lang};
    for (int i = 0; i < 3; ++i) {
      if (values[i])
        setenv(names[i], values[i], 1);
      else
        unsetenv(names[i]);
    }
    EXPECT_EQ(localeIsUtf8(), c.utf8) << (c.all ? c.all : "-") << " " << (c.ctype ? c.ctype : "-");
  }
  for (int i = 0; i < 3; ++i) {
    if (had[i])
      setenv(names[i], saved[i].c_str(), 1);
    else
      unsetenv(names[i]);
  }
}

}  // namespace
}  // namespace corvane
