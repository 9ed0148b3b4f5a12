#include "editor/editor_entry.h"

#include "editor/edit_commands.h"
#include "editor/edit_file_io.h"
#include "editor/edit_loop.h"
#include "editor/edit_screen.h"
#include "editor/edit_texts.h"
#include "editor/editor_state.h"
#include "exec/run_command.h"
#include "panels/file_dialog.h"
#include "panels/global_list.h"
#include "platform/drives.h"
#include "platform/host_directories.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "ui/file_failure.h"

namespace corvane {
namespace {

constexpr char AskForName = 1;

void editHook(std::string_view name) { (void)editFile(name); }

}  // namespace

int editFile(std::string_view name) {
  std::string path;
  if (name.empty() || name.front() == AskForName) {
    std::optional<std::string> chosen = selectFile("*.*", FileDialogColumnWidth, FileDialogBrowse);
    if (!chosen || chosen->empty()) return 0;
    path = *chosen;
  } else {
    path = name.front() == '/' ? toProgramPath(name) : fullPath(name);
  }
  if (path.empty())
    return reportFileFailure(edit_text::FileOpenError, name, fileFailure(ENOENT), 0);
  EditorState& state = editorState();
  if (state.running) {
    loadIntoChain(path, textRows());
    return 0;
  }
  state.files.clear();
  if (loadIntoChain(path, textRows()) != LoadDone || state.current == nullptr) {
    state.files.clear();
    state.current = nullptr;
    return 0;
  }
  const int result = runEditor(*state.current, false);
  state.files.clear();
  state.current = nullptr;
  return result;
}

int editFileCommand(CommandContext& context, CommandId) {
  Panel& panel = context.currentPanel();
  const FileNode& node = cursorNode(context);
  // An archive member is extracted before it can be edited.
  if (panel.archiveType != 0 || (node.mark & MarkError) != 0) {
    rejectBeep();
    return LoopContinue;
  }
  const std::string path = context.inGlobalList()
                               ? globalListPath(panel.list, panel.cursor)
                               : joinPath(panel.currentDirectory, node.entry.name);
  if (editFile(path) == 1) {
    context.reread = RereadInPlace;
    context.otherRequest = OtherAlways;
  }
  return LoopContinue;
}

int editSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  const std::string path =
      driveLetterOf(file.path) != 0 ? file.path : joinPath(file.directory, file.path);
  if (editFile(path) == 1) run.option = 1;  // a file was saved
  return SelectedHandled;
}

void finishEditSelection(SelectedFilesRun& run) {
  CommandContext& context = *run.context;
  if (run.option == 0) {
    context.reread = RereadRedraw;
    return;
  }
  context.reread = RereadInPlace;
  context.otherRequest = OtherAlways;
}

int editStartupFile(std::string_view hostPath) {
  std::string host(hostPath);
  if (!host.empty() && host.front() != '/') {
    const std::string directory = hostWorkingDirectory();
    if (!directory.empty()) host = (directory == "/" ? "" : directory) + "/" + host;
  }
  const std::string path = toProgramPath(host);
  if (path.empty())
    return reportFileFailure(edit_text::FileOpenError, hostPath, fileFailure(ENOENT), 0);
  return editFile(path);
}

void registerEditorHooks() {
  InternalProgramHooks hooks = internalProgramHooks();
  hooks.editFile = editHook;
  setInternalProgramHooks(hooks);
}

}  // namespace corvane
