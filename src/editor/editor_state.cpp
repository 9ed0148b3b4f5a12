#include "editor/editor_state.h"

#include <algorithm>

namespace corvane {

EditorState& editorState() {
  static EditorState state;
  return state;
}

void resetEditorState() {
  EditorState& state = editorState();
  state.files.clear();
  state.current = nullptr;
  state.running = false;
  state.insert = true;
  state.commandMode = false;
  state.lastKey = 0;
  state.commandLine.clear();
  state.saves = 0;
  state.before.reset();
  state.screen = EditorScreen{};
  state.menus = EditorMenuState{};
  state.outerHooks = {};
}

EditedFile* findEditedFile(std::string_view name) {
  for (auto& file : editorState().files)
    if (file->name == name) return file.get();
  return nullptr;
}

EditedFile* blockOwner() {
  for (auto& file : editorState().files)
    if (file->blockStart != nullptr) return file.get();
  return nullptr;
}

void dropEditedFile(EditedFile& file) {
  EditorState& state = editorState();
  auto& files = state.files;
  const auto at = std::find_if(files.begin(), files.end(),
                               [&](const auto& candidate) { return candidate.get() == &file; });
  if (at == files.end()) return;
  const auto index = static_cast<std::size_t>(at - files.begin());
  files.erase(at);
  if (state.current == &file || state.current == nullptr) {
    state.current = files.empty()          ? nullptr
                    : index < files.size() ? files[index].get()
                                           : files.back().get();
  }
}

}  // namespace corvane
