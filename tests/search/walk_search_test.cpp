// The tree walks of file find, directory size and the recursive command, the streaming text
// scan and the tree search's global list, on real temporary trees.
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>

#include "exec/run_command.h"
#include "fileops/fileops_fixture.h"
#include "panels/global_list.h"
#include "search/file_search.h"
#include "search/walk_actions.h"
#include "viewer/viewer_state.h"

namespace corvane {
namespace {

using testing::FileopsTest;

class WalkSearchTest : public FileopsTest {
 protected:
  WalkSearchTest() {
    resetViewerState();
    setupBlock().preferences[3].set(0);  // no key prompt after commands
    setNormalScreenOps({[] {}, [](std::string_view) {}, [](std::string_view) {}});
  }
  ~WalkSearchTest() override {
    resetNormalScreenOps();
    resetViewerState();
  }

  std::vector<std::string> listed(const Panel& panel) {
    std::vector<std::string> names;
    for (NodeId id : chain(panel.list)) names.push_back(globalListPath(panel.list, id));
    std::sort(names.begin(), names.end());
    return names;
  }
};

std::uint16_t dosDate(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

TEST(PatternsAndLines, SplitYearsAndShortenedPaths) {
  struct Case {
    const char* pattern;
    const char* directory;
    const char* mask;
  };
  const Case cases[] = {
      {"*.c", ".", "*.c"},
      {"T:\\src\\*.h", "T:\\src", "*.h"},
      {"T:\\*.txt", "T:\\", "*.txt"},
      {"T:\\src\\", "T:\\src", "*.*"},
      {"\\x\\a?", "\\x", "a?"},
      {"\\*.c", "\\", "*.c"},
  };
  for (const Case& c : cases) {
    const PatternParts parts = splitPattern(c.pattern);
    EXPECT_EQ(parts.directory, c.directory) << c.pattern;
    EXPECT_EQ(parts.mask, c.mask) << c.pattern;
  }
  EXPECT_EQ(shortYear(dosDate(1997, 5, 1)), 97);
  EXPECT_EQ(shortYear(dosDate(2003, 5, 1)), 3);
  EXPECT_EQ(shortYear(dosDate(1980, 1, 1)), 80);
  EXPECT_EQ(shortYear(dosDate(2079, 1, 1)), 79);
  EXPECT_EQ(foundLine("T:\\a.c", 12, dosDate(2003, 4, 5), true),
            "\nT:\\a.c" + std::string(39, ' ') + " Bytes : 12        05.04.3");
  EXPECT_EQ(foundLine("T:\\a.c", 12, dosDate(1997, 4, 5), false),
            "\nT:\\a.c" + std::string(39, ' ') + " Bytes : 12        04-05-97");
  const std::string deep = "T:\\" + std::string(60, 'd') + "\\x.c";
  EXPECT_EQ(foundLine(deep, 1, dosDate(2000, 1, 1), true).substr(0, 46),
            "\n~" + deep.substr(deep.size() - 44));
}

TEST_F(WalkSearchTest, DirectorySizeCountsHiddenSparseAndNeverLoops) {
  ASSERT_TRUE(t_.makeDir("home"));
  ASSERT_TRUE(t_.writeFile("home/a", std::string(1000, 'a')));
  ASSERT_TRUE(t_.makeDir("home/.cache"));
  ASSERT_TRUE(t_.writeFile("home/.cache/b", std::string(234, 'b')));
  ASSERT_TRUE(t_.makeDir("home/sub"));
  ASSERT_TRUE(t_.makeSymlink("home/sub/loop", t_.host("home")));     // a link back up
  ASSERT_TRUE(t_.makeSymlink("home/sub/alias", t_.host("home/a")));  // counted at its target
  constexpr std::uint64_t FiveGiB = std::uint64_t{5} << 30;
  ASSERT_TRUE(t_.writeFile("home/sub/sparse"));
  ASSERT_EQ(truncate(t_.host("home/sub/sparse").c_str(), static_cast<off_t>(FiveGiB)), 0);

  WalkTotals totals;
  EXPECT_EQ(directorySize("T:\\home\\*.*", false, &totals), 1000 + 234 + FiveGiB);
  EXPECT_EQ(totals.files, 3);
  EXPECT_FALSE(totals.cancelled);

  // The listing find leaves hidden directories out and reports even when nothing matched.
  dismiss();
  EXPECT_EQ(findFiles("T:\\home\\*.*", &totals), 0);
  EXPECT_EQ(totals.files, 3);  // a, the link alias, the sparse file; the loop link is no file
  EXPECT_TRUE(sawText("3 Files found, total size"));
  dismiss();
  (void)findFiles("T:\\home\\*.zzz", &totals);
  EXPECT_TRUE(sawText("0 Files found, total size 0 Bytes"));
}

TEST_F(WalkSearchTest, RecursiveCommandGetsEachPathAsOneWord) {
  ASSERT_TRUE(t_.makeDir("src"));
  ASSERT_TRUE(t_.writeFile("src/it's a file.c", "1"));
  ASSERT_TRUE(t_.writeFile("src/x;rm -rf y.c", "2"));
  ASSERT_TRUE(t_.writeFile("src/skip.h", "3"));
  ASSERT_TRUE(t_.makeDir("src/.git"));
  ASSERT_TRUE(t_.writeFile("src/.git/hidden.c", "4"));
  ASSERT_TRUE(u_.makeDir("y"));
  const std::string out = u_.host("out");
  const std::string command = "printf '%s\\n' >>" + out;
  EXPECT_EQ(commandRecursive("T:\\src\\*.c", command), 2);
  std::string lines = u_.readFile("out");
  EXPECT_NE(lines.find(t_.host("src/it's a file.c") + "\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find(t_.host("src/x;rm -rf y.c") + "\n"), std::string::npos) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
  EXPECT_TRUE(u_.exists("y"));

  // Esc typed while the first command ran: " Cancel operation ? " before the next one; N goes
  // on, Y runs no more.
  for (const char reply : {'N', 'Y'}) {
    ASSERT_TRUE(u_.writeFile("out", ""));
    static int looks;
    looks = 0;
    setNormalScreenOps(
        {[] {}, [](std::string_view) {}, [](std::string_view) {}, [] { return ++looks == 1; }});
    screen_.onInputExhausted = [reply](HeadlessConsole& console) {
      console.pushText(std::string(1, reply));
    };
    EXPECT_EQ(commandRecursive("T:\\src\\*.c", command), 2);
    screen_.onInputExhausted = nullptr;
    EXPECT_TRUE(sawText("Cancel operation ?"));
    lines = u_.readFile("out");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), reply == 'N' ? 2 : 1) << lines;
  }
}

// The scan against the plain definition over files whose hits fall on both sides of the
// block boundaries, after zero bytes, at the very end, in either case.
TEST_F(WalkSearchTest, ScanFindsExactlyWhatIsThere) {
  std::mt19937 random(20);
  constexpr std::size_t Block = std::size_t{1} << 18;
  const std::string needle = "NeedLe";
  for (int round = 0; round < 24; ++round) {
    const std::size_t size = Block * (1 + round % 3) + (random() % 3) - 1;
    std::string content(size, 'x');
    for (std::size_t i = 0; i < size; i += 1 + random() % 4000) content[i] = '\0';
    std::string placed = round % 2 == 0 ? needle : "nEEDle";
    bool present = round % 5 != 4;
    std::size_t at = 0;
    if (present) {
      const std::size_t choices[] = {Block - 3, Block - needle.size(), Block, size - needle.size(),
                                     random() % (size - needle.size())};
      at = std::min(choices[round % 5], size - needle.size());
      content.replace(at, placed.size(), placed);
    }
    ASSERT_TRUE(t_.writeFile("f", content));
    const bool exact = present && placed == needle;
    EXPECT_EQ(scanFile("T:\\f", needle, false) == FileScan::Found, exact) << round << " at " << at;
    EXPECT_EQ(scanFile("T:\\f", needle, true) == FileScan::Found, present) << round << " at " << at;
  }
  ASSERT_EQ(mkfifo(t_.host("fifo").c_str(), 0600), 0);
  EXPECT_EQ(scanFile("T:\\fifo", "x", false), FileScan::OpenFailed);
  EXPECT_EQ(scanFile("C:\\dev\\zero", "x", false), FileScan::OpenFailed);
  EXPECT_EQ(searchFile("T:\\fifo", "x", false, 0), SearchNoHit);
}

TEST_F(WalkSearchTest, TreeSearchKeepsTheFilesHoldingTheString) {
  ASSERT_TRUE(t_.makeDir("w"));
  ASSERT_TRUE(t_.writeFile("w/hit.txt", "one ABC two"));
  ASSERT_TRUE(t_.writeFile("w/miss.txt", "nothing"));
  ASSERT_TRUE(t_.makeDir("w/d"));
  ASSERT_TRUE(t_.writeFile("w/d/deep.txt", std::string("\0\0abc", 5)));
  ASSERT_TRUE(t_.writeFile("w/d/deep.c", "abc"));
  ASSERT_TRUE(t_.makeDir("w/.hidden"));
  ASSERT_TRUE(t_.writeFile("w/.hidden/h.txt", "abc"));
  ASSERT_TRUE(u_.writeFile("out.txt", "abc"));
  ASSERT_TRUE(t_.makeSymlink("w/d/linked", u_.root()));
  ASSERT_EQ(mkfifo(t_.host("w/pipe.txt").c_str(), 0600), 0);

  // A host path as typed: its directory made a program path, the mask trimmed and lower-cased.
  const PatternParts typed = typedSearchPattern("  " + t_.host("w") + "/ *.TXT ");
  EXPECT_EQ(typed.directory, "T:\\w");
  EXPECT_EQ(typed.mask, "*.txt");
  EXPECT_EQ(typedSearchPattern("").mask, "*.*");
  TreeSearch search;
  search.directory = "T:\\w";
  search.mask = "*.txt";
  search.text = "abc";
  search.show = false;
  Panel panel;
  search.ignoreCase = true;
  ASSERT_EQ(gatherTextSearch(panel, search), GlobalListFound);
  EXPECT_EQ(listed(panel), (std::vector<std::string>{"T:\\w\\d\\deep.txt", "T:\\w\\hit.txt"}));
  search.ignoreCase = false;
  ASSERT_EQ(gatherTextSearch(panel, search), GlobalListFound);
  EXPECT_EQ(listed(panel), (std::vector<std::string>{"T:\\w\\d\\deep.txt"}));
  search.recursive = false;
  dismiss();  // " No Files found ! "
  EXPECT_EQ(gatherTextSearch(panel, search), GlobalListEmpty);
  search.text.clear();
  ASSERT_EQ(gatherTextSearch(panel, search), GlobalListFound);
  EXPECT_EQ(listed(panel),
            (std::vector<std::string>{"T:\\w\\hit.txt", "T:\\w\\miss.txt", "T:\\w\\pipe.txt"}));
  freePanel(panel);
}

}  // namespace
}  // namespace corvane
