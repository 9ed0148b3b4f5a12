// User menus: what a definition file gives (entries, settings, the problems reported and
// skipped), the shipped menu, and running an entry through the menu with its parameter.
#include "exec/user_menu.h"

#include <gtest/gtest.h>

#include "exec_fixture.h"
#include "support/shipped_data.h"
#include "ui/pulldown.h"

namespace corvane {
namespace {

using testing::ExecTest;
using testing::normalScreenEvents;
using Problems = std::vector<std::string>;

class UserMenuTest : public ExecTest {
 protected:
  UserMenu read(std::string_view text, int limit = 22) {
    tree_.writeFile("menu.dat", text);
    UserMenu menu;
    problems_.clear();
    EXPECT_TRUE(readUserMenu("T:\\menu.dat", limit, menu, problems_));
    return menu;
  }
  Problems problems_;
};

std::string fileError(std::string_view line) {
  return "DEFINITIONFILE ERROR \n" + std::string(line);
}

TEST_F(UserMenuTest, KeywordLinesSettingsAndCommands) {
  const std::string longLine(201, 'x');
  const UserMenu menu = read(
      "   # a comment after blanks\n"
      "P> A title of more than thirty-nine characters, cut\n"
      "ls > before.txt\n"
      "D> WAIT = 1\n"
      "d> xpos = 10\n"
      "D> YPOS=-3\n"
      "X> what\n"
      "D> NOEQUALS\n"
      "E> ^First\n"
      "D> wait = 1\n"
      "D> FOO = 2\n"
      "  ls -l > listing.txt\n"
      "cat listing.txt\n"
      "E> ^Second  \n"
      "D> PARAMETER = 1\n"
      "D> WINXPOS =  99999999999\n" +
      longLine + "\n" + "edit %\n");
  EXPECT_EQ(menu.title, "A title of more than thirty-nine charac");
  EXPECT_EQ(menu.x, 10) << "names are compared in upper case";
  EXPECT_EQ(menu.y, -3);
  EXPECT_TRUE(menu.definitionRead);
  ASSERT_EQ(menu.entries.size(), 2u);
  EXPECT_EQ(menu.entries[0].label, " ^First");
  EXPECT_EQ(menu.entries[0].wait, 1);
  EXPECT_EQ(menu.entries[0].command, "cat listing.txt") << "the last command counts";
  EXPECT_EQ(menu.entries[1].label, " ^Second");
  EXPECT_EQ(menu.entries[1].parameter, 1);
  EXPECT_EQ(menu.entries[1].windowX, 9999);
  EXPECT_EQ(menu.entries[1].command, "edit %") << "an over-long line is not split in two";
  EXPECT_EQ(problems_,
            (Problems{fileError("P> A title of more than thirty-nine characters, cut"),
                      fileError("ls > before.txt"), fileError("D> WAIT = 1"), fileError("X> what"),
                      fileError("D> NOEQUALS"), "DEFINITION ERROR \nFOO",
                      fileError(longLine.substr(0, 60) + "...")}));
}

TEST_F(UserMenuTest, EntriesBeyondThePulldownAreReportedWithTheirLines) {
  std::string text = "D> XWIDTH = 20\n";
  for (int i = 1; i <= 30; ++i)
    text += "E> Entry " + std::to_string(i) + "\nD> WAIT = 1\necho " + std::to_string(i) + "\n";
  const UserMenu menu = read(text, 22);
  ASSERT_EQ(menu.entries.size(), 22u);
  EXPECT_EQ(menu.entries[21].command, "echo 22");
  EXPECT_EQ(problems_.size(), 8u) << "one message per entry left out";
  EXPECT_EQ(problems_.front(), fileError("E> Entry 23"));

  UserMenu none;
  EXPECT_FALSE(readUserMenu("T:\\missing.dat", 22, none, problems_));
}

// The shipped menus (Linux and Windows) load without a problem, one command per entry.
TEST_F(UserMenuTest, TheShippedMenusLoadSilently) {
  for (const char* file : {"corvane.DAT", "win32/corvane.DAT"}) {
    problems_.clear();
    const UserMenu menu = read(testing::shippedDataFile(file), userMenuCapacity());
    EXPECT_TRUE(problems_.empty()) << file << ": " << problems_.front();
    EXPECT_TRUE(menu.definitionRead) << file;
    EXPECT_FALSE(menu.title.empty()) << file;
    ASSERT_GE(menu.entries.size(), 5u) << file;
    for (const UserMenuEntry& entry : menu.entries) {
      if (std::string_view(file) == "corvane.DAT") {
        EXPECT_EQ(entry.wait, 1) << entry.label;
      }
      EXPECT_FALSE(entry.command.empty()) << entry.label;
      EXPECT_EQ(entry.command.find(';'), std::string::npos) << entry.label;
    }
  }
}

TEST_F(UserMenuTest, AnEntryRunsWithTheParameterAsTyped) {
  tree_.writeFile("corvane.DAT",
                  "P> Tools\n"
                  "D> XPOS = 12\n"
                  "E> ^Edit\n"
                  "D> PARAMETER = 1\n"
                  "D> WAIT = 1\n"
                  "echo % > out.txt\n");
  keys_ = {'e', '"', 'a', '"', ' ', ' ', 'b', key::Enter};
  EXPECT_EQ(runUserMenu("T:\\corvane.SET", false), MenuChosen);
  EXPECT_TRUE(shownAtKey(0, "Tools"));
  EXPECT_TRUE(shownAtKey(0, "\u2502 Edit")) << "the pulldown at its column";
  EXPECT_EQ(screensAtKeys_[0][2].find("\u2502 Edit"), 11u);
  EXPECT_TRUE(shownAtKey(1, "Enter parameter  :"));
  EXPECT_EQ(tree_.readFile("out.txt"), "a b\n") << "typed text is shell text";
  EXPECT_EQ(normalScreenEvents().front(), "clear") << "WAIT clears the terminal's screen";

  // The panel directories are names, written for the shell also beside a typed parameter.
  tree_.writeFile("dirs.dat", "D> XPOS = 1\nE> ^Dirs\necho %1 > out.txt\n");
  setTemplateDirectories("T:\\a  $HOME", "");
  keys_ = {'d'};
  EXPECT_EQ(runUserMenu("T:\\dirs.dat", true), MenuChosen);
  EXPECT_EQ(tree_.readFile("out.txt"), tree_.root() + "/a  $HOME\n");

  // Without Enter at the parameter nothing runs.
  tree_.writeFile("out.txt", "");
  keys_ = {'e', key::Escape};
  EXPECT_EQ(runUserMenu("T:\\corvane.DAT", true), MenuChosen);
  EXPECT_EQ(tree_.readFile("out.txt"), "");
}

TEST_F(UserMenuTest, FilesWithoutAMenuSaySo) {
  tree_.writeFile("plain.dat", "E> ^Only an entry\necho\n");
  keys_ = {key::Escape};
  EXPECT_EQ(runUserMenu("T:\\plain.dat", true), MenuCancelled);
  EXPECT_TRUE(shownAtKey(0, "DEFINITIONFILE ERROR"));

  keys_ = {key::Escape};
  EXPECT_EQ(runUserMenu("T:\\none.dat", true), -1);
  EXPECT_TRUE(shownAtKey(1, "File open error T:\\none.dat"));
}

}  // namespace
}  // namespace corvane
