#include "panels/info_area.h"

#include <gtest/gtest.h>

#include "config/setup_block.h"
#include "display_fixture.h"
#include "panels/display_texts.h"
#include "panels/panel_display.h"
#include "panels/state_window.h"
#include "platform/drive_info.h"
#include "platform/system_info.h"

namespace corvane {
namespace {

using testing::append;
using testing::directoryEntry;
using testing::dosDate;
using testing::dosTime;
using testing::fileEntry;

class InfoAreaTest : public testing::DisplayTest {
 protected:
  InfoAreaTest() {
    savedClock_ = setupBlock().clockFlags.get();
    setupBlock().clockFlags.set(ClockFlag24Hours);
  }
  ~InfoAreaTest() override { setupBlock().clockFlags.set(savedClock_); }

  // A panel of a directory, a 123456-byte file under the cursor and a 5 MB selected file.
  static void fill(Panel& panel) {
    panel.nameCase = 2;
    panel.currentDirectory = "T:\\data";
    panel.volume.volumeName = "DATA";
    panel.volume.fileSystemClass = FileSystemLongNames;
    panel.volume.freeClusters = 1000;
    panel.volume.sectorsPerCluster = 8;
    panel.volume.bytesPerSector = 512;
    append(panel.list, directoryEntry(".."));
    append(panel.list, directoryEntry("docs"));
    FileEntry report = fileEntry("report.txt", 123456, dosDate(2003, 7, 4), dosTime(14, 5));
    report.attributes = AttrArchive | AttrHidden;
    const NodeId reportId = append(panel.list, report);
    append(panel.list, fileEntry("video.bin", 5000000), MarkSelected);
    countList(panel);
    panel.top = panel.list.head;
    panel.cursor = reportId;
  }

  std::uint16_t savedClock_;
};

TEST_F(InfoAreaTest, ValuesGoThroughFormatSize) {
  Panel panel;
  fill(panel);
  const InfoValues v = infoValues(panel);
  EXPECT_EQ(v.totalFiles, "           4");
  EXPECT_EQ(v.totalSize, "      5.1 MB");  // 5123456
  EXPECT_EQ(v.selectedFiles, "           1");
  EXPECT_EQ(v.selectedSize, "      5.0 MB");
  EXPECT_EQ(v.fileSize, "     123.456");
  EXPECT_EQ(v.diskFree, "      4.0 MB");  // 1000 clusters of 8 x 512 bytes
}

TEST_F(InfoAreaTest, ColumnInNormalAndCompactArrangement) {
  Panel panel;
  fill(panel);
  giveWindow(panel, 78, 20);
  GeometryRequest r;
  r.windowColumns = 78;
  r.windowRows = 20;
  PanelGeometry g = computePanelGeometry(r);
  drawInfoArea(panel, g, 2);
  EXPECT_EQ(cellText(panel, 1, 1, 12), "TOTAL  FILES");
  EXPECT_EQ(cellText(panel, 1, 2, 12), "           4");
  EXPECT_EQ(cellText(panel, 1, 3, 3), "\u2500\u2500\u2500");
  EXPECT_EQ(cellText(panel, 1, 4, 12), " TOTAL  SIZE");
  EXPECT_EQ(cellText(panel, 1, 13, 12), "  FILESIZE  ");
  EXPECT_EQ(cellText(panel, 1, 14, 12), "     123.456");
  EXPECT_EQ(cellText(panel, 1, 16, 12), "  DISKFREE  ");
  EXPECT_EQ(cellText(panel, 1, 18, 12), " DATA       ");
  EXPECT_EQ(cellText(panel, 1, 19, 12), "[2]         ");
  EXPECT_EQ(cellText(panel, 13, 5, 1), "\u2502");

  r.compactInfo = true;
  g = computePanelGeometry(r);
  drawInfoArea(panel, g, 1);
  EXPECT_EQ(cellText(panel, 1, 3, 12), " TOTAL  SIZE");
  EXPECT_EQ(cellText(panel, 1, 9, 12), "  FILESIZE  ");
  EXPECT_EQ(cellText(panel, 1, 10, 12), "     123.456");
  EXPECT_EQ(cellText(panel, 1, 11, 12), "  DISKFREE  ");
  EXPECT_EQ(cellText(panel, 1, 13, 12), " DATA       ");
  EXPECT_EQ(cellText(panel, 1, 14, 12), "[1]         ");

  // A cursor move redraws the values only.
  panel.cursor = panel.list.tail;
  drawInfoValues(panel, g, 1);
  EXPECT_EQ(cellText(panel, 1, 10, 12), "      5.0 MB");
}

TEST_F(InfoAreaTest, InfoLinesOfTheOtherLayouts) {
  Panel panel;
  fill(panel);
  InfoLines lines = infoLines(panel, 60);
  EXPECT_EQ(lines.entry, "report.txt             123.456 04.07.03 14:05 H..A          ");
  EXPECT_EQ(lines.counts, "     4/1      5.1 MB/5.0 MB                                 ");
  // A narrow window keeps the name's 20 cells and the size; date and time, and the
  // attributes, stand only where they fit whole. An entry without a date shows none.
  lines = infoLines(panel, 38);
  EXPECT_EQ(lines.entry, "report.txt             123.456 H..A   ");
  lines = infoLines(panel, 46);
  EXPECT_EQ(lines.entry, "report.txt             123.456 04.07.03 14:05 ");
  panel.cursor = nodeAtIndex(panel.list, 1);
  setupBlock().clockFlags.set(0);
  lines = infoLines(panel, 52);
  EXPECT_EQ(lines.entry, "docs                     <DIR>                 .... ");
  // A size of ten characters never joins a long name.
  node(panel.list, panel.cursor).entry = fileEntry("abcdefghijklmnopqrstuvwxyz", 1000000);
  EXPECT_EQ(infoLines(panel, 38).entry.substr(0, 30), "abcdefghijklmnopqrs 1.000.0 kB");
  node(panel.list, panel.cursor).entry = directoryEntry("docs");

  giveWindow(panel, 38, 10);
  GeometryRequest r;
  r.windowColumns = 38;
  r.windowRows = 10;
  r.layout = LayoutTwoLists;
  drawInfoArea(panel, computePanelGeometry(r), 1);
  EXPECT_EQ(cellText(panel, 1, 9, 30), "docs                     <DIR>");
  EXPECT_EQ(cellText(panel, 1, 8, 3), "\u2550\u2550\u2550");  // in the frame's style
  EXPECT_EQ(cellText(panel, 1, 10, 13), "     4/1     ");
}

TEST_F(InfoAreaTest, StateWindowRows) {
  Panel panel;
  fill(panel);
  std::uint64_t freeMemory = 0;
  int load = 0;
  const bool haveMemory = memoryStatus(freeMemory, load);
  const std::vector<std::string> rows = stateWindowRows(panel);
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows[2], "");
  EXPECT_EQ(rows[3], " 2 Files  , 1 Directories   ");  // ".." is not counted
  EXPECT_EQ(rows[5], " 5.1 MB Bytes total size ");
  EXPECT_EQ(rows[6], " in T:\\data");
  EXPECT_EQ(rows[8], " Free on drive     T:  4.0 MB");
  EXPECT_EQ(rows[9], " Drivename          :  DATA");
  EXPECT_EQ(rows[10], " Filesystem         :  VFAT");
  EXPECT_EQ(rows[12], " Free Memory " + formatSize(haveMemory ? freeMemory : 0));

  struct Case {
    int fileSystemClass;
    const char* name;
  } cases[] = {{0, "    "}, {1, "FAT"},     {2, "HPFS"}, {3, "NFS"},
               {4, "CDFS"}, {5, "NETWARE"}, {6, "VFAT"}, {7, "UNKNOWN"}};
  for (const Case& c : cases) EXPECT_EQ(fileSystemName(c.fileSystemClass), c.name);
}

TEST_F(InfoAreaTest, StateWindowOpensOverTheOtherPanelOnly) {
  Panel left, right;
  fill(left);
  WindowHandle leftWindow, rightWindow;
  ASSERT_EQ(openWindow(leftWindow, 1, 2, 40, 20, 0x17, 0x1E, WindowDouble | WindowClear), 0);
  ASSERT_EQ(openWindow(rightWindow, 41, 2, 40, 20, 0x17, 0x1E, WindowDouble | WindowClear), 0);
  left.window = leftWindow.get();
  right.window = rightWindow.get();

  // Without a partner there is nothing to cover.
  EXPECT_EQ(openStateWindow(left), -1);
  EXPECT_EQ(left.infoFlag, 0);

  linkPanels(left, right);
  ASSERT_EQ(openStateWindow(left), 0);
  EXPECT_EQ(left.infoFlag & 1, 1);
  EXPECT_TRUE(stateWindowOpen());
  EXPECT_EQ(currentWindow(), left.window);
  EXPECT_NE(imageRow(1).find(" State  "), std::string::npos);
  EXPECT_EQ(imageText(41, 2, 14), "  NT-Corvane 2");
  EXPECT_EQ(imageText(41, 5, 28), " 2 Files  , 1 Directories   ");
  EXPECT_EQ(imageAttr(41, 5), color(ColorInfoWindow));

  // Drawing the panel's list draws the State window again.
  append(left.list, fileEntry("new.txt"));
  countList(left);
  GeometryRequest r;
  r.windowColumns = 38;
  r.windowRows = 18;
  r.layout = LayoutTwoLists;
  drawFileList(left, computePanelGeometry(r));
  EXPECT_EQ(imageText(41, 5, 28), " 3 Files  , 1 Directories   ");

  closeStateWindow(left);
  EXPECT_EQ(left.infoFlag & 1, 0);
  EXPECT_FALSE(stateWindowOpen());
  EXPECT_EQ(imageRow(1).find(" State  "), std::string::npos);
}

}  // namespace
}  // namespace corvane
