// A file panel: its list, the counters over it, the volume it lies on, its display state and
// its paths. The list operations that must keep the counters right take the panel.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "panels/file_list.h"

namespace corvane {

struct ScreenWindow;  // drawn into by the panel display; owned there

enum ScreenLayout : int {
  LayoutSingleList = 0,
  LayoutListAndTree = 1,
  LayoutListAndTreeXtree = 2,  // layout 1 while the XTREE keyboard layout is active
  LayoutTwoLists = 3,
};

// Display bits: the DisplayMode in the low three bits, the global-list flag in bit 7.
enum DisplayBits : int {
  DisplayShort = 1,
  DisplayLongAttributes = 2,
  DisplayLongPlain = 4,
  DisplayModeBits = 7,
  DisplayGlobalList = 0x80,
};

enum FileSystemClass : int {
  FileSystemShortNames = 1,
  FileSystemLongNames = 6,
};

struct VolumeInfo {
  std::uint64_t totalClusters = 0;
  std::uint64_t freeClusters = 0;
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  int fileSystemClass = FileSystemShortNames;
  std::string volumeName;
};

struct Panel {
  Panel* other = nullptr;  // the partner in the two-list layout
  ScreenLayout layout = LayoutSingleList;
  ScreenWindow* window = nullptr;
  std::shared_ptr<void> treeState;  // the directory-tree data, owned by the tree code

  FileList list;
  NodeId cursor = NoNode;
  NodeId top = NoNode;  // shown in the first row
  int cursorRow = 0;
  int cursorColumn = 0;

  int selectedCount = 0;
  std::uint64_t selectedSize = 0;
  int fileCount = 0;            // nodes in the list, directories included
  std::uint64_t totalSize = 0;  // sizes of the non-directory entries

  VolumeInfo volume;
  int nameCase = 0;  // 0: names are lower-cased when read; non-zero: kept as given
  int displayBits = DisplayLongAttributes;
  int infoFlag = 0;  // bit 0: the information panel is open over this panel

  std::string currentDirectory;  // absolute program path with drive letter
  std::string mask = "*.*";
  std::string sparePath;
  int archiveType = 0;  // 0 for a directory on disk
};

inline bool isGlobalList(const Panel& panel) {
  return (panel.displayBits & DisplayGlobalList) != 0;
}

// Byte sums of a panel stop at the largest value instead of wrapping (archives can declare
// any size); taking away from a stopped sum keeps it at least 0.
inline std::uint64_t addSize(std::uint64_t sum, std::uint64_t size) {
  return size > UINT64_MAX - sum ? UINT64_MAX : sum + size;
}
inline std::uint64_t takeSize(std::uint64_t sum, std::uint64_t size) {
  return size > sum ? 0 : sum - size;
}

// Recomputes file count and total size over all nodes and selected count and selected size
// over the nodes with MarkSelected.
void countList(Panel& panel);

// Takes a node out of the list, keeping the counters, and returns the node now in its place
// (the next one, or the previous one at the end). The only node of a list is kept: it
// becomes the directory ".." with mark 0 and is returned.
NodeId removeNode(Panel& panel, NodeId id);
// Removes every node for which remove(node) holds, in one pass, with the counters kept as
// removeNode keeps them. When every node goes, the last of them stays as "..". The cursor
// and top move to the head when their nodes went. Returns the number removed.
int removeNodes(Panel& panel, const std::function<bool(const FileNode&)>& remove);

// Frees the list and resets the counters, cursor and top.
void freePanelList(Panel& panel);
// Links two panels of the two-list layout to each other; the second takes over the first's
// display bits.
void linkPanels(Panel& first, Panel& second);
// Releases a panel's list and tree state and unlinks it from its partner.
void freePanel(Panel& panel);

}  // namespace corvane
