// Printer ports on Windows: "LPTn" is the device itself unless CORVANE_LPTn names a file or
// "|command". Writes go through the system handle; a command gets the port as its standard
// input through a pipe that never blocks the program, its output goes nowhere.
#include "platform/printer_port.h"

#include <io.h>

#include <cerrno>

#include "platform/process.h"
#include "platform/win32/win_process.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

HANDLE handleOfFd(int fd) {
  return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// What a command's pipe holds before a write waits, and the most one write gives it.
constexpr DWORD PipeBufferSize = 65536;

HANDLE processOf(int child) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(child)); }

// Lets go of a command's job; with end, everything still running in it is ended first.
void closeCommandGroup(std::intptr_t& group, bool end) {
  if (group == 0) return;
  HANDLE job = reinterpret_cast<HANDLE>(group);
  if (end) TerminateJobObject(job, 1);
  CloseHandle(job);
  group = 0;
}

// Ends a command started for a port once it has had graceMs to end by itself, with its job.
void endProcess(int& child, std::intptr_t& group, DWORD graceMs) {
  if (child == -1) return;
  HANDLE process = processOf(child);
  const bool running = WaitForSingleObject(process, graceMs) == WAIT_TIMEOUT;
  if (running && group == 0) TerminateProcess(process, 1);
  closeCommandGroup(group, running);
  CloseHandle(process);
  child = -1;
}

}  // namespace

PrinterPort::~PrinterPort() { endCommand(); }

FileResult PrinterPort::open(int number) {
  target_ = printerTarget(number);
  exitStatus_ = -1;
  captured_.clear();
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (target_.command) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, PipeBufferSize)) return fileFailure(lastErrno());
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    // A full pipe takes nothing instead of blocking: write() waits in steps.
    DWORD pipeMode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
    SetNamedPipeHandleState(write, &pipeMode, nullptr, nullptr);
    HANDLE nowhere = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read;
    startup.hStdOutput = nowhere;
    startup.hStdError = nowhere;
    std::wstring line = interpreterLine(target_.destination);
    PROCESS_INFORMATION process{};
    // Started held, so that it is in its job before it can start anything: giving the
    // command up ends whatever it started as well.
    const bool started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
    const int error = started ? 0 : lastErrno();
    if (started) {
      HANDLE job = CreateJobObjectW(nullptr, nullptr);
      if (job != nullptr && !AssignProcessToJobObject(job, process.hProcess)) {
        CloseHandle(job);
        job = nullptr;
      }
      commandGroup_ = reinterpret_cast<std::intptr_t>(job);
      ResumeThread(process.hThread);
    }
    CloseHandle(read);
    if (nowhere != INVALID_HANDLE_VALUE) CloseHandle(nowhere);
    if (!started) {
      CloseHandle(write);
      return fileFailure(error);
    }
    CloseHandle(process.hThread);
    child_ = static_cast<int>(reinterpret_cast<intptr_t>(process.hProcess));
    handle = write;
  } else {
    const std::wstring path = widePath(target_.destination);
    handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         target_.configured ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (handle == INVALID_HANDLE_VALUE) return fileFailure(lastErrno());
    LARGE_INTEGER zero{};
    SetFilePointerEx(handle, zero, nullptr, FILE_END);
  }
  fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
  if (fd_ < 0) {
    CloseHandle(handle);
    endCommand();
    return fileFailure(EMFILE);
  }
  return fileSuccess();
}

FileResult PrinterPort::write(std::string_view bytes, const PrinterWait& keepWaiting) {
  HANDLE handle = handleOfFd(fd_);
  if (handle == INVALID_HANDLE_VALUE) return fileFailure(EBADF);
  int waitedMs = 0;
  while (!bytes.empty()) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), PipeBufferSize));
    if (!WriteFile(handle, bytes.data(), want, &put, nullptr)) {
      const DWORD error = GetLastError();
      // The command closed its input or ended.
      if (error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE) return fileFailure(EPIPE);
      return fileFailure(errnoOfWindowsError(error));
    }
    if (put > 0) {
      bytes.remove_prefix(put);
      waitedMs = 0;
      continue;
    }
    if (FileResult waited = waitWritable(keepWaiting, waitedMs); !waited) return waited;
  }
  return fileSuccess();
}

FileResult PrinterPort::close(const PrinterWait& keepWaiting) {
  FileResult result;
  if (fd_ >= 0) {
    if (_close(fd_) != 0) result = fileFailure(EIO);
    fd_ = -1;
  }
  if (child_ != -1) {
    HANDLE process = processOf(child_);
    int waited = 0;
    while (WaitForSingleObject(process, PrinterPollStepMs) == WAIT_TIMEOUT) {
      waited += PrinterPollStepMs;
      const bool cancelled = waited < timeoutMs_ && keepWaiting && !keepWaiting();
      if (cancelled || waited >= timeoutMs_) {
        endProcess(child_, commandGroup_, 0);  // given up: it has had its time
        return fileFailure(cancelled ? ECANCELED : ETIMEDOUT);
      }
    }
    DWORD status = 0;
    GetExitCodeProcess(process, &status);
    exitStatus_ = static_cast<int>(status);
    CloseHandle(process);
    child_ = -1;
    closeCommandGroup(commandGroup_, false);
    if (exitStatus_ != 0 && result) result = fileFailure(EIO);
  }
  return result;
}

// One step of waiting while the port takes nothing (a full pipe).
FileResult PrinterPort::waitWritable(const PrinterWait& keepWaiting, int& waitedMs) {
  if (waitedMs >= timeoutMs_) return fileFailure(ETIMEDOUT);
  Sleep(PrinterPollStepMs);
  waitedMs += PrinterPollStepMs;
  if (keepWaiting && !keepWaiting()) return fileFailure(ECANCELED);
  return fileSuccess();
}
void PrinterPort::drainOutput() {}

void PrinterPort::endCommand() {
  if (fd_ >= 0) {
    _close(fd_);
    fd_ = -1;
  }
  endProcess(child_, commandGroup_, 2000);
}

}  // namespace corvane
