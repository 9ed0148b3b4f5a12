#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/posix/terminal_session.h"
#include "platform/signals.h"

namespace corvane {
namespace {

constexpr const char* DefaultInterpreter = "/bin/sh";
// The search path when PATH is not set, as the interpreter assumes.
constexpr const char* DefaultSearchPath = "/usr/bin:/bin";

// Clears the normal screen with default colours and homes the cursor.
constexpr std::string_view ClearNormalScreen = "\x1b[0m\x1b[H\x1b[2J";
// The rest of a key that sends several bytes (an escape sequence, a UTF-8 character) comes
// within this time and is read with it.
constexpr int KeyRestMs = 30;
constexpr int EndCheckMs = 200;

// Signals whose "ignore" the program may have set and a child must not inherit (an
// ignored SIGPIPE or SIGCHLD breaks ordinary shell pipelines and waits).
constexpr int ChildDefaultSignals[] = {SIGINT,  SIGQUIT, SIGPIPE, SIGCHLD,
                                       SIGTSTP, SIGTTIN, SIGTTOU};

bool isDosInterpreter(std::string_view path) {
  std::size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return sameName(name, "command.com") || sameName(name, "cmd.exe");
}

// Runs in the child between fork and exec: async-signal-safe calls only. Reports errno
// through the pipe and ends the child when something fails.
[[noreturn]] void startChild(char* const argv[], const char* directory, int reportFd,
                             const sigset_t& mask) {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  for (int signal : ChildDefaultSignals) sigaction(signal, &standard, nullptr);
  pthread_sigmask(SIG_SETMASK, &mask, nullptr);
  int report[2] = {1, 0};  // the step that failed (1 entering the directory), errno
  if (directory == nullptr || chdir(directory) == 0) {
    report[0] = 0;
    execvp(argv[0], argv);
  }
  report[1] = errno;
  ssize_t written = write(reportFd, report, sizeof report);
  (void)written;
  _exit(127);
}

// The system's text of an errno value.
std::string errorText(int error) {
  char buffer[256];
  // The GNU strerror_r returns the text, which need not be in the buffer.
  return strerror_r(error, buffer, sizeof buffer);
}

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

// A relative host path taken from the host directory of a program path ("" keeps the
// process's own directory).
std::string fromDirectory(std::string_view relative, std::string_view workingDirectory) {
  std::string base = workingDirectory.empty() ? std::string() : toHostPath(workingDirectory);
  if (base.empty()) return std::string(relative);
  if (base.back() != '/') base += '/';
  base += relative;
  return base;
}

}  // namespace

CommandSyntax commandSyntax() { return CommandSyntax::PosixShell; }

std::string commandInterpreter() {
  const char* comspec = std::getenv("COMSPEC");
  if (comspec != nullptr && *comspec != '\0' && !isDosInterpreter(comspec)) return comspec;
  const char* shell = std::getenv("SHELL");
  if (shell != nullptr && *shell != '\0') return shell;
  return DefaultInterpreter;
}

int runShellCommand(std::string_view commandLine, std::string_view workingDirectory,
                    CommandStartFailure* failure) {
  auto failed = [&](bool directoryStep, int error) {
    if (failure != nullptr) {
      failure->directory = directoryStep;
      failure->reason = errorText(error);
    }
    return -1;
  };
  std::string directory;
  if (!workingDirectory.empty()) {
    directory = toHostPath(workingDirectory);
    if (directory.empty()) return failed(true, ENOENT);
  }
  std::string interpreter = commandInterpreter();
  std::string option = "-c";
  std::string command(commandLine);
  char* const argv[] = {interpreter.data(), option.data(), command.data(), nullptr};

  int report[2];
  if (!makePipe(report, false)) return failed(false, errno);

  // As system(3): the program ignores the terminal's interrupt and quit while the child
  // runs, and keeps SIGCHLD blocked so that no handler reaps the child first.
  struct sigaction ignore {};
  struct sigaction oldInterrupt {};
  struct sigaction oldQuit {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGINT, &ignore, &oldInterrupt);
  sigaction(SIGQUIT, &ignore, &oldQuit);
  sigset_t childSignal, oldMask;
  sigemptyset(&childSignal);
  sigaddset(&childSignal, SIGCHLD);
  pthread_sigmask(SIG_BLOCK, &childSignal, &oldMask);

  pid_t child = fork();
  if (child == 0) {
    startChild(argv, directory.empty() ? nullptr : directory.c_str(), report[1], oldMask);
  }

  const int forkError = errno;
  close(report[1]);
  int childReport[2] = {0, 0};
  if (child > 0) {
    ssize_t got;
    do {
      got = read(report[0], childReport, sizeof childReport);
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof childReport)) childReport[1] = 0;  // exec succeeded
  }
  close(report[0]);
  const int childError = childReport[1];
  int status = 0;
  pid_t waited = -1;
  if (child > 0) {
    do {
      waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
  }

  sigaction(SIGINT, &oldInterrupt, nullptr);
  sigaction(SIGQUIT, &oldQuit, nullptr);
  pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);

  if (child < 0) return failed(false, forkError);
  if (childError != 0) return failed(childReport[0] == 1, childError);
  if (waited < 0) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

bool findExecutable(std::string_view word, std::string_view workingDirectory) {
  if (word.empty()) return false;
  if (word.find('/') != std::string_view::npos)
    return isExecutableFile(word.front() == '/' ? std::string(word)
                                                : fromDirectory(word, workingDirectory));
  const char* searchPath = std::getenv("PATH");
  std::string_view directories = searchPath != nullptr ? searchPath : DefaultSearchPath;
  for (std::size_t begin = 0;;) {
    std::size_t end = directories.find(':', begin);
    std::string_view directory = directories.substr(begin, end - begin);
    std::string candidate = directory.empty() ? std::string(".") : std::string(directory);
    candidate += '/';
    candidate += word;
    if (candidate.front() != '/') candidate = fromDirectory(candidate, workingDirectory);
    if (isExecutableFile(candidate)) return true;
    if (end == std::string_view::npos) return false;
    begin = end + 1;
  }
}

void clearNormalScreen() {
  if (!isatty(STDOUT_FILENO)) return;
  writeAllBytes(STDOUT_FILENO, ClearNormalScreen);
  setNormalScreenAtLineStart(true);
}

void writeNormalScreen(std::string_view text) {
  if (!isatty(STDOUT_FILENO) || text.empty()) return;
  writeAllBytes(STDOUT_FILENO, text);
  setNormalScreenAtLineStart(text.back() == '\n');
}

void waitKeyOnNormalScreen(std::string_view prompt) {
  if (!isatty(STDOUT_FILENO)) return;
  waitKeyOnTerminal(STDIN_FILENO, STDOUT_FILENO, prompt);
  if (!prompt.empty()) setNormalScreenAtLineStart(prompt.back() == '\n');
}

bool waitKeyOnTerminal(int inFd, int outFd, std::string_view prompt) {
  struct termios saved {};
  if (tcgetattr(inFd, &saved) != 0) return false;
  struct termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
  raw.c_iflag &= ~static_cast<tcflag_t>(IXON);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  // Keys typed while the command ran are dropped: the prompt waits for a new one.
  if (tcsetattr(inFd, TCSAFLUSH, &raw) != 0) return false;
  writeAllBytes(outFd, prompt);
  unsigned char byte = 0;
  ssize_t got = -1;
  // Polled in steps, so that a demand to end the program does not wait for the key.
  while (!endRequested()) {
    struct pollfd key {
      inFd, POLLIN, 0
    };
    int ready = poll(&key, 1, EndCheckMs);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    do {
      got = read(inFd, &byte, 1);
    } while (got < 0 && errno == EINTR);
    break;
  }
  if (got == 1) {
    struct pollfd pending {
      inFd, POLLIN, 0
    };
    unsigned char rest[64];
    while (poll(&pending, 1, KeyRestMs) > 0 && (pending.revents & POLLIN) != 0 &&
           read(inFd, rest, sizeof rest) > 0) {
    }
  }
  tcsetattr(inFd, TCSANOW, &saved);
  return got == 1;
}

bool escapeTypedOnNormalScreen() { return escapeTypedOnTerminal(STDIN_FILENO); }

bool escapeTypedOnTerminal(int inFd) {
  struct termios saved {};
  if (tcgetattr(inFd, &saved) != 0) return false;
  // Out of line mode for the look, so that a key typed without Enter can be read.
  struct termios look = saved;
  look.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  look.c_cc[VMIN] = 0;
  look.c_cc[VTIME] = 0;
  if (tcsetattr(inFd, TCSANOW, &look) != 0) return false;
  bool escape = false;
  unsigned char bytes[256];
  ssize_t got = 0;
  while ((got = read(inFd, bytes, sizeof bytes)) > 0) {
    for (ssize_t i = 0; i < got; ++i) {
      if (bytes[i] != 0x1B) continue;
      // ESC [ and ESC O begin the sequences of other keys.
      const bool sequence = i + 1 < got && (bytes[i + 1] == '[' || bytes[i + 1] == 'O');
      if (!sequence) escape = true;
    }
  }
  tcsetattr(inFd, TCSANOW, &saved);
  return escape;
}

}  // namespace corvane
