// The chain of edited files: loading into it, moving along it, leaving a file, renaming.
#include <memory>

#include "editor/cursor_state.h"
#include "editor/edit_commands.h"
#include "editor/edit_file_io.h"
#include "editor/edit_screen.h"
#include "editor/edit_texts.h"
#include "editor/editor_state.h"
#include "editor/recovery.h"
#include "panels/file_dialog.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/textf.h"
#include "ui/boxes.h"

namespace corvane {

int loadIntoChain(std::string_view name, int rows) {
  EditorState& state = editorState();
  if (EditedFile* loaded = findEditedFile(name)) {
    state.current = loaded;
    return LoadDone;
  }
  auto file = std::make_unique<EditedFile>();
  const int result = readEditFile(name, *file);
  if (result != LoadDone) return result;
  restoreCursorState(*file, rows);
  const std::string recovery = std::string(name) + std::string(RecoverySuffix);
  if (fileExists(recovery))
    messageBox(textf(edit_text::RecoveryFoundFormat, std::string(baseName(recovery)).c_str()));
  state.files.push_back(std::move(file));
  state.current = state.files.back().get();
  return LoadDone;
}

void switchFile(int step) {
  EditorState& state = editorState();
  const auto count = static_cast<long>(state.files.size());
  if (count == 0) return;
  long index = 0;
  while (index < count && state.files[static_cast<std::size_t>(index)].get() != state.current)
    ++index;
  index = ((index + step) % count + count) % count;
  state.current = state.files[static_cast<std::size_t>(index)].get();
}

bool exitFile(EditedFile& file) {
  if (file.modified != 0 && question(QuestionDefaultNo, edit_text::ThrowAwayChanges) != QuestionYes)
    return false;
  dropEditedFile(file);
  return true;
}

void renameEditedFile(EditedFile& file) {
  const std::string name = askFileName(file.name);
  if (name.empty() || name == file.name) return;
  file.name = name;
  // Nothing of that name was read: a file there is one that changed on disk for a save.
  file.diskStamp = DiskStamp{};
}

void chooseEditedFile(int rows) {
  std::vector<CursorRecord> records = readCursorRecords();
  std::size_t next = 0;
  const EntrySource source = [&](FileEntry& entry, int) {
    if (next >= records.size()) return 1;
    entry = FileEntry{};
    entry.name = records[next++].name;
    return 0;
  };
  std::optional<std::string> chosen =
      selectFile("*.*", FileDialogColumnWidth, FileDialogList, source);
  if (chosen && !chosen->empty()) loadIntoChain(*chosen, rows);
}

}  // namespace corvane
