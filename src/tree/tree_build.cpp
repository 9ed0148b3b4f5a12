#include "tree/tree_build.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "panels/read_dialogs.h"
#include "platform/console.h"
#include "platform/drives.h"
#include "platform/find.h"
#include "platform/paths.h"
#include "platform/textf.h"
#include "platform/tree_walk.h"
#include "tree/tree_cache.h"
#include "tree/tree_state.h"
#include "tree/tree_texts.h"
#include "ui/boxes.h"
#include "ui/window.h"

namespace corvane {

// The window " Reading directory tree" and its counter.
class TreeScanProgress {
 public:
  static constexpr std::uint64_t RedrawMs = 50;
  // Wide enough for the counter of a large drive.
  static constexpr int WindowTextCells = 32;

  TreeScanProgress() {
    if (!hasConsole()) return;
    std::string text(TextReadingTree);
    text.resize(WindowTextCells, ' ');
    (void)openInfoWindow(window_, text);
  }
  ~TreeScanProgress() {
    if (window_) closeInfoWindow(window_);
  }
  TreeScanProgress(const TreeScanProgress&) = delete;
  TreeScanProgress& operator=(const TreeScanProgress&) = delete;

  void directoryRead() {
    ++count_;
    if (!window_) return;
    const std::uint64_t now = console().nowMs();
    if (now - lastDrawn_ < RedrawMs && count_ > 1) return;
    lastDrawn_ = now;
    CurrentWindowScope scope(*window_);
    writeText(textf(FormatReadingDirectoryNumber, count_), windowLastColumn(*window_) - 1, 1, 1,
              WritePad);
  }

 private:
  WindowHandle window_;
  int count_ = 0;
  std::uint64_t lastDrawn_ = 0;
};

namespace {

// Gathers the directories met by the walk as nodes.
class TreeScan : public TreeWalkVisitor {
 public:
  TreeScan(std::string_view start, std::uint16_t level, TreeScanDepth depth,
           std::vector<TreeNode>& nodes, TreeScanProgress* progress)
      : start_(start), level_(level), depth_(depth), nodes_(nodes), progress_(progress) {}

  int visit(TreeWalkEntry& entry) override {
    const std::string_view name = entry.name();
    if (name.empty() || name.front() == '.') return TreeWalkSkip;
    const int level = level_ + entry.depth();
    if (entry.isDirectory()) {
      if (level > TreeMaxLevel) return TreeWalkSkip;
      add(name, level);
      return depth_ == TreeScanDepth::AllLevels ? TreeWalkContinue : TreeWalkSkip;
    }
    // A link to a directory is shown, never entered (the walker enters no link).
    if (entry.isLink() && level <= TreeMaxLevel) {
      const FindRecord* record = entry.details();
      if (record != nullptr && record->linkToDirectory) add(name, level);
    }
    return TreeWalkContinue;
  }

  int failed(std::string_view path, FileResult) override {
    // A directory below that cannot be read stays a node without children.
    if (path == start_) startFailed_ = true;
    return TreeWalkContinue;
  }

  bool cancelled() override {
    if (poll_.cancelled()) cancelled_ = true;
    return cancelled_;
  }

  bool startFailed() const { return startFailed_; }
  bool wasCancelled() const { return cancelled_; }

 private:
  void add(std::string_view name, int level) {
    TreeNode node;
    node.name = std::string(name);
    node.level = static_cast<std::uint16_t>(level);
    nodes_.push_back(std::move(node));
    if (progress_ != nullptr) progress_->directoryRead();
  }

  std::string start_;
  std::uint16_t level_;
  TreeScanDepth depth_;
  std::vector<TreeNode>& nodes_;
  TreeScanProgress* progress_;
  CancelPoll poll_;
  bool startFailed_ = false;
  bool cancelled_ = false;
};

bool isLinkPath(std::string_view path) {
  if (isDriveRoot(path)) return false;
  FindRecord record;
  if (findFirst(path, 0, record) != 0) return false;
  findClose(record);
  return record.isLink;
}

}  // namespace

int scanDirectory(std::string_view path, std::uint16_t level, TreeScanDepth depth,
                  std::vector<TreeNode>& nodes, TreeScanProgress* progress) {
  const std::string start = withoutTrailingBackslash(path.empty() ? "\\" : path);
  TreeScan scan(start, level, depth, nodes, progress);
  walkDirectoryTree(start, scan);
  if (scan.startFailed()) {
    if (hasConsole()) messageBox(textf(FormatCantChange, start.c_str()));
    return TreeScanFailed;
  }
  return scan.wasCancelled() ? TreeScanCancelled : TreeScanDone;
}

int buildTree(int request, DirectoryTree& tree, bool keep) {
  if (request == TreeRequestWrite) {
    (void)writeTreeCache(tree);
    return TreeScanDone;
  }
  const char drive = currentDrive();
  TreeFolderState& state = treeFolderState();
  const bool floppy = drive == 'A' || drive == 'B';
  const bool scan = request == TreeRequestScan || (floppy && (state.lastDrive != drive || !keep));
  state.lastDrive = drive;
  if (!scan && readTreeCache(drive, tree) == 0) return TreeScanDone;

  resetTree(tree, drive);
  std::vector<TreeNode> nodes;
  int result;
  {
    TreeScanProgress progress;
    result = scanDirectory(tree.nodes[0].name, 0, TreeScanDepth::AllLevels, nodes, &progress);
  }
  replaceDescendants(tree, 0, std::move(nodes));
  tree.partial = result != TreeScanDone;
  (void)writeTreeCache(tree);
  return result;
}

int rescanBelow(DirectoryTree& tree, TreeNodeId id, TreeScanDepth depth, bool progress) {
  const std::string path = nodePath(tree, id);
  std::vector<TreeNode> nodes;
  int result = TreeScanDone;
  if (!isLinkPath(path)) {
    std::unique_ptr<TreeScanProgress> window;
    if (progress) window = std::make_unique<TreeScanProgress>();
    result = scanDirectory(path, tree.nodes[id].level, depth, nodes, window.get());
  }
  if (result == TreeScanFailed) return result;
  replaceDescendants(tree, id, std::move(nodes));
  if (result == TreeScanCancelled)
    tree.partial = true;
  else if (id == 0 && depth == TreeScanDepth::AllLevels)
    tree.partial = false;  // the whole drive read again
  (void)writeTreeCache(tree);
  return result;
}

int rescanKeepingSubtrees(DirectoryTree& tree, TreeNodeId id, bool& changed) {
  changed = false;
  const std::string path = nodePath(tree, id);
  std::vector<TreeNode> children;
  int result = TreeScanDone;
  if (!isLinkPath(path))
    result = scanDirectory(path, tree.nodes[id].level, TreeScanDepth::OneLevel, children);
  if (result == TreeScanFailed) return result;
  if (result == TreeScanCancelled) tree.partial = true;

  // The known children by exact name, with where their subtrees lie.
  const std::uint16_t childLevel = static_cast<std::uint16_t>(tree.nodes[id].level + 1);
  const TreeNodeId end = subtreeEnd(tree, id);
  std::unordered_map<std::string, std::pair<TreeNodeId, TreeNodeId>> known;
  for (TreeNodeId child = id + 1; child < end;) {
    const TreeNodeId next = subtreeEnd(tree, child);
    if (tree.nodes[child].level == childLevel)
      known.emplace(tree.nodes[child].name, std::pair{child, next});
    child = next;
  }

  std::vector<TreeNode> nodes;
  nodes.reserve(children.size());
  for (TreeNode& child : children) {
    const auto it = known.find(child.name);
    nodes.push_back(std::move(child));
    if (it == known.end()) continue;
    for (TreeNodeId i = it->second.first + 1; i < it->second.second; ++i)
      nodes.push_back(tree.nodes[i]);
  }
  changed = nodes.size() != end - id - 1;
  for (std::size_t i = 0; !changed && i < nodes.size(); ++i) {
    const TreeNode& old = tree.nodes[id + 1 + i];
    changed = old.level != nodes[i].level || old.name != nodes[i].name;
  }
  if (changed) replaceDescendants(tree, id, std::move(nodes));
  return result;
}

TreeNodeId rescanTowards(DirectoryTree& tree, std::string_view path) {
  TreeNodeId ancestor = findNearestAncestor(tree, path, TreeMatch::ExactOnly);
  bool written = false;
  while (ancestor != NoTreeNode && findNode(tree, path, TreeMatch::ExactOnly) == NoTreeNode) {
    bool changed = false;
    if (rescanKeepingSubtrees(tree, ancestor, changed) == TreeScanFailed) break;
    written = written || changed;
    const TreeNodeId deeper = findNearestAncestor(tree, path, TreeMatch::ExactOnly);
    if (deeper == ancestor) break;
    ancestor = deeper;
  }
  if (written) (void)writeTreeCache(tree);
  return findNearestAncestor(tree, path, TreeMatch::ExactOnly);
}

}  // namespace corvane
