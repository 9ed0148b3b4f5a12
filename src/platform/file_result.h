// The outcome of one file call. Every call returns its own; nothing is kept for a later
// question, so a probe made meanwhile cannot change the reason of an earlier failure.
#pragma once

#include <cerrno>
#include <string>

namespace corvane {

// A reason of the program's own, beside the host's error numbers (which are positive): a
// directory, FIFO, socket or device where a regular file is needed (never read or replaced).
constexpr int FileErrorNotRegular = -1;
// A name the file system cannot hold as given (on Windows: a device name such as "CON", a
// character such as ":" or "?", a trailing dot or blank); nothing is written under it.
constexpr int FileErrorBadName = -2;

struct FileResult {
  int error = 0;  // 0: the call succeeded; else the host's error number or FileErrorNotRegular

  // Succeeded.
  explicit operator bool() const { return error == 0; }
  bool accessDenied() const { return error == EACCES || error == EPERM; }
  // The entry (or a directory on its path) does not exist.
  bool missing() const { return error == ENOENT || error == ENOTDIR; }
};

inline FileResult fileSuccess() { return {}; }
inline FileResult fileFailure(int error) { return {error}; }

// The system's text for the reason ("Permission denied"); "" for success.
std::string fileErrorText(FileResult result);

}  // namespace corvane
