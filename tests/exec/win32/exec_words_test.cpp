// The exec layer's words on Windows: split, templates and the command line follow cmd.exe.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exec/command_template.h"
#include "exec/exec_texts.h"
#include "exec/shell_words.h"

namespace corvane {
namespace {

TEST(WinExecWordsTest, TemplatesAndTheCommandLineWriteNamesForCmd) {
  EXPECT_EQ(splitCommandLine("echo 'a;b' \"c;d\";dir"),
            (std::vector<std::string_view>{"echo 'a", "b' \"c;d\"", "dir"}));
  EXPECT_EQ(firstShellWord("\"my prog.exe\" x"), "my prog.exe");
  EXPECT_EQ(unquoteShellText("'it''s'"), "'it''s'");

  // A root directory inside the template's own quotes keeps its closing quote a quote.
  setTemplateDirectories("C:\\", "C:\\");
  EXPECT_EQ(expandPlaceholders("x", "dir \"%1\" \"%2\\sub\"", CommandLengthLimit, false).text,
            "dir \"C:\\\\\" \"C:\\\\sub\"");
  setTemplateDirectories("", "");
  EXPECT_EQ(expandPlaceholders("a&b.txt", "type %x", CommandLengthLimit, false).text,
            "type \"a&b.txt\"x");
  EXPECT_EQ(expandPlaceholders("50%.txt", "type \"%%\".log", CommandLengthLimit, false).text,
            "type \"50\"%\"\".log");
  const TemplateExpansion quoted =
      expandPlaceholders("say\"hi", "type %x", CommandLengthLimit, false);
  EXPECT_EQ(quoted.error, exec_text::NameHoldsQuote);
  // Not inserted, not refused.
  EXPECT_TRUE(expandPlaceholders("say\"hi", "dir", CommandLengthLimit, false).error.empty());
  // A line put on the command line is expanded again: "%" cannot stay there.
  EXPECT_EQ(shellWordRefusal("50%.txt", true), exec_text::NameHoldsPercent);
  EXPECT_TRUE(shellWordRefusal("50%.txt", false).empty());
}

}  // namespace
}  // namespace corvane
