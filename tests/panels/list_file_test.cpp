#include "panels/list_file.h"

#include <gtest/gtest.h>

#include "config/setup_block.h"
#include "display_fixture.h"
#include "platform/drives.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using testing::append;
using testing::directoryEntry;
using testing::dosDate;
using testing::dosTime;
using testing::fileEntry;

class ListFileTest : public testing::DisplayTest {
 protected:
  ListFileTest() {
    initDriveMap(("T=" + tree_.root()).c_str());
    setCurrentDrive('T');
    savedClock_ = setupBlock().clockFlags.get();
    setupBlock().clockFlags.set(ClockFlag24Hours);
  }
  ~ListFileTest() override {
    setupBlock().clockFlags.set(savedClock_);
    initDriveMap(nullptr);
  }

  testing::TempTree tree_;
  std::uint16_t savedClock_;
};

void fillPanel(Panel& panel) {
  panel.nameCase = 2;
  FileEntry src = directoryEntry("Src");
  src.date = dosDate(2003, 7, 4);
  src.time = dosTime(9, 30);
  append(panel.list, src);
  FileEntry readme = fileEntry("ReadMe.txt", 1234, dosDate(2003, 7, 4), dosTime(14, 5));
  readme.attributes = AttrArchive | AttrReadOnly;
  append(panel.list, readme, MarkCompareNewer);
  append(panel.list, fileEntry("huge.img", 123456789012ull, dosDate(1999, 12, 31), dosTime(0, 15)));
  countList(panel);
}

TEST_F(ListFileTest, LinesOfTheShortAndLongDisplays) {
  Panel panel;
  fillPanel(panel);
  panel.displayBits = DisplayShort;
  EXPECT_EQ(fileListText(panel),
            "\nSrc              "
            " \nReadMe.txt       N"
            "\nhuge.img          ");

  panel.displayBits = DisplayLongAttributes;
  // "%-15s", two blanks, size, date and time, attributes, a blank, compare mark.
  EXPECT_EQ(fileListText(panel),
            "\nSrc            "
            "  "
            "   <DIR>"
            "  04.07.03  09:30  "
            "...."
            " "
            "    "
            "\nReadMe.txt     "
            "  "
            "    1234"
            "  04.07.03  14:05  "
            "..RA"
            " "
            " NEW"
            "\nhuge.img       "
            "  "
            "123456789012"
            "  31.12.99  00:15  "
            "...A"
            " "
            "    ");

  setupBlock().clockFlags.set(0);
  panel.displayBits = DisplayLongPlain;
  const NodeId readme = nextNode(panel.list, panel.list.head);
  EXPECT_EQ(fileListLine(panel, readme), "\nReadMe.txt           1234  07-04-03  02:05p ..RA  NEW");
  EXPECT_EQ(fileListLine(panel, panel.list.tail),
            "\nhuge.img         123456789012  12-31-99  00:15a ...A     ");

  // Short-name volumes write upper case; the placeholder of an empty read is left out.
  panel.nameCase = 0;
  panel.displayBits = DisplayShort;
  EXPECT_EQ(fileListLine(panel, readme), "\nREADME.TXT       N");
  Panel empty;
  append(empty.list, directoryEntry(".."), MarkError);
  EXPECT_EQ(fileListText(empty), "");
}

TEST_F(ListFileTest, GlobalListWritesFullPathsInLongDisplays) {
  Panel panel;
  panel.nameCase = 2;
  panel.list.directories.push_back({NoDirectory, NoDirectory, NoDirectory, 0, "T:\\src"});
  FileNode& n = node(panel.list,
                     append(panel.list, fileEntry("a.c", 7, dosDate(2003, 7, 4), dosTime(14, 5))));
  n.directory = 0;
  panel.displayBits = DisplayLongAttributes | DisplayGlobalList;
  EXPECT_EQ(fileListText(panel),
            "\nT:\\src\\a.c               "
            "  "
            "       7"
            "  04.07.03  14:05  "
            "...A"
            " "
            "    ");
  panel.displayBits = DisplayShort | DisplayGlobalList;
  EXPECT_EQ(fileListText(panel), "\na.c               ");
}

TEST_F(ListFileTest, WritesTheFileOrReportsThatItCannot) {
  Panel panel;
  fillPanel(panel);
  panel.displayBits = DisplayShort;
  ASSERT_EQ(writeFileListTo(panel, "T:\\out.lst"), ListFileWritten);
  EXPECT_EQ(tree_.readFile("out.lst"), fileListText(panel));

  // The box names the file and the system's reason.
  std::string box;
  console_.onInputExhausted = [&](HeadlessConsole& c) {
    for (int row = 0; row < c.rows; ++row) box += c.shownRow(row) + "\n";
    c.pushKey(key::Escape);
  };
  EXPECT_EQ(writeFileListTo(panel, "T:\\missing\\out.lst"), ListFileFailed);
  console_.onInputExhausted = nullptr;
  EXPECT_NE(box.find("File open error T:\\missing\\out.lst"), std::string::npos) << box;
  EXPECT_NE(box.find("No such file or directory"), std::string::npos) << box;

  // Through the name question: preset with the drive root and "_CV_.LST".
  EXPECT_EQ(defaultListFileName(), "T:\\_CV_.LST");
  console_.pushKey(key::Enter);
  EXPECT_EQ(writeFileList(panel), ListFileWritten);
  EXPECT_EQ(tree_.readFile("_CV_.LST"), fileListText(panel));
  console_.pushKey(key::Escape);
  EXPECT_EQ(writeFileList(panel), ListFileCancelled);
}

}  // namespace
}  // namespace corvane
