#include "exec/associations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "exec/exec_commands.h"
#include "exec/exec_texts.h"
#include "exec/run_command.h"
#include "exec_fixture.h"
#include "support/shipped_data.h"

namespace corvane {
namespace {

using testing::ExecTest;

std::vector<std::string>& editedFiles() {
  static std::vector<std::string> files;
  return files;
}

class AssociationTest : public ExecTest {
 protected:
  AssociationTest() {
    editedFiles().clear();
    setupBlock().setupPath.assign("T:\\corvane.SET");
  }

  void writeAssociations(std::string_view text) { tree_.writeFile("corvane.pre", text); }

  // The command found for a name, "<none>" or "<no file>".
  static std::string associationOf(std::string_view name) {
    std::string command;
    switch (findAssociation(name, command)) {
      case AssociationFound:
        return command;
      case AssociationNone:
        return "<none>";
      default:
        return "<no file>";
    }
  }
};

TEST_F(AssociationTest, TheFileBesideTheSetupFile) {
  EXPECT_EQ(associationsFilePath(), "T:\\corvane.pre");
  setupBlock().setupPath.clear();
  EXPECT_EQ(associationsFilePath(), "C:\\CV.pre");
  setupBlock().setupPath.assign("T:\\corvane.SET");
  EXPECT_EQ(associationOf("a.txt"), "<no file>");
}

TEST_F(AssociationTest, MasksCommentsAndBlankLines) {
  writeAssociations(
      "# text files\r\n"
      "\r\n"
      "txt;md    less -R   \r\n"
      "   # indented comment\n"
      "  \t \n"
      "C;H;[ch]pp  [CSEDIT]\n"
      "jp*g\txdg-open %\n"
      "bak\n"
      "?z   tar -tvf\n"
      "*    file\n");
  struct Case {
    const char* name;
    const char* command;
  } cases[] = {
      {"notes.txt", "less -R"},    {"README.MD", "less -R"},  // masks match without regard to case
      {"main.c", "[CSEDIT]"},                                 // the mask is lower-cased
      {"main.cpp", "[CSEDIT]"},    {"photo.jpeg", "xdg-open %"},  // a tab ends the mask too
      {"photo.JPG", "xdg-open %"}, {"old.bak", ""},               // an empty command
      {"x.tar.gz", "tar -tvf"},    {"x.xz", "tar -tvf"},
      {"x.zip", "file"},           {"makefile", "file"},  // the empty extension
  };
  for (const Case& c : cases) EXPECT_EQ(associationOf(c.name), c.command) << c.name;
}

TEST_F(AssociationTest, OnlyTheFirst39CountedLines) {
  std::string text = "# comments and blank lines do not count\n\n";
  for (int i = 1; i <= 38; ++i) text += "x" + std::to_string(i) + " cmd" + std::to_string(i) + "\n";
  text += "# still not counted\n\n";
  text += "last39 found\n";
  text += "last40 too-late\n";
  writeAssociations(text);
  EXPECT_EQ(associationOf("a.x38"), "cmd38");
  EXPECT_EQ(associationOf("a.last39"), "found");
  EXPECT_EQ(associationOf("a.last40"), "<none>");
}

TEST_F(AssociationTest, ALongLineIsCutNotSplit) {
  // The part past the limit would read as a line "log tail" if it were split off.
  writeAssociations("txt " + std::string(AssociationLineLimit, 'a') + "\nlog tail\n");
  EXPECT_EQ(associationOf("x.txt"), std::string(AssociationLineLimit - 4, 'a'));
  EXPECT_EQ(associationOf("x.log"), "tail");
}

// The shipped files (Linux and Windows): each name finds its program; no line is too long or
// holds a ";" that would split an association into two commands.
TEST_F(AssociationTest, TheShippedFilesAreReadWhole) {
  struct Case {
    const char* name;
    const char* command;
  };
  const struct {
    const char* file;
    std::vector<Case> cases;
  } files[] = {
      {"corvane.pre",
       {{"main.cpp", "[CSEDIT]"},
        {"NOTES.TXT", "[CSEDIT]"},
        {"build.log", "[CSVIEW]"},
        {"photo.JPG", "xdg-open"},
        {"a.zip", "unzip -l % | less"},
        {"x.tar.gz", "(tar -tvzf % || zcat %) 2>/dev/null | less"},
        {"libx.so", "nm -C % | less"},  // the last line is still among the lines read
        {"README", "<none>"}}},
      {"win32/corvane.pre",
       {{"main.cpp", "[CSEDIT]"},
        {"SETUP.INF", "[CSEDIT]"},
        {"photo.JPG", "start \"\" %"},
        {"run.BAT", "%"},
        {"a.zip", "tar -tvf % | more"},
        {"README", "<none>"}}},
  };
  for (const auto& file : files) {
    const std::string text = testing::shippedDataFile(file.file);
    writeAssociations(text);
    for (const Case& c : file.cases) EXPECT_EQ(associationOf(c.name), c.command) << c.name;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      if (line.empty() || line[0] == '#') continue;
      EXPECT_EQ(line.find(';', line.find_first_of(" \t")), std::string::npos) << line;
      EXPECT_LE(line.size(), AssociationLineLimit) << line;
    }
  }
}

TEST_F(AssociationTest, CheckCommandNamesTheWordItCannotRun) {
  tree_.writeFile("plain.txt", "x");
  EXPECT_EQ(checkCommand("  sh -c true"), 0);
  keys_ = {key::Enter, key::Enter};
  EXPECT_EQ(checkCommand("'no such program' -x"), 1);
  EXPECT_TRUE(shownAtKey(0, "Command 'no such program' not executable,"));
  EXPECT_TRUE(shownAtKey(0, "Please check the syntax !"));
  EXPECT_EQ(checkCommand("./plain.txt %"), 1);  // exists in the current directory, not runnable
  keys_ = {key::Enter};
  EXPECT_EQ(checkCommand(tree_.root()), 1);  // a directory
}

TEST_F(AssociationTest, RunByExtension) {
  writeAssociations("txt cp % copied\nlog\ttouch\nc [CSEDIT]\n");
  tree_.writeFile("a.txt", "text");

  setupBlock().preferences[12].set(1);
  EXPECT_TRUE(runByExtension("a.txt"));
  EXPECT_EQ(tree_.readFile("copied"), "text");
  setupBlock().preferences[12].set(0);
  EXPECT_FALSE(runByExtension("new.log"));  // "touch" gets the name appended
  EXPECT_TRUE(tree_.exists("new.log"));
  EXPECT_EQ(console_.leaveCount, 2);

  EXPECT_FALSE(runByExtension("main.c"));  // no editor registered: a beep
  EXPECT_EQ(console_.beeps, 1);
  setInternalProgramHooks(
      {[](std::string_view name) { editedFiles().push_back(std::string(name)); }, nullptr});
  runByExtension("main.c");
  EXPECT_EQ(editedFiles(), std::vector<std::string>{"main.c"});
  EXPECT_EQ(console_.leaveCount, 2);

  keys_ = {key::Enter};
  EXPECT_FALSE(runByExtension("x.zip"));
  EXPECT_TRUE(shownAtKey(0, "Extension not defined"));
}

TEST_F(AssociationTest, CommandPresetForTheCommandInput) {
  writeAssociations("txt less -N\npdf xdg-open % &\nlog grep [ ] %\n");
  EXPECT_EQ(commandPreset("a.txt"), "less -N a.txt");
  EXPECT_EQ(commandPreset("my doc.pdf"), "xdg-open 'my doc.pdf' &");
  EXPECT_EQ(commandPreset("x.log"), "grep [ ] x.log");  // asked for when the line runs
  EXPECT_EQ(commandPreset("data.bin"), "data.bin");
  EXPECT_EQ(commandPreset("my data.bin"), "'my data.bin'");
}

TEST_F(AssociationTest, ShellRunsTheInterpreterClearingAndWaiting) {
  // The interpreter is asked to run itself (its path quoted for it); this one only leaves
  // a mark of what it was given.
  tree_.writeFile("my shell", "#!/bin/sh\necho \"$1 $2\" > started\n");
  chmod(tree_.host("my shell").c_str(), 0755);
  testing::ScopedEnv comspec("COMSPEC", tree_.host("my shell").c_str());
  setupBlock().preferences[3].set(1);
  runShell();
  EXPECT_EQ(tree_.readFile("started"), "-c '" + tree_.host("my shell") + "'\n");
  EXPECT_EQ(testing::normalScreenEvents(),
            (std::vector<std::string>{"clear", "write:\n", "write:\n", "wait:Press any key !"}));
  EXPECT_EQ(console_.enterCount, 1);
}

TEST_F(AssociationTest, FunctionKeyCommands) {
  EXPECT_EQ(functionKeyIndex(3, key::F10), 17);
  EXPECT_EQ(functionKeyIndex(0, key::F5), -1);
  EXPECT_EQ(functionKeyIndex(1, key::F4), -1);

  functionKeyRecord(setupBlock(), 7)->command.assign("cp % saved");  // page 2, F6
  tree_.writeFile("a.txt", "text");
  setupBlock().preferences[12].set(1);
  EXPECT_FALSE(runFunctionKeyCommand(2, key::F5, "a.txt"));  // no command defined
  EXPECT_EQ(console_.leaveCount, 0);
  EXPECT_TRUE(runFunctionKeyCommand(2, key::F6, "a.txt"));
  EXPECT_EQ(tree_.readFile("saved"), "text");
}

}  // namespace
}  // namespace corvane
