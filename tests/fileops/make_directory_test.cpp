#include "fileops/make_directory.h"

#include "fileops/destination_dialog.h"
#include "fileops_fixture.h"

namespace corvane {
namespace {

using testing::FileopsTest;
using testing::TestContext;

class MakeDirectoryTest : public FileopsTest {};

TEST_F(MakeDirectoryTest, PathKinds) {
  ASSERT_TRUE(t_.writeFile("file.txt"));
  ASSERT_TRUE(t_.makeDir("dir"));
  const struct {
    const char* typed;
    int kind;
    const char* full;
  } cases[] = {
      {"", PathBlocked, ""},
      {"T:", PathDriveOnly, "T:"},
      {"T:\\", PathDirectory, "T:\\"},
      {"T:\\dir\\..\\file.txt", PathBlocked, "T:\\file.txt"},
      {"T:\\dir\\", PathDirectory, "T:\\dir"},
      {"T:\\missing", PathMissing, "T:\\missing"},
      {"dir", PathDirectory, "T:\\dir"},
  };
  for (const auto& c : cases) {
    std::string path = c.typed;
    EXPECT_EQ(classifyPath(path), c.kind) << c.typed;
    EXPECT_EQ(path, c.full) << c.typed;
  }
  dismiss();
  std::string root = "Q:\\";  // not a drive
  EXPECT_EQ(classifyPath(root), PathBlocked);
  EXPECT_TRUE(sawText("Access kritisch"));
}

TEST_F(MakeDirectoryTest, CreatePathMakesWhatIsMissingAndStopsAtAFile) {
  ASSERT_TRUE(t_.makeDir("A"));
  std::string path = "T:\\A\\B\\C";
  EXPECT_EQ(createPath(path), 0);
  EXPECT_TRUE(t_.exists("A/B/C"));
  path = "T:\\A\\B\\C";
  EXPECT_EQ(createPath(path), PathDirectory) << "all there: nothing made";

  ASSERT_TRUE(t_.writeFile("F", "a file"));
  path = "T:\\F\\X\\Y";
  dismiss();
  EXPECT_EQ(createPathReported(path), PathBlocked);
  EXPECT_TRUE(sawText("Critical error creating directory T:\\F\\X\\Y"));
  EXPECT_FALSE(t_.exists("F/X"));
  EXPECT_EQ(t_.readFile("F"), "a file");
}

TEST_F(MakeDirectoryTest, TheNameTestHoldsInTheOwnLayoutOnly) {
  setupBlock().keyboardLayout.set(KeyboardCorvane);
  std::string path = "T:\\a*b";
  dismiss();
  EXPECT_EQ(createPathReported(path), PathDriveOnly);
  EXPECT_TRUE(sawText("Error in name T:\\a*b"));
  EXPECT_FALSE(t_.exists("a*b"));
  EXPECT_EQ(nameTest("C:\\ok"), 0);
  EXPECT_FALSE(nameAcceptable("a:b:c"));

  setupBlock().keyboardLayout.set(KeyboardCommander);
  path = "T:\\a*b";
  EXPECT_EQ(createPathReported(path), 0);
  EXPECT_TRUE(t_.exists("a*b"));
}

TEST_F(MakeDirectoryTest, TheCommandMakesANestedPathAfterItsQuestion) {
  TestContext context;
  context.show("T:\\", "U:\\");
  screen_.pushText("x\\y\\z");
  answerKeys({key::Enter});
  answer("n");
  EXPECT_EQ(makeDirectoryCommand(context, CmdMakeDirectory), LoopContinue);
  EXPECT_TRUE(sawText("Create path 'T:\\x\\y\\z' ? "));
  EXPECT_FALSE(t_.exists("x"));

  screen_.pushText("x\\y\\z");
  answerKeys({key::Enter});
  answer("y");
  EXPECT_EQ(makeDirectoryCommand(context, CmdMakeDirectory), LoopContinue);
  EXPECT_TRUE(t_.exists("x/y/z"));
  EXPECT_EQ(context.reread, RereadInPlace);
  EXPECT_EQ(context.otherRequest, OtherAlways);

  screen_.pushText("T:");  // a drive alone: nothing, silently
  answerKeys({key::Enter});
  EXPECT_EQ(makeDirectoryCommand(context, CmdMakeDirectory), LoopContinue);
}

TEST_F(MakeDirectoryTest, DestinationDialog) {
  ASSERT_TRUE(t_.writeFile("file.txt"));
  std::string destination = "U:\\";
  answerKeys({key::Enter});
  EXPECT_EQ(destinationDialog(destination), 1);
  EXPECT_EQ(destination, "U:\\");
  EXPECT_TRUE(sawText("Destination : U:\\"));

  for (const char* refused : {"T:", "T:\\file.txt", "   "}) {
    screen_.pushText(refused);
    answerKeys({key::Enter});
    EXPECT_EQ(destinationDialog(destination), 0) << refused;
  }
  answerKeys({key::Escape});
  EXPECT_EQ(destinationDialog(destination), 0);

  // A missing path: made only after "Y".
  screen_.pushText("U:\\new\\dir  ");
  answerKeys({key::Enter});
  answer("n");
  EXPECT_EQ(destinationDialog(destination), 0);
  EXPECT_FALSE(u_.exists("new"));
  screen_.pushText("U:\\new\\dir  ");
  answerKeys({key::Enter});
  answer("y");
  EXPECT_EQ(destinationDialog(destination), 1);
  EXPECT_EQ(destination, "U:\\new\\dir");
  EXPECT_TRUE(u_.exists("new/dir"));
  EXPECT_TRUE(fileopsState().directoryCreated);

  // The tree key: a beep while no tree is there, then the tree's choice.
  const int beeps = screen_.beeps;
  answerKeys({DestinationTreeKey, key::Escape});
  EXPECT_EQ(destinationDialog(destination), 0);
  EXPECT_EQ(screen_.beeps, beeps + 1);
  fileopsState().hooks.chooseDirectory = [](std::string& path) {
    path = "T:\\";
    return true;
  };
  answerKeys({DestinationTreeKey});
  EXPECT_EQ(destinationDialog(destination), 1);
  EXPECT_EQ(destination, "T:\\");
}

}  // namespace
}  // namespace corvane
