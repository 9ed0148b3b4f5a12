// Replacing a file whole or not at all: the user's old file stays byte for byte until the new
// content is completely on disk.
#pragma once

#include <cstdio>
#include <functional>
#include <string_view>

#include "platform/file_result.h"

namespace corvane {

// Where a writer puts the new content. Every write is checked; after the first failure the
// sink writes nothing more and keeps that failure's reason.
class FileSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // False once any write failed.
  bool write(std::string_view bytes);
  bool put(char c) { return write(std::string_view(&c, 1)); }
  bool ok() const { return error_ == 0; }
  int error() const { return error_; }
  // The file being written, for a writer that fills it by other means (copyRange,
  // file_copy.h); such a writer flushes nothing through write() meanwhile.
  std::FILE* stream() const { return file_; }

 private:
  std::FILE* file_;
  int error_ = 0;
};

// Writes the new content into the sink; false gives up (the old file stays, ECANCELED).
using FileWriter = std::function<bool(FileSink&)>;

// Replaces the file at path (a program path) with what writer produces, or creates it.
// A symbolic link is resolved and the file it points to is written (the link stays). The
// content goes into a temporary file beside that file: every write checked, flushed, synced
// and closed, the mode, owner, group and the user.DOSATTRIB attribute of the old file given
// to it, and only then renamed over the old name. Where a rename cannot keep the file what it
// is (its directory cannot be written, it has further hard links, its owner cannot be given
// to a new file), the old bytes are first saved to a file in the temporary directory (TMP,
// TEMP, TMPDIR, /tmp), the file is rewritten in place, and on failure the old bytes are put
// back. On any failure the temporary is removed and the old file is as it was. Refused: a
// read-only file (EACCES), a directory (EISDIR), anything else that is not a regular file
// (FileErrorNotRegular).
[[nodiscard]] FileResult replaceFile(std::string_view path, const FileWriter& writer);
[[nodiscard]] FileResult replaceFile(std::string_view path, std::string_view content);
// The same for a host path, which need not lie on a drive (a file named on the command line).
[[nodiscard]] FileResult replaceHostFile(std::string_view hostPath, std::string_view content);

// Keeping the old file under a second name while it is replaced.
struct ReplaceBackup {
  std::string_view path;  // program path of the backup; empty: none
  FileResult result;      // out: how keeping it went (success too when nothing was kept)
  bool kept = false;      // out: the old bytes are under the backup name
};
// replaceFile that also keeps the old file (when there is one) under backup.path, replacing
// an older file of that name: once the new content is complete and before it takes the
// file's name, the old file is linked to the backup name (copied where no link can be made;
// in the in-place case the saved old bytes are copied once the file is whole). A backup that
// would be the file itself is not made; a failed replacement leaves an older backup alone.
// A failed backup is told in backup.result and does not stop the replacement.
[[nodiscard]] FileResult replaceFile(std::string_view path, const FileWriter& writer,
                                     ReplaceBackup& backup);

}  // namespace corvane
