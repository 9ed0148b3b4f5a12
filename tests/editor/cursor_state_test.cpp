#include "editor/cursor_state.h"

#include <gtest/gtest.h>

#include <string>

#include "editor_fixture.h"
#include "platform/textf.h"

namespace corvane {
namespace {

using testing::EditorTest;

TEST_F(EditorTest, CursorRecordsHaveTheirStoredLayout) {
  const std::string bytes = encodeCursorRecord({"C:\\a.txt", 7, 3, 0x01020304});
  ASSERT_EQ(bytes.size(), CursorRecordSize);
  EXPECT_EQ(bytes.substr(0, 9), std::string("C:\\a.txt\0", 9));
  EXPECT_EQ(bytes.substr(261, 16), std::string("\x07\0\0\0\x03\0\0\0\x04\x03\x02\x01\0\0\0\0", 16));
  EXPECT_EQ(encodeCursorRecord({std::string(261, 'n'), 0, 1, 1}), "");  // no room for it
  EXPECT_EQ(encodeCursorRecord({std::string(260, 'n'), 0, 1, 1}).size(), CursorRecordSize);

  // A damaged file gives its whole records only.
  const std::string two = bytes + encodeCursorRecord({"C:\\b", 1, 2, 3});
  const std::vector<CursorRecord> read = decodeCursorRecords(two + "partial record");
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].name, "C:\\b");
  EXPECT_EQ(read[1].line, 3);
}

TEST_F(EditorTest, TheStateFileKeepsTheNewest70AndRestoresTheFirstOfAName) {
  EditedFile file;
  for (int i = 0; i < 71; ++i) {
    file.name = textf("T:\\file%02d", i);
    file.cursorColumn = i;
    ASSERT_TRUE(saveCursorState(file));
  }
  std::vector<CursorRecord> records = readCursorRecords();
  ASSERT_EQ(records.size(), MaxCursorRecords);
  EXPECT_EQ(records.front().name, "T:\\file70");
  EXPECT_EQ(records.back().name, "T:\\file01");  // the oldest went
  EXPECT_EQ(tree_.readFile("corvane.EST").size(), MaxCursorRecords * CursorRecordSize);
  EXPECT_FALSE(tree_.exists("corvane.ETM"));

  // Saving a name again moves its record to the front, once.
  file.name = "T:\\file30";
  file.cursorColumn = 99;
  ASSERT_TRUE(saveCursorState(file));
  records = readCursorRecords();
  ASSERT_EQ(records.size(), MaxCursorRecords);
  EXPECT_EQ(records.front().column, 99);
  EXPECT_EQ(std::count_if(records.begin(), records.end(),
                          [](const CursorRecord& r) { return r.name == "T:\\file30"; }),
            1);

  // Restoring: the row stays in the window and below the line above the first; a line past
  // the end is the last one.
  tree_.writeFile("short", "1\n2\n3\n");
  EditedFile three;
  ASSERT_EQ(read("short", three), LoadDone);
  three.cursorColumn = 4, three.cursorRow = 20, three.lineNumber = 500;
  ASSERT_TRUE(saveCursorState(three));
  EditedFile again;
  ASSERT_EQ(read("short", again), LoadDone);
  ASSERT_TRUE(restoreCursorState(again, 10));
  EXPECT_EQ(again.lineNumber, 3);
  EXPECT_EQ(again.currentLine->view(), "3");
  EXPECT_EQ(again.cursorRow, 4);
  EXPECT_EQ(again.cursorColumn, 4);

  // Without a setup file there is no state file at all.
  setupBlock().setupPath.clear();
  EXPECT_TRUE(saveCursorState(three));
  EXPECT_TRUE(readCursorRecords().empty());
}

}  // namespace
}  // namespace corvane
