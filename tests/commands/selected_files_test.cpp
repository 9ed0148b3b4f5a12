// The selected-files loop through the command loop: the questions it asks once, what happens
// to the marks of entries handled, failed and gone, and the operations of its table.
#include "commands/selected_files.h"

#include <gtest/gtest.h>

#include "commands/command_table.h"
#include "commands/loop_fixture.h"
#include "commands/loop_texts.h"
#include "exec/run_command.h"

namespace corvane::testing {
namespace {

using Names = std::vector<std::string>;

class SelectedFilesTest : public LoopTest {
 protected:
  SelectedFilesTest() {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) t_.writeFile(name, name);
    setupBlock().preferences[3].set(0);   // no key prompt after a command
    setupBlock().preferences[12].set(0);  // no re-read after it
    setNormalScreenOps({[] {}, [](std::string_view) {}, [](std::string_view) {}});
  }
  ~SelectedFilesTest() override { resetNormalScreenOps(); }

  // Selects every file of the current panel (COMMANDER: keypad "*" inverts the selection).
  void selectAll() { pushKeys({key::KeypadStar}); }
};

TEST_F(SelectedFilesTest, EveryOperationIsReachedThroughTheLoop) {
  for (const SelectedOperation& operation : selectedOperations()) {
    EXPECT_EQ(findCommand(operation.command), selectedFilesCommand) << operation.number;
    EXPECT_EQ(findSelectedOperation(operation.command)->number, operation.number);
  }
}

TEST_F(SelectedFilesTest, NothingSelectedAsksNothingAndEscapeLeavesEverything) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  run({
      [&] { pushKeys({key::alt('C')}); },
      [&] {
        EXPECT_TRUE(shows(TextNoFilesSelected));
        EXPECT_FALSE(shows("Destination :"));
        pushKeys({key::Enter, '-', key::alt('D')});  // every file selected, then delete them
      },
      [&] {
        EXPECT_TRUE(shows(" Delete ' all selected Files ' ? "));
        console_.pushText("y");
      },
      [&] {
        EXPECT_TRUE(shows(TextWithConfirmation));
        pushKeys({key::Escape});
      },
      [&] {
        EXPECT_EQ(selectedNames(), (Names{"a.txt", "b.txt", "c.txt"}));
        EXPECT_TRUE(t_.exists("a.txt") && t_.exists("b.txt") && t_.exists("c.txt"));
        pushKeys({key::Escape});
      },
  });
}

TEST_F(SelectedFilesTest, CopyClearsTheMarksOfWhatWasCopiedOnly) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  setupBlock().preferences[5].set(0);
  run({
          [&] {
            selectAll();
            pushKeys({key::F5});
          },
          [&] {
            EXPECT_TRUE(shows("Destination : U:\\"));
            std::remove(t_.host("b.txt").c_str());  // gone before its turn
            pushKeys({key::Enter});
          },
          [&] { console_.pushText("n"); },  // " With confirmation ? "
          [&] {
            EXPECT_TRUE(shows("File open error T:\\b.txt"));
            EXPECT_TRUE(shows("Copy "));
            pushKeys({key::Enter});
          },
          [&] {
            EXPECT_EQ(selectedNames(), Names{"b.txt"});
            EXPECT_EQ(u_.readFile("a.txt"), "a.txt");
            EXPECT_EQ(u_.readFile("c.txt"), "c.txt");
            EXPECT_TRUE(shows("c       .txt")) << "the other panel shows the copies";
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(SelectedFilesTest, MovedEntriesLeaveTheListAndASkippedOneStays) {
  useLayout(KeyboardCommander, LayoutTwoLists);
  u_.writeFile("b.txt", "older");
  run({
          [&] {
            selectAll();
            pushKeys({key::F6, 'm'});
          },
          [&] {
            pushKeys({key::Enter});  // the destination
            console_.pushText("n");  // no confirmation
          },
          [&] {
            EXPECT_TRUE(shows(" FILE EXISTS !, Copy file ? "));
            console_.pushText("s");
          },
          [&] {
            EXPECT_EQ(selectedNames(), Names{"b.txt"});
            EXPECT_FALSE(t_.exists("a.txt"));
            EXPECT_EQ(u_.readFile("b.txt"), "older");
            EXPECT_EQ(u_.readFile("c.txt"), "c.txt");
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

// The configured viewer, and a typed command, run once per selected file in list order.
TEST_F(SelectedFilesTest, ProgramsRunPerSelectedFile) {
  useLayout(KeyboardCorvane, LayoutSingleList);
  t_.writeFile("log.sh", "echo \"$1\" >> log.txt\n");
  setupBlock().viewerCommand.assign("/bin/sh log.sh");
  run({
      [&] {
        pushKeys({key::Down, '!', '!', key::alt('V')});  // b.txt and c.txt
        console_.pushText("n");
      },
      [&] {
        EXPECT_EQ(t_.readFile("log.txt"), "b.txt\nc.txt\n");
        EXPECT_TRUE(selectedNames().empty());
        pushKeys({key::Up, '!', key::alt('X')});  // c.txt
      },
      [&] {
        EXPECT_TRUE(shows("Command :"));
        console_.pushText("/bin/sh log.sh");
        pushKeys({key::Enter});
        console_.pushText("n");
      },
      [&] {
        EXPECT_EQ(t_.readFile("log.txt"), "b.txt\nc.txt\nc.txt\n");
        pushKeys({key::Escape});
      },
  });
}

}  // namespace
}  // namespace corvane::testing
