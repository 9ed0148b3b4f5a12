#include "fileops/copy_tree.h"

#include <set>

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/delete_files.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "fileops/make_directory.h"
#include "fileops/move_files.h"
#include "panels/mask.h"
#include "panels/read_texts.h"
#include "platform/drives.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/textf.h"
#include "platform/tree_walk.h"
#include "ui/boxes.h"
#include "ui/file_failure.h"

namespace corvane {
namespace {

bool copyMode(int mode) { return mode == WalkCopy || mode == WalkMove || mode == WalkCopyDelete; }

// The path of a tree entry relative to the walk's start ("" for the start itself).
std::string_view relativeTo(std::string_view start, std::string_view path) {
  std::string_view rest = path.substr(std::min(start.size(), path.size()));
  while (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  return rest;
}

// The walk over one tree with the mode's actions.
class TreeVisitor : public TreeWalkVisitor {
 public:
  TreeVisitor(std::string start, WalkCounters& counters, int mode)
      : start_(std::move(start)),
        counters_(counters),
        mode_(mode),
        mask_(compileMask(counters.mask)) {}

  int result() const { return stopped_ ? CopyOpenFailed : result_; }
  bool stopped() const { return stopped_; }

  // The mirror of the start directory, made before the walk.
  bool mirrorStart() {
    if (!copyMode(mode_)) return true;
    return mirrorDirectory(counters_.destination);
  }

  // Once the walk is over: the start's mirror takes its mode and time; a move removes the
  // emptied start.
  void finish() {
    if (!copyMode(mode_) || stopped_) return;
    finishDirectory(start_, counters_.destination);
  }

  // The device of the start: a walk that removes what it walked stays on it.
  void stayOn(std::uint64_t device) {
    staysOn_ = true;
    device_ = device;
  }

  int visit(TreeWalkEntry& entry) override {
    if (entry.isDirectory()) {
      if ((mode_ == WalkList || mode_ == WalkCommand) && entry.name().starts_with('.'))
        return TreeWalkSkip;
      if (staysOn_) {
        // Another file system mounted here: reported, not entered.
        const FindRecord* details = entry.details();
        if (details != nullptr && details->device != device_)
          return failed(entry.path(), fileFailure(EXDEV)) == TreeWalkStop ? TreeWalkStop
                                                                          : TreeWalkSkip;
      }
      ++counters_.directories;
      if (copyMode(mode_) && !mirrorDirectory(mirrorOf(entry.path()))) return act(CopyCreateFailed);
      return TreeWalkContinue;
    }
    // Asked at the first file and then every 32nd: cheap next to any file's work, prompt
    // enough for a walk that only names files.
    if ((++filesMet_ & 31) == 1 && escapeCancels()) return stop();
    if (!maskMatches(mask_, entry.name())) return TreeWalkContinue;
    ++counters_.files;
    if (!copyMode(mode_)) {
      FileopsHooks& hooks = fileopsState().hooks;
      if (hooks.walkFile == nullptr) return TreeWalkContinue;
      const int answer = hooks.walkFile(mode_, entry, counters_.context);
      if (answer == 0) return TreeWalkContinue;
      result_ = answer;
      return TreeWalkStop;
    }
    return copyFile(entry);
  }

  int leaveDirectory(TreeWalkEntry& entry) override {
    if (copyMode(mode_)) finishDirectory(entry.path(), mirrorOf(entry.path()));
    return TreeWalkContinue;
  }

  int failed(std::string_view path, FileResult reason) override {
    if (copyMode(mode_)) {
      reportFileFailure(FormatFileOpenError, path, reason, 0);
      return act(CopyOpenFailed);
    }
    // Noted once; the walk goes on.
    if (FileopsHooks& hooks = fileopsState().hooks; hooks.walkUnreadable != nullptr)
      hooks.walkUnreadable(mode_, path, counters_.context);
    return TreeWalkContinue;
  }

  bool cancelled() override { return stopped_; }

 private:
  std::string mirrorOf(std::string_view path) const {
    const std::string_view rest = relativeTo(start_, path);
    return rest.empty() ? counters_.destination : joinPath(counters_.destination, rest);
  }

  bool mirrorDirectory(const std::string& mirror) {
    if (directoryExists(mirror)) return true;
    std::string path = mirror;
    if (createPath(path) == 0) {
      made_.insert(mirror);
      return true;
    }
    messageBox(textf(FormatErrorCreating, mirror.c_str()));
    return false;
  }

  // A directory whose files are all handled: the mirror the walk made takes its mode and
  // time (one that was there keeps its own); a move removes it once emptied (harmless while
  // entries remain).
  void finishDirectory(const std::string& source, const std::string& mirror) {
    FileFacts facts;
    if (made_.erase(mirror) != 0 && entryFacts(source, facts) && facts.kind == FileKind::Directory)
      (void)carryFileFacts(mirror, facts, true, preference(17) != 0);
    if (mode_ == WalkCopyDelete) (void)removeEmptiedDirectory(source);
  }

  static bool escapeCancels() { return escapePressed() && askCancelOperation(); }

  int stop() {
    stopped_ = true;
    fileopsState().cancelRequested = true;
    return TreeWalkStop;
  }

  // The result of one action: go on, or stop the walk.
  int act(int result) {
    result_ = result;
    switch (result) {
      case CopyDone:
      case AnswerSkip:
      case AnswerNo:
        return TreeWalkContinue;
      case CopyOpenFailed:
      case CopyCreateFailed:
      case CopyIdentical:
      case CopyReadFailed:
        return question(QuestionDefaultNo, TextCancelOperation) == QuestionNo ? TreeWalkContinue
                                                                              : stop();
      default:
        return stop();
    }
  }

  int copyFile(TreeWalkEntry& entry) {
    FileopsState& state = fileopsState();
    const std::string target = mirrorOf(entry.path());
    for (;;) {
      int result;
      if (mode_ == WalkMove) {
        const FindRecord* details = entry.details();
        result = moveFile(entry.path(), parentPath(target),
                          details != nullptr ? details->attribute : 0, MoveSharedAnswer);
      } else if (mode_ == WalkCopyDelete && renamedInPlace(entry.path(), target)) {
        result = CopyDone;
      } else {
        int flags = CopyKeepProgressWindow | CopySharedAnswer | CopyLiteralName;
        if (made_.contains(parentPath(target))) flags |= CopyIntoNewDirectory;
        result = copyFiles(entry.path(), target, flags);
        if (result == CopyDone && mode_ == WalkCopyDelete) deleteSource(entry.path());
      }
      if (state.sharedAnswer == AnswerYes) state.sharedAnswer = AnswerNone;
      if ((result == CopyWriteFailed || result == CopyDiskFull) &&
          askNewDisk(counters_.destination))
        continue;
      return act(result);
    }
  }

  // A move on one file system: the file renamed into its mirror when nothing is there yet
  // (what it wrote is noted as a copy's target is).
  static bool renamedInPlace(const std::string& source, const std::string& target) {
    if (fileExists(target) || !renameFile(source, target)) return false;
    FindRecord moved;
    if (findEntry(target, moved)) noteWrittenTarget(moved.device, moved.inode);
    return true;
  }

  static void deleteSource(const std::string& path) { (void)deleteFileReported(path); }

  std::string start_;
  WalkCounters& counters_;
  int mode_;
  CompiledMask mask_;
  unsigned filesMet_ = 0;
  int result_ = CopyDone;
  bool stopped_ = false;
  std::set<std::string> made_;  // mirrors the walk made and has not finished yet
  bool staysOn_ = false;
  std::uint64_t device_ = 0;
};

// The identity of a directory (device and inode), false when it cannot be looked up.
bool identityOf(std::string_view path, FindRecord& record) {
  return static_cast<bool>(findEntry(path, record));
}

}  // namespace

int walkTree(std::string_view directory, WalkCounters& counters, int mode) {
  const std::string start = withoutTrailingBackslash(fullPath(directory));
  TreeVisitor visitor(start, counters, mode);
  if (start.empty()) {
    reportFileFailure(FormatFileOpenError, directory, fileFailure(ENAMETOOLONG), 0);
    return CopyOpenFailed;
  }
  if (!visitor.mirrorStart()) return CopyCreateFailed;
  TreeWalkOptions options;
  options.order = TreeWalkOrder::FilesFirst;
  options.sameFileSystem = mode == WalkMove || mode == WalkCopyDelete;
  if (FindRecord record; options.sameFileSystem && findEntry(start, record))
    visitor.stayOn(record.device);
  walkDirectoryTree(start, visitor, options);
  visitor.finish();
  return visitor.result();
}

bool copiesIntoItself(std::string_view source, std::string_view target) {
  const std::string from = withoutTrailingBackslash(fullPath(source));
  std::string to = withoutTrailingBackslash(fullPath(target));
  if (from.empty() || to.empty()) return false;
  const std::string prefix = withTrailingBackslash(foldCase(from));
  if (foldCase(to) == foldCase(from) || withTrailingBackslash(foldCase(to)).starts_with(prefix))
    return true;
  FindRecord origin;
  if (!identityOf(from, origin)) return false;
  for (;;) {
    FindRecord here;
    if (identityOf(to, here) && here.device == origin.device && here.inode == origin.inode)
      return true;
    if (isDriveRoot(to)) return false;
    to = parentPath(to);
  }
}

int copyTree(std::string_view sourceAndMask, std::string_view destination, int move) {
  std::string_view start = sourceAndMask;
  std::string mask = "*.*";
  const std::size_t slash = sourceAndMask.rfind('\\');
  if (slash != std::string_view::npos) {
    mask = std::string(sourceAndMask.substr(slash + 1));
    start = sourceAndMask.substr(0, slash);
    if (start.empty() || start.back() == ':') start = sourceAndMask.substr(0, slash + 1);
  } else if (driveLetterOf(sourceAndMask) == 0) {
    mask = std::string(sourceAndMask);
    start = ".";
  }
  if (mask.empty()) mask = "*.*";

  // The start as given, without its drive letter, mirrored below the destination.
  std::string_view relative = start;
  if (driveLetterOf(relative) != 0) relative.remove_prefix(2);
  while (!relative.empty() && relative.front() == '\\') relative.remove_prefix(1);
  while (relative.starts_with(".\\")) relative.remove_prefix(2);
  if (relative == ".") relative = {};
  const std::string mirror =
      relative.empty() ? fullPath(destination) : fullPath(joinPath(destination, relative));
  return copyTreeInto(start, mask, mirror, move);
}

int copyTreeInto(std::string_view sourceDirectory, std::string_view mask, std::string_view mirror,
                 int move) {
  WalkCounters counters;
  counters.mask = mask.empty() ? std::string("*.*") : std::string(mask);
  counters.destination = withoutTrailingBackslash(mirror);
  if (counters.destination.empty() || copiesIntoItself(sourceDirectory, counters.destination)) {
    messageBox(TextCyclicalCopy);
    messageBox(textf(FormatCyclicalPaths,
                     withoutTrailingBackslash(fullPath(sourceDirectory)).c_str(),
                     counters.destination.c_str()));
    return CopyIdentical;
  }
  FileOperation operation;
  FileopsState& state = fileopsState();
  state.sharedAnswer = AnswerNone;
  state.cancelRequested = false;
  const int result =
      walkTree(sourceDirectory, counters, move == TreeMove ? WalkCopyDelete : WalkCopy);
  closeCopyProgress();
  return result;
}

}  // namespace corvane
