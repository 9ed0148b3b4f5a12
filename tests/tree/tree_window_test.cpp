#include "tree/tree_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "config/setup_block.h"
#include "platform/color.h"
#include "tree/tree_build.h"
#include "tree/tree_cache.h"
#include "tree/tree_texts.h"
#include "tree_fixture.h"

namespace corvane::testing {
namespace {

class TreeWindowTest : public TreeDriveTest {
 protected:
  TreeWindowTest() {
    for (const char* dir : {"alpha", "alpha/one", "alpha/two", "beta", "beta/bin", "gamma"})
      disk_.makeDir(dir);
    initDriveMap(("T=" + disk_.root() + ";S=" + setup_.root() + ";U=" + other_.root()).c_str());
    other_.makeDir("elsewhere");
    setCurrentDrive('T');
  }

  // Runs the window; each step runs when the keys pushed so far are used up (it may look at
  // the screen and push more). After the last step a read ends the window with Escape.
  KeyCode run(TreeMode mode, std::vector<std::function<void()>> steps) {
    std::size_t next = 0;
    console_.onInputExhausted = [&](HeadlessConsole& console) {
      while (next < steps.size()) {
        steps[next++]();
        if (!console.input.empty()) return;
      }
    };
    TreeWindowRequest request;
    request.mode = mode;
    const KeyCode key = treeWindow(view_, nullptr, request, chosen_);
    EXPECT_EQ(next, steps.size()) << "the window ended before every step ran";
    return key;
  }

  bool shows(std::string_view text) const {
    for (int row = 0; row < console_.rows; ++row)
      if (console_.shownRow(row).find(text) != std::string::npos) return true;
    return false;
  }
  std::string cursorPath() const { return nodePath(view_.tree, view_.cursor); }
  void keys(std::initializer_list<KeyCode> codes) { console_.pushKeys(codes); }

  TempTree other_;
  TreeView view_;
  std::string chosen_;
};

TEST_F(TreeWindowTest, DirectoriesTheCacheDoesNotKnowAreLookedForFromTheirAncestors) {
  ASSERT_EQ(buildTree(TreeRequestScan, view_.tree, true), TreeScanDone);
  disk_.makeDir("alpha/new");
  disk_.makeDir("alpha/new/deeper");
  disk_.makeDir("beta/unseen");  // in no ancestor: a scan of the drive would find it
  disk_.makeDir("Alpha");        // differs from a known name in case only: another directory
  for (const char* directory : {"T:\\alpha\\new\\deeper", "T:\\Alpha"}) {
    ASSERT_TRUE(changeDirectory(directory));
    EXPECT_EQ(run(TreeMode::DrawOnly, {}), key::Escape);
    EXPECT_EQ(cursorPath(), directory);
  }
  EXPECT_NE(findNode(view_.tree, "T:\\alpha\\one"), NoTreeNode) << "known subtrees stay";
  EXPECT_EQ(findNode(view_.tree, "T:\\beta\\unseen"), NoTreeNode);
  DirectoryTree cached;
  ASSERT_EQ(readTreeCache('T', cached), 0);
  EXPECT_EQ(paths(cached), paths(view_.tree));

  // Deleted elsewhere: only the exact spelling leaves the tree; the cursor keeps its place.
  ASSERT_EQ(rmdir(disk_.host("alpha/new/deeper").c_str()), 0);
  treeDirectoryDeleted(view_, "T:\\ALPHA\\new\\deeper");
  EXPECT_EQ(cursorPath(), "T:\\Alpha");
  treeDirectoryDeleted(view_, "T:\\alpha\\new\\deeper");
  EXPECT_EQ(findNode(view_.tree, "T:\\alpha\\new\\deeper", TreeMatch::ExactOnly), NoTreeNode);
  EXPECT_EQ(cursorPath(), "T:\\Alpha");
}

TEST_F(TreeWindowTest, RowsShowLinesThenNamesWithOnlyTheCursorNameHighlighted) {
  for (int i = 0; i < 30; ++i) disk_.makeDir("gamma/sub" + std::to_string(i));
  ASSERT_TRUE(changeDirectory("T:\\beta\\bin"));
  ScopedWindow area;
  ASSERT_EQ(area.open(1, 3, 24, 12, color(ColorTreeWindow), color(ColorTreeFrame), WindowDouble),
            0);
  TreeWindowRequest request;
  request.mode = TreeMode::DrawOnly;
  EXPECT_EQ(treeWindow(view_, area.get(), request, chosen_), key::Escape);
  // The cursor's directory on the second row, its parent above it.
  EXPECT_EQ(view_.top + 1, view_.cursor);
  EXPECT_EQ(imageText(1, 3, 22), "  ├─beta              ");
  EXPECT_EQ(imageText(1, 4, 22), "  │ └─bin             ");
  for (int column = 1; column < 12; ++column)
    EXPECT_EQ(imageAttr(column, 4),
              column >= 7 && column < 10 ? color(ColorActFilecursor) : color(ColorTreeWindow))
        << column;
  EXPECT_EQ(imageAttr(5, 3), color(ColorTreeWindow)) << "other names in the window colour";
}

TEST_F(TreeWindowTest, TypingCollapsingMakingAndLeavingInThePanelMode) {
  ASSERT_TRUE(changeDirectory("T:\\alpha"));
  const KeyCode result =
      run(TreeMode::Panel,
          {
              [&] {
                keys({key::Home, 'b', 'x', 'i'});
              },  // no name starts with "bx"
              [&] {
                EXPECT_EQ(cursorPath(), "T:\\beta\\bin");
                EXPECT_TRUE(shows("Search: bi  "));
                keys({'-', key::Left, '-', key::F4});  // "bi" went with beta's branch
              },
              [&] {
                EXPECT_EQ(cursorPath(), "T:\\beta");
                EXPECT_EQ(console_.beeps, 1);
                disk_.makeDir("delta");
                keys({key::Home, '-', key::F2});  // collapsing the root reads the drive
                console_.pushText("gamma");       // exists already
                keys({key::Enter});
              },
              [&] {
                EXPECT_NE(findNode(view_.tree, "T:\\delta"), NoTreeNode);
                EXPECT_NE(findNode(view_.tree, "T:\\beta\\bin"), NoTreeNode);
                EXPECT_TRUE(shows(TextDirectoryAccessError));
                keys({key::Escape, key::F2});
                console_.pushText("fresh");
                keys({key::Enter, key::ctrl('U')});
              },
              [&] {
                EXPECT_TRUE(disk_.exists("fresh"));
                DirectoryTree cached;
                ASSERT_EQ(readTreeCache('T', cached), 0);
                EXPECT_NE(findNode(cached, "T:\\fresh"), NoTreeNode);
                EXPECT_EQ(view_.tree.drive, 'U');
                EXPECT_EQ(currentDrive(), 'U');
                keys({key::Escape});
              },
          });
  EXPECT_EQ(result, key::Escape);
  EXPECT_EQ(currentDirectory(), "T:\\alpha") << "Esc: the directory of the opening again";

  EXPECT_EQ(run(TreeMode::Panel, {
                                     [&] {
                                       ASSERT_EQ(rmdir(disk_.host("gamma").c_str()), 0);
                                       console_.pushText("gam");
                                       keys({key::Enter});
                                     },
                                     [&] {
                                       EXPECT_TRUE(shows(TextDirectoryAccessError))
                                           << "gone meanwhile";
                                       keys({key::Escape, key::alt('D')});
                                       console_.pushText("bet");
                                       keys({key::Enter});
                                     },
                                 }),
            key::Tab);
  EXPECT_EQ(currentDirectory(), "T:\\beta");
}

TEST_F(TreeWindowTest, TheDialogModeHandsPathsBackAndAsksBeforeReadingTheDrive) {
  ASSERT_TRUE(changeDirectory("T:\\"));
  setupBlock().preferences[6].set(1);
  EXPECT_EQ(run(TreeMode::Select,
                {
                    [&] {
                      keys({key::alt('P'), key::Enter});  // the tree text file, preset name
                      console_.pushClick(10, 3);          // the row under the root's
                    },
                    [&] {
                      EXPECT_EQ(disk_.readFile("_cv_.tre"), treeText(view_.tree));
                      EXPECT_EQ(view_.cursor, 1u);
                      console_.pushClick(10, 3);  // the second click in time: chosen
                    },
                }),
            key::Enter);
  EXPECT_EQ(chosen_, nodePath(view_.tree, 1));
  EXPECT_EQ(currentDirectory(), "T:\\");

  ASSERT_EQ(rmdir(disk_.host("alpha/two").c_str()), 0);
  EXPECT_EQ(
      run(TreeMode::Select, {
                                [&] {
                                  // No path row in the dialog modes.
                                  EXPECT_EQ(console_.shownRow(23).substr(0, 9), "Search:  ");
                                  console_.pushText("two");
                                  keys({key::Enter});
                                },
                                [&] {
                                  EXPECT_TRUE(shows(" Directory access error , Read Tree  ? "));
                                  console_.pushText("y");
                                },
                                [&] {
                                  EXPECT_EQ(findNode(view_.tree, "T:\\alpha\\two"), NoTreeNode);
                                  keys({key::Escape});
                                },
                            }),
      key::Escape);
  EXPECT_EQ(chosen_, "");
}

TEST_F(TreeWindowTest, DeleteEmptiesTheDirectoryBelowTheCursorAfterTwoYes) {
  disk_.writeFile("alpha/keep.txt", "k");
  disk_.writeFile("alpha/one/inside.txt", "i");
  ASSERT_TRUE(changeDirectory("T:\\alpha"));
  run(TreeMode::Panel,
      {
          [&] {
            keys({key::Del});
            console_.pushText("y");
          },
          [&] {
            EXPECT_TRUE(shows("ATTENTION, ALL FILES AND DIRECTORIES BELOW 'T:\\alpha'"));
            console_.pushText("n");
          },
          [&] {
            EXPECT_TRUE(disk_.exists("alpha/one/inside.txt")) << "No deletes nothing";
            keys({key::Del});
            console_.pushText("yy");
          },
          [&] {
            EXPECT_TRUE(shows("Directories deleted !"));
            keys({key::Escape});
          },
          [&] {
            EXPECT_FALSE(disk_.exists("alpha/one"));
            EXPECT_FALSE(disk_.exists("alpha/two"));
            EXPECT_TRUE(disk_.exists("alpha/keep.txt")) << "the directory's files stay";
            EXPECT_EQ(subtreeEnd(view_.tree, view_.cursor), view_.cursor + 1);
            keys({key::Escape});
          },
      });

  // The host's root is never emptied from the tree: no question is asked.
  ASSERT_TRUE(changeDirectory("C:\\"));
  resetTree(view_.tree, 'C');
  run(TreeMode::Panel, {
                           [&] { keys({key::Del}); },
                           [&] {
                             EXPECT_TRUE(shows(TextHostRootNotDeleted));
                             keys({key::Escape, key::Escape});
                           },
                       });
}

}  // namespace
}  // namespace corvane::testing
