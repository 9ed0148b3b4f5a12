// The one walk over a directory tree that every recursive reader uses (the global list, and
// the tree copy, move and delete, tree scan, file find, text search and directory size built
// on it). It never follows a symbolic link (a link is an entry like a file, never entered),
// never enters a directory that is already on the way down from the start (device and inode),
// never enters a pseudo file system (proc, sysfs, devtmpfs, cgroup, debugfs, tracefs,
// securityfs, pstore, bpf) below the start, and can stay on the start's file system. Each
// directory is opened relative to its parent, so a rename above the walk cannot send it
// elsewhere. Entries are told apart by what the directory listing says; an entry's status is
// looked up only when a visitor asks for it.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_result.h"
#include "platform/find.h"
#include "platform/paths.h"

namespace corvane {

// Answers of a visitor.
constexpr int TreeWalkContinue = 0;  // go on; for a directory: enter it
constexpr int TreeWalkSkip = 1;      // for a directory: do not enter it
constexpr int TreeWalkStop = 2;      // end the whole walk

enum class TreeWalkOrder {
  Listing,     // the order of each directory's listing, a directory entered where it stands
  FilesFirst,  // every other entry of a directory before its subdirectories (each as listed)
};

struct TreeWalkOptions {
  TreeWalkOrder order = TreeWalkOrder::Listing;
  bool sameFileSystem = false;  // never enter a directory on another file system than the start
  // For walks that change nothing in the tree: a long listing is read on in a second thread
  // while its first entries are visited (the entries of a directory are then not all read
  // before the first is visited; the order stays the same).
  bool readAhead = false;
};

// One entry met by the walk; valid during the visitor's call only.
class TreeWalkEntry {
 public:
  // Program path, joined on the first call (most entries of a walk are only named).
  const std::string& path() const {
    if (parent_ != nullptr) {
      path_ = joinPath(*parent_, name_);
      parent_ = nullptr;
    }
    return path_;
  }
  std::string_view name() const { return name_; }  // the last component, as in find records
  int depth() const { return depth_; }             // 1 for the entries of the start directory
  bool isDirectory() const { return directory_; }  // a directory itself; a link to one is not
  bool isLink() const { return link_; }
  // The entry as findFirst would deliver it (attribute byte, DOS date and time, size, device,
  // inode, link flags; without the user-set attribute bits): one status lookup, made on the
  // first call. nullptr when the entry can no longer be reached.
  const FindRecord* details();
  // Removes the entry (not a directory) from its directory, as deleteFile does: a link
  // itself, never its target; a read-only file is refused (EACCES).
  FileResult remove();

 private:
  friend struct TreeWalker;
  int directoryHandle_ = -1;  // the open directory the entry is in
  mutable std::string path_;
  mutable const std::string* parent_ = nullptr;  // set: path_ is still to be joined from it
  std::string ownName_;
  std::string_view name_;  // the end of path_, or the listed name
  const char* hostName_ = nullptr;
  const void* listed_ = nullptr;  // Windows: what the listing said of the entry
  int depth_ = 0;
  bool directory_ = false;
  bool link_ = false;
  bool looked_ = false;
  bool reachable_ = false;
  FindRecord record_;
};

class TreeWalkVisitor {
 public:
  virtual ~TreeWalkVisitor() = default;
  // Each entry but "." and "..". For a directory, TreeWalkContinue enters it: its entries
  // follow, then leaveDirectory. TreeWalkSkip passes a directory by.
  virtual int visit(TreeWalkEntry& entry) = 0;
  // After the entries of a directory that was entered (entry is that directory).
  virtual int leaveDirectory(TreeWalkEntry& entry) {
    (void)entry;
    return TreeWalkContinue;
  }
  // A directory (the start too) that could not be opened or listed, or whose program path
  // would pass the path limit (ENAMETOOLONG); the walk goes on with the next entry unless
  // the answer is TreeWalkStop.
  virtual int failed(std::string_view path, FileResult reason) {
    (void)path;
    (void)reason;
    return TreeWalkContinue;
  }
  // Asked after each entry; true ends the walk (the user's Esc and " Cancel operation ? ").
  virtual bool cancelled() { return false; }
};

// Walks the tree below the directory startPath (a program path; the start itself is not
// visited, and it may be a link to a directory). TreeWalkContinue when the walk went through,
// TreeWalkStop when a visitor stopped it or cancelled.
int walkDirectoryTree(std::string_view startPath, TreeWalkVisitor& visitor,
                      const TreeWalkOptions& options = {});

}  // namespace corvane
