// Printer ports "LPT1" ... "LPT8": where each one leads, and writing to one without ever
// blocking the program. Port n is the value of CORVANE_LPTn when it is set (a path of a file or
// device, or "|command" to pipe into a command), else the device /dev/lp(n-1).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace corvane {

constexpr int PrinterPortCount = 8;
// While a port takes no data it is waited on in steps of this many milliseconds.
constexpr int PrinterPollStepMs = 100;
constexpr int PrinterDefaultTimeoutMs = 30000;
// What a command writes is kept up to this many bytes (the rest is read and dropped).
constexpr std::size_t PrinterCaptureLimit = 8192;

// Where a port leads.
struct PrinterTarget {
  std::string port;         // "LPT1"
  std::string destination;  // the host path, or the command line after "|"
  bool command = false;
  bool configured = false;  // from CORVANE_LPTn (a missing file is then created)
};
// The target of port number (a number outside 1..8 is taken as 1).
PrinterTarget printerTarget(int number);
// A port and where it leads, with the reason it failed: "LPT1 (/dev/lp0: No such file or
// directory)"; without a reason "LPT1 (|lp)".
std::string printerPortText(const PrinterTarget& target, FileResult failure);

// Asked after every wait step while a port takes nothing: true waits on, false gives up.
using PrinterWait = std::function<bool()>;

// One opened port. A command started for it ends with the object at the latest.
class PrinterPort {
 public:
  PrinterPort() = default;
  ~PrinterPort();
  PrinterPort(const PrinterPort&) = delete;
  PrinterPort& operator=(const PrinterPort&) = delete;

  // Opens port number: a regular file for appending (created when missing when the port is
  // configured), a device or FIFO for writing without waiting for it; "|command" starts the
  // command through the command interpreter with its standard input from the port and its
  // output and errors captured (never shown on the screen). Nothing here blocks.
  FileResult open(int number);
  // Writes all bytes. While the port takes nothing it waits in steps, asking keepWaiting
  // after each: false gives up (ECANCELED); nothing taken for the timeout fails (ETIMEDOUT).
  // A command that stopped reading fails it (EPIPE); the program never gets SIGPIPE from it.
  FileResult write(std::string_view bytes, const PrinterWait& keepWaiting);
  // Ends the output. A command gets the end of its input and is waited for the same way; a
  // command that ends with a status other than 0 (or is killed) is a failure (EIO).
  FileResult close(const PrinterWait& keepWaiting);

  const PrinterTarget& target() const { return target_; }
  const std::string& capturedOutput() const { return captured_; }
  // The command's exit status once close() saw it end; -1 before and for other ports.
  int exitStatus() const { return exitStatus_; }
  void setTimeout(int ms) { timeoutMs_ = ms; }

 private:
  FileResult waitWritable(const PrinterWait& keepWaiting, int& waitedMs);
  void drainOutput();
  void endCommand();

  PrinterTarget target_;
  int fd_ = -1;
  int outputFd_ = -1;
  int child_ = -1;
  std::intptr_t commandGroup_ = 0;  // Windows: the job holding the command and what it starts
  int exitStatus_ = -1;
  int timeoutMs_ = PrinterDefaultTimeoutMs;
  std::string captured_;
};

}  // namespace corvane
