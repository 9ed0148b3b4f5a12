#include "panels/file_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/setup_block.h"
#include "display_fixture.h"
#include "platform/drives.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

class FileDialogTest : public testing::DisplayTest {
 protected:
  FileDialogTest() {
    savedSort_ = setupBlock().sortMode.get();
    setupBlock().sortMode.set(static_cast<std::uint16_t>(SortMode::Name));
    EXPECT_TRUE(tree_.makeDir("sub"));
    EXPECT_TRUE(tree_.writeFile("a.txt", "a"));
    EXPECT_TRUE(tree_.writeFile("B.TXT", "b"));
    EXPECT_TRUE(tree_.writeFile("c.dat", "c"));
    EXPECT_TRUE(tree_.writeFile("sub/x.dat", "x"));
    EXPECT_TRUE(tree_.writeFile("sub/y.txt", "y"));
    initDriveMap(("T=" + tree_.root()).c_str());
    EXPECT_TRUE(changeDirectory("T:\\"));
  }
  ~FileDialogTest() override {
    setupBlock().sortMode.set(savedSort_);
    initDriveMap(nullptr);
  }

  void keys(std::initializer_list<KeyCode> codes) { console_.pushKeys(codes); }

  testing::TempTree tree_;
  std::uint16_t savedSort_;
};

TEST_F(FileDialogTest, EnterOnAFileGivesItsFullPath) {
  // T:\sub lists "..", x.dat, y.txt; the mask keeps x.dat.
  keys({key::Down, key::Enter});
  EXPECT_EQ(selectFile("T:\\sub\\*.dat", 13, FileDialogBrowse), "T:\\sub\\x.dat");
  EXPECT_EQ(currentDirectory(), "T:\\");
  // Into a directory and on: sub, a.txt, B.TXT, c.dat at the root.
  keys({key::Enter, key::End, key::Enter});
  EXPECT_EQ(selectFile("*.*", 13, FileDialogBrowseTitled), "T:\\sub\\y.txt");
  EXPECT_EQ(currentDirectory(), "T:\\");
}

TEST_F(FileDialogTest, TheProgramsDirectoryAndSortStayAsTheyWere) {
  ASSERT_TRUE(tree_.makeDir("sub/deeper"));
  setupBlock().sortMode.set(static_cast<std::uint16_t>(SortMode::Size));
  keys({key::Down, key::Enter, key::Escape});  // into deeper, then out
  EXPECT_EQ(selectFile("T:\\sub\\*.*", 13, FileDialogBrowse), std::nullopt);
  keys({key::Escape});  // the list mode reads unsorted, and leaves the setting alone
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogList), std::nullopt);
  EXPECT_EQ(currentDirectory(), "T:\\");
  EXPECT_EQ(setupBlock().sortMode.get(), static_cast<std::uint16_t>(SortMode::Size));
  EXPECT_EQ(console_.beeps, 0);
  setSetupDefaults(setupBlock());
}

TEST_F(FileDialogTest, BackspaceAndRootKeys) {
  // Backspace at the root stays there: the first file is still T:\a.txt.
  keys({key::Backspace, key::Down, key::Enter});
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowse), "T:\\a.txt");
  // From sub: Backspace goes up; Ctrl-Backspace goes to the root.
  keys({key::Backspace, key::Down, key::Enter});
  EXPECT_EQ(selectFile("T:\\sub\\*.*", 13, FileDialogBrowse), "T:\\a.txt");
  keys({key::CtrlBackspace, key::End, key::Enter});
  EXPECT_EQ(selectFile("T:\\sub\\*.*", 13, FileDialogBrowse), "T:\\c.dat");
}

TEST_F(FileDialogTest, CtrlWithAMissingDriveChangesNothing) {
  keys({key::ctrl('Q'), key::End, key::Enter});
  EXPECT_EQ(selectFile("T:\\sub\\*.*", 13, FileDialogBrowse), "T:\\sub\\y.txt");
  // With an existing drive the list changes to its current directory.
  ASSERT_TRUE(changeDirectory("T:\\sub"));
  keys({key::ctrl('T'), key::End, key::Enter});
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowse), "T:\\c.dat");
}

TEST_F(FileDialogTest, MaskIsFoldedAndFilters) {
  struct Case {
    const char* typed;
    const char* mask;
  } cases[] = {{"*.TXT", "*.txt"},
               {"*.TXT   ", "*.txt"},
               {"", "*.*"},
               {"   ", "*.*"},
               {"Read?E.[A-Z]*", "read?e.[a-z]*"}};
  for (const Case& c : cases) EXPECT_EQ(foldDialogMask(c.typed), c.mask) << c.typed;

  // "k", type a mask in capitals: the list then ends with B.TXT instead of c.dat.
  keys({'k'});
  console_.pushText("*.TXT");
  keys({key::Enter, key::End, key::Enter});
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowse), "T:\\B.TXT");
  // An empty mask shows everything again.
  keys({'K', key::alt('D'), key::Enter, key::End, key::Enter});
  EXPECT_EQ(selectFile("T:\\*.txt", 13, FileDialogBrowse), "T:\\c.dat");
}

TEST_F(FileDialogTest, WindowsNameLineAndKeyHelp) {
  std::vector<std::string> rows;
  console_.onInputExhausted = [&](HeadlessConsole& c) {
    for (int row = 0; row < 25; ++row) rows.push_back(imageRow(row));
    c.pushKey(key::Escape);
  };
  keys({key::Down});
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowseTitled), std::nullopt);
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_NE(rows[2].find("*.*"), std::string::npos);          // the list window's title
  EXPECT_NE(rows[3].find("\u2502 sub "), std::string::npos);  // frame, mark cell, name
  EXPECT_NE(rows[20].find("T:\\a.txt"), std::string::npos);   // the name line
  EXPECT_NE(rows[22].find(" <TAB for filename> <SPACE> <Mask> <CTRL-Key> <ESC>"),
            std::string::npos);
  // Closed again: the screen is as before.
  for (int row = 0; row < 25; ++row) EXPECT_EQ(imageRow(row), std::string(80, ' ')) << row;
}

TEST_F(FileDialogTest, DisplayModesKeepTheCursor) {
  // Short, long, narrow, short again: the cursor stays on the second entry.
  keys({key::Down, key::Space, key::Space, key::Space, key::Enter});
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowse), "T:\\a.txt");
  EXPECT_EQ(console_.beeps, 0);
}

TEST_F(FileDialogTest, TabTypesAName) {
  keys({key::Tab});
  console_.pushText("T:\\new.txt");
  keys({key::Enter});
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowse), "T:\\new.txt");
}

TEST_F(FileDialogTest, ClickMovesTheHighlightAndDoubleClickChooses) {
  // The list window's interior starts at screen column 5, row 3; rows: sub, a.txt, B.TXT.
  console_.pushClick(6, 5);
  keys({key::Enter});
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowse), "T:\\B.TXT");
  console_.pushClick(6, 4);
  console_.pushClick(6, 4);
  EXPECT_EQ(selectFile("T:\\*.*", 13, FileDialogBrowse), "T:\\a.txt");
}

TEST_F(FileDialogTest, ListModeReadsTheSourceUnsorted) {
  const std::vector<std::string> names = {"one", "two", "three"};
  std::size_t next = 0;
  const EntrySource source = [&](FileEntry& entry, int further) {
    if (further == 0) next = 0;
    if (next >= names.size()) return 1;
    entry.name = names[next++];
    entry.attributes = AttrArchive;
    return 0;
  };
  // Delivery order, not name order; "l" and Backspace are refused.
  keys({'l', key::Backspace, key::Down, key::Enter});
  EXPECT_EQ(selectFile("T:\\sub\\*.*", 13, FileDialogList, source), "two");
  EXPECT_EQ(console_.beeps, 2);
  EXPECT_EQ(currentDirectory(), "T:\\");
  EXPECT_EQ(setupBlock().sortMode.get(), static_cast<std::uint16_t>(SortMode::Name));
  // "#" reads again in the order that was in force: one, three, two.
  keys({'#', key::Down, key::Enter});
  EXPECT_EQ(selectFile("*.*", 13, FileDialogList, source), "three");
  // Tab still allows typing a name.
  keys({key::Tab});
  console_.pushText("typed");
  keys({key::Enter});
  EXPECT_EQ(selectFile("*.*", 13, FileDialogList, source), "typed");
}

}  // namespace
}  // namespace corvane
