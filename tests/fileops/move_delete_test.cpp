#include <sys/stat.h>

#include "fileops/copy_engine.h"
#include "fileops/delete_files.h"
#include "fileops/move_files.h"
#include "fileops_fixture.h"

namespace corvane {
namespace {

using testing::FileopsTest;
using testing::TestContext;

class MoveTest : public FileopsTest {};

TEST_F(MoveTest, AMoveOntoItselfIsRefusedAndTheFileStays) {
  ASSERT_TRUE(t_.writeFile("f.txt", "content"));
  initDriveMap(("T=" + t_.root() + ";V=" + t_.root()).c_str());
  setCurrentDrive('T');
  dismiss(2);
  EXPECT_EQ(moveFile("T:\\f.txt", "V:\\", 0, 0), CopyDone);
  EXPECT_EQ(moveFile("T:\\f.txt", "T:\\", 0, 0), CopyDone);
  EXPECT_TRUE(sawText("Source and Destination are identical !"));
  EXPECT_EQ(t_.readFile("f.txt"), "content");
}

TEST_F(MoveTest, AnExistingTargetStopsTheMoveWithItsMessage) {
  ASSERT_TRUE(t_.writeFile("f.txt", "source"));
  ASSERT_TRUE(t_.makeDir("sub"));
  ASSERT_TRUE(t_.writeFile("sub/f.txt", "target"));
  ASSERT_TRUE(u_.writeFile("f.txt", "other drive"));

  // The same drive: the rename never replaces.
  dismiss();
  EXPECT_EQ(moveFile("T:\\f.txt", "T:\\sub", 0, 0), EEXIST);
  EXPECT_TRUE(sawText("MOVE ERROR T:\\f.txt -> T:\\sub\\f.txt"));

  // Another drive: asked; Skip and No keep both files and are reported.
  answer("s");
  dismiss();
  EXPECT_EQ(moveFile("T:\\f.txt", "U:\\", 0, 0), AnswerSkip);
  EXPECT_TRUE(sawText(" Continue execution ?"));
  EXPECT_TRUE(sawText(" R:4096,E:"));
  answer("n");
  dismiss();
  EXPECT_EQ(moveFile("T:\\f.txt", "U:\\", 0, 0), AnswerNo);
  EXPECT_TRUE(sawText(" R:4099,E:"));
  EXPECT_EQ(t_.readFile("f.txt"), "source");
  EXPECT_EQ(t_.readFile("sub/f.txt"), "target");
  EXPECT_EQ(u_.readFile("f.txt"), "other drive");

  // Yes replaces the other drive's file, and the source goes.
  answer("y");
  EXPECT_EQ(moveFile("T:\\f.txt", "U:\\", 0, 0), CopyDone);
  EXPECT_EQ(u_.readFile("f.txt"), "source");
  EXPECT_FALSE(t_.exists("f.txt"));
}

TEST_F(MoveTest, TheCommandTakesTheEntryOutOnlyOnceItIsGone) {
  ASSERT_TRUE(t_.writeFile("a.txt", "a"));
  ASSERT_TRUE(t_.writeFile("b.txt", "b"));
  ASSERT_TRUE(u_.writeFile("b.txt", "taken"));
  TestContext context;
  context.show("T:\\", "U:\\", "a.txt");
  answerKeys({key::Enter});  // the destination: the other panel's directory
  EXPECT_EQ(moveCommand(context, 'm'), LoopContinue);
  EXPECT_FALSE(context.lists("a.txt"));
  EXPECT_EQ(context.cursorName(), "b.txt");
  EXPECT_EQ(context.otherRequest, OtherAlways);
  EXPECT_EQ(u_.readFile("a.txt"), "a");

  answerKeys({key::Enter});
  answer("n");  // " FILE EXISTS : ... Continue execution ?"
  dismiss();    // MOVE ERROR
  EXPECT_EQ(moveCommand(context, 'm'), LoopContinue);
  EXPECT_TRUE(context.lists("b.txt"));
  EXPECT_EQ(t_.readFile("b.txt"), "b");
}

TEST_F(MoveTest, RenameTakesOneNameInPlace) {
  ASSERT_TRUE(t_.writeFile("a.txt", "a"));
  ASSERT_TRUE(t_.writeFile("b.txt", "b"));
  ASSERT_TRUE(t_.writeFile("c.txt", "c"));
  TestContext context;
  context.show("T:\\", "U:\\", "a.txt");
  // The typed name, then the keys for the boxes that follow.
  const auto rename = [&](std::string_view typed, std::initializer_list<KeyCode> after) {
    screen_.pushText(typed);
    answerKeys({key::Enter});
    answerKeys(after);
    return renameCommand(context, 'r');
  };
  for (const char* refused : {"x/y", "..", "sub\\x"}) {
    rename(refused, {key::Enter});
    EXPECT_TRUE(sawText("Error in name")) << refused;
  }
  rename("b.txt", {key::Enter});
  EXPECT_TRUE(sawText("Rename Error  a.txt -> b.txt "));
  EXPECT_EQ(t_.readFile("b.txt"), "b");

  rename("z.txt", {});
  EXPECT_EQ(t_.readFile("z.txt"), "a");
  EXPECT_FALSE(t_.exists("a.txt"));
  EXPECT_EQ(context.current.list.nodes[context.current.list.head].entry.name, "z.txt")
      << "renamed where it stands";
  EXPECT_EQ(context.cursorName(), "b.txt");
}

class DeleteTest : public FileopsTest {
 protected:
  void makeTree() {
    ASSERT_TRUE(t_.makeDir("tree"));
    ASSERT_TRUE(t_.writeFile("tree/a", "a"));
    ASSERT_TRUE(t_.writeFile("tree/locked", "ro"));
    ASSERT_EQ(chmod(t_.host("tree/locked").c_str(), 0444), 0);
    ASSERT_TRUE(t_.makeDir("tree/.hidden"));
    ASSERT_TRUE(t_.writeFile("tree/.hidden/b", "b"));
    ASSERT_TRUE(t_.makeDir("tree/closed"));
    ASSERT_TRUE(t_.writeFile("tree/closed/c", "c"));
    ASSERT_EQ(chmod(t_.host("tree/closed").c_str(), 0555), 0);
  }
};

TEST_F(DeleteTest, ReadOnlyFilesGoOnlyWhenAllowedAndFailuresAreCounted) {
  makeTree();
  setPreference(14, false);
  dismiss(3);  // the file, the tree, the summary
  EXPECT_EQ(deleteDirectory("T:\\tree", true), 0);
  EXPECT_TRUE(sawText("Error : File T:\\tree\\locked not deleted !"));
  EXPECT_TRUE(sawText("Error : Dir  T:\\tree not deleted !"));
  EXPECT_TRUE(sawText("4 Files and 2 Directories deleted !"));
  EXPECT_EQ(t_.readFile("tree/locked"), "ro");
  EXPECT_FALSE(t_.exists("tree/closed")) << "a read-only directory is made writable";

  setPreference(14, true);
  dismiss();
  EXPECT_EQ(deleteDirectory("T:\\tree", true), 1);
  EXPECT_FALSE(t_.exists("tree"));
}

TEST_F(DeleteTest, EscapeYesStopsAndLeavesTheRest) {
  makeTree();
  answerKeys({key::Escape, 'y'});
  dismiss();
  EXPECT_EQ(deleteDirectory("T:\\tree", true), 0);
  EXPECT_TRUE(sawText(" Cancel operation ? "));
  EXPECT_TRUE(t_.exists("tree"));
  EXPECT_TRUE(fileopsState().cancelRequested);
  const FileopsState& state = fileopsState();
  EXPECT_LE(state.deletedFiles, 1);
  EXPECT_TRUE(sawText(std::to_string(state.deletedFiles) + " Files and 0 Directories deleted !"));
}

TEST_F(DeleteTest, SubdirectoriesGoAndTheDirectoryStays) {
  makeTree();
  setPreference(14, true);
  dismiss();
  deleteSubdirectories("T:\\tree");
  EXPECT_TRUE(sawText("1 Files and 1 Directories deleted !"));
  EXPECT_TRUE(t_.exists("tree/a"));
  EXPECT_TRUE(t_.exists("tree/.hidden/b")) << "dot subdirectories stay";
  EXPECT_FALSE(t_.exists("tree/closed"));
  dismiss();
  deleteSubdirectories("T:\\tree\\closed-not-there");
  EXPECT_TRUE(sawText("0 Files and 0 Directories deleted !"));
}

TEST_F(DeleteTest, TheCommandAsksAndRemovesOnlyTheLinkOfALinkedDirectory) {
  ASSERT_TRUE(u_.makeDir("outside"));
  ASSERT_TRUE(u_.writeFile("outside/precious", "mine"));
  ASSERT_TRUE(t_.makeSymlink("linked", u_.host("outside")));
  ASSERT_TRUE(t_.makeDir("dir"));
  ASSERT_TRUE(t_.writeFile("dir/x", "x"));
  TestContext context;
  context.show("T:\\", "U:\\", "linked");
  answer("y");
  EXPECT_EQ(deleteCommand(context, key::Del), LoopContinue);
  EXPECT_TRUE(sawText(" Delete ' linked ' ? "));
  EXPECT_FALSE(hostExists(t_.host("linked")));
  EXPECT_EQ(u_.readFile("outside/precious"), "mine");

  context.show("T:\\", "U:\\", "dir");
  answer("yn");  // the ATTENTION question answered No
  deleteCommand(context, key::Del);
  EXPECT_TRUE(t_.exists("dir/x"));
  answer("yy");
  dismiss();
  deleteCommand(context, key::Del);
  EXPECT_TRUE(sawText(" ATTENTION, ALL FILES AND DIRECTORIES BELOW 'dir' WILL BE DELETED !"));
  EXPECT_FALSE(t_.exists("dir"));
  EXPECT_FALSE(context.lists("dir"));
}

TEST_F(DeleteTest, ContinueKeysOfTheSelection) {
  for (const char* name : {"n", "f", "w", "any", "esc"}) ASSERT_TRUE(t_.writeFile(name, name));
  TestContext context;
  context.show("T:\\", "U:\\");
  SelectedFilesRun run;
  run.context = &context;
  const auto offer = [&](const char* name, KeyCode key) {
    run.confirm = true;
    answerKeys({key});
    SelectedFile file;
    file.entry.name = name;
    file.path = name;
    return deleteSelectedFile(run, file);
  };
  EXPECT_EQ(offer("n", 'n'), SelectedKept | SelectedStop);
  EXPECT_EQ(offer("esc", key::Escape), SelectedKept | SelectedStop);
  EXPECT_EQ(offer("f", 'F'), SelectedKept);
  EXPECT_EQ(offer("any", 'x'), SelectedGone);
  EXPECT_TRUE(run.confirm);
  EXPECT_EQ(offer("w", 'w'), SelectedGone);
  EXPECT_FALSE(run.confirm) << "W stops asking";
  for (const char* kept : {"n", "esc", "f"}) EXPECT_TRUE(t_.exists(kept)) << kept;
  for (const char* gone : {"any", "w"}) EXPECT_FALSE(t_.exists(gone)) << gone;
}

}  // namespace
}  // namespace corvane
