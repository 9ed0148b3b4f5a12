#include "panels/file_list.h"

#include <gtest/gtest.h>

#include "panels/list_test_helpers.h"
#include "panels/panel.h"

namespace corvane {
namespace {

using testing::append;
using testing::chainConsistent;
using testing::directoryEntry;
using testing::fileEntry;
using testing::names;

TEST(FileList, NodeStaysSmall) { EXPECT_LE(sizeof(FileNode), 64u); }

TEST(FileList, RemovingTheOnlyNodeLeavesParentEntry) {
  Panel panel;
  const NodeId only = append(panel.list, fileEntry("a", 10), MarkSelected);
  countList(panel);
  EXPECT_EQ(removeNode(panel, only), only);
  EXPECT_EQ(names(panel.list), "..");
  EXPECT_TRUE(panel.list.nodes[only].entry.isDirectory());
  EXPECT_EQ(panel.list.nodes[only].mark, 0u);
  EXPECT_EQ(panel.fileCount, 1);
  EXPECT_EQ(panel.totalSize, 0u);
  EXPECT_EQ(panel.selectedCount, 0);
  EXPECT_EQ(panel.selectedSize, 0u);
}

TEST(FileList, RemoveReturnsTheNextNodeOrThePreviousAtTheEnd) {
  Panel panel;
  const NodeId a = append(panel.list, fileEntry("a", 1));
  const NodeId b = append(panel.list, fileEntry("b", 2));
  const NodeId c = append(panel.list, fileEntry("c", 4));
  countList(panel);
  panel.cursor = b;
  EXPECT_EQ(removeNode(panel, b), c);
  EXPECT_EQ(panel.cursor, c);
  EXPECT_EQ(removeNode(panel, c), a);
  EXPECT_EQ(names(panel.list), "a");
  EXPECT_EQ(panel.fileCount, 1);
  EXPECT_EQ(panel.totalSize, 1u);
  EXPECT_TRUE(chainConsistent(panel.list));
  // A freed slot is reused and the chain stays sound.
  const NodeId d = append(panel.list, fileEntry("d"));
  EXPECT_TRUE(d == b || d == c);
  EXPECT_EQ(names(panel.list), "a d");
  EXPECT_TRUE(chainConsistent(panel.list));
  EXPECT_FALSE(isLiveNode(panel.list, b == d ? c : b));
}

TEST(FileList, RemovingAllSelectedFilesLeavesParentAlone) {
  Panel panel;
  append(panel.list, directoryEntry(".."));
  append(panel.list, fileEntry("a", 100), MarkSelected);
  append(panel.list, fileEntry("b", 3'000'000'000ull), MarkSelected);
  countList(panel);
  EXPECT_EQ(panel.selectedSize, 3'000'000'100ull);
  EXPECT_EQ(removeNodes(panel, [](const FileNode& n) { return (n.mark & MarkSelected) != 0; }), 2);
  EXPECT_EQ(names(panel.list), "..");
  EXPECT_EQ(panel.fileCount, 1);
  EXPECT_EQ(panel.totalSize, 0u);
  EXPECT_EQ(panel.selectedCount, 0);
  EXPECT_EQ(panel.selectedSize, 0u);
}

TEST(FileList, RemovingEveryNodeKeepsTheLastAsParent) {
  Panel panel;
  append(panel.list, fileEntry("a", 5));
  const NodeId b = append(panel.list, fileEntry("b", 7), MarkSelected);
  countList(panel);
  panel.cursor = panel.top = panel.list.head;
  removeNodes(panel, [](const FileNode&) { return true; });
  EXPECT_EQ(names(panel.list), "..");
  EXPECT_EQ(panel.list.head, b);
  EXPECT_EQ(panel.cursor, b);
  EXPECT_EQ(panel.fileCount, 1);
  EXPECT_EQ(panel.totalSize, 0u);
  EXPECT_EQ(panel.selectedCount, 0);
}

TEST(FileList, CountLeavesDirectoriesOutOfTheTotal) {
  Panel panel;
  FileEntry dir = directoryEntry("d");
  dir.size = 4096;
  append(panel.list, dir, MarkSelected | MarkSizeComputed);
  append(panel.list, fileEntry("f", 10));
  countList(panel);
  EXPECT_EQ(panel.fileCount, 2);
  EXPECT_EQ(panel.totalSize, 10u);
  EXPECT_EQ(panel.selectedCount, 1);
  EXPECT_EQ(panel.selectedSize, 4096u);
}

TEST(FileList, NearestUnselectedLooksDownThenUp) {
  FileList list;
  const NodeId a = append(list, fileEntry("a"));
  const NodeId b = append(list, fileEntry("b"), MarkSelected);
  const NodeId c = append(list, fileEntry("c"), MarkSelected);
  EXPECT_EQ(nearestUnselected(list, b), a);
  const NodeId d = append(list, fileEntry("d"));
  EXPECT_EQ(nearestUnselected(list, b), d);
  EXPECT_EQ(nearestUnselected(list, c), d);
  list.nodes[a].mark = list.nodes[d].mark = MarkSelected;
  EXPECT_EQ(nearestUnselected(list, b), NoNode);
}

TEST(FileList, PositionHelpers) {
  FileList list;
  append(list, directoryEntry(".."));
  const NodeId lower = append(list, fileEntry("read.me"));
  const NodeId upper = append(list, fileEntry("READ.ME"));
  EXPECT_EQ(nodeIndex(list, upper), 2);
  EXPECT_EQ(nodeAtIndex(list, 1), lower);
  EXPECT_EQ(nodeAtIndex(list, 3), NoNode);
  EXPECT_EQ(findNodeByName(list, "READ.ME"), upper);  // exact spelling first
  EXPECT_EQ(findNodeByName(list, "Read.Me"), lower);  // else the first folded match
  EXPECT_EQ(findNodeByName(list, "[x]"), NoNode);
  clearMarks(list);
  freeList(list);
  EXPECT_EQ(list.head, NoNode);
  EXPECT_EQ(list.length, 0u);
}

}  // namespace
}  // namespace corvane
