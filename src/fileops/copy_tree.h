// Directory trees: the tree walker of the copy, move and recursive commands, and the copy of
// a whole tree. Every walk goes through the platform's one walker: no link is followed, a
// directory already on the way down is not entered again, pseudo file systems are never
// entered, and walks that remove sources stay on their file system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// WalkMode. The actions of WalkList, WalkSize and WalkCommand are the hooks'
// (FileopsHooks::walkFile).
enum WalkMode : int {
  WalkList = 0,
  WalkSize = 1,
  WalkCommand = 2,
  WalkCopy = 3,
  WalkMove = 4,
  WalkCopyDelete = 5,
};

// What one walk counts and is given.
struct WalkCounters {
  std::uint64_t files = 0;        // files that matched the mask
  std::uint64_t directories = 0;  // directories entered
  std::string mask = "*.*";       // the files the mode's action takes
  // WalkCopy, WalkMove, WalkCopyDelete: the directory the walked one is mirrored under (its
  // path relative to the current directory, without drive letter, follows it).
  std::string destination;
  void* context = nullptr;  // the hooks' own data (modes 0 to 2)
};

// Walks the tree below directory: the files of each directory first (those the mask takes
// get the mode's action), then its subdirectories. WalkList and WalkCommand leave out
// directories whose names begin with "."; the other modes take every entry. In the copy
// modes each directory is mirrored (made with its parents) below the destination, and gets
// its source's mode and time once filled; WalkCopyDelete deletes each source file after its
// copy succeeded and removes each source directory it emptied. Esc asks " Cancel operation ? "
// after each file. Returns the result of the last action, or 1 when the walk was stopped
// (CancelRequested is then set).
int walkTree(std::string_view directory, WalkCounters& counters, int mode);

// copyTree's move flag.
enum TreeCopyMode : int {
  TreeCopy = 0,
  TreeMove = 1,  // WalkCopyDelete: the sources go as their copies succeed, the top one too
};

// Copies the tree of a source directory with a mask ("src\*.txt"; a mask alone means the
// current directory) below destination: the directory's path as given, without its drive
// letter, is mirrored there. A destination inside the source (by path or by identity of its
// parents: a second drive letter, a linked directory) is refused with "Cyclical copy not
// possibel ! " before anything is written (CopyIdentical). SharedAnswer and CancelRequested
// start afresh; the progress window is closed at the end. Returns walkTree's result.
int copyTree(std::string_view sourceAndMask, std::string_view destination, int move);

// copyTree with the mirror of the source directory given: its files and subdirectories
// arrive in mirror itself.
int copyTreeInto(std::string_view sourceDirectory, std::string_view mask, std::string_view mirror,
                 int move);

// Whether copying the directory source to target would copy it into itself: target is
// source or lies below it, by path or by the identity of target's existing parents.
bool copiesIntoItself(std::string_view source, std::string_view target);

}  // namespace corvane
