// What writing through C library streams needs on every system: the checked sink of
// replaceFile and the checked close of a written file.
#include <cerrno>

#include "platform/file_copy.h"
#include "platform/replace_file.h"

namespace corvane {

bool FileSink::write(std::string_view bytes) {
  if (error_ != 0) return false;
  if (bytes.empty()) return true;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    error_ = errno != 0 ? errno : EIO;
  return error_ == 0;
}

FileResult closeWrittenFile(FileHandle& file) {
  std::FILE* stream = file.release();
  if (stream == nullptr) return fileSuccess();
  errno = 0;
  FileResult result = std::fflush(stream) == 0 ? fileSuccess() : fileFailure(errno != 0 ? errno : EIO);
  errno = 0;
  if (std::fclose(stream) != 0 && result) result = fileFailure(errno != 0 ? errno : EIO);
  return result;
}

}  // namespace corvane
