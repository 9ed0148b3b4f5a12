// Directory and file compare: the time-stamp rule, the binary rule on real files, both
// directions of a directory compare and the compare with a destination.
#include "search/compare.h"

#include <sys/stat.h>

#include <random>
#include <string>

#include "fileops/fileops_fixture.h"
#include "search/search_state.h"

namespace corvane {
namespace {

using testing::FileopsTest;
using testing::TestContext;

FileEntry entry(std::uint16_t date, std::uint16_t time, std::uint64_t size) {
  FileEntry e;
  e.name = "f";
  e.date = date;
  e.time = time;
  e.size = size;
  return e;
}

TEST(StampDifference, TheRuleOfDatesTimesAndSizes) {
  struct Case {
    FileEntry a, b;
    bool ignoreSize;
    std::uint32_t expected;
  };
  const std::uint32_t Sel = MarkSelected;
  const Case cases[] = {
      {entry(100, 50, 10), entry(100, 50, 10), false, 0},
      {entry(101, 0, 10), entry(100, 900, 10), false, Sel | MarkCompareNewer},
      {entry(100, 900, 10), entry(101, 0, 10), false, Sel | MarkCompareOlder},
      {entry(100, 51, 10), entry(100, 50, 10), false, Sel | MarkCompareNewer},
      {entry(100, 50, 10), entry(100, 51, 10), true, Sel | MarkCompareOlder},
      {entry(100, 50, 200), entry(100, 50, 100), false, Sel | MarkCompareLarger},
      {entry(100, 50, 100), entry(100, 50, 200), false, Sel | MarkCompareNotLarger},
      {entry(100, 50, 100), entry(100, 50, 200), true, 0},
      // Sizes beyond 32 bits compare as they are.
      {entry(100, 50, std::uint64_t{1} << 32), entry(100, 50, 5), false, Sel | MarkCompareLarger},
      // Later dates are the larger unsigned words (years after 2043 set the top bit).
      {entry(0xF000, 0, 1), entry(0x1000, 0, 1), false, Sel | MarkCompareNewer},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(stampDifference(cases[i].a, cases[i].b, cases[i].ignoreSize), cases[i].expected)
        << "case " << i;
}

class CompareTest : public FileopsTest {
 protected:
  ~CompareTest() override { resetSearchState(); }

  std::uint32_t markOf(const Panel& panel, std::string_view name) {
    const NodeId id = findNodeByName(panel.list, name);
    EXPECT_NE(id, NoNode) << name;
    return id == NoNode ? 0 : panel.list.nodes[id].mark;
  }
  int compare(TestContext& context, CommandId code) {
    context.show("T:\\", "U:\\");
    return compareDirectoriesCommand(context, code);
  }
};

// Contents compared in blocks, against memcmp of the whole files over seeded sizes around the
// block length and a difference anywhere, the last byte too.
TEST_F(CompareTest, ContentsDifferExactlyWhenTheBytesDo) {
  std::mt19937 random(11);
  constexpr std::size_t Block = 32768;
  for (int round = 0; round < 30; ++round) {
    const std::size_t size = Block * (random() % 3) + (random() % 3) - (round % 2);
    std::string a(size == static_cast<std::size_t>(-1) ? 0 : size, '\0');
    for (char& c : a) c = static_cast<char>(random());
    std::string b = a;
    switch (round % 4) {
      case 0:
        break;
      case 1:
        if (!b.empty()) b.back() ^= 1;
        break;
      case 2:
        b.push_back('x');
        break;
      case 3:
        if (!b.empty()) b[random() % b.size()] ^= 0x40;
        break;
    }
    ASSERT_TRUE(t_.writeFile("a", a));
    ASSERT_TRUE(u_.writeFile("a", b));
    EXPECT_EQ(compareContents("T:\\a", "U:\\a") == ContentComparison::Differ, a != b)
        << "round " << round << " size " << a.size();
    EXPECT_EQ(compareContents("T:\\a", "U:\\a") == ContentComparison::Equal, a == b);
  }
  ASSERT_EQ(mkfifo(u_.host("pipe").c_str(), 0600), 0);
  EXPECT_EQ(compareContents("T:\\a", "U:\\pipe"), ContentComparison::SecondOpenFailed);
  dismiss();  // "File open error"
  EXPECT_TRUE(filesDiffer("U:\\pipe", "T:\\a"));
  EXPECT_TRUE(sawText("File open error U:\\pipe"));
}

TEST_F(CompareTest, BothDirectionsByTimeStamp) {
  ASSERT_TRUE(t_.writeFile("same", "1234"));
  ASSERT_TRUE(u_.writeFile("same", "1234"));
  ASSERT_TRUE(t_.writeFile("changed", "x"));
  ASSERT_TRUE(u_.writeFile("changed", "x"));
  ASSERT_TRUE(t_.writeFile("small", std::string(100, 's')));
  ASSERT_TRUE(u_.writeFile("small", std::string(200, 's')));
  ASSERT_TRUE(u_.writeFile("only", "o"));
  ASSERT_TRUE(t_.writeFile("Makefile", "m"));
  ASSERT_TRUE(u_.writeFile("makefile", "m"));
  ASSERT_TRUE(u_.writeFile("Makefile", "m"));
  ASSERT_TRUE(t_.makeDir("dir"));
  ASSERT_TRUE(u_.makeDir("dir"));
  for (const char* name : {"same", "small", "Makefile"}) {
    ASSERT_TRUE(t_.setLocalMtime(name, 2020, 5, 6, 7, 8, 10));
    ASSERT_TRUE(u_.setLocalMtime(name, 2020, 5, 6, 7, 8, 10));
  }
  ASSERT_TRUE(u_.setLocalMtime("makefile", 2021, 1, 1, 0, 0, 0));
  ASSERT_TRUE(t_.setLocalMtime("changed", 2020, 5, 6, 7, 8, 10));
  ASSERT_TRUE(u_.setLocalMtime("changed", 2020, 5, 6, 7, 9, 10));  // a minute later

  setPreference(19, false);
  TestContext context;
  compare(context, CmdCompareDirectories);
  EXPECT_EQ(markOf(context.current, "same"), 0u);
  EXPECT_EQ(markOf(context.current, "changed"), MarkSelected | MarkCompareOlder);
  EXPECT_EQ(markOf(context.other, "changed"), MarkSelected | MarkCompareNewer);
  EXPECT_EQ(markOf(context.current, "small"), MarkSelected | MarkCompareNotLarger);
  EXPECT_EQ(markOf(context.other, "small"), MarkSelected | MarkCompareLarger);
  EXPECT_EQ(markOf(context.other, "only"), MarkSelected | MarkCompareMissing);
  EXPECT_EQ(markOf(context.current, "Makefile"), 0u);  // its exact namesake, not "makefile"
  EXPECT_EQ(markOf(context.current, "dir"), 0u);
  EXPECT_EQ(context.current.selectedCount, 2);
  // changed, small, only, and makefile: newer than its case-folded counterpart "Makefile".
  EXPECT_EQ(markOf(context.other, "makefile"), MarkSelected | MarkCompareNewer);
  EXPECT_EQ(context.other.selectedCount, 4);

  // A second compare after a change replaces the marks of the first.
  setPreference(19, true);  // " Ignore file size during file compare "
  ASSERT_TRUE(u_.setLocalMtime("changed", 2020, 5, 6, 7, 8, 10));
  context.other.list.nodes[findNodeByName(context.other.list, "changed")].entry.time =
      context.current.list.nodes[findNodeByName(context.current.list, "changed")].entry.time;
  EXPECT_EQ(compareDirectoriesCommand(context, CmdCompareDirectories), LoopContinue);
  EXPECT_EQ(markOf(context.current, "changed"), 0u);
  EXPECT_EQ(markOf(context.current, "small"), 0u);
  EXPECT_EQ(markOf(context.other, "small"), 0u);
  EXPECT_EQ(context.otherRequest, OtherAlways);
}

TEST_F(CompareTest, BinaryMarksDifferingContentsOnBothSides) {
  const std::string block(65536, 'q');
  std::string last = block;
  last.back() = 'r';
  ASSERT_TRUE(t_.writeFile("equal", block));
  ASSERT_TRUE(u_.writeFile("equal", block));
  ASSERT_TRUE(t_.writeFile("last", block));
  ASSERT_TRUE(u_.writeFile("last", last));
  ASSERT_TRUE(t_.writeFile("pipe", ""));
  ASSERT_EQ(mkfifo(u_.host("pipe").c_str(), 0600), 0);
  TestContext context;
  dismiss();  // "File open error U:\pipe"
  compare(context, CmdCompareDirectoriesBinary);
  EXPECT_EQ(markOf(context.current, "equal"), 0u);
  EXPECT_EQ(markOf(context.other, "equal"), 0u);
  EXPECT_EQ(markOf(context.current, "last"), MarkSelected | MarkCompareDiffer);
  EXPECT_EQ(markOf(context.other, "last"), MarkSelected | MarkCompareDiffer);
  EXPECT_EQ(markOf(context.current, "pipe"), MarkSelected | MarkCompareDiffer);
  EXPECT_EQ(markOf(context.other, "pipe"), MarkSelected | MarkCompareDiffer);

  // Outside the two-list layout nothing happens.
  context.current.layout = LayoutSingleList;
  clearMarks(context.current.list);
  EXPECT_EQ(compareDirectoriesCommand(context, CmdCompareDirectoriesBinary), LoopContinue);
  EXPECT_EQ(markOf(context.current, "last"), 0u);
}

}  // namespace
}  // namespace corvane
