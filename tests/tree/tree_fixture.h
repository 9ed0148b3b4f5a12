// A headless console, a temporary tree mapped as drive T: (current) and a setup directory
// mapped as S: holding CS.TRE, so that caches are written where the test can read them.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "config/config_state.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"
#include "support/temp_tree.h"
#include "tree/tree_model.h"
#include "tree/tree_state.h"
#include "ui/ui_state.h"

namespace corvane::testing {

class TreeDriveTest : public HeadlessTest {
 protected:
  TreeDriveTest() {
    resetKeyReader();
    resetUiState();
    resetConfigState();
    resetTreeFolderState();
    setup_.makeDir("CS.TRE");
    initDriveMap(("T=" + disk_.root() + ";S=" + setup_.root()).c_str());
    setCurrentDrive('T');
    configState().loadedPath = "S:\\corvane.SET";
  }
  ~TreeDriveTest() override {
    resetTreeFolderState();
    resetConfigState();
    resetUiState();
    initDriveMap(nullptr);
  }

  std::string cacheBytes(char drive = 'T') const {
    return setup_.readFile(std::string("CS.TRE/CS_") + drive + ".TRE");
  }

  // The paths of the nodes below the root, relative to it and sorted (the order of siblings
  // is the file system's).
  static std::vector<std::string> paths(const DirectoryTree& tree) {
    std::vector<std::string> out;
    for (TreeNodeId id = 1; id < tree.nodes.size(); ++id)
      out.push_back(nodePath(tree, id).substr(nodePath(tree, 0).size()));
    std::sort(out.begin(), out.end());
    return out;
  }

  TempTree disk_, setup_;
};

using Paths = std::vector<std::string>;

}  // namespace corvane::testing
