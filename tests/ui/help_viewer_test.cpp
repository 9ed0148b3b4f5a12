#include "ui/help_viewer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "scripted_console.h"
#include "support/temp_tree.h"
#include "ui/about_box.h"
#include "ui/boxes.h"
#include "ui/window.h"

namespace corvane {
namespace {

// On 80 x 25 the help window is 78 x 22 at screen cell (1, 2): text rows 3 to 22 from
// column 2, the bottom frame on row 23 with "Press any key !" ending at column 77.
constexpr int TextRows = 20;
constexpr int PromptColumn = 63, BottomRow = 23;

class HelpViewerTest : public testing::DialogTest {
 protected:
  HelpViewerTest() { setHelpFilePath(toProgramPath(tree_.host("CV.hlp"))); }
  ~HelpViewerTest() override { setHelpFilePath({}); }

  void writeHelp(std::string_view content) { ASSERT_TRUE(tree_.writeFile("CV.hlp", content)); }
  std::string textRow(int read, int row) { return screen_.rowAtRead(read, row, 2, 76); }
  std::string prompt(int read) { return screen_.rowAtRead(read, BottomRow, PromptColumn, 15); }

  testing::TempTree tree_;
};

std::string padded(std::string_view text, std::size_t width = 76) {
  std::string out(text);
  out.resize(width, ' ');
  return out;
}

TEST(HelpPageNumber, PageLines) {
  struct Case {
    std::string_view line;
    std::optional<int> page;
  } cases[] = {
      {">12", 12},
      {"   >  401 Compare", 401},
      {"\t>5", 5},
      {">", 0},
      {"text > 3", {}},
      {"", {}},
      {"  ", {}},
      {"x>4", {}},
      {">2147483647", 2147483647},  // the largest int
      {"> 4294967347", {}},         // beyond it: no page line, never page 51
  };
  for (const Case& c : cases) EXPECT_EQ(helpPageNumber(c.line), c.page) << "'" << c.line << "'";
}

TEST_F(HelpViewerTest, MissingPageOrFileShowsAnEmptyWindowAndWaits) {
  writeHelp(">1\nfirst page\n>2\nsecond page\n");
  const std::vector<ScreenCell> before = screenImage().cells;
  screen_.pushKey('x');
  help(7);
  ASSERT_EQ(screen_.screens.size(), 1u);
  EXPECT_NE(screen_.rowAtRead(0, 2, 1, 78).find("HELP 7"), std::string::npos);
  for (int row = 3; row < 3 + TextRows; ++row) EXPECT_EQ(textRow(0, row), padded("")) << row;
  EXPECT_EQ(prompt(0), PressAnyKeyText);
  EXPECT_EQ(screen_.attrAtRead(0, PromptColumn, BottomRow), color(ColorMessageWindow));
  EXPECT_EQ(screen_.attrAtRead(0, 2, 3), color(ColorNormal));
  EXPECT_EQ(screenImage().cells, before);
  EXPECT_FALSE(helpIsOpen());

  // No help file at all, a FIFO as help file (never waited on) and no setup directory (no
  // help file name): the same.
  ASSERT_TRUE(deleteFile(helpFilePath()));
  screen_.pushKey(key::Escape);
  help(1);
  ASSERT_EQ(mkfifo(tree_.host("CV.hlp").c_str(), 0644), 0);
  screen_.pushKey(key::Escape);
  alarm(10);  // a regression would wait for a writer for ever
  help(1);
  alarm(0);
  setHelpFilePath("");
  screen_.pushKey(key::Escape);
  help(1);
  ASSERT_EQ(screen_.screens.size(), 4u);
  for (int read = 1; read < 4; ++read) {
    EXPECT_EQ(textRow(read, 3), padded("")) << read;
    EXPECT_EQ(prompt(read), PressAnyKeyText) << read;
  }
}

TEST_F(HelpViewerTest, ShowsOnlyTheWantedPage) {
  // CR LF line ends, an indented page line, a tab, and a line longer than 200 bytes whose
  // remainder looks like a page line: it must not start page 3.
  std::string longLine = std::string(200, 'L') + ">3 not a page";
  writeHelp(">2\r\nother page\r\n  >  3\r\nline one\r\n\tindented\r\n" + longLine +
            "\r\nlast line\r\n>4\r\nnext page\r\n");
  screen_.pushKey(key::Enter);
  help(3);
  ASSERT_EQ(screen_.screens.size(), 1u);
  EXPECT_EQ(textRow(0, 3), padded("line one"));
  EXPECT_EQ(textRow(0, 4), padded("        indented"));
  EXPECT_EQ(textRow(0, 5), std::string(76, 'L'));  // cut by the window
  EXPECT_EQ(textRow(0, 6), padded("last line"));
  EXPECT_EQ(textRow(0, 7), padded(""));
  EXPECT_EQ(prompt(0), PressAnyKeyText);
}

std::string longPage(int page, int lines) {
  std::string text = ">" + std::to_string(page) + "\n";
  for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

TEST_F(HelpViewerTest, LongPagePausesAfterEachWindowFull) {
  writeHelp(longPage(9, 45) + ">10\nafter\n");
  screen_.pushKeys({'a', 'b', 'c'});
  help(9);
  ASSERT_EQ(screen_.screens.size(), 3u);
  EXPECT_EQ(textRow(0, 3), padded("line 1"));
  EXPECT_EQ(textRow(0, 22), padded("line 20"));
  EXPECT_EQ(prompt(0), PressAnyKeyText);
  EXPECT_EQ(textRow(1, 3), padded("line 21"));
  EXPECT_EQ(textRow(1, 22), padded("line 40"));
  EXPECT_EQ(textRow(2, 3), padded("line 41"));
  EXPECT_EQ(textRow(2, 7), padded("line 45"));
  EXPECT_EQ(textRow(2, 8), padded(""));  // the rows of the previous window full are cleared
}

TEST_F(HelpViewerTest, PageFillingTheWindowExactlyWaitsOnce) {
  writeHelp(longPage(9, TextRows));
  screen_.pushKey('a');
  help(9);
  EXPECT_EQ(screen_.screens.size(), 1u);
}

TEST_F(HelpViewerTest, EscapeAtAPauseClosesAtOnce) {
  writeHelp(longPage(9, 45));
  const std::vector<ScreenCell> before = screenImage().cells;
  screen_.pushModifier(ModifierKey::Shift);  // not a key: the pause goes on waiting
  screen_.pushKey(key::Escape);
  help(9);
  EXPECT_EQ(screen_.screens.size(), 2u);
  EXPECT_EQ(screenImage().cells, before);
  EXPECT_EQ(screen_.shown, before);
}

TEST_F(HelpViewerTest, F1InsideHelpOnlyBeepsAndHelpFollowsTheWindowContext) {
  writeHelp(">33\nDrive selection\n");
  KeyReaderHooks hooks;
  hooks.help = helpForCurrentWindow;
  hooks.helpOpen = helpIsOpen;
  setKeyReaderHooks(hooks);

  WindowHandle dialog;
  ASSERT_EQ(openWindow(dialog, 10, 5, 30, 6, 0x17, 0x17, WindowClear | WindowSingle), 0);
  setHelpContext(33);
  screen_.pushKeys({key::F1, key::F1, 'x', 'y'});
  EXPECT_EQ(readKey(), 'y');  // F1 opened help; the F1 inside it beeped; 'x' closed it
  EXPECT_EQ(screen_.beeps, 1);
  EXPECT_NE(screen_.rowAtRead(1, 2, 1, 78).find("HELP 33"), std::string::npos);
  EXPECT_EQ(textRow(1, 3), padded("Drive selection"));
  EXPECT_EQ(currentWindow(), dialog.get());
  freeWindow(dialog);
  setKeyReaderHooks({});
}

TEST_F(HelpViewerTest, AboutBoxShowsPage51ThenTheProductTitle) {
  writeHelp(">51\nAbout this program\n");
  const std::vector<ScreenCell> before = screenImage().cells;
  screen_.pushKey('a');
  screen_.pushIdle();  // not a key: the title stays up
  screen_.pushKey('b');
  aboutBox();
  ASSERT_EQ(screen_.screens.size(), 3u);
  EXPECT_EQ(textRow(0, 3), padded("About this program"));
  bool titleShown = false;
  for (int row = 0; row < 25; ++row)
    titleShown |= screen_.rowAtRead(2, row).find(ProductTitle) != std::string::npos;
  EXPECT_TRUE(titleShown);
  EXPECT_EQ(screenImage().cells, before);
}

// The shipped help file has a page for every help context the program asks for, pages are
// not given twice, and no line is too wide for the help window of an 80-column screen.
TEST(ShippedHelpFile, HasAPageForEveryContext) {
  const char* data = std::getenv("CORVANE_TEST_DATA");
  ASSERT_NE(data, nullptr) << "CORVANE_TEST_DATA is not set";
  std::ifstream file(std::string(data) + "/corvane.hlp");
  ASSERT_TRUE(file) << data << "/corvane.hlp";

  std::set<int> pages;
  std::vector<int> duplicates;
  std::map<int, int> linesOfPage;
  int current = -1, lineNumber = 0;
  for (std::string line; std::getline(file, line);) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    EXPECT_LT(line.size(), 76u) << "line " << lineNumber;
    if (std::optional<int> page = helpPageNumber(line)) {
      // A text line that happens to begin with ">" would silently start a page.
      std::size_t mark = line.find('>');
      std::size_t digit = line.find_first_not_of(" \t", mark + 1);
      EXPECT_TRUE(digit != std::string::npos &&
                  std::isdigit(static_cast<unsigned char>(line[digit])))
          << "line " << lineNumber << " starts a page without a number: " << line;
      current = *page;
      if (!pages.insert(current).second) duplicates.push_back(current);
    } else if (current >= 0 && line.find_first_not_of(' ') != std::string::npos) {
      ++linesOfPage[current];
    }
  }
  EXPECT_TRUE(duplicates.empty()) << "page " << duplicates.front() << " is given twice";

  std::vector<int> contexts = {0, 300, 500};
  for (int first : {20, 50, 60, 107, 400}) {
    int last = first == 20 ? 36 : first == 50 ? 52 : first == 60 ? 86 : first == 107 ? 124 : 416;
    for (int page = first; page <= last; ++page) contexts.push_back(page);
  }
  for (int page : contexts) {
    EXPECT_TRUE(pages.count(page)) << "no page " << page;
    EXPECT_GE(linesOfPage[page], 3) << "page " << page << " says too little";
  }
}

}  // namespace
}  // namespace corvane
