#include "platform/posix/terminal_session.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>

#include "platform/signals.h"

namespace corvane {
namespace {

// Everything the signal handlers touch is plain memory or lock-free atomics.
constexpr std::size_t SequenceCapacity = 2048;
struct Sequence {
  char bytes[SequenceCapacity];
  std::size_t length;
};

enum Phase : int { PhaseIdle = 0, PhaseActive = 1, PhaseRestored = 2 };

struct SessionState {
  int inFd = 0, outFd = 1;
  termios saved{}, raw{};
  std::atomic<bool> started{false};
  std::atomic<int> phase{PhaseIdle};
  std::atomic<bool> stoppedWhileActive{false};
  Sequence enter[2]{}, leave[2]{};
  std::atomic<int> slot{0};  // which of the two copies the handlers read
  std::atomic<int> wakeRead{-1}, wakeWrite{-1};
  std::atomic<bool> normalScreenLineStart{true};
};

SessionState session;
std::once_flag wakeOnce;
std::mutex sequencesMutex;  // writers only; the handlers read the published slot
alignas(16) char alternateStack[64 * 1024];

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

void writeSequence(const Sequence& s) {
  if (s.length > 0) writeAllBytes(session.outFd, std::string_view(s.bytes, s.length));
}

void copySequence(Sequence& target, std::string_view bytes) {
  target.length = std::min(bytes.size(), SequenceCapacity);
  std::memcpy(target.bytes, bytes.data(), target.length);
}

void createWakePipe() {
  int fds[2];
  if (!makePipe(fds, true)) return;
  session.wakeRead = fds[0];
  session.wakeWrite = fds[1];
}

// Signal-safe "corvane: fatal signal N" on stderr.
void reportFatalSignal(int sig) {
  char line[64];
  std::size_t n = session_text::FatalSignal.size();
  std::memcpy(line, session_text::FatalSignal.data(), n);
  char digits[12];
  int count = 0;
  unsigned value = sig > 0 ? static_cast<unsigned>(sig) : 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && count < 12);
  while (count > 0) line[n++] = digits[--count];
  line[n++] = '\n';
  writeAllBytes(STDERR_FILENO, std::string_view(line, n));
}

void onTerminatingSignal(int sig) {
  restoreTerminal();
  raise(sig);  // the handler was reset: the default action follows on return
}

// Restores and dies of the signal, from a handler that stays installed.
void endAtOnce(int sig) {
  restoreTerminal();
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  sigemptyset(&defaults.sa_mask);
  sigaction(sig, &defaults, nullptr);
  raise(sig);  // blocked while the handler runs: delivered on return
}

// SIGINT, SIGTERM, SIGHUP: left for the drawing thread once it takes them.
void onRequestSignal(int sig) {
  int savedErrno = errno;
  bool interrupt = sig == SIGINT;
  if (sig == SIGHUP && endUnderWay()) {
    // The terminal's hang-up while the end is carried out (often the very hang-up that
    // asked for it): the files being written are finished first.
  } else if (!signalRequestsServiced() || (!interrupt && endRequested())) {
    endAtOnce(sig);
  } else {
    if (interrupt)
      recordInterruptRequest();
    else
      recordEndRequest();
    wakeReader(WakeAny);
  }
  errno = savedErrno;
}

void onCrashSignal(int sig) {
  restoreTerminal();
  reportFatalSignal(sig);
  raise(sig);
}

void onStopSignal(int) {
  int savedErrno = errno;
  int expected = PhaseActive;
  if (session.phase.compare_exchange_strong(expected, PhaseIdle)) {
    writeSequence(session.leave[session.slot.load()]);
    tcsetattr(session.inFd, TCSADRAIN, &session.saved);
    session.stoppedWhileActive = true;
  }
  struct sigaction defaults {
  }, mine{};
  defaults.sa_handler = SIG_DFL;
  sigemptyset(&defaults.sa_mask);
  sigaction(SIGTSTP, &defaults, &mine);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTSTP);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  raise(SIGTSTP);  // stops here; SIGCONT's handler takes the terminal again
  sigaction(SIGTSTP, &mine, nullptr);
  errno = savedErrno;
}

void onContinueSignal(int) {
  int savedErrno = errno;
  bool wasStopped = session.stoppedWhileActive.exchange(false);
  int phase = session.phase.load();
  if (phase == PhaseActive || (wasStopped && phase == PhaseIdle)) {
    // Something else may have had the terminal meanwhile: take it again whole.
    session.phase = PhaseActive;
    tcsetattr(session.inFd, TCSADRAIN, &session.raw);
    writeSequence(session.enter[session.slot.load()]);
    wakeReader(WakeContinued);
  }
  errno = savedErrno;
}

void onResizeSignal(int) {
  int savedErrno = errno;
  wakeReader(WakeResize);
  errno = savedErrno;
}

// Signals whose default action ends the process and that mean nothing to the program.
constexpr int EndingSignals[] = {
    SIGQUIT,   SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGSYS, SIGTRAP,
#ifdef SIGIO
    SIGIO,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGEMT
    SIGEMT,
#endif
#ifdef SIGLOST
    SIGLOST,
#endif
};

// Which dispositions a new handler replaces.
enum class Replace { Always, UnlessIgnored, OnlyDefault };

void install(int sig, void (*handler)(int), int flags, Replace replace) {
  struct sigaction action {
  }, old{};
  if (replace != Replace::Always && sigaction(sig, nullptr, &old) == 0) {
    bool ignored = !(old.sa_flags & SA_SIGINFO) && old.sa_handler == SIG_IGN;
    bool standard = !(old.sa_flags & SA_SIGINFO) && old.sa_handler == SIG_DFL;
    if (ignored || (replace == Replace::OnlyDefault && !standard)) return;
  }
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(sig, &action, nullptr);
}

void installHandlers() {
  stack_t stack{};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  sigaltstack(&stack, nullptr);

  for (int sig : {SIGTERM, SIGHUP, SIGINT})
    install(sig, onRequestSignal, SA_RESTART,
            sig == SIGTERM ? Replace::Always : Replace::UnlessIgnored);
  for (int sig : EndingSignals)
    install(sig, onTerminatingSignal, SA_RESETHAND, Replace::OnlyDefault);
#ifdef SIGRTMIN
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig)
    install(sig, onTerminatingSignal, SA_RESETHAND, Replace::OnlyDefault);
#endif
  install(SIGPIPE, SIG_IGN, 0, Replace::Always);
  for (int sig : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
    install(sig, onCrashSignal, SA_RESETHAND | SA_ONSTACK, Replace::Always);
  install(SIGTSTP, onStopSignal, SA_RESTART, Replace::UnlessIgnored);
  install(SIGCONT, onContinueSignal, SA_RESTART, Replace::Always);
  install(SIGWINCH, onResizeSignal, SA_RESTART, Replace::Always);

  std::atexit(restoreTerminal);
  std::set_terminate([] {
    restoreTerminal();
    std::abort();
  });
}

termios rawModes(const termios& saved) {
  termios raw = saved;
  raw.c_iflag &=
      static_cast<tcflag_t>(~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON));
  raw.c_oflag &= static_cast<tcflag_t>(~OPOST);
  raw.c_lflag &= static_cast<tcflag_t>(~(ECHO | ECHONL | ICANON | ISIG | IEXTEN));
  raw.c_cflag &= static_cast<tcflag_t>(~(CSIZE | PARENB));
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  return raw;
}

bool hasUtf8(const char* value) {
  for (const char* p = value; *p; ++p) {
    auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    if (lower(p[0]) == 'u' && lower(p[1]) == 't' && lower(p[2]) == 'f') {
      const char* q = p + 3;
      if (*q == '-') ++q;
      if (q[0] == '8') return true;
    }
  }
  return false;
}

}  // namespace

bool stdioAreTerminals() { return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1; }

bool queryTerminalSize(int fd, int& columns, int& rows) {
  winsize ws{};
  if (ioctl(fd, TIOCGWINSZ, &ws) != 0 || ws.ws_col == 0 || ws.ws_row == 0) return false;
  columns = ws.ws_col;
  rows = ws.ws_row;
  return true;
}

bool terminalSizeAtStart(int& columns, int& rows) {
  return queryTerminalSize(STDOUT_FILENO, columns, rows) ||
         queryTerminalSize(STDIN_FILENO, columns, rows);
}

bool localeIsUtf8() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return hasUtf8(value);
  }
  return false;
}

bool beginTerminalSession(int inFd, int outFd) {
  if (session.started) return true;
  termios saved{};
  if (tcgetattr(inFd, &saved) != 0) return false;
  session.inFd = inFd;
  session.outFd = outFd;
  session.saved = saved;
  session.raw = rawModes(saved);
  wakeReadFd();
  session.started = true;
  installHandlers();
  return true;
}

bool terminalSessionStarted() { return session.started; }

unsigned char terminalEraseCharacter() {
  return session.started ? session.saved.c_cc[VERASE] : 0x7F;
}

void setSessionSequences(std::string_view enter, std::string_view leave) {
  std::lock_guard lock(sequencesMutex);
  int next = 1 - session.slot.load();
  copySequence(session.enter[next], enter);
  copySequence(session.leave[next], leave);
  session.slot = next;
}

void enterTerminalSession() {
  if (!session.started) return;
  int expected = PhaseIdle;
  if (!session.phase.compare_exchange_strong(expected, PhaseActive)) return;
  tcsetattr(session.inFd, TCSADRAIN, &session.raw);
}

void leaveTerminalSession() {
  int expected = PhaseActive;
  if (!session.phase.compare_exchange_strong(expected, PhaseIdle)) return;
  tcsetattr(session.inFd, TCSADRAIN, &session.saved);
}

bool terminalSessionActive() { return session.phase.load() == PhaseActive; }

void restoreTerminal() {
  int previous = session.phase.exchange(PhaseRestored);
  if (previous == PhaseRestored || !session.started) return;
  if (previous == PhaseActive) writeSequence(session.leave[session.slot.load()]);
  tcsetattr(session.inFd, TCSADRAIN, &session.saved);
}

bool terminalRestored() { return session.phase.load() == PhaseRestored; }

bool makePipe(int fds[2], bool nonBlocking) {
#if defined(__linux__)
  return pipe2(fds, O_CLOEXEC | (nonBlocking ? O_NONBLOCK : 0)) == 0;
#else
  if (pipe(fds) != 0) return false;
  for (int i = 0; i < 2; ++i) {
    fcntl(fds[i], F_SETFD, FD_CLOEXEC);
    if (nonBlocking) fcntl(fds[i], F_SETFL, fcntl(fds[i], F_GETFL) | O_NONBLOCK);
  }
  return true;
#endif
}

void setNormalScreenAtLineStart(bool atStart) { session.normalScreenLineStart = atStart; }
bool normalScreenAtLineStart() { return session.normalScreenLineStart; }

bool writeAllBytes(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  int stalls = 0;
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n > 0) {
      p += n;
      left -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && ++stalls < 50) {
      pollfd pfd{fd, POLLOUT, 0};
      poll(&pfd, 1, 100);
      continue;
    }
    return false;
  }
  return true;
}

int wakeReadFd() {
  std::call_once(wakeOnce, createWakePipe);
  return session.wakeRead;
}

void wakeReader(WakeReason reason) {
  int fd = session.wakeWrite.load();
  if (fd < 0) return;
  char byte = reason;
  ssize_t ignored = write(fd, &byte, 1);  // a full pipe already holds a wake-up
  (void)ignored;
}

}  // namespace corvane
