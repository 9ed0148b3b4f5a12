#include "panels/selection_commands.h"

#include <gtest/gtest.h>

#include "panels/list_test_helpers.h"
#include "panels/selection_texts.h"
#include "support/headless_fixture.h"

namespace corvane::testing {
namespace {

// "..", two directories and five files, counted; long names kept as read.
Panel samplePanel() {
  Panel panel;
  panel.nameCase = 2;
  append(panel.list, directoryEntry(".."));
  append(panel.list, directoryEntry("obj"));
  append(panel.list, directoryEntry("src"));
  append(panel.list, fileEntry("a.obj", 100));
  append(panel.list, fileEntry("b.OBJ", 200));
  append(panel.list, fileEntry("main.c", 30));
  append(panel.list, fileEntry("readme", 4));
  append(panel.list, fileEntry("util.c", 5));
  countList(panel);
  panel.cursor = panel.top = panel.list.head;
  return panel;
}

// Names of the nodes with MarkSelected, in chain order.
std::string selected(const Panel& panel) {
  std::string out;
  for (NodeId id : chain(panel.list)) {
    const FileNode& n = panel.list.nodes[id];
    if ((n.mark & MarkSelected) == 0) continue;
    if (!out.empty()) out += ' ';
    out += n.entry.name;
  }
  return out;
}

NodeId named(const Panel& panel, std::string_view name) { return findNodeByName(panel.list, name); }

TEST(SelectionCommands, ToggleCountsAndRefusesParentAndPlaceholder) {
  Panel panel = samplePanel();
  EXPECT_FALSE(toggleSelection(panel, named(panel, "..")));
  EXPECT_TRUE(toggleSelection(panel, named(panel, "src")));  // a directory can be toggled
  EXPECT_TRUE(toggleSelection(panel, named(panel, "a.obj")));
  EXPECT_EQ(selected(panel), "src a.obj");
  EXPECT_EQ(panel.selectedCount, 2);
  EXPECT_EQ(panel.selectedSize, 100u);
  EXPECT_TRUE(toggleSelection(panel, named(panel, "a.obj")));
  EXPECT_EQ(panel.selectedCount, 1);
  EXPECT_EQ(panel.selectedSize, 0u);

  Panel empty;
  append(empty.list, directoryEntry(".."), MarkError);
  countList(empty);
  EXPECT_FALSE(toggleSelection(empty, empty.list.head));
  EXPECT_EQ(empty.selectedCount, 0);
}

TEST(SelectionCommands, InvertTouchesFilesOnlyAndUnselectClearsAll) {
  Panel panel = samplePanel();
  toggleSelection(panel, named(panel, "obj"));
  toggleSelection(panel, named(panel, "main.c"));
  invertSelection(panel);
  EXPECT_EQ(selected(panel), "obj a.obj b.OBJ readme util.c");
  EXPECT_EQ(panel.selectedCount, 5);
  EXPECT_EQ(panel.selectedSize, 309u);
  unselectAll(panel);
  EXPECT_EQ(selected(panel), "");
  EXPECT_EQ(panel.selectedCount, 0);
  EXPECT_EQ(panel.selectedSize, 0u);
}

TEST(SelectionCommands, PatternSelectionByKindAndAdd) {
  struct Case {
    SelectKind kind;
    SelectAdd add;
    const char* pattern;
    const char* expected;
  };
  // Every case starts with readme selected (and the directory obj).
  const Case cases[] = {
      {SelectKind::Select, SelectAdd::Replace, "*.obj", "a.obj b.OBJ"},
      {SelectKind::Select, SelectAdd::Add, "*.obj", "obj a.obj b.OBJ readme"},
      {SelectKind::InverseSelect, SelectAdd::Replace, "*.obj", "main.c readme util.c"},
      {SelectKind::InverseSelect, SelectAdd::Add, "*.c;readme", "obj"},
      {SelectKind::Select, SelectAdd::Replace, "*.*", "a.obj b.OBJ main.c readme util.c"},
      {SelectKind::Select, SelectAdd::Replace, "*.", "readme"},
      {SelectKind::Select, SelectAdd::Replace, "*;<*.obj", "main.c readme util.c"},
  };
  for (const Case& c : cases) {
    Panel panel = samplePanel();
    toggleSelection(panel, named(panel, "readme"));
    toggleSelection(panel, named(panel, "obj"));
    selectByPattern(panel, c.pattern, c.kind, c.add);
    EXPECT_EQ(selected(panel), c.expected) << c.pattern;
    int count = 0;
    for (NodeId id : chain(panel.list)) count += (panel.list.nodes[id].mark & MarkSelected) ? 1 : 0;
    EXPECT_EQ(panel.selectedCount, count) << c.pattern;
  }
}

TEST(SelectionCommands, PatternAndMaskNormalised) {
  Panel longNames = samplePanel();
  Panel shortNames = samplePanel();
  shortNames.nameCase = 0;
  EXPECT_EQ(normalisedPattern(longNames, "  "), "*.*");
  EXPECT_EQ(normalisedPattern(longNames, "*.C  "), "*.C");
  EXPECT_EQ(normalisedPattern(shortNames, "*.C  "), "*.c");
  EXPECT_EQ(normalisedMask(shortNames, ""), "*.*");
  EXPECT_EQ(normalisedMask(longNames, " A*.TXT "), " A*.TXT");
}

TEST(SelectionCommands, ShowOnlyKeepsParentAndCounts) {
  Panel panel = samplePanel();
  toggleSelection(panel, named(panel, "b.OBJ"));
  toggleSelection(panel, named(panel, "src"));
  showOnly(panel, ShowKind::Selected);
  EXPECT_EQ(names(panel.list), ".. src b.OBJ");
  EXPECT_EQ(panel.fileCount, 3);
  EXPECT_EQ(panel.totalSize, 200u);
  EXPECT_EQ(panel.selectedCount, 2);

  Panel rest = samplePanel();
  toggleSelection(rest, named(rest, "b.OBJ"));
  showOnly(rest, ShowKind::Unselected);
  EXPECT_EQ(names(rest.list), ".. obj src a.obj main.c readme util.c");
  EXPECT_EQ(rest.selectedCount, 0);
  EXPECT_EQ(rest.totalSize, 139u);
}

TEST(SelectionCommands, ShowSelectedWithNothingLeftKeepsOneParent) {
  Panel panel;
  append(panel.list, fileEntry("x", 1));
  append(panel.list, fileEntry("y", 2));
  countList(panel);
  showOnly(panel, ShowKind::Selected);
  EXPECT_EQ(names(panel.list), "..");
  EXPECT_EQ(panel.fileCount, 1);
  EXPECT_EQ(panel.totalSize, 0u);
}

TEST(SelectionCommands, ResortKeepsMarksAndCursorEntry) {
  Panel panel = samplePanel();
  toggleSelection(panel, named(panel, "util.c"));
  panel.cursor = named(panel, "main.c");
  resortPanel(panel, SortMode::Size);
  EXPECT_EQ(names(panel.list), ".. obj src b.OBJ a.obj main.c util.c readme");
  EXPECT_EQ(selected(panel), "util.c");
  EXPECT_EQ(panel.list.nodes[panel.cursor].entry.name, "main.c");
  resortPanel(panel, SortMode::Mode);
  EXPECT_EQ(names(panel.list), ".. obj src util.c a.obj b.OBJ main.c readme");
  EXPECT_EQ(panel.list.nodes[panel.cursor].entry.name, "main.c");
}

class SelectionFormTest : public HeadlessTest {};

TEST_F(SelectionFormTest, FormSelectsAndKeepsThePatternForNextTime) {
  Panel panel = samplePanel();
  setLastSelectionPattern("");
  console_.pushText("*.c");
  console_.pushKey(key::Enter);
  EXPECT_EQ(selectionForm(panel, SelectKind::Select), SelectionDone);
  EXPECT_EQ(selected(panel), "main.c util.c");
  EXPECT_EQ(lastSelectionPattern(), "*.c");

  // The form opens with "*.c"; Tab to the switch, Space sets Add, Enter.
  console_.pushKeys({key::Tab, key::Space, key::Enter});
  EXPECT_EQ(selectionForm(panel, SelectKind::InverseSelect), SelectionDone);
  EXPECT_EQ(selected(panel), "");

  console_.pushKey(key::Escape);
  toggleSelection(panel, named(panel, "readme"));
  EXPECT_EQ(selectionForm(panel, SelectKind::Select), SelectionCancelled);
  EXPECT_EQ(selected(panel), "readme");
}

TEST_F(SelectionFormTest, FormShowsItsTitleAndSwitch) {
  Panel panel = samplePanel();
  bool titleSeen = false, switchSeen = false;
  console_.onInputExhausted = [&](HeadlessConsole& c) {
    for (int row = 0; row < c.rows; ++row) {
      const std::string text = c.shownRow(row);
      titleSeen = titleSeen || text.find(TextInverseSelectTitle) != std::string::npos;
      switchSeen = switchSeen || text.find("Add Selection ?  [NO ]") != std::string::npos;
    }
    c.pushKey(key::Escape);
  };
  EXPECT_EQ(selectionForm(panel, SelectKind::InverseSelect), SelectionCancelled);
  EXPECT_TRUE(titleSeen);
  EXPECT_TRUE(switchSeen);
}

TEST_F(SelectionFormTest, MaskDialogSetsTheNormalisedMask) {
  Panel panel = samplePanel();
  panel.nameCase = 0;
  console_.pushText("*.TXT  ");
  console_.pushKey(key::Enter);
  EXPECT_EQ(panelMaskDialog(panel), SelectionDone);
  EXPECT_EQ(panel.mask, "*.txt");
  console_.pushKey(key::Escape);
  EXPECT_EQ(panelMaskDialog(panel), SelectionCancelled);
  EXPECT_EQ(panel.mask, "*.txt");
}

}  // namespace
}  // namespace corvane::testing
