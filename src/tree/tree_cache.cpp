#include "tree/tree_cache.h"

#include <cstdint>
#include <cstdio>
#include <unordered_set>

#include "config/setup_file.h"
#include "config/setup_path.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/replace_file.h"
#include "platform/textf.h"
#include "tree/tree_state.h"
#include "tree/tree_texts.h"
#include "ui/file_failure.h"

namespace corvane {
namespace {

constexpr std::size_t RecordHeaderBytes = 4;
// A cache beyond this size is not one this program wrote (about ten million directories).
constexpr std::size_t MaxCacheBytes = std::size_t{256} << 20;

std::uint16_t readWord(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

void appendWord(std::string& out, std::size_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

std::string rootName(char drive) { return std::string(1, drive) + ":\\"; }

// The whole content of a regular file, at most limit bytes; false when it cannot be read
// or is larger.
bool readWholeFile(std::string_view path, std::size_t limit, std::string& content) {
  FileHandle file;
  if (!openRegularFile(path, file)) return false;
  content.clear();
  char buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    content.append(buffer, got);
    if (content.size() > limit) return false;
    if (got < sizeof buffer) return std::ferror(file.get()) == 0;
  }
}

std::string mapContent(char drive) { return driveHostRoot(drive) + "\n"; }

FileResult replaceReporting(const std::string& path, std::string_view content) {
  const FileResult written = replaceFile(path, content);
  if (written) {
    treeFolderState().failedCacheWrites.erase(path);
  } else if (treeFolderState().failedCacheWrites.insert(path).second) {
    reportFileFailure(FormatTreeFileOpenError, path, written, 0);
  }
  return written;
}

}  // namespace

std::string treeCachePath(char drive) {
  const std::string& setupPath = loadedSetupPath();
  if (setupPath.empty() || drive == 0) return {};
  return joinPath(besideSetup(setupPath, TreeCacheDirectoryName),
                  textf(FormatTreeCacheName, drive));
}

std::string treeMapPath(char drive) {
  const std::string& setupPath = loadedSetupPath();
  if (setupPath.empty() || drive == 0) return {};
  return joinPath(besideSetup(setupPath, TreeCacheDirectoryName), textf(FormatTreeMapName, drive));
}

std::string encodeTreeCache(const DirectoryTree& tree) {
  std::string out;
  out.reserve(tree.nodes.size() * 16);
  for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
    const TreeNode& n = tree.nodes[i];
    const std::string name = i == 0 ? rootName(tree.drive) : hostNameOfProgramName(n.name);
    appendWord(out, name.size() + 1);
    appendWord(out, n.level);
    out += name;
    out += '\0';
  }
  return out;
}

bool decodeTreeCache(std::string_view bytes, char drive, std::vector<TreeNode>& nodes) {
  nodes.clear();
  // The length of each level's path so far, to refuse paths no scan could have made, and
  // the names of the siblings met so far at each level (two of one name: not a directory's).
  std::vector<std::size_t> pathLength;
  std::vector<std::unordered_set<std::string_view>> siblings;
  std::size_t deepestNamed = 0;
  std::size_t at = 0;
  int previousLevel = -1;
  while (at < bytes.size()) {
    if (bytes.size() - at < RecordHeaderBytes) return false;
    const std::size_t length = readWord(bytes, at);
    const int level = readWord(bytes, at + 2);
    at += RecordHeaderBytes;
    if (length < 2 || length > TreeCacheMaxNameLength || bytes.size() - at < length) return false;
    const std::string_view name = bytes.substr(at, length - 1);
    if (bytes[at + length - 1] != '\0' || name.find('\0') != std::string_view::npos) return false;
    at += length;
    TreeNode node;
    node.level = static_cast<std::uint16_t>(level);
    if (previousLevel < 0) {
      if (level != 0 || name != rootName(drive)) return false;
      node.name = std::string(name);
      pathLength.assign(1, name.size());
    } else {
      if (level < 1 || level > previousLevel + 1 || level > TreeMaxLevel) return false;
      if (name.front() == '.' || name.find('/') != std::string_view::npos) return false;
      // Going up closes the directories below: their names are forgotten.
      const auto index = static_cast<std::size_t>(level);
      if (siblings.size() <= index) siblings.resize(index + 1);
      for (std::size_t deeper = index + 1; deeper <= deepestNamed; ++deeper)
        siblings[deeper].clear();
      deepestNamed = index;
      if (!siblings[index].insert(name).second) return false;
      node.name = programNameOfHostName(name);
      // The root ends in its backslash; every further name adds one.
      const std::size_t length =
          pathLength[static_cast<std::size_t>(level - 1)] + (level > 1 ? 1 : 0) + node.name.size();
      if (length > MaxPath) return false;
      pathLength.resize(static_cast<std::size_t>(level) + 1);
      pathLength[static_cast<std::size_t>(level)] = length;
    }
    previousLevel = level;
    nodes.push_back(std::move(node));
  }
  return !nodes.empty();
}

int readTreeCache(char drive, DirectoryTree& tree) {
  const std::string path = treeCachePath(drive);
  if (path.empty()) return 1;
  std::string map;
  if (!readWholeFile(treeMapPath(drive), MaxPath * 4, map) || map != mapContent(drive)) return 1;
  std::string bytes;
  std::vector<TreeNode> nodes;
  if (!readWholeFile(path, MaxCacheBytes, bytes) || !decodeTreeCache(bytes, drive, nodes)) return 1;
  tree.drive = drive;
  tree.partial = false;
  tree.nodes = std::move(nodes);
  finishTree(tree);
  return 0;
}

FileResult writeTreeCache(const DirectoryTree& tree) {
  const std::string path = treeCachePath(tree.drive);
  if (path.empty() || tree.nodes.empty() || tree.partial) return fileSuccess();
  // The map is written after the cache: a map for the new directory never stands beside a
  // cache of the old one.
  const FileResult cache = replaceReporting(path, encodeTreeCache(tree));
  if (!cache) return cache;
  return replaceReporting(treeMapPath(tree.drive), mapContent(tree.drive));
}

}  // namespace corvane
