// The mutable state of the file operations, in one record: the answer and the stop request
// shared by the files of one operation, what that operation wrote, the copy progress window,
// the counters of a tree deletion, and the hooks the folders above fill in. Only the main
// thread touches it. Tests start from resetFileopsState().
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "ui/paced_drawing.h"
#include "ui/window.h"

namespace corvane {

struct Panel;
class TreeWalkEntry;

// What the folders above put into the file operations (start-up registers them). A hook
// left empty gives the behaviour its comment names.
struct FileopsHooks {
  // The tree key of the "Destination :" input: the tree window in selection mode; true with
  // the chosen directory in path. Empty: the rejection beep.
  bool (*chooseDirectory)(std::string& path) = nullptr;
  // The directory tree is read again after a directory was made (path) or deleted.
  void (*directoryMade)(std::string_view path) = nullptr;
  void (*directoryDeleted)(std::string_view path) = nullptr;
  // An archive member extracted to a temporary file (true, its path in extracted), that copy
  // removed again when done with it, and a member deleted from its archive. Empty: "Error
  // extracting file %s " / nothing deleted.
  bool (*extractMember)(Panel& panel, std::string_view name, std::string& extracted) = nullptr;
  void (*releaseMember)(std::string_view extracted) = nullptr;
  bool (*deleteMember)(Panel& panel, std::string_view name) = nullptr;
  // The actions of walkTree's modes WalkList, WalkSize and WalkCommand on one file that
  // matched the mask (a WalkResult); and, once per directory a walk could not read, the
  // note of it. Empty: the file is passed by.
  int (*walkFile)(int mode, TreeWalkEntry& entry, void* context) = nullptr;
  void (*walkUnreadable)(int mode, std::string_view path, void* context) = nullptr;
};

struct FileopsState {
  // SharedAnswer: the OverwriteAnswer shared by the files of one selection or tree operation.
  int sharedAnswer = 0;
  // CancelRequested: the user stopped the running operation (" Cancel operation ? " answered
  // "Y" during a copy, or a walk stopped); selection and tree loops test it after each file.
  bool cancelRequested = false;
  int operationDepth = 0;  // FileOperation scopes open
  // Device and inode of every file the outermost running operation wrote.
  std::set<std::pair<std::uint64_t, std::uint64_t>> writtenTargets;

  // A directory was made since the command loop last looked (it then re-reads the panels).
  bool directoryCreated = false;

  // The copy progress window and when it was last shown (many copies of small files share
  // its redraws).
  WindowHandle progressWindow;
  PacedFlush progressFlush;

  // The copy buffer, kept from call to call, and the name limit of the last destination
  // directory looked at.
  std::unique_ptr<char[]> copyBuffer;
  std::string limitDirectory;
  int nameLimit = 0;
  // Within an operation: the last destination directory found to exist, and the free space
  // of the last file system asked (counted down by what was copied since).
  std::string existingDirectory;
  std::string spaceDirectory;
  std::uint64_t spaceFree = 0;

  // One tree deletion.
  int deletedFiles = 0;
  int deletedDirectories = 0;
  bool deleteCancelled = false;
  WindowHandle deleteWindow;

  FileopsHooks hooks;
};

FileopsState& fileopsState();
// Back to the state of a fresh start; the hooks are kept.
void resetFileopsState();

// Notes a file the running operation wrote (nothing outside an operation).
void noteWrittenTarget(std::uint64_t device, std::uint64_t inode);

// One selection or tree operation: the outermost scope starts with SharedAnswer 0,
// CancelRequested clear and nothing written, and closes the copy progress window at its end.
class FileOperation {
 public:
  FileOperation();
  ~FileOperation();
  FileOperation(const FileOperation&) = delete;
  FileOperation& operator=(const FileOperation&) = delete;
};

}  // namespace corvane
