#include "panels/cursor_memory.h"

#include <gtest/gtest.h>

#include "panels/list_test_helpers.h"

namespace corvane {
namespace {

using testing::append;
using testing::directoryEntry;
using testing::fileEntry;

TEST(CursorMemory, GoingUpFindsTheDirectoryLeftLiterally) {
  Panel panel;
  panel.currentDirectory = "T:\\work";
  append(panel.list, directoryEntry(".."));
  append(panel.list, directoryEntry("a1"));
  const NodeId bracket = append(panel.list, directoryEntry("a[1]"));
  EXPECT_EQ(placeCursorAfterGoingUp(panel, "T:\\work\\A[1]\\"), bracket);
  EXPECT_EQ(panel.cursor, bracket);
  EXPECT_EQ(placeCursorAfterGoingUp(panel, "T:\\work\\gone"), NoNode);
  EXPECT_EQ(panel.cursor, panel.list.head);
}

TEST(CursorMemory, ReturningToADriveFindsTheRememberedName) {
  DriveCursorMemory memory;
  Panel panel;
  panel.currentDirectory = "D:\\docs";
  append(panel.list, directoryEntry(".."));
  const NodeId report = append(panel.list, fileEntry("report.txt"));
  panel.cursor = report;
  rememberCursor(memory, panel);
  ASSERT_NE(rememberedFor(memory, 'd'), nullptr);
  EXPECT_EQ(rememberedFor(memory, 'd')->directory, "D:\\docs");
  EXPECT_EQ(rememberedFor(memory, '1'), nullptr);

  panel.cursor = panel.list.head;
  EXPECT_EQ(placeCursorForDrive(panel, memory), report);
  EXPECT_EQ(panel.cursor, report);
  panel.currentDirectory = "E:\\";
  EXPECT_EQ(placeCursorForDrive(panel, memory), NoNode);
  EXPECT_EQ(panel.cursor, panel.list.head);
}

}  // namespace
}  // namespace corvane
