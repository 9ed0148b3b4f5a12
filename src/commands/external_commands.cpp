#include "commands/external_commands.h"

#include "archives/archive_commands.h"
#include "archives/archive_operations.h"
#include "config/setup_block.h"
#include "exec/associations.h"
#include "exec/command_template.h"
#include "exec/exec_commands.h"
#include "exec/run_command.h"
#include "panels/global_list.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "ui/input_dialog.h"

namespace corvane {
namespace {

constexpr int CommandInputMaxLength = 260;

const FileNode* cursorNode(const LoopContext& loop) {
  const Panel* panel = loop.current.panel;
  if (panel == nullptr || panel->cursor == NoNode || !isLiveNode(panel->list, panel->cursor))
    return nullptr;
  const FileNode& n = panel->list.nodes[panel->cursor];
  return (n.mark & MarkError) != 0 ? nullptr : &n;
}

// The cursor entry read again from the file system, the total size following its size.
void refreshCursorEntry(LoopContext& loop) {
  const FileNode* n = cursorNode(loop);
  if (n == nullptr || isParentEntry(n->entry)) return;
  Panel& panel = *loop.current.panel;
  FileEntry& entry = panel.list.nodes[panel.cursor].entry;
  const std::string path = isGlobalList(panel) ? globalListPath(panel.list, panel.cursor)
                                               : joinPath(panel.currentDirectory, entry.name);
  const int attributes = getAttributes(path);
  if (attributes < 0) return;
  const std::int64_t size = fileSize(path);
  std::uint16_t date = entry.date, time = entry.time;
  getFileTime(path, date, time);
  if (!entry.isDirectory() && size >= 0) {
    panel.totalSize = panel.totalSize - entry.size + static_cast<std::uint64_t>(size);
    entry.size = static_cast<std::uint64_t>(size);
  }
  entry.attributes = static_cast<std::uint8_t>(attributes);
  entry.date = date;
  entry.time = time;
}

bool refreshAfterCommand() { return preference(12) != 0; }

}  // namespace

std::string cursorFileName(const LoopContext& loop) {
  const FileNode* n = cursorNode(loop);
  if (n == nullptr) return {};
  const Panel& panel = *loop.current.panel;
  if (isGlobalList(panel)) return globalListPath(panel.list, panel.cursor);
  return n->entry.name;
}

int afterCommand(LoopContext& loop, bool reread) {
  // Also before a re-read: a global list is not read again, its entry only this way.
  refreshCursorEntry(loop);
  if (reread) {
    loop.reread = RereadInPlace;
    loop.placement = PlaceRemembered;
    if (!loop.globalList) loop.otherRequest = OtherIfSameDirectory;
  } else {
    loop.reread = RereadRedraw;
  }
  return LoopContinue;
}

void setPanelDirectoriesForTemplates(const LoopContext& loop) {
  const std::string first = loop.current.panel ? loop.current.panel->currentDirectory : "";
  const std::string second = loop.other.panel ? loop.other.panel->currentDirectory : "";
  setTemplateDirectories(first, second);
}

int runByExtensionCommand(LoopContext& loop, CommandId) {
  if (loop.current.panel->archiveType != 0) {
    // The member's extracted copy, removed afterwards.
    std::string extracted;
    if (!extractCursorMember(loop, extracted)) return LoopContinue;
    setPanelDirectoriesForTemplates(loop);
    (void)runByExtension(extracted);
    releaseExtracted(extracted);
    loop.reread = RereadRedraw;
    return LoopContinue;
  }
  const std::string name = cursorFileName(loop);
  if (name.empty()) {
    rejectBeep();
    return LoopContinue;
  }
  setPanelDirectoriesForTemplates(loop);
  return afterCommand(loop, runByExtension(name));
}

int shellCommand(LoopContext& loop, CommandId) {
  runShell();
  return afterCommand(loop, refreshAfterCommand());
}

int executeFileCommand(LoopContext& loop, CommandId) {
  const FileNode* n = cursorNode(loop);
  if (n == nullptr || n->entry.isDirectory()) {
    rejectBeep();
    return LoopContinue;
  }
  setPanelDirectoriesForTemplates(loop);
  // A name in the current directory is run as such, not looked up on the search path.
  const std::string_view command = isGlobalList(*loop.current.panel) ? "%" : "./%";
  runCommandLine(command, cursorFileName(loop), ScreenVariant::Console, false, true, false);
  return afterCommand(loop, refreshAfterCommand());
}

int commandInputCommand(LoopContext& loop, CommandId) {
  const std::string name = cursorFileName(loop);
  std::string line = commandPreset(name);
  if (!askCommandLine(line, CommandInputMaxLength) || line.empty()) return LoopContinue;
  setPanelDirectoriesForTemplates(loop);
  runCommandLine(line, name, ScreenVariant::Console, false, true, false);
  return afterCommand(loop, refreshAfterCommand());
}

int configuredProgramCommand(LoopContext& loop, CommandId code) {
  const SetupBlock& block = setupBlock();
  const std::string_view templateText = code == 'v'   ? block.viewerCommand.text()
                                        : code == 'e' ? block.editorCommand.text()
                                                      : block.wordProcessorCommand.text();
  const std::string name = cursorFileName(loop);
  if (templateText.empty() || name.empty()) {
    rejectBeep();
    return LoopContinue;
  }
  if (checkCommand(templateText) != 0) return LoopContinue;
  setPanelDirectoriesForTemplates(loop);
  if (loop.current.panel->archiveType != 0) {
    std::string extracted;
    if (!extractCursorMember(loop, extracted)) return LoopContinue;
    runCommandLine(templateText, extracted, ScreenVariant::Console, true, false, false);
    releaseExtracted(extracted);
    loop.reread = RereadRedraw;
    return LoopContinue;
  }
  runCommandLine(templateText, name, ScreenVariant::Console, true, false, false);
  return afterCommand(loop, refreshAfterCommand());
}

int functionKeyCommand(LoopContext& loop, CommandId code) {
  if (loop.functionKeyPage == 0 || functionKeyIndex(loop.functionKeyPage, code) < 0) {
    rejectBeep();
    return LoopContinue;
  }
  setPanelDirectoriesForTemplates(loop);
  return afterCommand(loop,
                      runFunctionKeyCommand(loop.functionKeyPage, code, cursorFileName(loop)));
}

namespace {

// The templates and the panels' directories for %1 and %2, from a command's context.
void setTemplateDirectoriesOf(CommandContext& context) {
  const Panel* other = context.otherPanel();
  setTemplateDirectories(context.currentPanel().currentDirectory,
                         other != nullptr ? std::string_view(other->currentDirectory) : "");
}

}  // namespace

int prepareConfiguredProgram(SelectedFilesRun& run) {
  const SetupBlock& block = setupBlock();
  std::string_view templateText;
  switch (run.operation) {
    case 5:
      templateText = block.viewerCommand.text();
      break;
    case 6:
      templateText = block.editorCommand.text();
      break;
    case 9:
      templateText = block.hexEditorCommand.text();
      break;
    default:
      templateText = block.wordProcessorCommand.text();
      break;
  }
  if (templateText.empty()) {
    rejectBeep();
    return 1;
  }
  if (checkCommand(templateText) != 0) return 1;
  run.text = std::string(templateText);
  run.option = 0;  // no waiting, as the single-file forms
  return 0;
}

int prepareCommandForEach(SelectedFilesRun& run) {
  std::string line;
  if (!askCommandLine(line, CommandInputMaxLength) || line.empty()) return 1;
  run.text = line;
  run.option = 1;  // waits after each command, as "o" does
  return 0;
}

int runProgramForFile(SelectedFilesRun& run, SelectedFile& file) {
  setTemplateDirectoriesOf(*run.context);
  runCommandLine(run.text, file.path, ScreenVariant::Console, true, run.option != 0, false);
  return SelectedHandled;
}

void finishPrograms(SelectedFilesRun& run) {
  CommandContext& context = *run.context;
  if (refreshAfterCommand()) {
    context.reread = RereadInPlace;
    context.placement = PlaceRemembered;
    if (!context.inGlobalList()) context.otherRequest = OtherIfSameDirectory;
  } else {
    context.reread = RereadRedraw;
  }
}

}  // namespace corvane
