#include "commands/key_translation.h"

#include <gtest/gtest.h>

#include "commands/commands_state.h"
#include "config/setup_block.h"
#include "panels/list_test_helpers.h"
#include "platform/drives.h"
#include "support/headless_fixture.h"

namespace corvane::testing {
namespace {

// A loop on a panel with a directory, three files and a selection when asked.
class TranslationTest : public HeadlessTest {
 protected:
  TranslationTest() {
    resetCommandsState();
    append(panel_.list, directoryEntry("src"));
    append(panel_.list, fileEntry("notes.txt", 10));
    append(panel_.list, fileEntry("pack.ZIP", 20));
    append(panel_.list, fileEntry("old.tar.Arj", 30));
    countList(panel_);
    panel_.cursor = panel_.list.head;
    loop_.current.panel = &panel_;
  }
  ~TranslationTest() override { resetCommandsState(); }

  void cursorOn(std::string_view name) { panel_.cursor = findNodeByName(panel_.list, name); }
  void select(std::string_view name) {
    panel_.list.nodes[findNodeByName(panel_.list, name)].mark |= MarkSelected;
    countList(panel_);
  }

  Panel panel_;
  LoopContext loop_;
};

TEST_F(TranslationTest, CommanderKeysGiveTheirCommands) {
  struct Case {
    KeyCode key;
    CommandId expected;
  };
  const Case cases[] = {
      {key::Escape, CmdQuit},
      {key::F10, CmdQuit},
      {key::F2, CmdUserPulldown},
      {key::F3, 'v'},
      {key::fkey(3, key::ModAlt), 'v'},
      {key::F4, 'e'},
      {key::fkey(4, key::ModAlt), 'e'},
      {key::F5, 'c'},
      {key::F7, CmdMakeDirectory},
      {key::F8, key::Del},
      {key::Del, key::Del},
      {key::F9, CmdAltN},
      {key::fkey(1, key::ModAlt), key::Space},
      {key::fkey(2, key::ModAlt), 'l'},
      {key::fkey(7, key::ModAlt), CmdTextSearchRecursive},
      {key::fkey(8, key::ModAlt), CmdCommandHistory},
      {key::fkey(9, key::ModAlt), '.'},
      {key::fkey(10, key::ModAlt), 't'},
      {key::fkey(2, key::ModCtrl), '*'},
      {key::fkey(3, key::ModCtrl), CmdSortName},
      {key::fkey(4, key::ModCtrl), CmdSortExtension},
      {key::fkey(5, key::ModCtrl), CmdSortDate},
      {key::fkey(6, key::ModCtrl), CmdSortSize},
      {key::fkey(7, key::ModCtrl), CmdSortUnsorted},
      {key::fkey(8, key::ModCtrl), CmdDisplayModeDialog},
      {key::fkey(10, key::ModCtrl), key::Ins},
      {key::ctrl('R'), CmdRefresh},
      {key::Up, key::Up},
      {key::Down, key::Down},
      {'x', 'x'},
      {key::Tab, key::Tab},
      {key::fkey(1), key::F1},
  };
  for (const Case& c : cases) EXPECT_EQ(translateCommander(loop_, c.key), c.expected) << c.key;
}

TEST_F(TranslationTest, SelectedFilesChangeCopyAndDelete) {
  select("notes.txt");
  EXPECT_EQ(translateCommander(loop_, key::F5), CmdCopySelected);
  EXPECT_EQ(translateCommander(loop_, key::F8), CmdDeleteSelected);
  EXPECT_EQ(translateCommander(loop_, key::Del), CmdDeleteSelected);
}

TEST_F(TranslationTest, EnterAndInsertDependOnTheCursorEntry) {
  struct Case {
    const char* cursor;
    CommandId enter, insert;
  };
  const Case cases[] = {
      {"src", key::Enter, '!'},
      {"notes.txt", 'q', key::Enter},
      {"pack.ZIP", CmdOpenArchiveKey, key::Enter},
      {"old.tar.Arj", CmdOpenArchiveKey, key::Enter},
  };
  for (const Case& c : cases) {
    cursorOn(c.cursor);
    EXPECT_EQ(translateCommander(loop_, key::Enter), c.enter) << c.cursor;
    EXPECT_EQ(translateCommander(loop_, key::Ins), c.insert) << c.cursor;
  }
  programState().panelsHidden = true;
  EXPECT_EQ(translateCommander(loop_, key::Enter), 0);
}

TEST_F(TranslationTest, AltLetterLocatesByThatLetter) {
  EXPECT_EQ(translateCommander(loop_, key::alt('K')), CmdLocateNext);
  EXPECT_EQ(loop_.locateText, "k");
  EXPECT_EQ(translateCommander(loop_, key::alt('Z')), CmdLocateNext);
  EXPECT_EQ(loop_.locateText, "z");
  // Alt with a digit is no letter.
  EXPECT_EQ(translateCommander(loop_, key::alt('5')), key::alt('5'));
}

TEST_F(TranslationTest, WindowTogglesChangeTheProgramState) {
  ProgramState& state = programState();
  state.windowLayoutChoice = LayoutTwoLists;
  EXPECT_EQ(translateCommander(loop_, key::fkey(1, key::ModCtrl)), CmdWindowOnOff);
  EXPECT_EQ(state.windowLayoutChoice, LayoutSingleList);
  EXPECT_EQ(translateCommander(loop_, menuCodeAsCommanderKey(CmdMenuWindowOnOff)), CmdWindowOnOff);
  EXPECT_EQ(state.windowLayoutChoice, LayoutTwoLists);
  EXPECT_EQ(translateCommander(loop_, menuCodeAsCommanderKey(CmdMenuWindowBigSmall)),
            CmdWindowBigSmall);
  EXPECT_TRUE(state.smallWindows);
  EXPECT_EQ(translateCommander(loop_, key::ctrl('Q')), CmdWindowBigSmall);
  EXPECT_FALSE(state.smallWindows);
  EXPECT_EQ(menuCodeAsCommanderKey(CmdMenuAllWindows), key::ctrl('O'));
  EXPECT_EQ(menuCodeAsCommanderKey(CmdCopyEither), CmdCopyEither);
}

TEST_F(TranslationTest, RenameOrMovePulldown) {
  console_.pushText("r");
  EXPECT_EQ(translateCommander(loop_, key::F6), 'r');
  console_.pushText("M");
  EXPECT_EQ(translateCommander(loop_, key::F6), 'm');
  console_.pushKey(key::Escape);
  EXPECT_EQ(translateCommander(loop_, key::F6), 0);
  select("pack.ZIP");
  console_.pushText("m");
  EXPECT_EQ(translateCommander(loop_, key::F6), CmdMoveSelected);
  console_.pushText("r");
  EXPECT_EQ(translateCommander(loop_, key::F6), 'r');
}

TEST_F(TranslationTest, EitherFormsAskOnlyWithASelection) {
  EXPECT_EQ(resolveEither(loop_, CmdEditEither), 'e');
  EXPECT_EQ(resolveEither(loop_, CmdPrint), CmdPrint);
  EXPECT_EQ(resolveEither(loop_, CmdCompressKey), CmdCompress);
  EXPECT_EQ(resolveEither(loop_, 'e'), 'e');
  EXPECT_EQ(console_.writes.size(), 0u) << "nothing is asked without a selection";

  select("notes.txt");
  console_.pushText("s");
  EXPECT_EQ(resolveEither(loop_, CmdEditEither), CmdEditSelected);
  console_.pushText("a");
  EXPECT_EQ(resolveEither(loop_, CmdCopyEither), 'c');
  console_.pushKeys({key::Down, key::Enter});
  EXPECT_EQ(resolveEither(loop_, CmdCompressSelected), CmdCompressSelected);
  console_.pushKey(key::Escape);
  EXPECT_EQ(resolveEither(loop_, CmdDeleteEither), 0);
  console_.pushText("s");
  EXPECT_EQ(translateCommander(loop_, key::fkey(9, key::ModCtrl)), CmdPrintSelected);
}

TEST_F(TranslationTest, ExternalProgramsFallBackToTheInternalOnes) {
  SetupBlock& block = setupBlock();
  block.editorCommand.assign("");
  block.viewerCommand.assign("/nonexistent/viewer -x");
  EXPECT_EQ(externalFallback('e'), 'f');
  EXPECT_EQ(externalFallback('E'), 'f');
  EXPECT_EQ(externalFallback(CmdEditSelected), CmdInternalEditorSelected);
  EXPECT_EQ(externalFallback('v'), 'z');
  EXPECT_EQ(externalFallback(CmdViewerSelected), CmdInternalViewerSelected);
  block.editorCommand.assign("sh %");  // on the search path
  EXPECT_EQ(externalFallback('e'), 'e');
  EXPECT_EQ(externalFallback(CmdEditSelected), CmdEditSelected);
  EXPECT_EQ(externalFallback('w'), 'w');
  block.editorCommand.assign("");
  block.viewerCommand.assign("");
}

TEST(KeyTranslation, ArchiveNamesAndDriveLetters) {
  struct Case {
    const char* name;
    bool archive;
  };
  const Case names[] = {{"a.zip", true},      {"A.LZH", true}, {"x.tar.lha", true},
                        {"b.zoo", true},      {"c.ArJ", true}, {"zip", false},
                        {"d.zip.txt", false}, {"e.", false},   {"f.zipx", false}};
  for (const Case& c : names) EXPECT_EQ(isArchiveName(c.name), c.archive) << c.name;

  EXPECT_EQ(ctrlLetterDrive(key::ctrl('A')), 'A');
  EXPECT_EQ(ctrlLetterDrive(key::ctrl('Z')), 'Z');
  EXPECT_EQ(ctrlLetterDrive('a'), 0);
  EXPECT_EQ(ctrlLetterDrive(key::alt('A')), 0);
  EXPECT_EQ(ctrlLetterDrive(key::CtrlBackspace), 0);
  EXPECT_EQ(foldLetter('Q'), 'q');
  EXPECT_EQ(foldLetter('#'), '#');
}

}  // namespace
}  // namespace corvane::testing
