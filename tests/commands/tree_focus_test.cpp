// The directory tree in the loop: beside the list it follows the list's directory and takes
// the keys with the focus; the file operations choose and change directories through it.
#include "commands/tree_focus.h"

#include <gtest/gtest.h>

#include "commands/loop_fixture.h"
#include "config/setup_block.h"
#include "fileops/fileops_state.h"

namespace corvane::testing {
namespace {

class TreeFocusTest : public LoopTest {
 protected:
  TreeFocusTest() {
    for (const char* dir : {"docs", "docs/old", "src"}) t_.makeDir(dir);
    t_.writeFile("docs/old/note.txt", "n");
  }
  static std::string treeCursorPath() {
    TreeView& view = screenTreeView(loop());
    return nodePath(view.tree, view.cursor);
  }
};

TEST_F(TreeFocusTest, TabGivesTheTreeTheKeysAndEnterShowsTheChosenDirectoryInTheList) {
  useLayout(KeyboardCommander, LayoutListAndTree);
  const int result = run({
      [&] {
        EXPECT_TRUE(shows("\u2500 T:\\")) << "the tree beside the list";
        EXPECT_EQ(treeCursorPath(), "T:\\");
        pushKeys({key::Tab});
      },
      [&] {
        EXPECT_TRUE(loop().treeFocus);
        EXPECT_TRUE(shows("Search:"));
        console_.pushText("old");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_FALSE(loop().treeFocus);
        EXPECT_EQ(panel().currentDirectory, "T:\\docs\\old");
        EXPECT_EQ(cursorName(), "..");
        EXPECT_FALSE(shows("Search:")) << "the status rows went with the focus";
        pushKeys({key::Backspace, key::Backspace});
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\");
        EXPECT_EQ(treeCursorPath(), "T:\\") << "the tree follows the list";
        pushKeys({key::fkey(10, key::ModAlt)});  // "t"
      },
      [&] {
        EXPECT_TRUE(loop().treeFocus);
        pushKeys({key::F10});  // the loop's own key: handed back, it ends the program
      },
  });
  EXPECT_EQ(result, LoopEnd);
}

TEST_F(TreeFocusTest, FileOperationsUseTheTreeAndTheTreeFollowsThem) {
  useLayout(KeyboardCorvane, LayoutListAndTree);
  registerTreeHooks();
  setupBlock().preferences[2].set(0);  // make directory without the question
  t_.writeFile("letter.txt", "l");
  const int result = run({
      [&] {
        pushKeys({key::End, 'c'});  // copy the file under the cursor
      },
      [&] {
        EXPECT_TRUE(shows("Destination :"));
        pushKeys({key::Down});  // the tree key
      },
      [&] {
        EXPECT_TRUE(shows("Search:"));
        console_.pushText("old");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows("New name : letter.txt"));
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(t_.readFile("docs/old/letter.txt"), "l");
        EXPECT_EQ(treeCursorPath(), "T:\\") << "the selection left the panel's tree alone";
        pushKeys({key::fkey(4, key::ModShift)});
        console_.pushText("src\\made");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(t_.exists("src/made"));
        TreeView& view = screenTreeView(loop());
        EXPECT_NE(findNode(view.tree, "T:\\src\\made"), NoTreeNode);
        EXPECT_TRUE(shows("\u2514\u2500made"));
        pushKeys({key::Escape});
      },
  });
  EXPECT_EQ(result, LoopEnd);
}

}  // namespace
}  // namespace corvane::testing
