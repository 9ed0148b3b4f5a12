#include "tree/tree_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::testing {
namespace {

// A tree of drive T: from "level name" lines.
DirectoryTree treeOf(const std::vector<std::pair<int, std::string>>& nodes) {
  DirectoryTree tree;
  resetTree(tree, 'T');
  std::vector<TreeNode> below;
  for (const auto& [level, name] : nodes) {
    TreeNode n;
    n.level = static_cast<std::uint16_t>(level);
    n.name = name;
    below.push_back(n);
  }
  replaceDescendants(tree, 0, below);
  return tree;
}

TEST(TreeModel, LinesJoinEverySiblingToTheNextOne) {
  const DirectoryTree tree = treeOf({{1, "bin"},
                                     {2, "local"},
                                     {3, "share"},
                                     {3, "lib"},
                                     {4, "deep"},
                                     {2, "sbin"},
                                     {1, "etc"},
                                     {2, "ssh"},
                                     {1, "home"},
                                     {2, "ann"},
                                     {3, "src"}});
  EXPECT_EQ(treeText(tree),
            "─T:\\\n"
            "  ├─bin\n"
            "  │ ├─local\n"
            "  │ │ ├─share\n"
            "  │ │ └─lib\n"
            "  │ │   └─deep\n"
            "  │ └─sbin\n"
            "  ├─etc\n"
            "  │ └─ssh\n"
            "  └─home\n"
            "    └─ann\n"
            "      └─src\n");
  // Parents are the nearest preceding node one level up; the root is its own.
  EXPECT_EQ(tree.nodes[0].parent, 0u);
  EXPECT_EQ(tree.nodes[5].parent, 4u);  // deep under lib
  EXPECT_EQ(tree.nodes[6].parent, 1u);  // sbin under bin
  EXPECT_EQ(tree.nodes[9].parent, 0u);  // home under the root
  EXPECT_EQ(nodePath(tree, 5), "T:\\bin\\local\\lib\\deep");
  EXPECT_EQ(nodePath(tree, 0), "T:\\");
  EXPECT_EQ(subtreeEnd(tree, 1), 7u);
  EXPECT_EQ(subtreeEnd(tree, 0), 12u);
}

TEST(TreeModel, PathsFindTheirNodeTheExactSpellingFirst) {
  // On a case-sensitive file system "Src" and "src" are two directories.
  const DirectoryTree tree =
      treeOf({{1, "Src"}, {2, "one"}, {1, "src"}, {2, "two"}, {1, "Docs"}, {2, "a b"}});
  struct Case {
    const char* path;
    TreeNodeId node;
    TreeNodeId ancestor;
  };
  const Case cases[] = {
      {"T:\\src", 3, 3},
      {"T:\\Src\\one", 2, 2},
      {"T:\\src\\two", 4, 4},
      {"T:\\SRC", 1, 1},  // no exact one: the first that differs in case only
      {"T:\\docs\\a b", 6, 6},
      {"T:\\Src\\two", NoTreeNode, 1},
      {"T:\\src\\two\\three\\four", NoTreeNode, 4},
      {"T:\\", 0, 0},
      {"U:\\src", NoTreeNode, NoTreeNode},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(findNode(tree, c.path), c.node);
    EXPECT_EQ(findNearestAncestor(tree, c.path), c.ancestor);
  }
}

}  // namespace
}  // namespace corvane::testing
