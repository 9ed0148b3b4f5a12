#include "fileops/delete_files.h"

#include <cctype>

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "ui/paced_drawing.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "platform/tree_walk.h"
#include "ui/boxes.h"
#include "ui/file_failure.h"

namespace corvane {
namespace {

constexpr std::size_t DeleteNameShown = 50;
constexpr int CountCells = 38;

// The host's root: never deleted, never emptied.
bool isHostRoot(std::string_view path) { return toHostPath(path) == "/"; }

// A file (or link) deleted by remove(), made writable and deleted again when preference 14
// allows.
template <typename Remove>
FileResult removeFile(std::string_view path, Remove remove) {
  FileResult result = remove();
  if (result || preference(14) == 0) return result;
  const int attributes = getAttributes(path);
  if (attributes < 0 || (attributes & AttrReadOnly) == 0) return result;
  if (!setAttributes(path, attributes & ~AttrReadOnly)) return result;
  result = remove();
  if (!result) (void)setAttributes(path, attributes);  // it stays as it was
  return result;
}

FileResult removeFile(std::string_view path) {
  return removeFile(path, [&] { return deleteFile(path); });
}

// A read-only directory made writable, so that its entries can go.
void makeWritable(std::string_view path, int attributes) {
  if (attributes >= 0 && (attributes & AttrReadOnly) != 0)
    (void)setAttributes(path, attributes & ~AttrReadOnly);
}

// The counts of the deletion in its window (when one is open), shown at most every 40 ms.
class DeleteCounts {
 public:
  void draw(bool force) {
    FileopsState& state = fileopsState();
    ScreenWindow* window = state.deleteWindow.get();
    if (window == nullptr || !window->visible || (!force && !flush_.due())) return;
    {
      DrawingHold hold;
      CurrentWindowScope scope(*window);
      writeText(textf(FormatDirectoriesDeleted, state.deletedDirectories), CountCells, 1, 1,
                WritePad);
      writeText(textf(FormatFilesDeleted, state.deletedFiles), CountCells, 1, 2, WritePad);
    }
    flush_.show(window, true);
  }

 private:
  PacedFlush flush_;
};

class TreeDeleter : public TreeWalkVisitor {
 public:
  explicit TreeDeleter(std::uint64_t device) : device_(device) {}

  bool complete() const { return complete_; }

  int visit(TreeWalkEntry& entry) override {
    FileopsState& state = fileopsState();
    if (entry.isDirectory()) {
      const FindRecord* details = entry.details();
      if (details != nullptr && details->device != device_) {
        // Another file system is mounted here: it is not entered, and the directory stays.
        return failDirectory(entry.path(), fileFailure(EBUSY), TreeWalkSkip);
      }
      if (details != nullptr) makeWritable(entry.path(), details->attribute);
      return TreeWalkContinue;
    }
    if (escapePressed() && askCancelOperation()) {
      state.deleteCancelled = true;
      state.cancelRequested = true;
      complete_ = false;
      return TreeWalkStop;
    }
    if (FileResult r = removeFile(entry.path(), [&] { return entry.remove(); }); !r) {
      complete_ = false;
      reportFileFailure(FormatFileNotDeleted, entry.path(), r, 0);
    }
    ++state.deletedFiles;
    counts_.draw(false);
    return TreeWalkContinue;
  }

  int leaveDirectory(TreeWalkEntry& entry) override {
    removeDirectoryCounted(entry.path());
    return TreeWalkContinue;
  }

  int failed(std::string_view path, FileResult reason) override {
    return failDirectory(path, reason, TreeWalkContinue);
  }

  bool cancelled() override { return fileopsState().deleteCancelled; }

  void removeDirectoryCounted(std::string_view path) {
    FileopsState& state = fileopsState();
    if (state.deleteCancelled) return;
    if (FileResult r = removeEmptiedDirectory(path); r) {
      ++state.deletedDirectories;
    } else {
      complete_ = false;
      reportFileFailure(FormatDirectoryNotDeleted, path, r, 0);
    }
    counts_.draw(false);
  }

  void showCounts() { counts_.draw(true); }

 private:
  int failDirectory(std::string_view path, FileResult reason, int answer) {
    complete_ = false;
    reportFileFailure(FormatDirectoryNotDeleted, path, reason, 0);
    return answer;
  }

  std::uint64_t device_;
  bool complete_ = true;
  DeleteCounts counts_;
};

void resetCounters() {
  FileopsState& state = fileopsState();
  state.deletedFiles = 0;
  state.deletedDirectories = 0;
  state.deleteCancelled = false;
}

// The deletion's two-line window for a scope.
class DeleteWindow {
 public:
  DeleteWindow() { (void)openInfoWindow(fileopsState().deleteWindow, std::string(40, ' ') + "\n"); }
  ~DeleteWindow() { closeInfoWindow(fileopsState().deleteWindow); }
  DeleteWindow(const DeleteWindow&) = delete;
  DeleteWindow& operator=(const DeleteWindow&) = delete;
};

void showSummary() {
  const FileopsState& state = fileopsState();
  messageBox(textf(FormatDeleteSummary, state.deletedFiles, state.deletedDirectories));
}

// A directory entry of the panel is a real directory (a link to one is a file here).
bool isRealDirectory(const FileEntry& entry, const std::string& path) {
  return entry.isDirectory() && !isLinkEntry(path);
}

}  // namespace

int deleteFileReported(std::string_view path) {
  if (FileResult r = removeFile(path); !r)
    return reportFileFailure(FormatFileNotDeleted, path, r, 1);
  return 0;
}

FileResult removeEmptiedDirectory(std::string_view path) {
  const FileResult result = removeDirectory(path);
  if (result || !result.accessDenied()) return result;
  const int attributes = getAttributes(path);
  if (attributes < 0 || (attributes & AttrReadOnly) == 0) return result;
  if (!setAttributes(path, attributes & ~AttrReadOnly)) return result;
  const FileResult again = removeDirectory(path);
  if (!again) (void)setAttributes(path, attributes);  // entries remain: it stays as it was
  return again;
}

int deleteTree(std::string_view directory) {
  const std::string start = withoutTrailingBackslash(fullPath(directory));
  FindRecord record;
  if (start.empty() || isHostRoot(start) || !findEntry(start, record) || record.isLink) {
    reportFileFailure(FormatDirectoryNotDeleted, start.empty() ? directory : start,
                      fileFailure(EPERM), 0);
    return 0;
  }
  makeWritable(start, getAttributes(start));
  TreeDeleter deleter(record.device);
  TreeWalkOptions options;
  options.sameFileSystem = true;
  walkDirectoryTree(start, deleter, options);
  deleter.removeDirectoryCounted(start);
  deleter.showCounts();
  return deleter.complete() && !fileopsState().deleteCancelled ? 1 : 0;
}

int deleteDirectory(std::string_view directory, bool summary) {
  resetCounters();
  int result;
  {
    DeleteWindow window;
    result = deleteTree(directory);
  }
  if (summary) showSummary();
  return result;
}

void deleteSubdirectories(std::string_view directory) {
  resetCounters();
  const std::string start = withoutTrailingBackslash(fullPath(directory));
  if (!start.empty() && !isHostRoot(start)) {
    DeleteWindow window;
    std::vector<std::string> subdirectories;
    FindRecord record;
    for (int found = findFirst(joinPath(start, "*.*"), 0, record); found == 0;
         found = findNext(record)) {
      if ((record.attribute & AttrDirectory) != 0 && !record.isLink &&
          !record.name.starts_with('.'))
        subdirectories.push_back(joinPath(start, record.name));
    }
    findClose(record);
    for (const std::string& path : subdirectories) {
      if (fileopsState().deleteCancelled) break;
      (void)deleteTree(path);
    }
  }
  showSummary();
}

int deleteCommand(CommandContext& context, CommandId) {
  const FileNode* node = cursorEntry(context);
  if (node == nullptr) {
    rejectBeep();
    return LoopContinue;
  }
  if (isParentEntry(node->entry)) return LoopContinue;
  Panel& panel = context.currentPanel();
  const NodeId id = panel.cursor;
  const std::string path = entryPath(panel, id);
  const std::string shown = isGlobalList(panel) ? path : node->entry.name;
  if (panel.archiveType != 0) {
    FileopsHooks& hooks = fileopsState().hooks;
    if (node->entry.isDirectory() || hooks.deleteMember == nullptr) {
      rejectBeep();
      return LoopContinue;
    }
    if (preference(0) != 0 &&
        question(QuestionDefaultYes,
                 textf(FormatDeleteQuestion, shortenedLeft(shown, DeleteNameShown).c_str())) !=
            QuestionYes)
      return LoopContinue;
    if (hooks.deleteMember(panel, node->entry.name)) removeEntry(context, id);
    return LoopContinue;
  }
  if (!isRealDirectory(node->entry, path)) {
    if (preference(0) != 0 &&
        question(QuestionDefaultYes,
                 textf(FormatDeleteQuestion, shortenedLeft(shown, DeleteNameShown).c_str())) !=
            QuestionYes)
      return LoopContinue;
    if (deleteFileReported(path) == 0) removeEntry(context, id);
  } else {
    if (question(QuestionDefaultNo, textf(FormatDeleteBelow, shown.c_str())) != QuestionYes)
      return LoopContinue;
    if (preference(8) != 0 &&
        question(QuestionDefaultNo, textf(FormatDeleteAttention, shown.c_str())) != QuestionYes)
      return LoopContinue;
    {
      FileOperation operation;
      (void)deleteDirectory(path, true);
    }
    if (FileopsHooks& hooks = fileopsState().hooks; hooks.directoryDeleted != nullptr)
      hooks.directoryDeleted(path);
    if (!fileExists(path)) removeEntry(context, id);
  }
  requestPanelsReread(context, path);
  return LoopContinue;
}

int prepareDeleteSelection(SelectedFilesRun&) {
  if (preference(11) == 0) return 0;
  return question(QuestionDefaultYes,
                  textf(FormatDeleteQuestion, std::string(TextAllSelectedFiles).c_str())) ==
                 QuestionYes
             ? 0
             : 1;
}

int deleteSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  if (run.confirm) {
    const KeyCode key = messageBox(TextContinue);
    const int letter = key < 0x100 ? std::toupper(key) : 0;
    if (key == key::Escape || letter == 'N') return SelectedKept | SelectedStop;
    if (letter == 'F') return SelectedKept;
    if (letter == 'W') run.confirm = false;
  }
  Panel& panel = run.context->currentPanel();
  FileopsState& state = fileopsState();
  int gone;
  if (panel.archiveType != 0) {
    if (file.entry.isDirectory() || state.hooks.deleteMember == nullptr) return SelectedKept;
    gone = state.hooks.deleteMember(panel, file.entry.name) ? SelectedGone : SelectedKept;
  } else if (isRealDirectory(file.entry, file.path)) {
    if (isParentEntry(file.entry)) return SelectedKept;
    (void)deleteDirectory(file.path, false);
    if (state.hooks.directoryDeleted != nullptr) state.hooks.directoryDeleted(fullPath(file.path));
    gone = fileExists(file.path) ? SelectedKept : SelectedGone;
  } else {
    gone = deleteFileReported(file.path) == 0 ? SelectedGone : SelectedKept;
  }
  return state.cancelRequested ? gone | SelectedStop : gone;
}

void finishDeleteSelection(SelectedFilesRun& run) {
  requestPanelsReread(*run.context, run.context->currentPanel().currentDirectory);
}

}  // namespace corvane
