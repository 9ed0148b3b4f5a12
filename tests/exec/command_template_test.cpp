#include "exec/command_template.h"

#include <gtest/gtest.h>

#include <string>

#include "exec/exec_texts.h"
#include "exec/shell_words.h"
#include "exec_fixture.h"

namespace corvane {
namespace {

using testing::ExecTest;

TEST(ShellWordsTest, QuotesOnlyWhatTheInterpreterWouldSplitOrInterpret) {
  struct Case {
    const char* text;
    const char* quoted;
  } cases[] = {
      {"report.txt", "report.txt"},
      {"/home/ann/a-b_c+d,e:f@g", "/home/ann/a-b_c+d,e:f@g"},
      {"Gr\xC3\xBC\xC3\x9F"
       "e.txt",
       "Gr\xC3\xBC\xC3\x9F"
       "e.txt"},  // UTF-8 passes
      {"my file.txt", "'my file.txt'"},
      {"; rm -rf ~", "'; rm -rf ~'"},
      {"$(reboot)", "'$(reboot)'"},
      {"it's", "'it'\"'\"'s'"},
      {"*.c", "'*.c'"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quoteForShell(c.text), c.quoted) << c.text;
    EXPECT_EQ(unquoteShellText(quoteForShell(c.text)), c.text) << c.text;
  }
  // Backslashes are not escapes: program paths come through unchanged.
  EXPECT_EQ(unquoteShellText("C:\\home\\\"My Dir\""), "C:\\home\\My Dir");
}

TEST(ShellWordsTest, FirstWord) {
  EXPECT_EQ(firstShellWord("  vim -p file"), "vim");
  EXPECT_EQ(firstShellWord("'/opt/my tools/run' x"), "/opt/my tools/run");
  EXPECT_EQ(firstShellWord("\tless"), "less");
}

class TemplateTest : public ExecTest {
 protected:
  static std::string expanded(std::string_view name, std::string_view text, bool append = false) {
    TemplateExpansion e = expandPlaceholders(name, text, CommandLengthLimit, append);
    EXPECT_EQ(e.error, "") << text << " with " << name;
    return e.text;
  }
};

TEST_F(TemplateTest, Placeholders) {
  struct Case {
    const char* name;
    const char* text;
    const char* result;
  } cases[] = {
      {"report.txt", "%%.bak", "report.bak"},
      {"report.txt", "edit %", "edit report.txt"},
      {"makefile", "%%.bak", "makefile.bak"},
      {"report.txt", "copy % %2", "copy report.txt report.txt"},  // one panel: %2 is the name
      {"report.txt", "x %1", "x report.txt"},                     // %1 not known either
      {"report.txt", "view %", "view report.txt"},                // "%" at the very end
      {"report.txt", "%x", "report.txtx"},                        // the x stays
      {"report.txt", "a%%%b",
       "a"
       "report"
       "report.txtb"},
      {"archive.tar.gz", "%%", "archive.tar"},
      {"my report.txt", "lp %%.pdf", "lp 'my report'.pdf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expanded(c.name, c.text), c.result) << c.text << " with " << c.name;
  }
  // A full program path is inserted as its host path; a dot in a directory does not count.
  tree_.makeDir("notes.d");
  EXPECT_EQ(expanded("T:\\notes.d\\readme", "%%.bak"), tree_.host("notes.d/readme") + ".bak");
}

TEST_F(TemplateTest, PanelDirectoriesAreInsertedAsHostPaths) {
  tree_.makeDir("left");
  tree_.makeDir("right dir");
  setTemplateDirectories("T:\\left", "");
  EXPECT_EQ(expanded("a.c", "cp % %2"), "cp a.c a.c");
  EXPECT_EQ(expanded("a.c", "cd %1"), "cd " + tree_.host("left"));
  setTemplateDirectories("T:\\left", "T:\\right dir");
  EXPECT_EQ(expanded("a.c", "cp %1/% %2"),
            "cp " + tree_.host("left") + "/a.c '" + tree_.host("right dir") + "'");
}

TEST_F(TemplateTest, AppendOnlyWithoutPlaceholders) {
  EXPECT_EQ(expanded("report.txt", "less", true), "less report.txt");
  EXPECT_EQ(expanded("report.txt", "less", false), "less");
  EXPECT_EQ(expanded("report.txt", "wc -l %", true), "wc -l report.txt");
  EXPECT_EQ(expanded("a b", "less", true), "less 'a b'");
  EXPECT_EQ(expanded("", "make", true), "make");
}

TEST_F(TemplateTest, OverflowsAtTheirBoundaries) {
  const std::string name400(400, 'n');
  const std::string base(396, 'b');  // with ".txt" a 400-character name
  struct Case {
    std::string name;
    std::string text;
    bool append;
    std::string_view error;
  } cases[] = {
      {std::string(399, 'n'), "%", false, ""},
      {name400, "%", false, exec_text::TooLong},               // fits, but is 400 long
      {name400 + "n", "%", false, exec_text::OverflowOther},   // would pass 400
      {name400 + "n", "%1", false, exec_text::OverflowOther},  // %1 falling back to the name
      {"x" + base + ".txt", "%%", false, ""},                  // a base name of 397
      {base + base + ".c", "%%", false, exec_text::OverflowBaseName},
      {std::string(401, 'm'), "%%", false, exec_text::OverflowWholeName},
      {std::string(399, 'm'), "%%x", false, exec_text::TooLong},  // literals after the insert
      {"", std::string(399, 'c'), false, ""},
      {"", std::string(400, 'c'), false, exec_text::TooLong},
      {"abcdefgh", std::string(391, 'c'), true, exec_text::TooLong},  // 391 + 1 + 8
      {"abcdefg", std::string(391, 'c'), true, ""},
  };
  for (const Case& c : cases) {
    TemplateExpansion e = expandPlaceholders(c.name, c.text, CommandLengthLimit, c.append);
    EXPECT_EQ(e.error, c.error) << c.text.size() << " characters with a name of " << c.name.size();
    EXPECT_LE(e.text.size(), static_cast<std::size_t>(CommandLengthLimit));
  }
}

TEST_F(TemplateTest, ParameterMarkOfTheTemplateOnly) {
  TemplateExpansion e = expandPlaceholders("a[ ]b", "grep [ ] %", CommandLengthLimit, false);
  EXPECT_EQ(e.parameterAt, 5u);
  e = expandPlaceholders("a[ ]b", "less %", CommandLengthLimit, false);
  EXPECT_EQ(e.parameterAt, std::string::npos);
  e = expandPlaceholders("x", "find . -name [ ]", CommandLengthLimit, true);
  EXPECT_EQ(e.text, "find . -name [ ] x");
  EXPECT_EQ(e.parameterAt, 13u);
}

TEST_F(TemplateTest, ExpandCommandShowsOverflowsAndKeepsTheTemplate) {
  std::string command = "%%";
  keys_ = {key::Enter};
  EXPECT_EQ(expandCommand(std::string(401, 'm'), command), ExpandError);
  EXPECT_TRUE(shownAtKey(0, "% ERROR 2"));
  EXPECT_EQ(command, "%%");

  command = std::string(400, 'c');
  keys_ = {key::Enter};
  EXPECT_EQ(expandCommand("x", command), ExpandError);
  EXPECT_TRUE(shownAtKey(1, "LNG ERROR 1"));
}

TEST_F(TemplateTest, ParameterAnsweredWithEnterOrLeft) {
  std::string command = "grep [ ] %";
  keys_ = {'f', 'o', 'o', key::Enter};
  EXPECT_EQ(expandCommand("notes.txt", command), ExpandDone);
  EXPECT_EQ(command, "grep foo notes.txt");
  EXPECT_TRUE(shownAtKey(0, "Enter parameter  :"));
  EXPECT_EQ(screenImage().cells, console_.shown);  // the dialog is gone

  command = "grep [ ] %";
  keys_ = {'f', key::Escape};
  EXPECT_EQ(expandCommand("notes.txt", command), key::Escape);
  EXPECT_EQ(command, "grep [ ] notes.txt");
}

TEST_F(TemplateTest, ParameterThatMakesTheLineTooLong) {
  const std::string prefix(390, 'c');
  std::string command = prefix + "[ ]";  // 393; "[ ]" replaced by 10 characters gives 400
  keys_ = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', key::Enter, key::Enter};
  EXPECT_EQ(expandCommand("", command), ExpandError);
  EXPECT_TRUE(shownAtKey(11, "LNG ERROR 2"));
  EXPECT_EQ(command, prefix + "[ ]");

  command = prefix + "[ ]";
  keys_ = {'0', '1', '2', '3', '4', '5', '6', '7', '8', key::Enter};
  EXPECT_EQ(expandCommand("", command), ExpandDone);
  EXPECT_EQ(command, prefix + "012345678");
}

}  // namespace
}  // namespace corvane
