// The tree cache file over any bytes: decoding never fails badly; what it accepts is a tree
// (the root of the drive first, every level at most one deeper than the one before) that
// encodes to bytes decoding to the same nodes; the file read through the cache reader gives
// the same verdict, and every node it loads is found again by its path.
#include "tree/tree_cache.h"

#include <string>
#include <vector>

#include "config/config_state.h"
#include "fuzz_support.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "tree/tree_model.h"

namespace {

bool sameNodes(const std::vector<corvane::TreeNode>& a, const std::vector<corvane::TreeNode>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || a[i].level != b[i].level) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const std::string_view bytes = fuzz::asText(data, size);

  std::vector<TreeNode> nodes;
  const bool valid = decodeTreeCache(bytes, 'T', nodes);
  if (valid) {
    FUZZ_CHECK(nodes.front().level == 0 && nodes.front().name == "T:\\", bytes);
    for (std::size_t i = 1; i < nodes.size(); ++i)
      FUZZ_CHECK(nodes[i].level >= 1 && nodes[i].level <= nodes[i - 1].level + 1, bytes);
    DirectoryTree tree;
    tree.drive = 'T';
    tree.nodes = nodes;
    finishTree(tree);
    std::vector<TreeNode> again;
    FUZZ_CHECK(decodeTreeCache(encodeTreeCache(tree), 'T', again), bytes);
    FUZZ_CHECK(sameNodes(again, nodes), bytes);
  }

  configState().loadedPath = fuzz::scratchProgramPath("corvane.SET");
  (void)makeDirectory(fuzz::scratchProgramPath("CS.TRE"));
  fuzz::writeScratchFile("CS.TRE/CS_T.TRE", bytes);
  fuzz::writeScratchFile("CS.TRE/CS_T.MAP", driveHostRoot('T') + "\n");
  DirectoryTree loaded;
  const bool read = readTreeCache('T', loaded) == 0;
  FUZZ_CHECK(read == valid, bytes);
  if (read) {
    FUZZ_CHECK(sameNodes(loaded.nodes, nodes), bytes);
    for (TreeNodeId id = 0; id < loaded.nodes.size(); ++id) {
      const std::string path = nodePath(loaded, id);
      const TreeNodeId found = findNode(loaded, path);
      FUZZ_CHECK(found != NoTreeNode && nodePath(loaded, found) == path, path);
      FUZZ_CHECK(loaded.nodes[id].lines.size() == (id == 0 ? 1u : 2u * loaded.nodes[id].level + 2),
                 path);
    }
  }
  return 0;
}
