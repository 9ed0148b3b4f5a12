#include "panels/global_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "panels/list_test_helpers.h"
#include "panels/read_fixture.h"
#include "panels/read_texts.h"
#include "platform/clock.h"

namespace corvane {
namespace {

using testing::names;

class GlobalListTest : public testing::ReadTest {
 protected:
  void makeTree() {
    tree_.makeDir("a");
    tree_.makeDir("a/b");
    tree_.makeDir(".hidden");
    tree_.writeFile("top.c", "1");
    tree_.writeFile("a/x.c", "22");
    tree_.writeFile("a/y.h", "333");
    tree_.writeFile("a/b/z.c", "4444");
    tree_.writeFile("a/.dot.c", "5");
    tree_.writeFile(".hidden/h.c", "6");
  }

  std::vector<std::string> paths(const Panel& panel) {
    std::vector<std::string> out;
    for (NodeId id : chain(panel.list)) out.push_back(globalListPath(panel.list, id));
    return out;
  }
};

TEST_F(GlobalListTest, GathersMatchingFilesBelowTheStartSkippingDotNames) {
  makeTree();
  Panel panel;
  ASSERT_EQ(readGlobalList(panel, "T:\\", "*.c", {}), GlobalListFound);
  EXPECT_EQ(names(panel.list), "top.c x.c z.c");
  EXPECT_EQ(paths(panel), (std::vector<std::string>{"T:\\top.c", "T:\\a\\x.c", "T:\\a\\b\\z.c"}));
  EXPECT_EQ(panel.displayBits, 130);
  EXPECT_EQ(panel.fileCount, 3);
  EXPECT_EQ(panel.totalSize, 7u);
  const FileNode& z = panel.list.nodes[nodeAtIndex(panel.list, 2)];
  EXPECT_EQ(panel.list.directories[z.directory].depth, 2);
  EXPECT_FALSE(screenShows(std::string(TextFileFindTitle)));  // closed again
}

// Links are never walked: links to ".", ".." and the start list each file once; a link to a
// file is listed like a file, a dangling one too, a link to a directory not at all.
TEST_F(GlobalListTest, LinksAreNotWalkedAndEachFileIsListedOnce) {
  makeTree();
  tree_.makeSymlink("self", ".");
  tree_.makeSymlink("a/up", "..");
  tree_.makeSymlink("a/b/top", tree_.root());
  tree_.makeSymlink("a/b/again", "../b");
  tree_.makeSymlink("link.c", "top.c");
  tree_.makeSymlink("gone.c", "nowhere");
  tree_.makeSymlink("dir.c", "a");
  Panel panel;
  ASSERT_EQ(readGlobalList(panel, "T:\\", "*.c", {}), GlobalListFound);
  std::vector<std::string> found = paths(panel);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"T:\\a\\b\\z.c", "T:\\a\\x.c", "T:\\gone.c",
                                             "T:\\link.c", "T:\\top.c"}));
  EXPECT_EQ(panel.totalSize, 1u + 2u + 4u + 1u);  // the link gives its target's size
}

TEST_F(GlobalListTest, TestCallbackKeepsDropsAndCancels) {
  makeTree();
  std::vector<std::string> asked;
  GlobalListOptions options;
  options.test = [&](std::string_view path) {
    asked.emplace_back(path);
    return path.ends_with("x.c") ? 0 : GlobalTestKeep;
  };
  Panel panel;
  ASSERT_EQ(readGlobalList(panel, "T:\\", "*.c", options), GlobalListFound);
  EXPECT_EQ(names(panel.list), "top.c z.c");
  EXPECT_EQ(asked.size(), 3u);

  options.test = [](std::string_view) { return GlobalTestCancel; };
  ASSERT_EQ(readGlobalList(panel, "T:\\", "*.c", options), GlobalListFound);
  EXPECT_EQ(panel.list.length, 1u);  // the file that cancelled stays, nothing after it
}

TEST_F(GlobalListTest, NothingFoundIsReported) {
  makeTree();
  // With the idle time run out the key reader hands out one idle event and then waits
  // without a time limit, which lets the console call back here while the box is up.
  setIdleMinutes(1);
  advanceTicks(60);
  bool shown = false;
  console_.onInputExhausted = [&](HeadlessConsole& c) {
    shown = screenShows(std::string(TextNoFilesFound));
    c.pushKey(13);
  };
  Panel panel;
  EXPECT_EQ(readGlobalList(panel, "T:\\", "*.zzz", {}), GlobalListEmpty);
  setIdleMinutes(5);
  EXPECT_TRUE(shown);
  EXPECT_EQ(panel.list.length, 0u);
}

TEST_F(GlobalListTest, UnsearchableStartGivesANoteAndNoFiles) {
  console_.pushKey(13);  // for " No Files found ! "
  Panel panel;
  const std::uint64_t before = console_.now;
  EXPECT_EQ(readGlobalList(panel, "T:\\missing", "*.*", {}), GlobalListEmpty);
  EXPECT_GE(console_.now - before, 320u);  // the timed note stood for its 320 ms
  EXPECT_TRUE(console_.input.empty());
}

TEST_F(GlobalListTest, FoundLineInBothDateStyles) {
  const std::uint16_t may1997 = static_cast<std::uint16_t>((17 << 9) | (5 << 5) | 4);
  const std::uint16_t jan2003 = static_cast<std::uint16_t>((23 << 9) | (1 << 5) | 9);
  EXPECT_EQ(foundFileLine("T:\\a.c", 123, may1997, true),
            "T:\\a.c                                   Bytes : 123       04.05.97");
  EXPECT_EQ(foundFileLine("T:\\a.c", 123, may1997, false),
            "T:\\a.c                                   Bytes : 123       05-04-97");
  EXPECT_EQ(foundFileLine("T:\\a.c", 5'000'000'000ull, jan2003, true).substr(40),
            " Bytes : 5000000000 09.01.3");
  // Padding counts cells, not bytes.
  EXPECT_EQ(foundFileLine("\xC3\xA4", 0, jan2003, true).find(" Bytes"), 2u + 39u);
}

TEST_F(GlobalListTest, ManyFilesScrollInsideTheWindowAboveTheDirectoryLine) {
  tree_.makeDir("many");
  for (int i = 0; i < 40; ++i) tree_.writeFile("many/f" + std::to_string(i) + ".c", "");
  // The window stands at row 4 of 25 with 17 rows: files in screen rows 4 to 17, the
  // directory in row 18. Lines are drawn when they go to the terminal (at most every 40 ms):
  // a pause before the 29th file's line lets it be drawn; looked at before the 30th.
  int calls = 0;
  std::string lastListRow, directoryRow, firstListRow;
  GlobalListOptions options;
  options.test = [&](std::string_view) {
    if (++calls == 29) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (calls == 30) {
      firstListRow = imageRow(4);
      lastListRow = imageRow(17);
      directoryRow = imageRow(18);
    }
    return GlobalTestKeep;
  };
  Panel panel;
  ASSERT_EQ(readGlobalList(panel, "T:\\many", "*.c", options), GlobalListFound);
  EXPECT_EQ(panel.list.length, 40u);
  EXPECT_NE(firstListRow.find(" Bytes : 0 "), std::string::npos) << firstListRow;
  EXPECT_NE(lastListRow.find(" Bytes : 0 "), std::string::npos) << lastListRow;
  EXPECT_NE(directoryRow.find("T:\\many "), std::string::npos) << directoryRow;
  EXPECT_EQ(directoryRow.find("Bytes"), std::string::npos) << directoryRow;
}

}  // namespace
}  // namespace corvane
