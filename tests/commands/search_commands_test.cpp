// The search and compare commands through the command loop: the text search over a
// selection with the viewer's answers, the global list in its nested loop, compare marks.
#include <gtest/gtest.h>

#include "commands/loop_fixture.h"
#include "exec/run_command.h"
#include "search/search_state.h"
#include "search/search_texts.h"
#include "viewer/viewer_state.h"
#include "viewer/viewer_texts.h"

namespace corvane::testing {
namespace {

using Names = std::vector<std::string>;

class SearchCommandsTest : public LoopTest {
 protected:
  SearchCommandsTest() {
    resetViewerState();
    t_.writeFile("a.txt", "the needle");
    t_.writeFile("b.txt", "hay");
    t_.writeFile("c.txt", "NEEDLE");
    t_.writeFile("d.txt", std::string("\0\0needle", 8));
    t_.writeFile("e.txt", "needle at the end");
  }
  ~SearchCommandsTest() override {
    resetViewerState();
    resetSearchState();
  }

  // Every file selected, " Define Textsearch " filled with the string, case ignored,
  // no confirmation.
  void startSearch() { pushKeys({'-', key::alt('I')}); }
  void fillForm() {
    console_.pushText("needle");
    pushKeys({key::Tab, key::Space, key::Enter});  // " Case sensitive ? " NO
    console_.pushText("n");
  }
};

TEST_F(SearchCommandsTest, TheAnswersAtEachHitDecideTheSelection) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] { startSearch(); },
      [&] {
        EXPECT_TRUE(shows(" Define Textsearch "));
        fillForm();
      },
      [&] {  // a.txt shown at its hit
        EXPECT_TRUE(shows("the needle"));
        console_.pushText("F");
      },
      [&] {  // b.txt has none; c.txt (NEEDLE) is shown
        EXPECT_TRUE(shows("NEEDLE"));
        console_.pushText("I");
      },
      [&] {  // d.txt: the hit after zero bytes
        console_.pushText("S");
      },
      [&] {  // e.txt searched without showing
        EXPECT_EQ(selectedNames(), (Names{"a.txt", "d.txt", "e.txt"}));
        EXPECT_EQ(panel().selectedCount, 3);
        EXPECT_EQ(viewerState().searchString, "needle");
        EXPECT_EQ(viewerState().caseFlag, 1);
        pushKeys({key::Escape});
      },
  });
}

TEST_F(SearchCommandsTest, EscapeAtAHitStopsAndExactCaseFindsLess) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] { startSearch(); },
      [&] {
        console_.pushText("needle");
        pushKeys({key::Enter});
        console_.pushText("n");
      },
      [&] {
        console_.pushText("F");  // a.txt
      },
      [&] {
        console_.pushText("F");  // d.txt: c.txt's NEEDLE does not count with exact case
      },
      [&] {
        EXPECT_TRUE(shows("needle at the end"));
        pushKeys({key::Escape});  // e.txt: stop here, keeping it
      },
      [&] {
        EXPECT_EQ(selectedNames(), (Names{"a.txt", "d.txt", "e.txt"}));
        pushKeys({key::Home, key::Down});  // b.txt under the cursor
        console_.pushText("i");
      },
      [&] {
        pushKeys({key::Enter});  // the form as it was
      },
      [&] {
        EXPECT_TRUE(shows("String 'needle' not found ! "));
        pushKeys({key::Enter, key::Escape});
      },
  });
}

TEST_F(SearchCommandsTest, GlobalListFromTheSpecialMenuAndBack) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  t_.makeDir("sub");
  t_.writeFile("sub/deep.txt", "x");
  t_.makeDir(".git");
  t_.writeFile(".git/hidden.txt", "x");
  run({
      [&] {
        pushKeys({key::alt('F'), 'f'});
      },
      [&] {
        EXPECT_TRUE(shows(TextSearchLabel));
        console_.pushText("  T:\\*.TXT ");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(isGlobalList(panel()));
        EXPECT_EQ(panel().list.length, 6u);  // a to e and sub's deep.txt, no hidden one
        EXPECT_TRUE(shows("Global List Nr. 2"));
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_FALSE(isGlobalList(panel()));
        pushKeys({key::alt('F'), 'f'});
      },
      [&] {
        console_.pushText("T:\\*.none");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows(" No Files found ! "));
        pushKeys({key::Enter, key::Escape});
      },
  });
}

TEST_F(SearchCommandsTest, CompareShowsOldAndNewInTheTwoLists) {
  useLayout(KeyboardCorvane, LayoutTwoLists);
  u_.writeFile("a.txt", "the needle");
  t_.setLocalMtime("a.txt", 2020, 1, 1, 10, 0, 0);
  u_.setLocalMtime("a.txt", 2020, 1, 1, 10, 1, 0);
  run({
          [&] {
            pushKeys({key::alt('R'), 'o'});
          },
          [&] {
            EXPECT_TRUE(shows("-b       .txt")) << "short display: missing over there";
            EXPECT_EQ(panel().selectedCount, 5);  // a.txt older, the rest missing over there
            pushKeys({key::Space});               // the long display
          },
          [&] {
            EXPECT_TRUE(shows("10 01.01.20 10:00 ....  OLD"));
            EXPECT_TRUE(shows(" ---"));
            const Panel& other = *loop().other.panel;
            const NodeId a = findNodeByName(other.list, "a.txt");
            ASSERT_NE(a, NoNode);
            EXPECT_EQ(other.list.nodes[a].mark, MarkSelected | MarkCompareNewer);
            EXPECT_EQ(other.selectedCount, 1);
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(SearchCommandsTest, SelectedFilesAgainstADestination) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  u_.writeFile("a.txt", "the needle");
  u_.writeFile("c.txt", "NEEDLe");
  u_.writeFile("D.TXT", std::string("\0\0needle", 8));
  t_.writeFile("diff.sh", "echo \"$(basename \"$1\") $(basename \"$2\")\"\n");
  setupBlock().fileDifferencesCommand.assign("/bin/sh diff.sh");
  setupBlock().preferences[3].set(0);  // no key prompt after the programs
  setNormalScreenOps({[] {}, [](std::string_view) {}, [](std::string_view) {}});
  run({
      [&] {
        pushKeys({'-', key::alt('S'), 'c'});
      },  // diff.sh and a.txt to e.txt
      [&] {
        EXPECT_TRUE(shows("Destination :"));
        console_.pushText("U:\\");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows(TextBinaryComparison));
        console_.pushText("y");
        console_.pushText("n");  // " With confirmation ? "
      },
      [&] {
        // a.txt and D.TXT equal (its namesake but for case) lose the mark; c.txt differs;
        // b.txt, e.txt and diff.sh have no namesake.
        EXPECT_EQ(selectedNames(), (Names{"b.txt", "c.txt", "diff.sh", "e.txt"}));
        const Panel& p = panel();
        EXPECT_EQ(p.list.nodes[findNodeByName(p.list, "c.txt")].mark,
                  MarkSelected | MarkCompareDiffer);
        EXPECT_EQ(p.list.nodes[findNodeByName(p.list, "b.txt")].mark,
                  MarkSelected | MarkCompareMissing);
        pushKeys({key::alt('S'), 'f'});
      },
      [&] {
        console_.pushText("U:\\");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows(TextOutputTo));
        EXPECT_TRUE(shows("CON"));
        pushKeys({key::Home});
        for (int i = 0; i < 3; ++i) pushKeys({key::Del});
        console_.pushText("T:\\out.log");
        pushKeys({key::Enter});
        console_.pushText("n");
      },
      [&] {
        EXPECT_EQ(t_.readFile("out.log"),
                  "b.txt b.txt\nc.txt c.txt\ndiff.sh diff.sh\ne.txt e.txt\n");
        pushKeys({key::Escape});
      },
  });
  resetNormalScreenOps();
}

}  // namespace
}  // namespace corvane::testing
