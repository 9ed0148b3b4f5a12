#include "commands/selected_files.h"

#include <vector>

#include "archives/archive_commands.h"
#include "archives/archive_operations.h"
#include "commands/definition_commands.h"
#include "commands/external_commands.h"
#include "commands/loop_texts.h"
#include "editor/editor_entry.h"
#include "fileops/copy_commands.h"
#include "fileops/copy_engine.h"
#include "fileops/delete_files.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "fileops/move_files.h"
#include "panels/global_list.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "search/compare.h"
#include "search/file_search.h"
#include "search/search_texts.h"
#include "tools/print_file.h"
#include "ui/boxes.h"
#include "ui/window.h"
#include "viewer/viewer_commands.h"

namespace corvane {
namespace {

constexpr int TitleColumn = 12;
constexpr int PathColumn = 24;
constexpr int StatusRows = 3;

constexpr SelectedOperation Operations[] = {
    {.number = 1,
     .command = CmdCopySelected,
     .title = TextCopyTitle,
     .directories = true,
     .prepare = prepareCopySelection,
     .handle = copySelectedFile,
     .finish = finishCopySelection},
    {.number = 3,
     .command = CmdDeleteSelected,
     .title = TextDeleteTitle,
     .directories = true,
     .prepare = prepareDeleteSelection,
     .handle = deleteSelectedFile,
     .finish = finishDeleteSelection},
    {.number = 4,
     .command = CmdMoveSelected,
     .title = TextMoveTitle,
     .directories = true,
     .prepare = prepareMoveSelection,
     .handle = moveSelectedFile,
     .finish = finishMoveSelection},
    {.number = 5,
     .command = CmdViewerSelected,
     .prepare = prepareConfiguredProgram,
     .handle = runProgramForFile,
     .finish = finishPrograms},
    {.number = 6,
     .command = CmdEditSelected,
     .prepare = prepareConfiguredProgram,
     .handle = runProgramForFile,
     .finish = finishPrograms},
    {.number = 7,
     .command = CmdExecuteSelected,
     .prepare = prepareCommandForEach,
     .handle = runProgramForFile,
     .finish = finishPrograms},
    {.number = 8,
     .command = CmdTextSearchSelected,
     .title = TextSearchingTitle,
     .prepare = prepareTextSearch,
     .handle = searchSelectedFile},
    {.number = 9,
     .command = CmdHexEditorSelected,
     .prepare = prepareConfiguredProgram,
     .handle = runProgramForFile,
     .finish = finishPrograms},
    {.number = 10,
     .command = CmdCompareFiles,
     .prepare = prepareCompareFiles,
     .handle = compareSelectedFile,
     .finish = finishCompareFiles},
    {.number = 11,
     .command = CmdFileDifferences,
     .directories = true,
     .prepare = prepareFileDifferences,
     .handle = fileDifferencesFor,
     .finish = finishFileDifferences},
    {.number = 12,
     .command = CmdAttributeSelected,
     .title = TextAttributeTitle,
     .handle = fileDetailsForSelected,
     .finish = finishFileDetails},
    {.number = 13,
     .command = CmdInternalEditorSelected,
     .title = TextEditTitle,
     .handle = editSelectedFile,
     .finish = finishEditSelection},
    {.number = 14,
     .command = CmdPrintSelected,
     .title = TextPrintTitle,
     .handle = printSelectedFile},
    {.number = 14,
     .command = CmdPrintSelectedKey,
     .title = TextPrintTitle,
     .handle = printSelectedFile},
    {.number = 15,
     .command = CmdCompressSelected,
     .directories = true,
     .prepare = prepareCompressSelection,
     .handle = compressSelectedFile,
     .finish = finishCompressSelection},
    {.number = 16,
     .command = CmdWordProcessingSelected,
     .prepare = prepareConfiguredProgram,
     .handle = runProgramForFile,
     .finish = finishPrograms},
    {.number = 18,
     .command = CmdInternalViewerSelected,
     .title = TextViewTitle,
     .handle = viewSelectedFile},
};

// The status window over the bottom rows, closed at the end of the loop.
class StatusWindow {
 public:
  StatusWindow() {
    const ColorAttr attr = color(ColorInfoWindow);
    (void)openWindow(window_, 1, screenRows() - StatusRows + 1, screenColumns(), StatusRows, attr,
                     attr, WindowClear | WindowSingle);
  }
  ~StatusWindow() { freeWindow(window_); }
  StatusWindow(const StatusWindow&) = delete;
  StatusWindow& operator=(const StatusWindow&) = delete;

  void show(const SelectedFilesRun& run, std::string_view title, std::string_view path) {
    if (!window_) return;
    CurrentWindowScope scope(*window_);
    const int last = windowLastColumn(*window_);
    writeText(textf(FormatSelectedCount, run.number, run.count), TitleColumn - 2, 1, 1, WritePad);
    writeText(title, PathColumn - TitleColumn - 1, TitleColumn, 1, WritePad);
    writeText(path, last - PathColumn, PathColumn, 1, WritePad);
  }

 private:
  WindowHandle window_;
};

std::vector<NodeId> selectedNodes(const Panel& panel) {
  std::vector<NodeId> ids;
  for (NodeId id : chain(panel.list))
    if ((panel.list.nodes[id].mark & MarkSelected) != 0) ids.push_back(id);
  return ids;
}

// The operations that take an archive panel's members where they are (deletion) rather than
// extracted copies.
bool takesMembers(const SelectedOperation& operation) { return operation.number == 3; }

// The entry as the operation gets it; false when an archive member cannot be extracted.
// Directories of an archive panel and the members an operation takes in place are not
// extracted (extracted stays false).
bool describe(const Panel& panel, NodeId id, const SelectedOperation& operation, SelectedFile& file,
              bool& extracted) {
  extracted = false;
  const FileNode& n = panel.list.nodes[id];
  file.node = id;
  file.entry = n.entry;
  if (isGlobalList(panel)) {
    file.path = globalListPath(panel.list, id);
    file.directory = parentPath(file.path);
    return true;
  }
  file.path = n.entry.name;
  file.directory = panel.currentDirectory;
  if (panel.archiveType == 0 || n.entry.isDirectory() || takesMembers(operation)) return true;
  FileopsHooks& hooks = fileopsState().hooks;
  std::string copy;
  if (hooks.extractMember == nullptr ||
      !hooks.extractMember(const_cast<Panel&>(panel), n.entry.name, copy)) {
    messageBox(textf(FormatExtractError, n.entry.name.c_str()));
    return false;
  }
  file.path = copy;
  extracted = true;
  return true;
}

bool escapeStops() { return escapePressed() && askCancelOperation(); }

}  // namespace

std::span<const SelectedOperation> selectedOperations() { return Operations; }

const SelectedOperation* findSelectedOperation(CommandId command) {
  for (const SelectedOperation& operation : Operations)
    if (operation.command == command) return &operation;
  return nullptr;
}

int runSelectedFiles(CommandContext& context, const SelectedOperation& operation) {
  Panel& panel = context.currentPanel();
  if (operation.handle == nullptr) {
    rejectBeep();
    return LoopContinue;
  }
  if (panel.selectedCount == 0) {
    messageBox(TextNoFilesSelected);
    return LoopContinue;
  }
  FileOperation scope;
  SelectedFilesRun run;
  run.context = &context;
  run.operation = operation.number;
  run.count = panel.selectedCount;
  if (operation.prepare != nullptr && operation.prepare(run) != 0) return LoopContinue;
  const int answer = question(QuestionDefaultNo, TextWithConfirmation);
  if (answer != QuestionYes && answer != QuestionNo) {
    // Nothing is touched; a directory the preparation made is shown all the same.
    if (operation.finish != nullptr) operation.finish(run);
    return LoopContinue;
  }
  run.confirm = answer == QuestionYes;

  {
    StatusWindow status;
    const bool archive = panel.archiveType != 0;
    for (NodeId id : selectedNodes(panel)) {
      if (fileopsState().cancelRequested) break;
      if (!isLiveNode(panel.list, id) || (panel.list.nodes[id].mark & MarkSelected) == 0) continue;
      SelectedFile file;
      ++run.number;
      bool extracted = false;
      if (!describe(panel, id, operation, file, extracted)) continue;
      status.show(run, operation.title, file.path);
      // An archive panel's directories exist only inside the archive.
      if (file.entry.isDirectory() && (!operation.directories || archive)) continue;
      const int result = operation.handle(run, file);
      if (extracted) releaseExtracted(file.path);
      switch (result & ~SelectedStop) {
        case SelectedHandled:
          panel.list.nodes[id].mark &= ~MarkSelected;
          break;
        case SelectedGone:
          removeNode(panel, id);
          break;
        default:
          break;
      }
      if ((result & SelectedStop) != 0 || escapeStops()) break;
    }
  }
  countList(panel);
  if (context.reread == RereadNone || context.reread == RereadIfChanged)
    context.reread = RereadRecount;
  if (operation.finish != nullptr) operation.finish(run);
  return LoopContinue;
}

int selectedFilesCommand(LoopContext& loop, CommandId code) {
  const SelectedOperation* operation = findSelectedOperation(code);
  if (operation == nullptr) {
    rejectBeep();
    return LoopContinue;
  }
  return runSelectedFiles(loop, *operation);
}

}  // namespace corvane
