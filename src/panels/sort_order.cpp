#include "panels/sort_order.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "panels/name_fold.h"

namespace corvane {

namespace {

// What one kind of entries is ordered by, in this order of precedence.
struct KeyOrder {
  bool primaryDescending = false;  // size, date and time, or mark word: larger first
  bool extension = false;          // with an extension first, then by extension
  bool nameWithoutExtension = false;  // names without extension among themselves by name
  bool name = false;
};

constexpr KeyOrder ByName{.name = true};
constexpr KeyOrder ByPrimaryThenName{.primaryDescending = true, .name = true};
constexpr KeyOrder Unordered{};

KeyOrder insertionOrder(SortMode mode, bool directory) {
  if (directory) return ByName;
  switch (mode) {
    case SortMode::Size:
    case SortMode::Date:
      return ByPrimaryThenName;
    case SortMode::Extension:
      return {.extension = true, .nameWithoutExtension = true, .name = true};
    case SortMode::Unsorted:
      return Unordered;
    case SortMode::Name:
    case SortMode::Mode:
      break;
  }
  return ByName;
}

KeyOrder resortOrder(SortMode mode) {
  switch (mode) {
    case SortMode::Size:
    case SortMode::Date:
    case SortMode::Mode:
      return ByPrimaryThenName;
    case SortMode::Extension:
      return {.extension = true, .nameWithoutExtension = false, .name = true};
    case SortMode::Unsorted:
      return Unordered;
    case SortMode::Name:
      break;
  }
  return ByName;
}

// First eight folded bytes, big-endian, zero-padded: comparing two of them orders names by
// their beginnings (names hold no NUL byte).
std::uint64_t foldedPrefix(std::string_view text) {
  std::uint64_t p = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    p <<= 8;
    if (i < text.size()) p |= foldByte(static_cast<unsigned char>(text[i]));
  }
  return p;
}

struct SortKey {
  std::uint64_t namePrefix = 0;
  std::uint64_t extensionPrefix = 0;
  std::uint64_t primary = 0;
  std::string_view name;
  std::string_view extension;
  NodeId id = NoNode;
  bool directory = false;
  bool hasExtension = false;
};

SortKey makeKey(const FileEntry& entry, std::uint32_t mark, SortMode mode, NodeId id) {
  SortKey k;
  k.name = entry.name;
  k.namePrefix = foldedPrefix(k.name);
  k.directory = entry.isDirectory();
  const std::size_t dot = k.name.find('.');
  k.hasExtension = dot != std::string_view::npos;
  if (k.hasExtension && mode == SortMode::Extension) {
    k.extension = k.name.substr(dot);
    k.extensionPrefix = foldedPrefix(k.extension);
  }
  switch (mode) {
    case SortMode::Size:
      k.primary = entry.size;
      break;
    case SortMode::Date:
      k.primary = (static_cast<std::uint64_t>(entry.date) << 16) | entry.time;
      break;
    case SortMode::Mode:
      k.primary = mark;
      break;
    default:
      break;
  }
  k.id = id;
  return k;
}

int compareText(std::uint64_t prefixA, std::string_view a, std::uint64_t prefixB,
                std::string_view b) {
  if (prefixA != prefixB) return prefixA < prefixB ? -1 : 1;
  return compareFolded(a, b);
}

// <0 when a sorts before b, 0 when they are equivalent, >0 when a sorts after b.
int compareKeys(const SortKey& a, const SortKey& b, const KeyOrder& order) {
  if (order.primaryDescending && a.primary != b.primary) return a.primary > b.primary ? -1 : 1;
  if (order.extension) {
    if (a.hasExtension != b.hasExtension) return a.hasExtension ? -1 : 1;
    if (a.hasExtension) {
      const int c = compareText(a.extensionPrefix, a.extension, b.extensionPrefix, b.extension);
      if (c != 0) return c;
    } else if (!order.nameWithoutExtension) {
      return 0;
    }
  }
  if (order.name) return compareText(a.namePrefix, a.name, b.namePrefix, b.name);
  return 0;
}

// The insertion rule as one comparison over both kinds: directories first.
int compareForInsertion(const SortKey& a, const SortKey& b, SortMode mode) {
  if (a.directory != b.directory) return a.directory ? -1 : 1;
  return compareKeys(a, b, insertionOrder(mode, a.directory));
}

std::vector<SortKey> keysOf(const FileList& list, const std::vector<NodeId>& ids,
                            SortMode mode) {
  std::vector<SortKey> keys;
  keys.reserve(ids.size());
  for (NodeId id : ids) {
    const FileNode& n = list.nodes[id];
    keys.push_back(makeKey(n.entry, n.mark, mode, id));
  }
  return keys;
}

// Merges one part of the list (old, in chain order, sorted or not) with new keys sorted by
// the part's order: each new key goes before the first old key that sorts after it, which
// is where inserting it by a walk from the start would put it. A later new key is not
// smaller, so its place is never before the place of the one before it.
void mergePart(const std::vector<SortKey>& old, std::size_t begin, std::size_t end,
               const std::vector<SortKey>& fresh, const KeyOrder& order,
               std::vector<NodeId>& out) {
  std::size_t j = 0;
  for (std::size_t i = begin; i < end; ++i) {
    while (j < fresh.size() && compareKeys(old[i], fresh[j], order) > 0)
      out.push_back(fresh[j++].id);
    out.push_back(old[i].id);
  }
  while (j < fresh.size()) out.push_back(fresh[j++].id);
}

}  // namespace

bool insertsBefore(const FileEntry& x, const FileEntry& n, SortMode mode) {
  const SortKey kx = makeKey(x, 0, mode, 0);
  const SortKey kn = makeKey(n, 0, mode, 0);
  return compareForInsertion(kx, kn, mode) > 0;
}

bool resortsBefore(const FileNode& q, const FileNode& p, SortMode mode) {
  const SortKey kq = makeKey(q.entry, q.mark, mode, 0);
  const SortKey kp = makeKey(p.entry, p.mark, mode, 0);
  if (kq.directory != kp.directory) return kq.directory;
  return compareKeys(kq, kp, resortOrder(mode)) < 0;
}

NodeId insertSorted(FileList& list, FileEntry entry, std::uint32_t mark, SortMode mode) {
  const bool directory = entry.isDirectory();
  const SortKey kn = makeKey(entry, mark, mode, NoNode);
  const KeyOrder order = insertionOrder(mode, directory);
  NodeId at = list.head;
  if (!directory)
    while (at != NoNode && list.nodes[at].entry.isDirectory()) at = list.nodes[at].next;
  while (at != NoNode) {
    const FileNode& x = list.nodes[at];
    if (x.entry.isDirectory() != directory) break;  // a directory stops at the first file
    if (compareKeys(makeKey(x.entry, x.mark, mode, at), kn, order) > 0) break;
    at = x.next;
  }
  if (at == NoNode && list.tail != NoNode && (list.nodes[list.tail].mark & MarkError) != 0) {
    FileNode& placeholder = list.nodes[list.tail];
    placeholder.entry = std::move(entry);
    placeholder.mark = mark;
    placeholder.directory = NoDirectory;
    return list.tail;
  }
  const NodeId id = allocateNode(list, std::move(entry), mark);
  linkBefore(list, id, at);
  return id;
}

void insertEntries(FileList& list, std::vector<PendingEntry> entries, SortMode mode) {
  if (entries.empty()) return;
  const std::vector<NodeId> order = chainOrder(list);
  const NodeId placeholder =
      (!order.empty() && (list.nodes[order.back()].mark & MarkError) != 0) ? order.back()
                                                                            : NoNode;

  std::vector<NodeId> freshIds;
  freshIds.reserve(entries.size());
  for (PendingEntry& p : entries) freshIds.push_back(allocateNode(list, std::move(p.entry), p.mark));
  entries.clear();

  const std::vector<SortKey> old = keysOf(list, order, mode);
  std::size_t directoryEnd = 0;
  while (directoryEnd < old.size() && old[directoryEnd].directory) ++directoryEnd;

  std::vector<SortKey> freshDirectories, freshFiles;
  for (NodeId id : freshIds) {
    const FileNode& n = list.nodes[id];
    (n.entry.isDirectory() ? freshDirectories : freshFiles)
        .push_back(makeKey(n.entry, n.mark, mode, id));
  }
  const KeyOrder directoryOrder = insertionOrder(mode, true);
  const KeyOrder fileOrder = insertionOrder(mode, false);
  std::stable_sort(freshDirectories.begin(), freshDirectories.end(),
                   [&](const SortKey& a, const SortKey& b) {
                     return compareKeys(a, b, directoryOrder) < 0;
                   });
  std::stable_sort(freshFiles.begin(), freshFiles.end(), [&](const SortKey& a, const SortKey& b) {
    return compareKeys(a, b, fileOrder) < 0;
  });

  std::vector<NodeId> merged;
  merged.reserve(order.size() + freshIds.size());
  mergePart(old, 0, directoryEnd, freshDirectories, directoryOrder, merged);
  mergePart(old, directoryEnd, old.size(), freshFiles, fileOrder, merged);

  // The first entry to land behind a placeholder tail takes its place.
  if (placeholder != NoNode && merged.back() != placeholder) {
    merged.erase(std::find(merged.begin(), merged.end(), placeholder));
    relinkChain(list, merged);
    releaseNode(list, placeholder);
    return;
  }
  relinkChain(list, merged);
}

void sortList(FileList& list, SortMode mode) {
  const std::vector<NodeId> order = chainOrder(list);
  std::vector<SortKey> keys = keysOf(list, order, mode);
  std::stable_sort(keys.begin(), keys.end(), [mode](const SortKey& a, const SortKey& b) {
    return compareForInsertion(a, b, mode) < 0;
  });
  std::vector<NodeId> sorted;
  sorted.reserve(keys.size());
  for (const SortKey& k : keys) sorted.push_back(k.id);
  relinkChain(list, sorted);
}

void resortList(FileList& list, SortMode mode) {
  const std::vector<NodeId> order = chainOrder(list);
  std::vector<SortKey> keys = keysOf(list, order, mode);
  const KeyOrder byKey = resortOrder(mode);
  std::stable_sort(keys.begin(), keys.end(), [&byKey](const SortKey& a, const SortKey& b) {
    if (a.directory != b.directory) return a.directory;
    return compareKeys(a, b, byKey) < 0;
  });

  struct Contents {
    FileEntry entry;
    std::uint32_t mark;
    DirectoryId directory;
  };
  std::vector<Contents> moved;
  moved.reserve(keys.size());
  for (const SortKey& k : keys) {
    FileNode& n = list.nodes[k.id];
    moved.push_back({std::move(n.entry), n.mark, n.directory});
  }
  keys.clear();  // its views into the names are gone with the move
  for (std::size_t i = 0; i < order.size(); ++i) {
    FileNode& n = list.nodes[order[i]];
    n.entry = std::move(moved[i].entry);
    n.mark = moved[i].mark;
    n.directory = moved[i].directory;
  }
}

}  // namespace corvane
