#include "panels/file_list.h"

#include <utility>

#include "panels/name_fold.h"

namespace corvane {

namespace {

// A released slot is recognisable by pointing at itself both ways.
bool isReleased(const FileNode& n, NodeId id) { return n.next == id && n.prev == id; }

}  // namespace

bool isLiveNode(const FileList& list, NodeId id) {
  if (id >= list.nodes.size()) return false;
  const FileNode& n = list.nodes[id];
  if (isReleased(n, id)) return false;
  return n.prev != NoNode || list.head == id;
}

std::vector<NodeId> chainOrder(const FileList& list) {
  std::vector<NodeId> order;
  order.reserve(list.length);
  for (NodeId id : chain(list)) order.push_back(id);
  return order;
}

NodeId allocateNode(FileList& list, FileEntry entry, std::uint32_t mark) {
  NodeId id;
  if (!list.freeSlots.empty()) {
    id = list.freeSlots.back();
    list.freeSlots.pop_back();
    list.nodes[id] = FileNode{};
  } else {
    id = static_cast<NodeId>(list.nodes.size());
    list.nodes.emplace_back();
  }
  FileNode& n = list.nodes[id];
  n.entry = std::move(entry);
  n.mark = mark;
  return id;
}

void linkBefore(FileList& list, NodeId id, NodeId before) {
  FileNode& n = list.nodes[id];
  if (before == NoNode) {
    n.prev = list.tail;
    n.next = NoNode;
    if (list.tail != NoNode)
      list.nodes[list.tail].next = id;
    else
      list.head = id;
    list.tail = id;
  } else {
    FileNode& b = list.nodes[before];
    n.prev = b.prev;
    n.next = before;
    if (b.prev != NoNode)
      list.nodes[b.prev].next = id;
    else
      list.head = id;
    b.prev = id;
  }
  ++list.length;
}

void unlinkNode(FileList& list, NodeId id) {
  FileNode& n = list.nodes[id];
  if (n.prev != NoNode)
    list.nodes[n.prev].next = n.next;
  else
    list.head = n.next;
  if (n.next != NoNode)
    list.nodes[n.next].prev = n.prev;
  else
    list.tail = n.prev;
  n.next = n.prev = NoNode;
  --list.length;
}

void releaseNode(FileList& list, NodeId id) {
  FileNode& n = list.nodes[id];
  n = FileNode{};
  n.next = n.prev = id;
  list.freeSlots.push_back(id);
}

void relinkChain(FileList& list, const std::vector<NodeId>& order) {
  NodeId prev = NoNode;
  for (NodeId id : order) {
    list.nodes[id].prev = prev;
    if (prev != NoNode) list.nodes[prev].next = id;
    prev = id;
  }
  if (prev != NoNode) list.nodes[prev].next = NoNode;
  list.head = order.empty() ? NoNode : order.front();
  list.tail = prev;
  list.length = static_cast<std::uint32_t>(order.size());
}

void renumberChain(FileList& list, const std::vector<NodeId>& order) {
  std::vector<FileNode> pool;
  pool.reserve(order.size());
  for (NodeId id : order) pool.push_back(std::move(list.nodes[id]));
  const auto count = static_cast<NodeId>(pool.size());
  for (NodeId i = 0; i < count; ++i) {
    pool[i].prev = i == 0 ? NoNode : i - 1;
    pool[i].next = i + 1 == count ? NoNode : i + 1;
  }
  list.nodes = std::move(pool);
  list.freeSlots.clear();
  list.head = count == 0 ? NoNode : 0;
  list.tail = count == 0 ? NoNode : count - 1;
  list.length = count;
}

void freeList(FileList& list) {
  list.nodes.clear();
  list.nodes.shrink_to_fit();
  list.freeSlots.clear();
  list.freeSlots.shrink_to_fit();
  list.directories.clear();
  list.directories.shrink_to_fit();
  list.head = list.tail = NoNode;
  list.length = 0;
}

void clearMarks(FileList& list) {
  for (NodeId id : chain(list)) list.nodes[id].mark = 0;
}

FileEntry parentEntry() {
  FileEntry e;
  e.name = "..";
  e.attributes = AttrDirectory;
  return e;
}

bool isParentEntry(const FileEntry& entry) { return entry.name == ".."; }

int nodeIndex(const FileList& list, NodeId id) {
  int index = 0;
  for (NodeId n : chain(list)) {
    if (n == id) return index;
    ++index;
  }
  return -1;
}

NodeId nodeAtIndex(const FileList& list, int index) {
  if (index < 0) return NoNode;
  NodeId id = list.head;
  while (id != NoNode && index-- > 0) id = list.nodes[id].next;
  return id;
}

NodeId nearestUnselected(const FileList& list, NodeId from) {
  if (from == NoNode) from = list.head;
  for (NodeId id = from; id != NoNode; id = list.nodes[id].next)
    if ((list.nodes[id].mark & MarkSelected) == 0) return id;
  if (from == NoNode) return NoNode;
  for (NodeId id = list.nodes[from].prev; id != NoNode; id = list.nodes[id].prev)
    if ((list.nodes[id].mark & MarkSelected) == 0) return id;
  return NoNode;
}

NodeId findNodeByName(const FileList& list, std::string_view name) {
  NodeId folded = NoNode;
  for (NodeId id : chain(list)) {
    const std::string& n = list.nodes[id].entry.name;
    if (n == name) return id;
    if (folded == NoNode && equalFolded(n, name)) folded = id;
  }
  return folded;
}

}  // namespace corvane
