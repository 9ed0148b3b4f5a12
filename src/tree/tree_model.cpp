#include "tree/tree_model.h"

#include <algorithm>
#include <iterator>

#include "platform/charset.h"
#include "platform/paths.h"

namespace corvane {
namespace {

// The components of a full path below its root: "T:\a\b" gives "a", "b".
std::vector<std::string_view> componentsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = path.find('\\');
  if (start == std::string_view::npos) return parts;
  ++start;
  while (start < path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The child of id named name: the exact spelling, else the first one equal without regard
// to case. NoTreeNode when none.
TreeNodeId findChild(const DirectoryTree& tree, TreeNodeId id, std::string_view name,
                     TreeMatch match) {
  const std::uint16_t childLevel = static_cast<std::uint16_t>(tree.nodes[id].level + 1);
  TreeNodeId folded = NoTreeNode;
  for (TreeNodeId i = id + 1; i < tree.nodes.size() && tree.nodes[i].level >= childLevel; ++i) {
    if (tree.nodes[i].level != childLevel) continue;
    const std::string& candidate = tree.nodes[i].name;
    if (candidate == name) return i;
    if (folded == NoTreeNode && match == TreeMatch::ExactFirst && sameName(candidate, name))
      folded = i;
  }
  return folded;
}

// Walks path down from the root as far as the tree knows it; matched counts the components
// found. NoTreeNode when the path is not on the tree's drive.
TreeNodeId walkDown(const DirectoryTree& tree, std::string_view path, TreeMatch match,
                    std::size_t& matched, std::size_t& components) {
  matched = components = 0;
  if (tree.nodes.empty() || driveLetterOf(path) != tree.drive || tree.drive == 0) return NoTreeNode;
  const std::vector<std::string_view> parts = componentsOf(path);
  components = parts.size();
  TreeNodeId id = 0;
  for (std::string_view part : parts) {
    const TreeNodeId child = findChild(tree, id, part, match);
    if (child == NoTreeNode) break;
    id = child;
    ++matched;
  }
  return id;
}

bool startsWithFolded(std::string_view name, std::string_view text) {
  if (name.size() < text.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (foldCase(name[i]) != foldCase(text[i])) return false;
  return true;
}

}  // namespace

void resetTree(DirectoryTree& tree, char drive) {
  tree.drive = drive;
  tree.partial = false;
  tree.nodes.clear();
  TreeNode root;
  root.name = std::string(1, drive) + ":\\";
  tree.nodes.push_back(std::move(root));
  finishTree(tree);
}

void finishTree(DirectoryTree& tree) {
  std::vector<TreeNode>& nodes = tree.nodes;
  if (nodes.empty()) return;
  // Parents: the last node seen at each level on the way down.
  std::vector<TreeNodeId> lastAtLevel;
  for (TreeNodeId i = 0; i < nodes.size(); ++i) {
    const std::size_t level = nodes[i].level;
    nodes[i].parent = level == 0 || level > lastAtLevel.size() ? 0 : lastAtLevel[level - 1];
    if (lastAtLevel.size() <= level) lastAtLevel.resize(level + 1);
    lastAtLevel[level] = i;
  }
  // Prefixes, from the last node up: continues[k] tells whether a node of level k follows
  // before any node of a smaller level. Levels above the one set last are cleared lazily.
  std::vector<char> continues;
  std::size_t highestSet = 0;
  for (std::size_t i = nodes.size(); i-- > 0;) {
    TreeNode& n = nodes[i];
    const std::size_t level = n.level;
    if (continues.size() <= level) continues.resize(level + 1, 0);
    if (level == 0) {
      n.lines.assign(1, TreeLineHorizontal);
    } else {
      n.lines.assign(2 * level + 2, ' ');
      for (std::size_t k = 1; k < level; ++k)
        if (continues[k]) n.lines[2 * k] = TreeLineVertical;
      n.lines[2 * level] = continues[level] ? TreeLineTee : TreeLineCorner;
      n.lines[2 * level + 1] = TreeLineHorizontal;
    }
    for (std::size_t k = level + 1; k <= highestSet && k < continues.size(); ++k) continues[k] = 0;
    continues[level] = 1;
    highestSet = level;
  }
}

TreeNodeId subtreeEnd(const DirectoryTree& tree, TreeNodeId id) {
  const std::uint16_t level = tree.nodes[id].level;
  TreeNodeId end = id + 1;
  while (end < tree.nodes.size() && tree.nodes[end].level > level) ++end;
  return end;
}

std::string nodePath(const DirectoryTree& tree, TreeNodeId id) {
  if (id >= tree.nodes.size()) return {};
  std::vector<TreeNodeId> up;
  for (TreeNodeId n = id; n != 0; n = tree.nodes[n].parent) up.push_back(n);
  std::string path = tree.nodes[0].name;
  for (auto it = up.rbegin(); it != up.rend(); ++it) path = joinPath(path, tree.nodes[*it].name);
  return path;
}

TreeNodeId findNode(const DirectoryTree& tree, std::string_view path, TreeMatch match) {
  std::size_t matched = 0, components = 0;
  const TreeNodeId id = walkDown(tree, path, match, matched, components);
  return id != NoTreeNode && matched == components ? id : NoTreeNode;
}

TreeNodeId findNearestAncestor(const DirectoryTree& tree, std::string_view path, TreeMatch match) {
  std::size_t matched = 0, components = 0;
  return walkDown(tree, path, match, matched, components);
}

void replaceDescendants(DirectoryTree& tree, TreeNodeId id, std::vector<TreeNode> nodes) {
  const TreeNodeId end = subtreeEnd(tree, id);
  const std::size_t old = end - (id + 1);
  auto first = tree.nodes.begin() + id + 1;
  // Overwrite what fits, then erase the rest or insert what is left.
  const std::size_t common = std::min(old, nodes.size());
  std::move(nodes.begin(), nodes.begin() + static_cast<std::ptrdiff_t>(common), first);
  if (old > common) {
    tree.nodes.erase(first + static_cast<std::ptrdiff_t>(common), tree.nodes.begin() + end);
  } else if (nodes.size() > common) {
    tree.nodes.insert(tree.nodes.begin() + end,
                      std::make_move_iterator(nodes.begin() + static_cast<std::ptrdiff_t>(common)),
                      std::make_move_iterator(nodes.end()));
  }
  finishTree(tree);
}

void removeSubtree(DirectoryTree& tree, TreeNodeId id) {
  if (id == 0 || id >= tree.nodes.size()) return;
  tree.nodes.erase(tree.nodes.begin() + id, tree.nodes.begin() + subtreeEnd(tree, id));
  finishTree(tree);
}

TreeNodeId insertChild(DirectoryTree& tree, TreeNodeId id, std::string name) {
  TreeNode child;
  child.name = std::move(name);
  child.level = static_cast<std::uint16_t>(tree.nodes[id].level + 1);
  tree.nodes.insert(tree.nodes.begin() + id + 1, std::move(child));
  finishTree(tree);
  return id + 1;
}

std::string linesText(std::string_view lines) {
  std::string text;
  text.reserve(lines.size() * 2);
  for (char c : lines) {
    if (c == ' ')
      text += ' ';
    else
      appendUtf8(text, cp437ToUnicode(static_cast<std::uint8_t>(c)));
  }
  return text;
}

std::string treeText(const DirectoryTree& tree) {
  std::string text;
  for (const TreeNode& n : tree.nodes) {
    text += linesText(n.lines);
    text += n.name;
    text += '\n';
  }
  return text;
}

TreeNodeId searchTree(const DirectoryTree& tree, TreeNodeId from, std::string_view text) {
  const TreeNodeId count = static_cast<TreeNodeId>(tree.nodes.size());
  if (count == 0) return NoTreeNode;
  if (from >= count) from = 0;
  for (TreeNodeId step = 0; step < count; ++step) {
    const TreeNodeId id = (from + step) % count;
    if (id != 0 && startsWithFolded(tree.nodes[id].name, text)) return id;
  }
  return NoTreeNode;
}

}  // namespace corvane
