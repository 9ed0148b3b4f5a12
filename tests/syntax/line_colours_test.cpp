#include "syntax/line_colours.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "config/config_state.h"
#include "platform/charset.h"
#include "platform/drives.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "support/headless_fixture.h"
#include "support/shipped_data.h"
#include "support/temp_tree.h"
#include "syntax/keywords.h"
#include "syntax/syntax_state.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

using testing::HeadlessTest;
using testing::TempTree;

// The paint of every byte: '.' plain, 'H' a search hit, else the keyword type whose colour
// it is ('0' to '5'; '3' also for the other types).
std::string paintText(const std::vector<std::uint8_t>& paint) {
  std::string out;
  for (std::uint8_t p : paint) {
    char shown = p == PaintHit ? 'H' : p == PaintPlain ? '.' : '?';
    for (int type = 0; type <= 5; ++type)
      if (p != PaintPlain && paintOfType(type) == p) shown = static_cast<char>('0' + type);
    out += shown;
  }
  return out;
}

class SyntaxTest : public HeadlessTest {
 protected:
  SyntaxTest() {
    resetUiState();
    resetConfigState();
    resetSyntaxState();
    initDriveMap(("T=" + tree_.root()).c_str());
    configState().loadedPath = "T:\\corvane.SET";
  }
  ~SyntaxTest() override {
    resetSyntaxState();
    resetConfigState();
    initDriveMap(nullptr);
  }

  KeywordSet read(const std::string& file, const std::string& name) {
    tree_.writeFile("corvane.COL", file);
    return readKeywordFile("T:\\corvane.COL", name);
  }

  // Paints lines one after the other, the comment state carried.
  static std::vector<std::string> paintLines(const KeywordSet& set,
                                             const std::vector<std::string>& lines,
                                             bool inComment = false) {
    std::vector<std::string> out;
    std::vector<std::uint8_t> paint;
    for (const std::string& line : lines) {
      paintLine(set, line, inComment, paint);
      out.push_back(paintText(paint));
    }
    return out;
  }

  TempTree tree_;
};

constexpr std::string_view CFile =
    "notes before the first header\n"
    "F> BAT CMD\n"
    "echo,1\n"
    "F> C H CPP\n"
    "\n"
    "/*,20\n"
    "*/,22\n"
    "//,21\n"
    "#,2\n"
    "include,2\n"
    "if,3\n"
    "int,1\n"
    "   ,,4\n"
    "no comma here\n"
    "big,256\n"
    "neg,-1\n"
    "word,\n"
    "F> CPP\n"
    "late,5\n";

TEST_F(SyntaxTest, SectionsApplyByWholeExtensionWordsAndOneIsRead) {
  struct Case {
    const char* name;
    std::size_t keywords;
    bool commentMode;
  };
  const Case cases[] = {
      {"main.cpp", 8, true},     {"x.h", 8, true},       {"DIR.D\\X.C", 8, true},
      {"noextension", 0, false}, {"main.c++", 0, false}, {"a.cmd", 1, false},
      {"a.b", 0, false},         {"main.", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const KeywordSet set = read(std::string(CFile), c.name);
    EXPECT_EQ(set.entries.size(), c.keywords);
    EXPECT_EQ(set.commentMode, c.commentMode);
  }
  // The first applying section only; blank, comma-less and out-of-range lines are passed
  // over; ',' as a keyword; the markers; '#' and ',' join the delimiters.
  const KeywordSet set = read(std::string(CFile), "main.cpp");
  std::vector<std::string> words;
  for (const KeywordEntry& e : set.entries) words.push_back(e.text + "," + std::to_string(e.type));
  EXPECT_EQ(words, (std::vector<std::string>{"/*,20", "*/,22", "//,21", "#,2", "include,2", "if,3",
                                             "int,1", ",,4"}));
  EXPECT_EQ(set.delimiters, std::string(DefaultDelimiters) + "#,");
  EXPECT_EQ(set.commentStart, "/*");
  EXPECT_EQ(set.lineComment, "//");
  EXPECT_EQ(set.commentEnd, "*/");
  // "c" is no word of "F> BAT CMD"; batch mode for BAT, CMD and sys in any case.
  EXPECT_TRUE(read("F> BAT CMD\necho,1\n", "main.c").empty());
  for (const char* name : {"a.bat", "A.CMD", "x.SYS", "x.sys"})
    EXPECT_TRUE(read("F> BAT CMD SYS\necho,1\n", name).batchMode) << name;
  EXPECT_FALSE(read("F> BAT CMD SYS\necho,1\n", "a.c").batchMode);
  // Comment mode needs both block markers.
  EXPECT_FALSE(read("F> C\n/*,20\n//,21\n", "a.c").commentMode);
  // The last marker of each type wins.
  const KeywordSet twice = read("F> C\n/*,20\n(*,20\n*/,22\n", "a.c");
  EXPECT_EQ(twice.commentStart, "(*");
}

TEST_F(SyntaxTest, LongLinesLimitsAndTheMaximumMessage) {
  // A line over 199 characters: its rest is no keyword line of its own.
  const std::string longLine = std::string(195, 'a') + "xxxx" + "rest,3";
  KeywordSet set = read("F> C\n" + longLine + "\nok,1\n", "a.c");
  ASSERT_EQ(set.entries.size(), 1u);
  EXPECT_EQ(set.entries[0].text, "ok");

  // 301 keywords and 120 one-character ones: 300 kept, the delimiters stop at 100.
  std::string file = "F> C\n";
  for (int i = 0; i < 120; ++i) file += textf("%c,1\n", static_cast<char>(0xa0 + i % 90));
  for (int i = 0; i < 181; ++i) file += textf("k%d,1\n", i);
  tree_.writeFile("corvane.COL", file);
  int boxes = 0;
  console_.onInputExhausted = [&](HeadlessConsole&) {
    for (int row = 0; row < screenRows(); ++row)
      if (imageRow(row).find(textf(FormatKeywordMaximum, KeywordLimit)) != std::string::npos)
        ++boxes;
  };
  loadKeywords("T:\\x.c");
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(keywords().entries.size(), 300u);
  EXPECT_EQ(keywords().delimiters.size(), DelimiterLimit);
  freeKeywords();
  EXPECT_TRUE(keywords().empty());
  EXPECT_EQ(keywords().delimiters, DefaultDelimiters);

  // Loaded again for an unchanged file: the same set from memory, no second message; a
  // file put in its place (as an editor saves) is read anew.
  loadKeywords("T:\\y.c");
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(keywords().entries.size(), 300u);
  tree_.writeFile("new.COL", "F> C\nwhile,2\n");
  ASSERT_EQ(std::rename(tree_.host("new.COL").c_str(), tree_.host("corvane.COL").c_str()), 0);
  loadKeywords("T:\\x.c");
  ASSERT_EQ(keywords().entries.size(), 1u);
  EXPECT_EQ(keywords().entries[0].text, "while");
}

TEST_F(SyntaxTest, TokensCommentsAndHits) {
  const KeywordSet c = read(std::string(CFile), "main.cpp");
  struct Case {
    std::string line;
    std::string paint;
  };
  const Case cases[] = {
      // if before a blank, '(' or the line end; not inside ifdef or elif.
      {"if (x) if(y) ifdef elif if", "33.....33...............33"},
      // '#' is a delimiter of its own: the word after it matches alone.
      {"#include <a>", "22222222...."},
      {"x#include", ".22222222"},
      // A line comment before a block start opens nothing.
      {"int a; // int /* b", "111..............."},
      {"a,b", ".4."},
  };
  for (const Case& k : cases) {
    bool inComment = false;
    std::vector<std::uint8_t> paint;
    paintLine(c, k.line, inComment, paint);
    EXPECT_EQ(paintText(paint), k.paint) << k.line;
    EXPECT_FALSE(inComment) << k.line;
  }
  // A comment opened on one line runs to its end on a later one.
  EXPECT_EQ(paintLines(c, {"int a; /* if", "if int", "end */ int", "// /*", "int"}),
            (std::vector<std::string>{"111.........", "......", ".......111", ".....", "111"}));
  // Outside comment mode no line begins inside a comment.
  const KeywordSet plain = read("F> TXT\n/*,20\n*/,22\nif,3\n", "a.txt");
  EXPECT_EQ(paintLines(plain, {"/* a", "if"}, true), (std::vector<std::string>{"....", "33"}));
  // Batch mode folds a to z only.
  const KeywordSet batch = read("F> BAT\necho,1\nrem,21\n", "A.BAT");
  EXPECT_EQ(paintLines(batch, {"echo ECHO Echo", "@echo x REM if echo"}),
            (std::vector<std::string>{"1111.1111.1111", "..................."}));

  // Search hits show inside comments; only a to z fold; bytes of "ä" are neither folded
  // nor delimiters.
  std::vector<std::uint8_t> paint;
  bool inComment = false;
  paintLine(c, "/* INT int */ ä Ä if", inComment, paint);
  paintHits(TextFinder("int", true), "/* INT int */ ä Ä if", paint);
  EXPECT_EQ(paintText(paint), "...HHH.HHH..........33");
  paint.assign(std::string_view("ä Ä").size(), PaintPlain);
  paintHits(TextFinder("ä", true), "ä Ä", paint);
  EXPECT_EQ(paintText(paint), "HH...");
  EXPECT_EQ(delimitedWordAt(c, "(äif#x)", 3), "äif");
  EXPECT_EQ(delimitedWordAt(c, "(äif#x)", 0), "");
}

TEST_F(SyntaxTest, CommentVerdictOfEarlierLines) {
  const KeywordSet c = read(std::string(CFile), "main.cpp");
  struct Case {
    const char* text;
    CommentVerdict verdict;
  };
  const Case cases[] = {
      {"a /* b", CommentVerdict::Inside},    {"a /* b */ c", CommentVerdict::Outside},
      {"*/ x /* y", CommentVerdict::Inside}, {"// a /* b", CommentVerdict::Outside},
      {"x */ y", CommentVerdict::Outside},   {"plain", CommentVerdict::Unknown},
  };
  for (const Case& k : cases) {
    const std::string_view text = k.text;
    const bool start = text.find("/*") != std::string_view::npos;
    const bool end = text.find("*/") != std::string_view::npos;
    EXPECT_EQ(commentVerdict(c, text, start, end), k.verdict) << k.text;
  }
  // The flags speak for "/*" and "*/": a line whose flags say nothing is passed by.
  EXPECT_EQ(commentVerdict(c, "a /* b", false, false), CommentVerdict::Unknown);
}

// A row drawn scrolled shows the cells the unscrolled row shows from that column, colours
// included, over random lines of keywords, delimiters, markers and wide characters; every
// row is cleared to the right edge; the carried state does not depend on the scroll.
TEST_F(SyntaxTest, ScrolledRowsKeepTheirColours) {
  tree_.writeFile("corvane.COL", std::string(CFile));
  loadKeywords("T:\\a.cpp");
  setHighlight("in", true);
  const char* pieces[] = {"if",  " ", "(",  "#", "include", "/*",    "*/", "//",
                          "int", "x", "中", "ä", ",",       "ifdef", "IN"};
  std::mt19937 random(19);
  ScreenWindow* window = nullptr;
  WindowHandle handle;
  ASSERT_EQ(openWindow(handle, 1, 1, 40, 3, 0x17, 0x17, WindowClear), 0);
  window = handle.get();
  for (int round = 0; round < 300; ++round) {
    std::string line;
    const int count = static_cast<int>(random() % 30);
    for (int i = 0; i < count; ++i) line += pieces[random() % std::size(pieces)];
    const bool startsInside = random() % 2 == 0;
    bool whole = startsInside, scrolled = startsInside;
    CurrentWindowScope scope(*window);
    drawColouredLine(line, 1, 0, LineLook{.normal = 0x17, .unit = ColumnUnit::Cells}, whole);
    const int shift = static_cast<int>(random() % 12);
    drawColouredLine(line, 2, shift, LineLook{.normal = 0x17, .unit = ColumnUnit::Cells}, scrolled);
    EXPECT_EQ(whole, scrolled) << line;
    const int x = windowScreenColumn(*window, 1), y = windowScreenRow(*window, 1);
    const int width = windowLastColumn(*window);
    // The last cell may hold half of a wide character cut by the right edge.
    for (int cell = 0; cell + shift < width - 1; ++cell) {
      const ScreenCell& top = screenImage().at(x + cell + shift, y);
      const ScreenCell& below = screenImage().at(x + cell, y + 1);
      if (top.ch == WideTail || below.ch == WideTail) continue;  // a cut wide character
      if (cell == 0 && top.ch != below.ch) continue;
      ASSERT_EQ(top.ch, below.ch) << line << " shift " << shift << " cell " << cell;
      ASSERT_EQ(top.attr, below.attr) << line << " shift " << shift << " cell " << cell;
    }
    for (int cell = std::max(textCells(line) - shift, 0); cell < width; ++cell) {
      EXPECT_EQ(screenImage().at(x + cell, y + 1).ch, U' ');
      EXPECT_EQ(screenImage().at(x + cell, y + 1).attr, 0x17);
    }
  }
}

// The default keyword file loads without a message and colours a C file as recorded here.
TEST_F(SyntaxTest, DefaultKeywordFileColoursACFile) {
  tree_.writeFile("corvane.COL", testing::shippedDataFile("corvane.COL"));
  console_.onInputExhausted = [](HeadlessConsole&) { ADD_FAILURE() << "a message was shown"; };
  loadKeywords("T:\\sample.c");
  const KeywordSet& set = keywords();
  EXPECT_TRUE(set.commentMode);
  EXPECT_EQ(paintLines(set, {"#include <stdio.h> /* a", " int x; */ static int f(void) {",
                             "  if (x) return nullptr; // else", "}"}),
            (std::vector<std::string>{
                "22222222.......4.......",
                "...........000000.111...1111...",
                "..33.....333333.4444444.........",
                ".",
            }));
  for (const char* name : {"a.py", "a.sh", "a.bat", "a.java", "a.ini"}) {
    loadKeywords(std::string("T:\\") + name);
    EXPECT_FALSE(keywords().empty()) << name;
  }
}

}  // namespace
}  // namespace corvane
