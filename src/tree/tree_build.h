// Building the tree of a drive: scanning its directories through the one tree walker, or
// loading the cache written after the last scan; rescanning below a node.
//
// A scan never follows a symbolic link: a link to a directory is a node without children,
// also when it is expanded; a directory already on the way down is not entered; names
// beginning with "." are left out with everything below them; kernel pseudo file systems
// are shown but not entered. A directory that cannot be read is a node without children and
// the scan goes on. Esc asks " Cancel operation ? "; "Y" keeps what was read so far, which
// is shown but never written to the cache (it would hide directories until the next scan).
// The process's current directory is never changed by a scan.
#pragma once

#include <string_view>
#include <vector>

#include "tree/tree_model.h"

namespace corvane {

// Requests of buildTree.
enum TreeBuildRequest : int {
  TreeRequestCache = 0,  // the cache when it is valid, else a scan
  TreeRequestScan = 1,   // a scan of the whole drive, then the cache written
  TreeRequestWrite = 4,  // the cache written from the tree in memory, nothing else
};

// Results of scans and builds.
inline constexpr int TreeScanDone = 0;
inline constexpr int TreeScanFailed = 1;  // the start directory could not be read
inline constexpr int TreeScanCancelled = 27;

enum class TreeScanDepth { OneLevel, AllLevels };

// The directories below path (a full program path) in depth-first order, levels counted
// from level + 1, appended to nodes. With progress the counter " Reading directory nr. %d"
// is shown in an open window of the caller (at most every 50 ms). A start that cannot be
// read shows "Cant change to %s" and gives TreeScanFailed.
class TreeScanProgress;
int scanDirectory(std::string_view path, std::uint16_t level, TreeScanDepth depth,
                  std::vector<TreeNode>& nodes, TreeScanProgress* progress = nullptr);

// Builds the tree of the current drive as the request says; for the drives A: and B: a scan
// is forced when the last tree built was another drive's or keep is false. A scan shows the
// window " Reading directory tree". The tree is finished in every case.
int buildTree(int request, DirectoryTree& tree, bool keep);

// Scans the directory of node id again (a link: no children), puts what was found in place
// of its descendants and writes the cache unless cancelled. A start that cannot be read
// leaves the tree as it was. With progress the reading window is shown.
int rescanBelow(DirectoryTree& tree, TreeNodeId id, TreeScanDepth depth, bool progress = false);
// Makes a directory the tree does not know yet known: its nearest known ancestor is read
// again one level (what is known below stays), then the next one down its path, until the
// directory is there or its path leaves what can be read (a link, a dot directory, one gone).
// Names are matched exactly. Writes the cache when the tree changed. Returns the deepest node
// of the path known now; NoTreeNode off the tree's drive.
TreeNodeId rescanTowards(DirectoryTree& tree, std::string_view path);
// A one-level rescan of id that keeps the known subtrees of the subdirectories still there;
// changed tells whether the tree is different now. The cache is not written: the caller
// writes it once it is done.
int rescanKeepingSubtrees(DirectoryTree& tree, TreeNodeId id, bool& changed);

}  // namespace corvane
