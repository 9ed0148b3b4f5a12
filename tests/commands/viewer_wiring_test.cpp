// The viewer from the panels: F3 through "v" to the internal viewer, "h" in hex, "View " on
// the selected files, and Autoview in the other half of the two-list layout.
#include <gtest/gtest.h>

#include "commands/loop_fixture.h"
#include "commands/loop_texts.h"

namespace corvane::testing {
namespace {

class ViewerWiringTest : public LoopTest {
 protected:
  ViewerWiringTest() {
    t_.makeDir("sub");
    t_.writeFile("a.txt", "first file\nsecond line\n");
    std::string many;
    for (int i = 0; i < 200; ++i) many += "row " + std::to_string(i) + "\n";
    t_.writeFile("b.txt", many);
    u_.writeFile("u-file");
  }
};

TEST_F(ViewerWiringTest, F3ViewsTheCursorFileAndEscComesBackToTheSamePanels) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  std::string before;
  run({
          [&] { pushKeys({key::Down}); },  // sub, a.txt, b.txt: on a.txt
          [&] {
            before = screenText();
            pushKeys({key::F3});
          },
          [&] {
            EXPECT_TRUE(console_.shownRow(0).starts_with("a.txt ")) << console_.shownRow(0);
            EXPECT_TRUE(console_.shownRow(1).starts_with("first file"));
            pushKeys({key::Escape});
          },
          [&] {
            EXPECT_EQ(screenText(), before);
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(ViewerWiringTest, HexViewInTheCorvaneLayout) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] {
        pushKeys({key::Down, 'h'});
      },
      [&] {
        EXPECT_TRUE(console_.shownRow(1).starts_with("00000000 66 69 72 73"))
            << console_.shownRow(1);
        pushKeys({key::Escape, key::Up, 'z'});  // on the directory: nothing to view
      },
      [&] {
        EXPECT_EQ(console_.beeps, 1);
        pushKeys({key::Escape});
      },
  });
}

TEST_F(ViewerWiringTest, ViewOnTheSelectedFilesShowsEachInTurn) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] {
        pushKeys({'-', key::alt('Z')});
      },  // a.txt and b.txt selected
      [&] {
        EXPECT_TRUE(shows(TextWithConfirmation));
        console_.pushText("n");
      },
      [&] {
        EXPECT_TRUE(console_.shownRow(24).starts_with("a.txt ")) << console_.shownRow(24);
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_TRUE(console_.shownRow(24).starts_with("b.txt ")) << console_.shownRow(24);
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_TRUE(selectedNames().empty());
        pushKeys({key::Escape});
      },
  });
}

TEST_F(ViewerWiringTest, AutoviewShowsTheCursorFileInTheOtherHalf) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  auto otherShows = [&](std::string_view text) {
    return console_.shownRow(3).find(text) != std::string::npos;
  };
  run({
          [&] { pushKeys({key::fkey(2, key::ModCtrl)}); },  // on sub, Autoview on
          [&] {
            EXPECT_TRUE(loop().autoview);
            EXPECT_FALSE(otherShows("first file"));  // a directory: the panel stays
            pushKeys({key::Down});
          },
          [&] {
            EXPECT_TRUE(otherShows("first file")) << console_.shownRow(3);
            pushKeys({key::Down, key::Tab, key::PgDn});  // into the viewer on b.txt
          },
          [&] {
            EXPECT_TRUE(otherShows("row ")) << console_.shownRow(3);
            EXPECT_FALSE(otherShows("row 0 ")) << "Page Down moved inside the viewer";
            EXPECT_EQ(cursorName(), "b.txt");
            EXPECT_EQ(panel().currentDirectory, "T:\\");
            pushKeys({'z', key::Up, key::Tab, key::Enter});  // Enter in the viewer: next file
          },
          [&] {
            EXPECT_EQ(cursorName(), "b.txt");
            EXPECT_TRUE(otherShows("row 0 "));
            pushKeys({key::fkey(2, key::ModCtrl)});  // Autoview off: the other panel again
          },
          [&] {
            EXPECT_FALSE(loop().autoview);
            EXPECT_TRUE(otherShows("u-file")) << screenText();
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

}  // namespace
}  // namespace corvane::testing
