#include "panels/directory_read.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panels/list_test_helpers.h"
#include "panels/panel_create.h"
#include "panels/read_fixture.h"
#include "panels/read_texts.h"
#include "platform/keycodes.h"

namespace corvane {
namespace {

using testing::chainConsistent;
using testing::names;

class DirectoryReadTest : public testing::ReadTest {
 protected:
  // The counters must equal what a recount gives, and no re-read bookkeeping may remain.
  void expectConsistent(Panel& panel) {
    EXPECT_TRUE(chainConsistent(panel.list));
    const Panel before = panel;
    countList(panel);
    EXPECT_EQ(before.fileCount, panel.fileCount);
    EXPECT_EQ(before.totalSize, panel.totalSize);
    EXPECT_EQ(before.selectedCount, panel.selectedCount);
    EXPECT_EQ(before.selectedSize, panel.selectedSize);
    EXPECT_EQ(static_cast<std::uint32_t>(panel.fileCount), panel.list.length);
    for (NodeId id : chain(panel.list)) EXPECT_EQ(panel.list.nodes[id].mark & MarkNotSeen, 0u);
    EXPECT_EQ(panel.cursor, panel.list.head);
  }

  NodeId named(const Panel& panel, std::string_view name) {
    for (NodeId id : chain(panel.list))
      if (panel.list.nodes[id].entry.name == name) return id;
    ADD_FAILURE() << name << " not listed";
    return NoNode;
  }

  ReadOptions options_;
};

TEST_F(DirectoryReadTest, FreshReadListsEveryDirectoryAndTheFilesMatchingTheMask) {
  tree_.makeDir("sub");
  tree_.makeDir("sub/Dir2");
  tree_.writeFile("sub/a.txt", "abc");
  tree_.writeFile("sub/b.c", "12345");
  tree_.writeFile("sub/.hidden.c", "x");
  Panel panel = panelOn("T:\\sub", "*.c");
  EXPECT_EQ(readDirectory(panel, options_), ReadDone);
  EXPECT_EQ(names(panel.list), ".. Dir2 .hidden.c b.c");
  EXPECT_EQ(panel.fileCount, 4);
  EXPECT_EQ(panel.totalSize, 6u);
  EXPECT_EQ(panel.nameCase, 2);                     // long names kept as they are
  EXPECT_FALSE(screenShows(TextReadingDirectory));  // the note is gone again
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, DriveRootWithNothingAcceptedHoldsThePlaceholder) {
  tree_.writeFile("only.txt", "x");
  Panel panel = panelOn("T:\\", "*.zzz");
  readDirectory(panel, options_);
  EXPECT_EQ(names(panel.list), "..");
  EXPECT_EQ(panel.list.nodes[panel.list.head].mark, MarkError);
  EXPECT_EQ(panel.fileCount, 1);

  tree_.makeDir("d");
  readDirectory(panel, options_);
  EXPECT_EQ(names(panel.list), "d");
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, DirectoryThatCannotBeSearchedGivesParent) {
  Panel panel = panelOn("T:\\missing");
  readDirectory(panel, options_);
  EXPECT_EQ(names(panel.list), "..");
  EXPECT_EQ(panel.list.nodes[panel.list.head].mark, 0u);
  EXPECT_EQ(panel.fileCount, 1);
}

TEST_F(DirectoryReadTest, RereadKeepsTheMarkOfAChangedFileAndDropsAVanishedOne) {
  tree_.makeDir("sub");
  for (const char* n : {"sub/a.txt", "sub/b.txt", "sub/c.txt"}) tree_.writeFile(n, "1");
  Panel panel = panelOn("T:\\sub");
  readDirectory(panel, options_);
  const NodeId a = named(panel, "a.txt"), b = named(panel, "b.txt"), c = named(panel, "c.txt");
  panel.list.nodes[a].mark = MarkSelected;
  panel.list.nodes[b].mark = MarkSelected;
  panel.list.nodes[c].mark = MarkCompareNewer;
  countList(panel);

  tree_.writeFile("sub/a.txt", "grown to a bigger size");
  ASSERT_TRUE(std::remove(tree_.host("sub/b.txt").c_str()) == 0);
  tree_.writeFile("sub/d.txt", "new");
  EXPECT_EQ(rereadDirectory(panel, options_), ReadDone);

  EXPECT_EQ(names(panel.list), ".. a.txt c.txt d.txt");
  EXPECT_EQ(panel.list.nodes[named(panel, "a.txt")].mark, MarkSelected);
  EXPECT_EQ(named(panel, "c.txt"), c);  // unchanged: the same node, marks and all
  EXPECT_EQ(panel.list.nodes[c].mark, MarkCompareNewer);
  EXPECT_EQ(panel.list.nodes[named(panel, "d.txt")].mark, 0u);
  EXPECT_EQ(panel.selectedCount, 1);
  EXPECT_EQ(panel.selectedSize, 22u);
  EXPECT_EQ(panel.totalSize, 22u + 1u + 3u);
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, RereadKeepsAComputedDirectorySizeUntilTheDirectoryChanges) {
  tree_.makeDir("sub");
  tree_.makeDir("sub/d");
  tree_.setLocalMtime("sub/d", 2020, 5, 6, 7, 8, 10);
  Panel panel = panelOn("T:\\sub");
  readDirectory(panel, options_);
  const NodeId d = named(panel, "d");
  panel.list.nodes[d].entry.size = 123456;
  panel.list.nodes[d].mark = MarkSizeComputed | MarkSelected;
  countList(panel);

  rereadDirectory(panel, options_);
  EXPECT_EQ(named(panel, "d"), d);
  EXPECT_EQ(panel.list.nodes[d].entry.size, 123456u);
  EXPECT_EQ(panel.list.nodes[d].mark, MarkSizeComputed | MarkSelected);

  tree_.setLocalMtime("sub/d", 2021, 5, 6, 7, 8, 10);
  rereadDirectory(panel, options_);
  const FileNode& changed = panel.list.nodes[named(panel, "d")];
  EXPECT_EQ(changed.entry.size, 0u);
  EXPECT_EQ(changed.mark, MarkSelected);
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, RereadTakesOverANewSpellingAndKeepsNamesThatDifferInCase) {
  tree_.makeDir("sub");
  tree_.writeFile("sub/a.txt", "1");
  Panel panel = panelOn("T:\\sub");
  readDirectory(panel, options_);
  const NodeId a = named(panel, "a.txt");
  panel.list.nodes[a].mark = MarkSelected;
  ASSERT_EQ(std::rename(tree_.host("sub/a.txt").c_str(), tree_.host("sub/A.TXT").c_str()), 0);
  rereadDirectory(panel, options_);
  EXPECT_EQ(names(panel.list), ".. A.TXT");
  EXPECT_EQ(named(panel, "A.TXT"), a);
  EXPECT_EQ(panel.list.nodes[a].mark, MarkSelected);

  // Both spellings on disk: each keeps its own node and mark.
  tree_.writeFile("sub/a.txt", "1");
  rereadDirectory(panel, options_);
  ASSERT_EQ(panel.list.length, 3u);
  EXPECT_EQ(named(panel, "A.TXT"), a);
  EXPECT_EQ(panel.list.nodes[a].mark, MarkSelected);
  EXPECT_EQ(panel.list.nodes[named(panel, "a.txt")].mark, 0u);
  rereadDirectory(panel, options_);
  EXPECT_EQ(panel.list.nodes[a].mark, MarkSelected);
  EXPECT_EQ(panel.list.nodes[named(panel, "a.txt")].mark, 0u);
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, NamesWithAnyBytesSurviveReadAndReread) {
  tree_.makeDir("sub");
  const std::vector<std::string> odd = {"\xFF\xFE.bin", "tab\tname", "\xC3\xA4.txt",
                                        "sp ace",       "x;y",       "[br]"};
  for (const std::string& n : odd) tree_.writeFile("sub/" + n, "z");
  Panel panel = panelOn("T:\\sub");
  readDirectory(panel, options_);
  for (const std::string& n : odd) panel.list.nodes[named(panel, n)].mark = MarkSelected;
  countList(panel);
  rereadDirectory(panel, options_);
  EXPECT_EQ(panel.list.length, odd.size() + 1);
  for (const std::string& n : odd) {
    const NodeId id = named(panel, n);
    if (id != NoNode) {
      EXPECT_EQ(panel.list.nodes[id].mark, MarkSelected) << n;
    }
  }
  EXPECT_EQ(panel.selectedCount, static_cast<int>(odd.size()));
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, EscapeAnsweredYesLeavesAConsistentPartialList) {
  tree_.makeDir("big");
  for (int i = 0; i < 300; ++i) tree_.writeFile("big/f" + std::to_string(i), "x");
  Panel panel = panelOn("T:\\big");
  console_.pushKeys({key::Escape, 'Y'});
  EXPECT_EQ(readDirectory(panel, options_), ReadCancelled);
  EXPECT_LT(panel.list.length, 301u);
  EXPECT_GE(panel.list.length, 1u);
  expectConsistent(panel);
  EXPECT_TRUE(console_.input.empty());
}

TEST_F(DirectoryReadTest, EscapeAnsweredNoReadsOn) {
  tree_.makeDir("big");
  for (int i = 0; i < 150; ++i) tree_.writeFile("big/f" + std::to_string(i), "x");
  Panel panel = panelOn("T:\\big");
  console_.pushKeys({key::Escape, 'N'});
  EXPECT_EQ(readDirectory(panel, options_), ReadDone);
  EXPECT_EQ(panel.list.length, 151u);
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, CancelledRereadKeepsWhatItHadNotComparedYet) {
  tree_.makeDir("big");
  for (int i = 0; i < 300; ++i) tree_.writeFile("big/f" + std::to_string(i), "x");
  Panel panel = panelOn("T:\\big");
  readDirectory(panel, options_);
  for (NodeId id : chain(panel.list))
    if (panel.list.nodes[id].entry.name != "..") panel.list.nodes[id].mark = MarkSelected;
  countList(panel);
  console_.pushKeys({key::Escape, 'Y'});
  EXPECT_EQ(rereadDirectory(panel, options_), ReadCancelled);
  EXPECT_EQ(panel.list.length, 301u);
  EXPECT_EQ(panel.selectedCount, 300);
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, GenericReaderPlaceholders) {
  Panel panel = panelOn("T:\\", "*.c");
  readFromSource(panel, options_, [](FileEntry&, int) { return 3; });
  EXPECT_EQ(names(panel.list), std::string(TextNoEntryName));
  EXPECT_EQ(panel.list.nodes[panel.list.head].mark, MarkError);

  std::vector<FileEntry> delivered = {testing::fileEntry("x.h"), testing::fileEntry("")};
  std::size_t next = 0;
  const EntrySource source = [&](FileEntry& e, int further) {
    if (further == 0) next = 0;
    if (next >= delivered.size()) return 7;
    e = delivered[next++];
    return 0;
  };
  readFromSource(panel, options_, source);
  EXPECT_EQ(names(panel.list), "Error:   7");
  EXPECT_EQ(panel.list.nodes[panel.list.head].mark, MarkError);

  delivered = {testing::fileEntry("b.c", 4), testing::directoryEntry("."),
               testing::directoryEntry("z"), testing::fileEntry(""), testing::fileEntry("A.C", 1)};
  readFromSource(panel, options_, source);
  EXPECT_EQ(names(panel.list), "z A.C b.c");
  EXPECT_EQ(panel.totalSize, 5u);
  expectConsistent(panel);
}

TEST_F(DirectoryReadTest, CreatePanelReadsTheStartDirectory) {
  tree_.makeDir("start");
  tree_.writeFile("start/f", "");
  const auto panel = createPanel("T:\\start", LayoutSingleList, options_);
  EXPECT_EQ(panel->currentDirectory, "T:\\start");
  EXPECT_EQ(panel->mask, "*.*");
  EXPECT_EQ(names(panel->list), ".. f");

  const auto stays = createPanel("T:\\no-such", LayoutSingleList, options_);
  EXPECT_EQ(stays->currentDirectory, "T:\\start");
}

}  // namespace
}  // namespace corvane
