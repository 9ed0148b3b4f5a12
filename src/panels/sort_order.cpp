#include "panels/sort_order.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "panels/name_fold.h"

namespace corvane {

namespace {

// What one kind of entries is ordered by, in this order of precedence.
struct KeyOrder {
  bool primaryDescending = false;     // size, date and time, or mark word: larger first
  bool extension = false;             // with an extension first, then by extension
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

// First eight bytes of a folded text, big-endian, zero-padded: comparing two of them orders
// texts by their beginnings (names hold no NUL byte).
std::uint64_t prefixOf(const char* text, std::size_t length) {
  std::uint64_t p = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    p <<= 8;
    if (i < length) p |= static_cast<unsigned char>(text[i]);
  }
  return p;
}

struct SortKey {
  std::uint64_t namePrefix = 0;
  std::uint64_t primary = 0;     // size, date and time, or mark word, by mode
  std::uint32_t nameOffset = 0;  // of the folded name in the table's text
  std::uint32_t nameLength = 0;
  std::uint32_t extensionStart = 0;  // within the name; nameLength when there is none
  NodeId id = NoNode;
  bool directory = false;

  bool hasExtension() const { return extensionStart < nameLength; }
};

// Sort keys with the folded names kept side by side in one block of text, so that a
// comparison is an integer compare and, on equal beginnings, one memcmp.
class KeyTable {
 public:
  explicit KeyTable(SortMode mode) : mode_(mode) {}

  void reserve(std::size_t entries, std::size_t textBytes) {
    keys.reserve(entries);
    text_.reserve(textBytes);
  }

  std::size_t add(const FileEntry& entry, std::uint32_t mark, NodeId id) {
    SortKey k;
    k.nameOffset = static_cast<std::uint32_t>(text_.size());
    k.nameLength = static_cast<std::uint32_t>(entry.name.size());
    appendFolded(text_, entry.name);
    k.namePrefix = prefixOf(text_.data() + k.nameOffset, k.nameLength);
    const std::size_t dot = entry.name.find('.');
    k.extensionStart = dot == std::string::npos ? k.nameLength : static_cast<std::uint32_t>(dot);
    k.directory = entry.isDirectory();
    switch (mode_) {
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
    keys.push_back(k);
    return keys.size() - 1;
  }

  // Drops the keys from index on (and their text).
  void truncate(std::size_t index) {
    if (index < keys.size()) text_.resize(keys[index].nameOffset);
    keys.resize(index);
  }

  // <0 when a sorts before b, 0 when they are equivalent, >0 when a sorts after b.
  int compare(const SortKey& a, const SortKey& b, const KeyOrder& order) const {
    if (order.primaryDescending && a.primary != b.primary) return a.primary > b.primary ? -1 : 1;
    if (order.extension) {
      if (a.hasExtension() != b.hasExtension()) return a.hasExtension() ? -1 : 1;
      if (a.hasExtension()) {
        const int c = compareText(a.nameOffset + a.extensionStart, a.nameLength - a.extensionStart,
                                  b.nameOffset + b.extensionStart, b.nameLength - b.extensionStart);
        if (c != 0) return c;
      } else if (!order.nameWithoutExtension) {
        return 0;
      }
    }
    if (!order.name) return 0;
    if (a.namePrefix != b.namePrefix) return a.namePrefix < b.namePrefix ? -1 : 1;
    return compareText(a.nameOffset, a.nameLength, b.nameOffset, b.nameLength);
  }

  // The insertion rule as one comparison over both kinds: directories first.
  int compareForInsertion(const SortKey& a, const SortKey& b) const {
    if (a.directory != b.directory) return a.directory ? -1 : 1;
    return compare(a, b, insertionOrder(mode_, a.directory));
  }

  std::vector<SortKey> keys;

 private:
  int compareText(std::uint32_t a, std::uint32_t aLength, std::uint32_t b,
                  std::uint32_t bLength) const {
    const int c = std::memcmp(text_.data() + a, text_.data() + b, std::min(aLength, bLength));
    if (c != 0) return c;
    return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
  }

  SortMode mode_;
  std::string text_;
};

// Keys for ids, in that order.
void addKeys(KeyTable& table, const FileList& list, const std::vector<NodeId>& ids) {
  std::size_t bytes = 0;
  for (NodeId id : ids) bytes += list.nodes[id].entry.name.size();
  table.reserve(table.keys.size() + ids.size(), bytes);
  for (NodeId id : ids) {
    const FileNode& n = list.nodes[id];
    table.add(n.entry, n.mark, id);
  }
}

// Merges one part of the list (old, in chain order, sorted or not) with new keys sorted by
// the part's order: each new key goes before the first old key that sorts after it, which
// is where inserting it by a walk from the start would put it. A later new key is not
// smaller, so its place is never before the place of the one before it.
void mergePart(const KeyTable& table, std::size_t begin, std::size_t end,
               const std::vector<SortKey>& fresh, const KeyOrder& order, std::vector<NodeId>& out) {
  const std::vector<SortKey>& old = table.keys;
  std::size_t j = 0;
  for (std::size_t i = begin; i < end; ++i) {
    while (j < fresh.size() && table.compare(old[i], fresh[j], order) > 0)
      out.push_back(fresh[j++].id);
    out.push_back(old[i].id);
  }
  while (j < fresh.size()) out.push_back(fresh[j++].id);
}

}  // namespace

bool insertsBefore(const FileEntry& x, const FileEntry& n, SortMode mode) {
  KeyTable table(mode);
  table.add(x, 0, 0);
  table.add(n, 0, 0);
  return table.compareForInsertion(table.keys[0], table.keys[1]) > 0;
}

bool resortsBefore(const FileNode& q, const FileNode& p, SortMode mode) {
  KeyTable table(mode);
  table.add(q.entry, q.mark, 0);
  table.add(p.entry, p.mark, 0);
  const SortKey& kq = table.keys[0];
  const SortKey& kp = table.keys[1];
  if (kq.directory != kp.directory) return kq.directory;
  return table.compare(kq, kp, resortOrder(mode)) < 0;
}

NodeId insertSorted(FileList& list, FileEntry entry, std::uint32_t mark, SortMode mode) {
  const bool directory = entry.isDirectory();
  const KeyOrder order = insertionOrder(mode, directory);
  KeyTable table(mode);
  table.add(entry, mark, NoNode);
  NodeId at = list.head;
  if (!directory)
    while (at != NoNode && list.nodes[at].entry.isDirectory()) at = list.nodes[at].next;
  while (at != NoNode) {
    const FileNode& x = list.nodes[at];
    if (x.entry.isDirectory() != directory) break;  // a directory stops at the first file
    table.truncate(1);
    table.add(x.entry, x.mark, at);
    if (table.compare(table.keys[1], table.keys[0], order) > 0) break;
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
      (!order.empty() && (list.nodes[order.back()].mark & MarkError) != 0) ? order.back() : NoNode;

  std::vector<NodeId> freshIds;
  freshIds.reserve(entries.size());
  for (PendingEntry& p : entries)
    freshIds.push_back(allocateNode(list, std::move(p.entry), p.mark));
  entries.clear();

  KeyTable table(mode);
  addKeys(table, list, order);
  const std::size_t oldCount = table.keys.size();
  std::size_t directoryEnd = 0;
  while (directoryEnd < oldCount && table.keys[directoryEnd].directory) ++directoryEnd;

  addKeys(table, list, freshIds);
  std::vector<SortKey> freshDirectories, freshFiles;
  for (std::size_t i = oldCount; i < table.keys.size(); ++i)
    (table.keys[i].directory ? freshDirectories : freshFiles).push_back(table.keys[i]);
  const KeyOrder directoryOrder = insertionOrder(mode, true);
  const KeyOrder fileOrder = insertionOrder(mode, false);
  std::stable_sort(
      freshDirectories.begin(), freshDirectories.end(),
      [&](const SortKey& a, const SortKey& b) { return table.compare(a, b, directoryOrder) < 0; });
  std::stable_sort(freshFiles.begin(), freshFiles.end(), [&](const SortKey& a, const SortKey& b) {
    return table.compare(a, b, fileOrder) < 0;
  });

  std::vector<NodeId> merged;
  merged.reserve(order.size() + freshIds.size());
  mergePart(table, 0, directoryEnd, freshDirectories, directoryOrder, merged);
  mergePart(table, directoryEnd, oldCount, freshFiles, fileOrder, merged);

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
  KeyTable table(mode);
  addKeys(table, list, order);
  std::stable_sort(
      table.keys.begin(), table.keys.end(),
      [&table](const SortKey& a, const SortKey& b) { return table.compareForInsertion(a, b) < 0; });
  std::vector<NodeId> sorted;
  sorted.reserve(table.keys.size());
  for (const SortKey& k : table.keys) sorted.push_back(k.id);
  renumberChain(list, sorted);
}

void resortList(FileList& list, SortMode mode) {
  const std::vector<NodeId> order = chainOrder(list);
  KeyTable table(mode);
  addKeys(table, list, order);
  const KeyOrder byKey = resortOrder(mode);
  std::stable_sort(table.keys.begin(), table.keys.end(), [&](const SortKey& a, const SortKey& b) {
    if (a.directory != b.directory) return a.directory;
    return table.compare(a, b, byKey) < 0;
  });

  struct Contents {
    FileEntry entry;
    std::uint32_t mark;
    DirectoryId directory;
  };
  std::vector<Contents> moved;
  moved.reserve(table.keys.size());
  for (const SortKey& k : table.keys) {
    FileNode& n = list.nodes[k.id];
    moved.push_back({std::move(n.entry), n.mark, n.directory});
  }
  for (std::size_t i = 0; i < order.size(); ++i) {
    FileNode& n = list.nodes[order[i]];
    n.entry = std::move(moved[i].entry);
    n.mark = moved[i].mark;
    n.directory = moved[i].directory;
  }
}

}  // namespace corvane
