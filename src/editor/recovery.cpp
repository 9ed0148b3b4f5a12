#include "editor/recovery.h"

#include "editor/edit_file_io.h"
#include "editor/editor_state.h"
#include "platform/file_system.h"
#include "platform/replace_file.h"
#include "platform/textf.h"

namespace corvane {
namespace {

constexpr int RecoveryNames = 9;

// The first name of NAME.RECOVER, NAME.RECOVER2 ... that is free ("" when none is).
std::string freeRecoveryName(std::string_view name) {
  for (int number = 1; number <= RecoveryNames; ++number) {
    std::string candidate = std::string(name) + std::string(RecoverySuffix);
    if (number > 1) candidate += textf("%d", number);
    if (!fileExists(candidate)) return candidate;
  }
  return {};
}

}  // namespace

int writeRecoveryCopies() {
  int written = 0;
  for (const auto& file : editorState().files) {
    if (file->modified == 0 || file->name.empty()) continue;
    const std::string path = freeRecoveryName(file->name);
    if (path.empty()) continue;
    const EditedFile& source = *file;
    if (replaceFile(path, [&](FileSink& sink) {
          return writeLines(sink, source, source.firstLine(), nullptr);
        }))
      ++written;
  }
  return written;
}

}  // namespace corvane
