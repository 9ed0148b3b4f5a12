#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/drives.h"
#include "platform/paths.h"

namespace corvane {
namespace {

constexpr const char* DefaultInterpreter = "/bin/sh";

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
  if (directory == nullptr || chdir(directory) == 0) execvp(argv[0], argv);
  int error = errno;
  ssize_t written = write(reportFd, &error, sizeof error);
  (void)written;
  _exit(127);
}

}  // namespace

std::string commandInterpreter() {
  const char* comspec = std::getenv("COMSPEC");
  if (comspec != nullptr && *comspec != '\0' && !isDosInterpreter(comspec)) return comspec;
  const char* shell = std::getenv("SHELL");
  if (shell != nullptr && *shell != '\0') return shell;
  return DefaultInterpreter;
}

int runShellCommand(std::string_view commandLine, std::string_view workingDirectory) {
  std::string directory;
  if (!workingDirectory.empty()) {
    directory = toHostPath(workingDirectory);
    if (directory.empty()) return -1;
  }
  std::string interpreter = commandInterpreter();
  std::string option = "-c";
  std::string command(commandLine);
  char* const argv[] = {interpreter.data(), option.data(), command.data(), nullptr};

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return -1;

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

  close(report[1]);
  int childError = 0;
  if (child > 0) {
    ssize_t got;
    do {
      got = read(report[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof childError)) childError = 0;  // exec succeeded
  }
  close(report[0]);
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

  if (child < 0 || waited < 0 || childError != 0) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace corvane
