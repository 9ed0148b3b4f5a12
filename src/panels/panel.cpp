#include "panels/panel.h"

namespace corvane {

namespace {

// The counter changes of taking one node out.
void discount(Panel& panel, FileNode& n) {
  --panel.fileCount;
  if (!n.entry.isDirectory()) panel.totalSize = takeSize(panel.totalSize, n.entry.size);
  if ((n.mark & MarkSelected) != 0) {
    --panel.selectedCount;
    panel.selectedSize = takeSize(panel.selectedSize, n.entry.size);
    n.mark &= ~MarkSelected;
  }
}

// The last node of a list turns into ".." instead of going.
void becomeParent(Panel& panel, FileNode& n) {
  n.entry = parentEntry();
  n.mark = 0;
  n.directory = NoDirectory;
  ++panel.fileCount;
}

}  // namespace

void countList(Panel& panel) {
  panel.fileCount = 0;
  panel.totalSize = 0;
  panel.selectedCount = 0;
  panel.selectedSize = 0;
  for (NodeId id : chain(panel.list)) {
    const FileNode& n = panel.list.nodes[id];
    ++panel.fileCount;
    if (!n.entry.isDirectory()) panel.totalSize = addSize(panel.totalSize, n.entry.size);
    if ((n.mark & MarkSelected) != 0) {
      ++panel.selectedCount;
      panel.selectedSize = addSize(panel.selectedSize, n.entry.size);
    }
  }
}

NodeId removeNode(Panel& panel, NodeId id) {
  FileList& list = panel.list;
  FileNode& n = list.nodes[id];
  discount(panel, n);
  if (list.length == 1) {
    becomeParent(panel, n);
    return id;
  }
  const NodeId replacement = n.next != NoNode ? n.next : n.prev;
  unlinkNode(list, id);
  releaseNode(list, id);
  if (panel.cursor == id) panel.cursor = replacement;
  if (panel.top == id) panel.top = replacement;
  return replacement;
}

int removeNodes(Panel& panel, const std::function<bool(const FileNode&)>& remove) {
  FileList& list = panel.list;
  int removed = 0;
  bool cursorGone = false;
  for (NodeId id = list.head; id != NoNode;) {
    FileNode& n = list.nodes[id];
    const NodeId next = n.next;
    if (remove(n)) {
      discount(panel, n);
      if (id == panel.cursor || id == panel.top) cursorGone = true;
      if (list.length == 1) {
        becomeParent(panel, n);
      } else {
        unlinkNode(list, id);
        releaseNode(list, id);
        ++removed;
      }
    }
    id = next;
  }
  if (cursorGone) {
    panel.cursor = panel.top = list.head;
    panel.cursorRow = 0;
  }
  return removed;
}

void freePanelList(Panel& panel) {
  freeList(panel.list);
  panel.cursor = panel.top = NoNode;
  panel.cursorRow = panel.cursorColumn = 0;
  panel.fileCount = panel.selectedCount = 0;
  panel.totalSize = panel.selectedSize = 0;
}

void linkPanels(Panel& first, Panel& second) {
  first.other = &second;
  second.other = &first;
  second.displayBits = first.displayBits;
}

void freePanel(Panel& panel) {
  freePanelList(panel);
  panel.treeState.reset();
  if (panel.other != nullptr && panel.other->other == &panel) panel.other->other = nullptr;
  panel.other = nullptr;
  panel.window = nullptr;
}

}  // namespace corvane
