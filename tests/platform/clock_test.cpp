#include "platform/clock.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/startup_switches.h"
#include "support/headless_fixture.h"

namespace corvane {
namespace {

TEST(StatusLine, FourFormatsWithTheirStartColumns) {
  struct Case {
    bool dayMonth, seconds;
    LocalTime time;
    const char* expected;
    int start;
  };
  const Case cases[] = {
      {true, false, {2026, 12, 8, 13, 5, 9}, "  1.2 GB      42% 08.12.2026 13:05", 80 - 34},
      {false, false, {2026, 12, 8, 13, 5, 9}, "  1.2 GB      42% 12-08-2026 01:05p", 80 - 35},
      {true, true, {2026, 12, 8, 13, 5, 9}, "  1.2 GB      42% 08.12.2026 13:05:09", 80 - 37},
      {false, true, {2026, 12, 8, 0, 30, 0}, "  1.2 GB      42% 12-08-2026 00:30:00a", 80 - 38},
      {false, false, {2026, 12, 8, 12, 30, 0}, "  1.2 GB      42% 12-08-2026 12:30a", 80 - 35},
  };
  for (const Case& c : cases) {
    int start = -1;
    std::string line =
        formatStatusLine({c.dayMonth, c.seconds}, c.time, "1.2 GB", "42%", 80, start);
    EXPECT_EQ(line, c.expected);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(start + static_cast<int>(line.size()), 80) << c.expected;
  }
}

class ClockHandOver : public testing::HeadlessTest {
 protected:
  ClockHandOver() {
    resetKeyReader();
    setIdleMinutes(1);
    noteActivity();
    setLocalTimeSource([] { return LocalTime{2026, 12, 8, 13, 5, 9}; });
    ClockReport stale;
    (void)takeClockReport(stale);
  }
  ~ClockHandOver() override {
    setLocalTimeSource(nullptr);
    setIdleMinutes(5);
    if (screenSaverActive()) screenSaverOff();
  }
  // One cycle on a thread of its own, as the clock thread runs it.
  static void cycleOnAnotherThread() { std::thread(clockCycle).join(); }
};

TEST_F(ClockHandOver, TheThreadOnlyPostsAndTheKeyReaderDraws) {
  cycleOnAnotherThread();
  EXPECT_GE(console_.wakes, 1) << "the reader's wait is woken";
  EXPECT_EQ(imageText(46, 0, 34), std::string(34, ' ')) << "the clock thread drew";
  EXPECT_TRUE(console_.writes.empty());

  console_.pushKey('x');
  EXPECT_EQ(readKey(), 'x');
  EXPECT_NE(imageRow(0).find("08.12.2026 13:05"), std::string::npos) << imageRow(0);
  EXPECT_NE(console_.shownRow(0).find("08.12.2026 13:05"), std::string::npos);
}

TEST_F(ClockHandOver, TheSaverRunsOnTheDrawingThreadAndTheWakingKeyIsSwallowed) {
  screenImage().at(5, 5).ch = U'Q';
  advanceTicks(60 + 2);  // the idle limit and the saver's lag
  cycleOnAnotherThread();
  EXPECT_FALSE(screenSaverActive()) << "switched on by the clock thread";
  (void)checkKey();  // long operations poll: the report is shown there too
  EXPECT_TRUE(screenSaverActive());
  EXPECT_EQ(console_.shownAt(5, 5).ch, U' ');

  std::size_t writes = console_.writes.size();
  cycleOnAnotherThread();
  (void)checkKey();
  EXPECT_GT(console_.writes.size(), writes) << "the animation steps on the drawing thread";

  console_.pushKeys({'x', 'y'});
  EXPECT_EQ(readKey(), 'y');  // 'x' only ended the saver
  EXPECT_FALSE(screenSaverActive());
  EXPECT_EQ(console_.shownAt(5, 5).ch, U'Q');
}

TEST(StartupSwitches, TableOrderNumbersAndFileArguments) {
  StartupSwitches s = parseSwitches({"/z50", "/s100", "/asc", "/1", "/2/home/Ann", "notes.TXT", "x",
                                     "/what", "README.md", "/cvt7", "/TST"});
  EXPECT_EQ(s.screenRows, 50);
  EXPECT_EQ(s.screenColumns, 100);
  EXPECT_TRUE(s.asciiFrames);
  EXPECT_TRUE(s.testLogging);
  EXPECT_EQ(s.startDirectory1, "");           // "/1" with nothing behind it
  EXPECT_EQ(s.startDirectory2, "/home/Ann");  // paths keep their case
  EXPECT_EQ(s.fileArgument, "README.md");     // the last one wins; "x" is too short
  EXPECT_EQ(s.cvtValue, 7);

  StartupSwitches bare = parseSwitches({"/Z", "/S"});
  EXPECT_EQ(bare.screenRows, 0);
  EXPECT_EQ(bare.screenColumns, 0);
  EXPECT_EQ(bare.cvtValue, 1000);
}

// "--" words are options, compared as typed; a lone "--" hands the rest to the switch table.
TEST(StartupSwitches, DoubleDashOptions) {
  StartupSwitches s =
      parseSwitches({"--cwd-file", "/tmp/a b", "/z30", "--version", "--", "--notes", "--help"});
  EXPECT_EQ(s.cwdFile, "/tmp/a b");  // the word after it, even one beginning with "/"
  EXPECT_EQ(s.screenRows, 30);
  EXPECT_TRUE(s.version);
  EXPECT_FALSE(s.help);                 // after "--"
  EXPECT_EQ(s.fileArgument, "--help");  // the last word after "--" wins
  EXPECT_EQ(s.badOption, "");

  struct Case {
    std::vector<std::string> words;
    const char *cwdFile, *badOption;
  } const cases[] = {
      {{"--cwd-file=x=y"}, "x=y", ""},
      {{"--cwd-file="}, "", "--cwd-file="},
      {{"--cwd-file"}, "", "--cwd-file"},              // nothing behind it
      {{"--cwd-filex", "--Help"}, "", "--cwd-filex"},  // the first unknown one is told
      {{"--HELP", "--cwd-file=f"}, "f", "--HELP"},
  };
  for (const Case& c : cases) {
    StartupSwitches parsed = parseSwitches(c.words);
    EXPECT_EQ(parsed.cwdFile, c.cwdFile) << c.words[0];
    EXPECT_EQ(parsed.badOption, c.badOption) << c.words[0];
    EXPECT_EQ(parsed.fileArgument, "") << c.words[0];
  }
}

}  // namespace
}  // namespace corvane
