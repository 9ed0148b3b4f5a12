#include "platform/printer_port.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/process.h"

extern char** environ;

namespace corvane {
namespace {

// Signals the program may ignore or block that a command must get as usual.
constexpr int ChildDefaultSignals[] = {SIGINT, SIGQUIT, SIGPIPE, SIGCHLD, SIGTERM, SIGHUP};

bool setNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// write() with SIGPIPE held back: a reader that went away gives EPIPE, and the signal it
// raised is taken off this thread again.
ssize_t writeWithoutSigpipe(int fd, const char* bytes, std::size_t count) {
  sigset_t pipeSignal, old;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &old);
  const ssize_t written = ::write(fd, bytes, count);
  const int error = errno;
  if (written < 0 && error == EPIPE) {
    struct timespec none {};
    sigtimedwait(&pipeSignal, nullptr, &none);
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  errno = error;
  return written;
}

// Starts the interpreter on the command with standard input from inputFd and standard output
// and errors into outputFd. Returns the process id, or -1 with errno set.
pid_t startCommand(const std::string& command, int inputFd, int outputFd) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  posix_spawn_file_actions_adddup2(&actions, inputFd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  for (int signal : ChildDefaultSignals) sigaddset(&defaults, signal);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  // A group of its own: giving the command up ends whatever it started as well.
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  std::string interpreter = commandInterpreter();
  std::string option = "-c";
  std::string line = command;
  char* const argv[] = {interpreter.data(), option.data(), line.data(), nullptr};
  pid_t child = -1;
  const int error = posix_spawn(&child, interpreter.c_str(), &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    errno = error;
    return -1;
  }
  return child;
}

}  // namespace

PrinterPort::~PrinterPort() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  endCommand();
}

FileResult PrinterPort::open(int number) {
  target_ = printerTarget(number);
  captured_.clear();
  exitStatus_ = -1;
  if (!target_.command) {
    int flags = O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (target_.configured) flags |= O_CREAT;
    fd_ = ::open(target_.destination.c_str(), flags, 0666);
    return fd_ >= 0 ? fileSuccess() : fileFailure(errno);
  }
  int input[2], output[2];
  if (pipe2(input, O_CLOEXEC) != 0) return fileFailure(errno);
  if (pipe2(output, O_CLOEXEC) != 0) {
    const int error = errno;
    ::close(input[0]);
    ::close(input[1]);
    return fileFailure(error);
  }
  const pid_t child = startCommand(target_.destination, input[0], output[1]);
  const int error = errno;
  ::close(input[0]);
  ::close(output[1]);
  if (child < 0) {
    ::close(input[1]);
    ::close(output[0]);
    return fileFailure(error);
  }
  child_ = child;
  fd_ = input[1];
  outputFd_ = output[0];
  setNonBlocking(fd_);
  setNonBlocking(outputFd_);
  return fileSuccess();
}

void PrinterPort::drainOutput() {
  if (outputFd_ < 0) return;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(outputFd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got == 0) {  // the command closed its output
        ::close(outputFd_);
        outputFd_ = -1;
      }
      return;
    }
    const std::size_t room = PrinterCaptureLimit - std::min(captured_.size(), PrinterCaptureLimit);
    captured_.append(buffer, std::min(static_cast<std::size_t>(got), room));
  }
}

FileResult PrinterPort::waitWritable(const PrinterWait& keepWaiting, int& waitedMs) {
  struct pollfd fds[2] = {{fd_, POLLOUT, 0}, {outputFd_, POLLIN, 0}};
  const int ready = poll(fds, outputFd_ >= 0 ? 2 : 1, PrinterPollStepMs);
  if (ready < 0 && errno != EINTR) return fileFailure(errno);
  drainOutput();
  if (ready > 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) return fileSuccess();
  waitedMs += PrinterPollStepMs;
  if (keepWaiting && !keepWaiting()) return fileFailure(ECANCELED);
  if (waitedMs >= timeoutMs_) return fileFailure(ETIMEDOUT);
  return fileSuccess();
}

FileResult PrinterPort::write(std::string_view bytes, const PrinterWait& keepWaiting) {
  if (fd_ < 0) return fileFailure(EBADF);
  int waitedMs = 0;
  while (!bytes.empty()) {
    const ssize_t written = writeWithoutSigpipe(fd_, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
      waitedMs = 0;
      drainOutput();
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return fileFailure(errno);
    if (FileResult waited = waitWritable(keepWaiting, waitedMs); !waited) return waited;
  }
  return fileSuccess();
}

FileResult PrinterPort::close(const PrinterWait& keepWaiting) {
  FileResult result;
  if (fd_ >= 0 && ::close(fd_) != 0 && child_ < 0) result = fileFailure(errno);
  fd_ = -1;
  if (child_ < 0) return result;
  int waitedMs = 0;
  for (;;) {
    drainOutput();
    int status = 0;
    const pid_t done = waitpid(child_, &status, WNOHANG);
    if (done == child_) {
      child_ = -1;
      drainOutput();
      exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exitStatus_ == 0 ? fileSuccess() : fileFailure(EIO);
    }
    if (done < 0 && errno != EINTR) {
      child_ = -1;
      return fileFailure(errno);
    }
    struct pollfd output {
      outputFd_, POLLIN, 0
    };
    // Without output left to read, the poll only paces the wait for the command's end.
    if (poll(&output, outputFd_ >= 0 ? 1 : 0, PrinterPollStepMs) > 0) continue;
    waitedMs += PrinterPollStepMs;
    const bool cancelled = keepWaiting && !keepWaiting();
    if (cancelled || waitedMs >= timeoutMs_) {
      endCommand();
      return fileFailure(cancelled ? ECANCELED : ETIMEDOUT);
    }
  }
}

void PrinterPort::endCommand() {
  if (outputFd_ >= 0) ::close(outputFd_);
  outputFd_ = -1;
  if (child_ < 0) return;
  kill(-child_, SIGTERM);
  int status = 0;
  while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
  }
  child_ = -1;
}

}  // namespace corvane
