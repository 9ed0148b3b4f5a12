// The tree cache file of a drive: the tree in memory as it was after the last scan, so that
// showing the tree does not scan the drive every time. One record per node in depth-first
// order, the root first, little-endian, no header:
//   2 bytes  N, the name's bytes plus the terminating zero (2 to 262)
//   2 bytes  the level (0 for the root, then 1 to the previous level + 1, at most 300)
//   N bytes  the name (the host name's bytes; the root: "X:\") and one zero byte
// It lives in the directory CS.TRE beside the setup file, as CS_X.TRE for drive X:; beside it
// CS_X.MAP holds the host directory the letter stood for, so that a cache never describes
// another directory the letter was mapped to later. Without a setup file there is no cache.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_result.h"
#include "tree/tree_model.h"

namespace corvane {

inline constexpr int TreeCacheMaxNameLength = 262;  // N, the zero included

// The cache file and the map file of a drive; "" without a setup file.
std::string treeCachePath(char drive);
std::string treeMapPath(char drive);

// The bytes of the cache file of a tree.
std::string encodeTreeCache(const DirectoryTree& tree);
// Decodes a cache file's bytes into nodes (not finished). True only when the whole file is
// valid: every record complete with the zero byte last and nowhere else, N from 2 to 262,
// the first record the root of drive at level 0, every later level from 1 to the previous
// one plus 1, no name beginning with "." or holding "/", no two children of a node of one
// name, no path longer than a path may be, and the records adding up to the file's length
// exactly.
bool decodeTreeCache(std::string_view bytes, char drive, std::vector<TreeNode>& nodes);

// Loads the tree of drive from its cache into tree (finished): 0 when the cache exists, is
// valid and was written for the host directory the drive stands for now; non-zero otherwise
// (the tree is then left alone).
int readTreeCache(char drive, DirectoryTree& tree);
// Writes the tree's cache and map files, each replacing the old file only once it is whole;
// nothing for a partial tree.
// The first failure for a file in a run is reported ("File open error %s \n" and the
// system's reason); the old files stay as they were. Nothing without a setup file.
FileResult writeTreeCache(const DirectoryTree& tree);

}  // namespace corvane
