// The file list of a panel: entries held in a pool of nodes, chained in display order
// (directories first). Node ids stay valid until their node is removed; navigation along the
// chain (head, next, previous, tail) is O(1).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/find.h"

namespace corvane {

// One listed name. Time and date are the packed local DOS words of the find record.
struct FileEntry {
  std::string name;
  std::uint64_t size = 0;
  std::uint16_t time = 0;  // bits 0-4 seconds / 2, 5-10 minutes, 11-15 hours
  std::uint16_t date = 0;  // bits 0-4 day, 5-8 month, 9-15 years since 1980
  std::uint8_t attributes = 0;

  // Attribute bit 0x10 alone decides.
  bool isDirectory() const { return (attributes & AttrDirectory) != 0; }
};

// Bits of a node's mark word.
inline constexpr std::uint32_t MarkSelected = 0x0001;
inline constexpr std::uint32_t MarkError = 0x0080;  // placeholder for an unlisted directory
// Compare marks, set by the directory compare.
inline constexpr std::uint32_t MarkCompareOlder = 0x0100;
inline constexpr std::uint32_t MarkCompareNewer = 0x0200;
inline constexpr std::uint32_t MarkCompareMissing = 0x0400;
inline constexpr std::uint32_t MarkCompareNotLarger = 0x0800;
inline constexpr std::uint32_t MarkCompareLarger = 0x1000;
inline constexpr std::uint32_t MarkCompareDiffer = 0x8000;
inline constexpr std::uint32_t MarkCompareBits = 0x9F00;
// A directory whose size field holds its computed size.
inline constexpr std::uint32_t MarkSizeComputed = 0x2000;
// Only while a directory is re-read in place.
inline constexpr std::uint32_t MarkNotSeen = 0x4000;

using NodeId = std::uint32_t;
inline constexpr NodeId NoNode = 0xFFFFFFFFu;
using DirectoryId = std::uint32_t;
inline constexpr DirectoryId NoDirectory = 0xFFFFFFFFu;

struct FileNode {
  FileEntry entry;
  std::uint32_t mark = 0;
  NodeId next = NoNode;
  NodeId prev = NoNode;
  DirectoryId directory = NoDirectory;  // global list: where the file was found
};

// A directory visited while building a global list. The first one (id 0) holds the full
// start path; the others hold one name component below their parent.
struct DirectoryNode {
  DirectoryId parent = NoDirectory;
  DirectoryId firstChild = NoDirectory;
  DirectoryId nextSibling = NoDirectory;
  std::uint16_t depth = 0;
  std::string name;
};

struct FileList {
  std::vector<FileNode> nodes;  // pool indexed by NodeId; freed slots wait in freeSlots
  std::vector<NodeId> freeSlots;
  NodeId head = NoNode;
  NodeId tail = NoNode;
  std::uint32_t length = 0;                // nodes in the chain
  std::vector<DirectoryNode> directories;  // global list only
};

inline FileNode& node(FileList& list, NodeId id) { return list.nodes[id]; }
inline const FileNode& node(const FileList& list, NodeId id) { return list.nodes[id]; }
inline NodeId nextNode(const FileList& list, NodeId id) { return list.nodes[id].next; }
inline NodeId previousNode(const FileList& list, NodeId id) { return list.nodes[id].prev; }
// Whether id names a node of the chain (not a freed slot).
bool isLiveNode(const FileList& list, NodeId id);

// Iteration in display order: for (NodeId id : chain(list)) ...
class ChainRange {
 public:
  class Iterator {
   public:
    Iterator(const FileList* list, NodeId id) : list_(list), id_(id) {}
    NodeId operator*() const { return id_; }
    Iterator& operator++() {
      id_ = list_->nodes[id_].next;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return id_ != other.id_; }

   private:
    const FileList* list_;
    NodeId id_;
  };
  explicit ChainRange(const FileList& list) : list_(&list) {}
  Iterator begin() const { return {list_, list_->head}; }
  Iterator end() const { return {list_, NoNode}; }

 private:
  const FileList* list_;
};
inline ChainRange chain(const FileList& list) { return ChainRange(list); }

// The ids of the chain in display order.
std::vector<NodeId> chainOrder(const FileList& list);

// Low-level chain operations (no counters; the panel operations keep those).
// A new unlinked node holding entry, with the given mark.
NodeId allocateNode(FileList& list, FileEntry entry, std::uint32_t mark = 0);
// Links an unlinked node before `before` (NoNode appends at the tail).
void linkBefore(FileList& list, NodeId id, NodeId before);
// Takes a node out of the chain; the slot stays allocated.
void unlinkNode(FileList& list, NodeId id);
// Gives an unlinked node's slot back to the pool.
void releaseNode(FileList& list, NodeId id);
// Rebuilds the chain from ids in the given order (every id must be allocated, each once).
void relinkChain(FileList& list, const std::vector<NodeId>& order);
// Rebuilds the pool with the nodes of order (each once) as ids 0, 1, 2 ... in that order,
// so that walking the chain walks memory in sequence. Every id held before is void.
void renumberChain(FileList& list, const std::vector<NodeId>& order);

// Frees every node, entry and directory node; the list is empty afterwards.
void freeList(FileList& list);
// Sets the mark word of every node to 0.
void clearMarks(FileList& list);

// The entry ".." that stands in for an empty or unreadable directory.
FileEntry parentEntry();
bool isParentEntry(const FileEntry& entry);

// Position helpers.
// Index counted from the head, -1 when the node is not in the chain. O(index).
int nodeIndex(const FileList& list, NodeId id);
// The node at an index (NoNode beyond the end). O(index).
NodeId nodeAtIndex(const FileList& list, int index);
// The nearest node without MarkSelected: from `from` towards the tail, then towards the
// head. NoNode when every node is selected.
NodeId nearestUnselected(const FileList& list, NodeId from);
// The first node whose name equals name without regard to case (an exact spelling wins
// over a case-folded one when both exist). NoNode when there is none.
NodeId findNodeByName(const FileList& list, std::string_view name);

}  // namespace corvane
