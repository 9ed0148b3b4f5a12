// Small builders for file-list tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "panels/file_list.h"
#include "panels/panel.h"

namespace corvane::testing {

inline FileEntry fileEntry(std::string_view name, std::uint64_t size = 0, std::uint16_t date = 0,
                           std::uint16_t time = 0) {
  FileEntry e;
  e.name = std::string(name);
  e.size = size;
  e.date = date;
  e.time = time;
  e.attributes = AttrArchive;
  return e;
}

inline FileEntry directoryEntry(std::string_view name) {
  FileEntry e;
  e.name = std::string(name);
  e.attributes = AttrDirectory;
  return e;
}

// Appends in the given order, without sorting.
inline NodeId append(FileList& list, FileEntry entry, std::uint32_t mark = 0) {
  const NodeId id = allocateNode(list, std::move(entry), mark);
  linkBefore(list, id, NoNode);
  return id;
}

// Names in chain order, joined with spaces.
inline std::string names(const FileList& list) {
  std::string out;
  for (NodeId id : chain(list)) {
    if (!out.empty()) out += ' ';
    out += list.nodes[id].entry.name;
  }
  return out;
}

// The chain read backwards must mirror it; length must match.
inline bool chainConsistent(const FileList& list) {
  std::vector<NodeId> forward = chainOrder(list);
  if (forward.size() != list.length) return false;
  std::vector<NodeId> backward;
  for (NodeId id = list.tail; id != NoNode; id = list.nodes[id].prev) backward.push_back(id);
  if (backward.size() != forward.size()) return false;
  for (std::size_t i = 0; i < forward.size(); ++i)
    if (forward[i] != backward[backward.size() - 1 - i]) return false;
  return true;
}

}  // namespace corvane::testing
