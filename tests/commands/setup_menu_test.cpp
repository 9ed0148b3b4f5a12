// The setup menu through the loop: each selection dialog stores its value, marks the setup as
// changed and has its effect (re-sort, profile, rebuild, keyboard layout); save writes the
// file.
#include <gtest/gtest.h>

#include "commands/loop_fixture.h"
#include "commands/loop_texts.h"
#include "ui/line_input.h"

namespace corvane::testing {
namespace {

using Names = std::vector<std::string>;

class SetupMenuTest : public LoopTest {
 protected:
  SetupMenuTest() {
    t_.writeFile("big.txt", std::string(500, 'b'));
    t_.writeFile("mid.txt", std::string(300, 'm'));
    t_.writeFile("small.txt", "s");
    useLayout(KeyboardCorvane, LayoutSingleList);
  }
  static Names order() {
    Names names;
    for (NodeId id : chain(panel().list)) names.push_back(panel().list.nodes[id].entry.name);
    return names;
  }
};

TEST_F(SetupMenuTest, SortDialogResortsKeepingTheSelection) {
  run({
      [&] {
        pushKeys({key::End, '!', key::alt('T'), 'o'});
      },  // small.txt, then " S^ort"
      [&] {
        EXPECT_TRUE(shows("Sortmode"));
        EXPECT_TRUE(shows("Alphabetic"));
        console_.pushText("s");
      },
      [&] {
        EXPECT_EQ(setupBlock().sortMode.get(), 1);
        EXPECT_TRUE(setupChanged());
        EXPECT_EQ(order(), (Names{"big.txt", "mid.txt", "small.txt"}));
        EXPECT_EQ(selectedNames(), Names{"small.txt"});
        pushKeys({key::alt('T'), 'o', 'u'});  // ^Unsorted is stored as 5
      },
      [&] {
        EXPECT_EQ(setupBlock().sortMode.get(), 5);
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_TRUE(shows(TextSaveSetupQuestion));
        console_.pushText("n");
      },
  });
}

TEST_F(SetupMenuTest, EmulationChangesTheKeyboardLayoutAtOnceAndRebuilds) {
  EXPECT_EQ(run({[&] { pushKeys({key::alt('T'), 'u', 'x'}); }}), LoopRebuild);
  EXPECT_EQ(setupBlock().keyboardLayout.get(), KeyboardXtree);
  EXPECT_FALSE(lineInputCommanderLayout());
  EXPECT_EQ(run({[&] {
                   EXPECT_TRUE(shows(" F1=HELP ESC=Quit"));
                   pushKeys({key::alt('T'), 'u'});
                 },
                 [&] {
                   EXPECT_TRUE(shows("XTREE"));
                   pushKeys({key::Up, key::Enter});
                 }}),
            LoopRebuild);
  EXPECT_EQ(setupBlock().keyboardLayout.get(), KeyboardCommander);
  EXPECT_TRUE(lineInputCommanderLayout());
  EXPECT_TRUE(setupChanged());
}

TEST_F(SetupMenuTest, WindowsDialogsChooseTheLayoutAndTheCommandWindow) {
  useLayout(KeyboardCorvane, LayoutTwoLists);
  EXPECT_EQ(run({[&] {
                   pushKeys({key::alt('T'), 'y'});
                 },
                 [&] {
                   EXPECT_TRUE(shows("Two filelists"));
                   console_.pushText("s");
                 },
                 [&] {
                   EXPECT_TRUE(shows("Without command window"));
                   pushKeys({key::Down, key::Enter});
                 }}),
            LoopRebuild);
  EXPECT_EQ(setupBlock().screenLayout.get(), 0);
  EXPECT_EQ(setupBlock().commandWindow.get(), 1);
  EXPECT_EQ(programState().windowLayoutChoice, LayoutSingleList);
  run({[&] {
         EXPECT_EQ(panel().layout, LayoutSingleList);
         EXPECT_EQ(loop().other.panel, nullptr);
         EXPECT_FALSE(shows("F1=HELP")) << "no command window";
         EXPECT_EQ(panel().window->y + panel().window->height, 25) << "the panel takes its rows";
         pushKeys({key::Escape});
       },
       [&] { console_.pushText("n"); }});
}

TEST_F(SetupMenuTest, UserProfileSetsTheCommandLabels) {
  run({
      // The pulldown keeps its highlighted item from earlier runs: Home first.
      [&] {
        pushKeys(
            {key::alt('T'), key::Home, key::Down, key::Down, key::Down, key::Down, key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows("Professionel"));
        console_.pushText("b");
      },
      [&] {
        EXPECT_EQ(setupBlock().userProfile.get(), ProfileBeginner);
        EXPECT_FALSE(entryVisible(7)) << "^Move";
        EXPECT_FALSE(shows("Move Inv"));
        EXPECT_TRUE(shows("Att Cop Del"));
        pushKeys({key::Escape});
      },
      [&] { console_.pushText("n"); },  // the setup changed
  });
}

TEST_F(SetupMenuTest, DisplayModeDialogSetsTheDefaultAndThePanel) {
  run({
      [&] { pushKeys({key::fkey(3, key::ModShift)}); },
      [&] {
        EXPECT_TRUE(shows("Long file display with attributes"));
        console_.pushText("l");
      },
      [&] {
        EXPECT_EQ(setupBlock().fileDisplay.get(), 1);
        EXPECT_EQ(panel().displayBits & DisplayModeBits, DisplayLongAttributes);
        pushKeys({key::Escape});
      },
      [&] { console_.pushText("n"); },
  });
}

TEST_F(SetupMenuTest, SaveWritesTheSetupFile) {
  setupPath_ = "T:\\corvane.SET";
  setupBlock().sortMode.set(3);
  markSetupChanged();
  run({
      [&] {
        pushKeys({key::alt('T'), 's'});
      },
      [&] {
        EXPECT_FALSE(setupChanged());
        ASSERT_TRUE(t_.exists("corvane.SET"));
        const std::string bytes = t_.readFile("corvane.SET");
        ASSERT_EQ(bytes.size(), SetupBlockSize);
        EXPECT_EQ(bytes[596], 3) << "the sort mode at its offset";
        pushKeys({key::Escape});  // no question: nothing changed since the save
      },
  });
  EXPECT_TRUE(t_.exists("corvane.__S")) << "the previous directories beside the setup file";
}

}  // namespace
}  // namespace corvane::testing
