#include "platform/posix/user_screen_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/headless_console.h"
#include "platform/screen.h"

namespace corvane {
namespace {

constexpr int Columns = 20, Rows = 6;
constexpr int CommandRow = 4, QuietFrom = 4;  // the command line and a key bar under it

void put(ScreenImage& image, int row, std::u32string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) image.at(static_cast<int>(i), row).ch = text[i];
}

// The projection in front of a headless console, writing into a pipe.
class UserScreenLineTest : public ::testing::Test {
 protected:
  UserScreenLineTest() : inner_(Columns, Rows), image_(Columns, Rows), line_(pipeFd()) {
    put(image_, 0, U"panels hidden");
    put(image_, CommandRow, U"D:\\>ls");
  }
  ~UserScreenLineTest() override {
    close(pipe_[0]);
    close(pipe_[1]);
  }
  int pipeFd() {
    EXPECT_EQ(pipe2(pipe_, O_NONBLOCK), 0);
    return pipe_[1];
  }
  std::string written() {
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipe_[0], buffer, sizeof buffer)) > 0)
      out.append(buffer, static_cast<std::size_t>(n));
    return out;
  }
  void showIt() {
    line_.show(inner_, image_, CommandRow, QuietFrom);
    written();
  }

  int pipe_[2] = {-1, -1};
  HeadlessConsole inner_;
  ScreenImage image_;
  UserScreenLine line_;
};

TEST(UserScreenRow, RowsBecomeTerminalLines) {
  ScreenImage image(8, 1);
  struct Case {
    const char* what;
    std::u32string cells;
    int columns;
    std::string line;
  };
  const Case cases[] = {
      {"trailing blanks dropped", U"ab c", 8, "ab c"},
      {"blank row", U"", 8, ""},
      {"control characters as their glyphs", U"a\x01\x7F", 8, "a\u263A\u2302"},
      {"a wide character once", {U'x', U'\u4E2D', WideTail, U'y'}, 8, "x\u4E2Dy"},
      {"cut at the terminal's width", U"abcdefgh", 5, "abcde"},
      {"a wide character cut in half is left out",
       {U'a', U'b', U'c', U'd', U'\u4E2D', WideTail},
       5,
       "abcd"},
  };
  for (const Case& c : cases) {
    image = ScreenImage(8, 1);
    put(image, 0, c.cells);
    EXPECT_EQ(rowAsLine(image, 0, c.columns), c.line) << c.what;
  }
}

TEST_F(UserScreenLineTest, ShowLeavesTheProgramScreenAndDrawsTheRowOnTheCursorLine) {
  line_.show(inner_, image_, CommandRow, QuietFrom);
  EXPECT_EQ(inner_.leaveCount, 1);
  EXPECT_EQ(line_.mode(), UserScreenLine::Mode::UserScreen);
  const std::string out = written();
  EXPECT_NE(out.find("\x1b[?2004h"), std::string::npos) << "pasted line breaks stay text";
  EXPECT_NE(out.find("\rD:\\>ls\x1b[K"), std::string::npos);

  // The cursor of the line input lands on the same terminal line.
  line_.setCursorShape(CursorSmall);
  line_.setCursorPosition(6, CommandRow);
  EXPECT_NE(written().find("\r\x1b[6C"), std::string::npos);

  // Shown again (the next key): the row again, the program's screen not entered.
  line_.show(inner_, image_, CommandRow, QuietFrom);
  EXPECT_EQ(inner_.leaveCount, 1);
  EXPECT_EQ(inner_.enterCount, 0);
}

TEST_F(UserScreenLineTest, OnlyChangesOutsideTheCommandWindowBringBackTheProgramScreen) {
  showIt();
  put(image_, CommandRow, U"D:\\>ls -l");
  put(image_, QuietFrom + 1, U"Ctrl bar");
  line_.writeRect(image_, 0, 0, Columns - 1, Rows - 1);
  EXPECT_EQ(line_.mode(), UserScreenLine::Mode::UserScreen);
  EXPECT_EQ(inner_.enterCount, 0);
  EXPECT_NE(written().find("\rD:\\>ls -l\x1b[K"), std::string::npos);
  EXPECT_EQ(inner_.writes.size(), 0u) << "nothing drawn behind the user's back";

  // Same picture elsewhere (a restored screen): still the user's screen.
  line_.writeRect(image_, 0, 0, Columns - 1, 2);
  EXPECT_EQ(line_.mode(), UserScreenLine::Mode::UserScreen);

  put(image_, 2, U"Exit ?");
  line_.writeRect(image_, 0, 2, 5, 2);
  EXPECT_EQ(line_.mode(), UserScreenLine::Mode::ProgramScreen);
  EXPECT_EQ(inner_.enterCount, 1);
  EXPECT_EQ(inner_.shownRow(2).substr(0, 6), "Exit ?");
  EXPECT_EQ(inner_.shownRow(0).substr(0, 13), "panels hidden") << "the whole screen, not the rect";
  EXPECT_NE(written().find("\r\x1b[K"), std::string::npos) << "the prompt line cleared";

  // From now on everything goes to the program's screen, until shown again.
  line_.beep(3000, 1);
  EXPECT_EQ(inner_.beeps, 1);
  line_.show(inner_, image_, CommandRow, QuietFrom);
  EXPECT_EQ(inner_.leaveCount, 2);
  line_.beep(3000, 1);
  EXPECT_EQ(inner_.beeps, 1);
  EXPECT_NE(written().find('\a'), std::string::npos);
}

TEST_F(UserScreenLineTest, CommandsRunOnTheUserScreenAndThePromptFollowsTheirOutput) {
  showIt();
  line_.setCursorShape(CursorHidden);
  written();
  line_.leaveScreen();
  EXPECT_EQ(line_.mode(), UserScreenLine::Mode::Running);
  const std::string before = written();
  EXPECT_NE(before.find("\x1b[?25h"), std::string::npos) << "the command gets a visible cursor";
  EXPECT_NE(before.find("\x1b[?2004l"), std::string::npos);
  // Whatever the program draws while the command runs is not shown.
  put(image_, 1, U"saver");
  line_.writeRect(image_, 0, 0, Columns - 1, Rows - 1);
  EXPECT_EQ(written(), "");
  put(image_, 1, U"     ");

  line_.enterScreen();
  EXPECT_EQ(line_.mode(), UserScreenLine::Mode::UserScreen);
  line_.writeRect(image_, 0, 0, Columns - 1, Rows - 1);  // the saved screen put back
  EXPECT_NE(written().find("\rD:\\>ls\x1b[K"), std::string::npos);
  EXPECT_EQ(inner_.leaveCount, 1);
  EXPECT_EQ(inner_.enterCount, 0);
}

TEST_F(UserScreenLineTest, TheProgramWideInstanceStandsInFrontOfTheConsole) {
  setConsole(&inner_);
  initScreenImage(Columns, Rows);
  resumeOutput();
  setUserScreenLineOutput(pipe_[1]);
  EXPECT_TRUE(userScreenLineAvailable());
  screenImage() = image_;

  showUserScreenLine(CommandRow, QuietFrom);
  EXPECT_TRUE(userScreenLineInUse());
  EXPECT_TRUE(userScreenLineShown());
  EXPECT_NE(&console(), &inner_);
  EXPECT_NE(written().find("D:\\>ls"), std::string::npos);
  showUserScreenLine(CommandRow, QuietFrom);  // stays in front of the same console
  EXPECT_EQ(inner_.leaveCount, 1);

  endUserScreenLine();
  EXPECT_NE(written().find("\r\x1b[K"), std::string::npos) << "the prompt line cleared";
  EXPECT_FALSE(userScreenLineInUse());
  EXPECT_EQ(&console(), &inner_);
  EXPECT_EQ(inner_.enterCount, 1);
  EXPECT_EQ(inner_.shownRow(0).substr(0, 13), "panels hidden") << "the whole image flushed";
  endUserScreenLine();  // not in use: nothing
  EXPECT_EQ(inner_.enterCount, 1);

  setUserScreenLineOutput(-1);
  setConsole(nullptr);
}

}  // namespace
}  // namespace corvane
