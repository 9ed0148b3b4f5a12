// The directory tree of one drive in memory: its directories in depth-first order, the root
// first. The order is the chain: a node's predecessor and successor are its neighbours in the
// vector, a subtree is a node followed by every next node of a greater level. Parents and the
// line prefixes are derived data, computed again by finishTree after every change.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

using TreeNodeId = std::uint32_t;
inline constexpr TreeNodeId NoTreeNode = 0xFFFFFFFFu;
inline constexpr int TreeMaxLevel = 300;

// Code page 437 line glyphs of the prefixes.
inline constexpr char TreeLineTee = '\xC3';
inline constexpr char TreeLineCorner = '\xC0';
inline constexpr char TreeLineHorizontal = '\xC4';
inline constexpr char TreeLineVertical = '\xB3';

struct TreeNode {
  std::string name;  // the directory's own name; the root holds its full path ("C:\")
  // The prefix drawn before the name: code page 437 bytes, one per cell (finishTree).
  std::string lines;
  TreeNodeId parent = 0;  // the root is its own parent
  std::uint16_t level = 0;
};

struct DirectoryTree {
  char drive = 0;  // upper-case letter; 0 while there is no tree
  std::vector<TreeNode> nodes;
  // A scan that built part of it was cancelled or could not start: the tree may miss
  // directories, so it is never written to the cache until a whole scan completes it.
  bool partial = false;
};

inline bool treeEmpty(const DirectoryTree& tree) { return tree.nodes.empty(); }

// Makes the tree the root of a drive alone ("X:\").
void resetTree(DirectoryTree& tree, char drive);

// Sets every node's parent (the nearest preceding node of a smaller level) and its line
// prefix. Linear in the nodes and the prefix cells.
void finishTree(DirectoryTree& tree);

// One past the last node of id's subtree.
TreeNodeId subtreeEnd(const DirectoryTree& tree, TreeNodeId id);

// The full program path of a node: the root's path and the names below it joined with "\".
std::string nodePath(const DirectoryTree& tree, TreeNodeId id);

// How names of a path are matched: the exact spelling, else (ExactFirst) the first one that
// differs only in case.
enum class TreeMatch { ExactFirst, ExactOnly };

// The node whose full path is path (a full program path), NoTreeNode when none.
TreeNodeId findNode(const DirectoryTree& tree, std::string_view path,
                    TreeMatch match = TreeMatch::ExactFirst);
// The deepest node whose full path begins path (the root for any path on the tree's drive),
// NoTreeNode when path lies on another drive.
TreeNodeId findNearestAncestor(const DirectoryTree& tree, std::string_view path,
                               TreeMatch match = TreeMatch::ExactFirst);

// Replaces the descendants of id with nodes (levels absolute, depth-first, each at least
// id's level + 1), then finishes the tree.
void replaceDescendants(DirectoryTree& tree, TreeNodeId id, std::vector<TreeNode> nodes);
inline void removeDescendants(DirectoryTree& tree, TreeNodeId id) {
  replaceDescendants(tree, id, {});
}
// Removes a node below the root with its subtree.
void removeSubtree(DirectoryTree& tree, TreeNodeId id);
// Inserts a new child of id right after it (before its other children); its id is id + 1.
TreeNodeId insertChild(DirectoryTree& tree, TreeNodeId id, std::string name);

// A prefix as text to show: each code page 437 byte as its glyph in UTF-8.
std::string linesText(std::string_view lines);
// The tree as text: one line of prefix (UTF-8) and name per node, each ended by "\n".
std::string treeText(const DirectoryTree& tree);

// The first node below the root from `from` on (wrapping to the root, and ending before
// `from` again) whose name matches text followed by "*" without regard to case; NoTreeNode
// when none.
TreeNodeId searchTree(const DirectoryTree& tree, TreeNodeId from, std::string_view text);

}  // namespace corvane
