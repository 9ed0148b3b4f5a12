// The tree walk on Windows: each directory listed whole through its handle before any of its
// entries is visited. Reparse points (symbolic links, junctions, mounted volumes) are
// entries, never entered, so the walk meets no cycle and stays on the start's volume below it.
#include "platform/tree_walk.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/win32/win_entry.h"

namespace corvane {
namespace {

struct ListedEntry {
  WIN32_FIND_DATAW data;
  std::string name;
  std::uint64_t fileIndex = 0;
  bool directory = false;
  bool link = false;
};

// The entries of a directory but "." and ".."; the host's error when it cannot be listed.
int listDirectory(const std::string& path, std::vector<ListedEntry>& entries) {
  entries.clear();
  DirectoryReader reader;
  if (const int error = reader.open(toHostPath(path)); error != 0) return error;
  WIN32_FIND_DATAW data;
  std::uint64_t fileIndex = 0;
  while (reader.next(data, fileIndex)) {
    std::string name = utf8Of(data.cFileName);
    if (name == "." || name == "..") continue;
    ListedEntry listed{data, std::move(name), fileIndex, false, false};
    listed.link = isLinkEntry(data.dwFileAttributes, data.dwReserved0);
    listed.directory = !listed.link && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A link's index is its own while a record describes what it points to, and a walk opens
    // no entry: the path stands for it.
    if (listed.link) listed.fileIndex = 0;
    entries.push_back(std::move(listed));
  }
  return reader.error();
}

// What details() shapes an entry's find record from: its listing and its directory.
struct ListedRef {
  const ListedEntry* listed = nullptr;
  const std::string* directory = nullptr;
  std::uint64_t volume = 0;
};

}  // namespace

struct TreeWalker {
  TreeWalkVisitor& visitor;
  const TreeWalkOptions& options;
  std::uint64_t volume = 0;

  int walk(const std::string& path, int depth) {
    std::vector<ListedEntry> entries;
    const int listError = listDirectory(path, entries);
    if (options.order == TreeWalkOrder::FilesFirst)
      std::stable_partition(entries.begin(), entries.end(),
                            [](const ListedEntry& e) { return !e.directory; });
    TreeWalkEntry entry;
    entry.depth_ = depth;
    ListedRef ref{nullptr, &path, volume};
    entry.listed_ = &ref;
    const std::size_t pathLength = path.size() + (path.ends_with('\\') ? 0 : 1);
    for (const ListedEntry& listed : entries) {
      // The path and the find record are made only when the visitor asks for them.
      entry.parent_ = &path;
      entry.name_ = listed.name;
      entry.hostName_ = listed.name.c_str();
      ref.listed = &listed;
      entry.directory_ = listed.directory;
      entry.link_ = listed.link;
      entry.looked_ = false;
      if (pathLength + listed.name.size() > MaxPath) {
        if (visitor.failed(entry.path(), fileFailure(ENAMETOOLONG)) == TreeWalkStop)
          return TreeWalkStop;
        continue;
      }
      int answer = visitor.visit(entry);
      if (answer == TreeWalkStop) return TreeWalkStop;
      if (entry.directory_ && answer == TreeWalkContinue) {
        if (pathLength + listed.name.size() + 2 > MaxPath) {
          if (visitor.failed(entry.path(), fileFailure(ENAMETOOLONG)) == TreeWalkStop)
            return TreeWalkStop;
        } else {
          const std::string below = entry.path();
          answer = walk(below, depth + 1);
          if (answer == TreeWalkStop) return TreeWalkStop;
          entry.path_ = below;
          entry.parent_ = nullptr;
          entry.name_ = listed.name;
          entry.hostName_ = listed.name.c_str();
          ref.listed = &listed;
          entry.directory_ = true;
          entry.link_ = false;
          entry.looked_ = false;
          if (visitor.leaveDirectory(entry) == TreeWalkStop) return TreeWalkStop;
        }
      }
      if (visitor.cancelled()) return TreeWalkStop;
    }
    if (listError != 0 && visitor.failed(path, fileFailure(listError)) == TreeWalkStop)
      return TreeWalkStop;
    return TreeWalkContinue;
  }
};

// The listing already holds all a find record needs: it is shaped on the first call.
const FindRecord* TreeWalkEntry::details() {
  if (!looked_) {
    looked_ = true;
    const ListedRef& ref = *static_cast<const ListedRef*>(listed_);
    record_ = FindRecord();
    shapeFindRecord(ref.listed->data, ref.listed->name, record_);
    giveListedIdentity(*ref.directory, ref.volume, ref.listed->fileIndex, record_);
    reachable_ = true;
  }
  return reachable_ ? &record_ : nullptr;
}

FileResult TreeWalkEntry::remove() {
  if (directory_) return fileFailure(EISDIR);
  const std::wstring wide = hostWidePath(path());
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return fileFailure(lastErrno());
  if (!link_ && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return fileFailure(EACCES);
  const bool removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? RemoveDirectoryW(wide.c_str())
                                                                    : DeleteFileW(wide.c_str());
  return removed ? fileSuccess() : fileFailure(lastErrno());
}

int walkDirectoryTree(std::string_view startPath, TreeWalkVisitor& visitor,
                      const TreeWalkOptions& options) {
  const std::string start = withoutTrailingBackslash(fullPath(startPath));
  const DWORD attributes = start.empty() ? INVALID_FILE_ATTRIBUTES
                                         : GetFileAttributesW(hostWidePath(start).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    const FileResult reason = fileFailure(attributes == INVALID_FILE_ATTRIBUTES ? ENOENT : ENOTDIR);
    return visitor.failed(start.empty() ? startPath : start, reason) == TreeWalkStop
               ? TreeWalkStop
               : TreeWalkContinue;
  }
  TreeWalker walker{visitor, options, volumeSerialOf(toHostPath(start))};
  return walker.walk(start, 1);
}

}  // namespace corvane
