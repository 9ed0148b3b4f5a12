#include "fileops/copy_commands.h"

#include <algorithm>

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/copy_tree.h"
#include "fileops/destination_dialog.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"

namespace corvane {
namespace {

constexpr int NewNameMaxLength = 80;
constexpr int MaskMaxLength = 80;

int inputRow() { return screenRows() / 2 - 2; }

// A line input across the screen; false unless it ended with Enter.
bool askLine(std::string& text, std::string_view prompt, int maxLength) {
  return inputDialog(text, prompt, 1, inputRow(), screenColumns(), maxLength) == key::Enter;
}

// "Mask :" prefilled with "*.*"; false when left without Enter. An empty mask takes all.
bool askMask(std::string& mask) {
  mask = "*.*";
  if (!askLine(mask, TextMask, MaskMaxLength)) return false;
  mask.erase(0, mask.find_first_not_of(' '));
  while (!mask.empty() && mask.back() == ' ') mask.pop_back();
  if (mask.empty()) mask = "*.*";
  return true;
}

bool selectionHoldsDirectories(const Panel& panel) {
  for (NodeId id : chain(panel.list)) {
    const FileNode& n = panel.list.nodes[id];
    if ((n.mark & MarkSelected) != 0 && n.entry.isDirectory()) return true;
  }
  return false;
}

// The file under the cursor copied under a new name.
void copyCursorFile(CommandContext& context, const FileNode& node, const std::string& path,
                    const std::string& destination) {
  Panel& panel = context.currentPanel();
  std::string name = node.entry.name;
  const int maxLength = std::max(NewNameMaxLength, static_cast<int>(name.size()));
  if (!askLine(name, TextNewName, maxLength)) return;
  std::string source = path;
  std::string extracted;
  if (panel.archiveType != 0) {
    FileopsHooks& hooks = fileopsState().hooks;
    if (hooks.extractMember == nullptr || !hooks.extractMember(panel, node.entry.name, extracted)) {
      messageBox(textf(FormatExtractError, node.entry.name.c_str()));
      return;
    }
    source = extracted;
  }
  (void)copyFiles(source, joinPath(destination, name), CopyLiteralName);
  FileopsHooks& hooks = fileopsState().hooks;
  if (!extracted.empty() && hooks.releaseMember != nullptr) hooks.releaseMember(extracted);
}

// The directory under the cursor: the files its mask takes, with its subdirectories when
// asked ("c") or always (4098).
void copyCursorDirectory(const std::string& path, const std::string& destination, CommandId code) {
  std::string mask;
  if (!askMask(mask)) return;
  const int answer = code == CmdCopyWithSubdirectories
                         ? QuestionYes
                         : question(QuestionDefaultNo, TextCopySubdirectories);
  if (answer == QuestionYes) {
    // ".." stands for the current directory, whose files land in the destination itself.
    const std::string mirror = path == "." ? destination : joinPath(destination, baseName(path));
    (void)copyTreeInto(path, mask, mirror, TreeCopy);
  } else if (answer == QuestionNo) {
    (void)copyFiles(joinPath(path, mask), destination, CopyToDirectory);
  }
}

}  // namespace

int copyCommand(CommandContext& context, CommandId code) {
  const FileNode* node = cursorEntry(context);
  if (node == nullptr) {
    rejectBeep();
    return LoopContinue;
  }
  const bool parent = isParentEntry(node->entry);
  if (parent && code != CmdCopyWithSubdirectories) return LoopContinue;
  Panel& panel = context.currentPanel();
  const std::string path = parent ? std::string(".") : entryPath(panel, panel.cursor);
  std::string destination = defaultDestination(context);
  if (!destinationDialog(destination)) return LoopContinue;
  FileOperation operation;
  const bool directory =
      node->entry.isDirectory() && panel.archiveType == 0 && (parent || !isLinkEntry(path));
  if (directory) {
    copyCursorDirectory(path, destination, code);
  } else {
    copyCursorFile(context, *node, path, destination);
  }
  requestPanelsReread(context, destination);
  return LoopContinue;
}

int prepareDestination(SelectedFilesRun& run) {
  CommandContext& context = *run.context;
  run.destination = defaultDestination(context);
  if (!destinationDialog(run.destination)) return 1;
  if (context.inGlobalList()) {
    const int answer = question(QuestionDefaultNo, TextGenerateDirectories);
    if (answer == 0) return 1;
    run.generateDirectories = answer == QuestionYes;
  }
  if (selectionHoldsDirectories(context.currentPanel()) && !askMask(run.mask)) return 1;
  return 0;
}

int prepareCopySelection(SelectedFilesRun& run) {
  fileopsState().sharedAnswer = AnswerNone;
  return prepareDestination(run);
}

int askSelectedFile(SelectedFilesRun& run, std::string_view source, std::string_view target) {
  FileopsState& state = fileopsState();
  int answer = state.sharedAnswer;
  if (run.confirm) {
    answer = confirmOverwrite(source, target, ConfirmAlways, false);
  } else if (state.sharedAnswer != AnswerAll && preference(5) != 0) {
    answer = confirmOverwrite(source, target, ConfirmIfExists, false);
  }
  state.sharedAnswer = answer;
  if (run.confirm && answer == AnswerAll) run.confirm = false;
  return answer;
}

std::string selectedTarget(const SelectedFilesRun& run, const SelectedFile& file) {
  const std::string name(baseName(file.path));
  if (!run.generateDirectories) return joinPath(run.destination, name);
  // The file's own directory path below the destination (its drive left out).
  std::string_view relative = file.path;
  if (driveLetterOf(relative) != 0) relative.remove_prefix(2);
  while (!relative.empty() && relative.front() == '\\') relative.remove_prefix(1);
  return joinPath(run.destination, relative);
}

int copySelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  FileopsState& state = fileopsState();
  const Panel& panel = run.context->currentPanel();
  const bool directory = file.entry.isDirectory() && !isLinkEntry(file.path);
  const std::string target =
      directory ? joinPath(run.destination, baseName(file.path)) : selectedTarget(run, file);
  const int answer = askSelectedFile(run, file.path, target);
  if (answer == AnswerCancel) return SelectedKept | SelectedStop;
  if (answer == AnswerSkip || answer == AnswerNo) return SelectedKept;
  for (;;) {
    int result;
    if (directory) {
      result = copyTreeInto(file.path, run.mask, target, TreeCopy);
    } else if (run.generateDirectories || panel.archiveType != 0) {
      result =
          copyFiles(file.path, target, CopyKeepProgressWindow | CopySharedAnswer | CopyLiteralName);
    } else {
      result =
          copyFiles(file.path, run.destination,
                    CopyToDirectory | CopyKeepProgressWindow | CopySharedAnswer | CopyLiteralName);
    }
    if (state.cancelRequested)
      return (result == CopyDone ? SelectedHandled : SelectedKept) | SelectedStop;
    switch (result) {
      case CopyDone:
        return SelectedHandled;
      case CopyOpenFailed:
      case CopyCreateFailed:
      case CopyReadFailed:
      case AnswerSkip:
      case AnswerNo:
        return SelectedKept;
      case CopyWriteFailed:
      case CopyDiskFull:
        if (askNewDisk(run.destination)) continue;
        return SelectedKept | SelectedStop;
      default:
        return SelectedKept | SelectedStop;
    }
  }
}

void finishCopySelection(SelectedFilesRun& run) {
  requestPanelsReread(*run.context, run.destination);
}

}  // namespace corvane
