#include "fileops/move_files.h"

#include "config/setup_block.h"
#include "fileops/copy_commands.h"
#include "fileops/copy_engine.h"
#include "fileops/copy_tree.h"
#include "fileops/destination_dialog.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "fileops/make_directory.h"
#include "panels/global_list.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "ui/prompt_box.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int RenameColumn = 10, RenameRowBelowTop = 10, RenameFieldWidth = 30;
constexpr int ShortRenameLength = 12;
constexpr int MaskMaxLength = 80;

// A file moved to where a rename cannot take it: copied, then its source deleted once the
// copy succeeded. The delete's error number when that fails.
int copyAndDelete(const std::string& source, const std::string& target, int flags,
                  FileResult& failure) {
  int copyFlags = CopySingleFile | CopyContinueWording | CopyLiteralName;
  if ((flags & MoveKeepProgressWindow) != 0) copyFlags |= CopyKeepProgressWindow;
  if ((flags & MoveSharedAnswer) != 0) copyFlags |= CopySharedAnswer;
  const int result = copyFiles(source, target, copyFlags);
  if (result != CopyDone) return result;
  failure = deleteFile(source);
  return failure.error;
}

bool crossDevice(FileResult result) { return result.error == EXDEV; }

// A directory moved: renamed when its name is free at the destination, else (another file
// system, or merging into an existing directory) walked and merged; true once its source
// is gone. The walk's result, 0 for success.
int moveDirectory(const std::string& source, const std::string& target, FileResult& failure) {
  if (!fileExists(target)) {
    if (copiesIntoItself(source, target)) return copyTreeInto(source, "*.*", target, TreeMove);
    failure = renameFile(source, target);
    if (failure || !crossDevice(failure)) return failure.error;
    failure = {};
  }
  const int result = copyTreeInto(source, "*.*", target, TreeMove);
  return result == AnswerSkip || result == AnswerNo ? CopyDone : result;
}

void reportMoveError(const std::string& source, const std::string& target, int result,
                     FileResult failure) {
  messageBox(textf(FormatMoveError, source.c_str(), target.c_str(), result,
                   fileErrorText(failure).c_str()));
}

// The name of the entry under the cursor as a new name: one name in every layout.
bool oneName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/") == std::string_view::npos;
}

void submove(CommandContext& context, const FileNode& node) {
  std::string mask = "*.*";
  if (inputDialog(mask, TextMask, 1, screenRows() / 2 - 2, screenColumns(), MaskMaxLength) !=
      key::Enter)
    return;
  const bool subdirectories = question(QuestionDefaultNo, TextCopySubdirectories) == QuestionYes;
  const std::string source = subdirectories ? node.entry.name : joinPath(node.entry.name, mask);
  messageBox(textf(FormatSubmove, source.c_str(),
                   withTrailingBackslash(defaultDestination(context)).c_str()));
}

}  // namespace

int moveFile(std::string_view source, std::string_view destination, int attributes, int flags) {
  const std::string from = withoutTrailingBackslash(fullPath(source));
  const std::string to = fullPath(joinPath(destination, baseName(from)));
  if (from.empty() || to.empty()) {
    reportMoveError(std::string(source), std::string(destination), CopyPathFailed, {});
    return CopyPathFailed;
  }
  if (sameFile(from, to)) {
    messageBox(textf(FormatIdentical, from.c_str()));
    return CopyDone;
  }
  FileResult failure;
  int result;
  if ((attributes & AttrDirectory) != 0 && !isLinkEntry(from)) {
    result = moveDirectory(from, to, failure);
  } else {
    // One file system: a rename, which never replaces an existing file. A rename that cannot
    // cross (another file system, or an existing target on another drive) is a copy.
    failure = renameFile(from, to);
    result = failure.error;
    const bool sameDrive = driveLetterOf(from) == driveLetterOf(to);
    if (!failure && (crossDevice(failure) || (!sameDrive && failure.error == EEXIST))) {
      failure = {};
      result = copyAndDelete(from, to, flags, failure);
    }
  }
  if (result != CopyDone) reportMoveError(from, to, result, failure);
  return result;
}

int moveCommand(CommandContext& context, CommandId code) {
  const FileNode* node = cursorEntry(context);
  Panel& panel = context.currentPanel();
  if (node == nullptr || panel.archiveType != 0) {
    rejectBeep();
    return LoopContinue;
  }
  if (isParentEntry(node->entry)) return LoopContinue;
  if (code == CmdMove) {
    submove(context, *node);
    return LoopContinue;
  }
  std::string destination = defaultDestination(context);
  if (!destinationDialog(destination)) return LoopContinue;
  const NodeId id = panel.cursor;
  const std::string path = entryPath(panel, id);
  {
    FileOperation operation;
    (void)moveFile(path, destination, node->entry.attributes, 0);
  }
  if (!fileExists(path)) removeEntry(context, id);
  requestPanelsReread(context, destination);
  return LoopContinue;
}

int renameCommand(CommandContext& context, CommandId) {
  const FileNode* node = cursorEntry(context);
  Panel& panel = context.currentPanel();
  if (node == nullptr || panel.archiveType != 0 || isParentEntry(node->entry)) {
    rejectBeep();
    return LoopContinue;
  }
  const NodeId id = panel.cursor;
  const std::string oldName = node->entry.name;
  std::string newName = oldName;
  const bool longNames = isGlobalList(panel) || panel.volume.fileSystemClass == FileSystemLongNames;
  const int maxLength = longNames ? static_cast<int>(MaxPath) : ShortRenameLength;
  const ScreenWindow* window = currentWindow();
  const int row = (window != nullptr ? window->y + 1 : 1) + RenameRowBelowTop;
  if (messagePrompt(RenameColumn, row, RenameFieldWidth, maxLength, newName,
                    textf(FormatRenamePrompt, oldName.c_str())) != key::Enter)
    return LoopContinue;
  if (!oneName(newName) || !nameAcceptable(newName)) {
    messageBox(textf(FormatErrorInName, newName.c_str()));
    return LoopContinue;
  }
  const std::string path = entryPath(panel, id);
  const std::string directory = parentPath(path);
  if (FileResult r = renameFile(path, joinPath(directory, newName)); !r) {
    messageBox(textf(FormatRenameError, oldName.c_str(), newName.c_str()));
    return LoopContinue;
  }
  FileNode& renamed = panel.list.nodes[id];
  renamed.entry.name = panel.nameCase == 0 ? foldCase(newName) : newName;
  const NodeId next = renamed.next != NoNode ? renamed.next : renamed.prev;
  if (next != NoNode) panel.cursor = next;
  context.reread = RereadRecount;
  const Panel* other = context.panelBeside();
  if (other != nullptr && sameName(other->currentDirectory, directory))
    context.otherRequest = OtherAlways;
  return LoopContinue;
}

int prepareMoveSelection(SelectedFilesRun& run) {
  fileopsState().sharedAnswer = AnswerNone;
  return prepareDestination(run);
}

int moveSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  FileopsState& state = fileopsState();
  const std::string target = selectedTarget(run, file);
  const int answer = askSelectedFile(run, file.path, target);
  if (answer == AnswerCancel) return SelectedKept | SelectedStop;
  if (answer == AnswerSkip || answer == AnswerNo) return SelectedKept;
  std::string directory = parentPath(fullPath(target));
  if (run.generateDirectories && !directoryExists(directory) && createPath(directory) != 0)
    return SelectedKept;
  const int flags = answer == AnswerYes || answer == AnswerAll ? 0x1000 | MoveKeepProgressWindow
                                                               : MoveKeepProgressWindow;
  for (;;) {
    const int result = moveFile(file.path, directory, file.entry.attributes, flags);
    const int gone = fileExists(file.path) ? SelectedKept : SelectedGone;
    if (state.cancelRequested) return gone | SelectedStop;
    switch (result) {
      case CopyDone:
      case CopyOpenFailed:
      case CopyCreateFailed:
      case CopyReadFailed:
        return gone;
      case CopyWriteFailed:
      case CopyDiskFull:
        if (askNewDisk(run.destination)) continue;
        return gone | SelectedStop;
      default:
        return gone | SelectedStop;
    }
  }
}

void finishMoveSelection(SelectedFilesRun& run) {
  requestPanelsReread(*run.context, run.destination);
}

}  // namespace corvane
