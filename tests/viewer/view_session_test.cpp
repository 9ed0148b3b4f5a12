#include "viewer/view_session.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/charset.h"
#include "platform/file_system.h"
#include "platform/screen.h"
#include "support/temp_tree.h"
#include "viewer/viewer_state.h"

namespace corvane {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() { resetViewerState(); }
  ~SessionTest() override { resetViewerState(); }

  void open(const std::string& content, int rows = 23, int columns = 80) {
    ASSERT_TRUE(tree_.writeFile("f", content));
    openHost(tree_.host("f"), rows, columns);
  }
  void openHost(const std::string& host, int rows = 23, int columns = 80) {
    file_.reset(std::fopen(host.c_str(), "rb"));
    ASSERT_NE(file_, nullptr);
    s_ = ViewSession{};
    s_.window.file = file_.get();
    s_.rows = rows;
    s_.columns = columns;
    ASSERT_TRUE(prepareWindow(s_));
    moveHome(s_);
  }

  // The rows as text, trailing blanks removed.
  std::vector<std::string> shown() const {
    std::vector<LineText> rows;
    formatRows(s_, rows);
    std::vector<std::string> out;
    for (const LineText& row : rows) {
      std::string text;
      for (char32_t ch : row)
        if (ch != WideTail) appendUtf8(text, ch);
      while (!text.empty() && text.back() == ' ') text.pop_back();
      out.push_back(text);
    }
    return out;
  }
  std::int64_t top() const { return s_.window.topOffset(); }

  // Numbered lines "line 00000" ... of the given count, each ending with LF.
  static std::string numberedLines(int count) {
    std::string text;
    char line[32];
    for (int i = 0; i < count; ++i) {
      std::snprintf(line, sizeof line, "line %05d\n", i);
      text += line;
    }
    return text;
  }

  testing::TempTree tree_;
  FileHandle file_;
  ViewSession s_;
};

TEST_F(SessionTest, AnEmptyFileStaysEmpty) {
  open("");
  for (void (*move)(ViewSession&) : {moveEnd, moveHome}) {
    move(s_);
    EXPECT_EQ(shown(), std::vector<std::string>(23));
  }
  moveDown(s_, 23);
  moveUp(s_, 1);
  EXPECT_EQ(top(), 0);
  EXPECT_EQ(s_.window.fileLength, 0);
}

TEST_F(SessionTest, DownPastTheLastLineToAnEmptyWindowAndBack) {
  open("one\ntwo\r\nthree\rfour");
  EXPECT_EQ(shown()[3], "four");
  moveDown(s_, 10);
  EXPECT_EQ(top(), 19);
  EXPECT_EQ(shown()[0], "");
  moveUp(s_, 1);
  EXPECT_EQ(shown()[0], "four");
  moveUp(s_, 1);
  EXPECT_EQ(shown()[0], "three");
  moveEnd(s_);
  EXPECT_EQ(shown()[0], "one");  // the file is shorter than a page
}

TEST_F(SessionTest, ScrollingUpReloadsTheEarlierBytesAndKeepsTheTopLine) {
  open(numberedLines(5000));
  const std::int64_t n = 11 * 782 - 8192;  // 8192 + n bytes in: the start of line 782
  reloadAt(s_, 8192 + n);                  // as Page Down leaves it after a reload
  ASSERT_EQ(top(), 8192 + n);
  moveUp(s_, 1);
  EXPECT_EQ(s_.window.base, n);
  EXPECT_EQ(top(), 8192 + n - 11);
  EXPECT_EQ(shown()[0], "line 00781");
  moveDown(s_, 1);
  EXPECT_EQ(top(), 8192 + n);
  EXPECT_EQ(shown()[0], "line 00782");
}

TEST_F(SessionTest, AHitAtTwentyThousandShowsOnTheThirdRow) {
  open(numberedLines(5000));
  placeHit(s_, 20000 + 5);  // "00005" of line 1818 starts at 20000 + 5
  EXPECT_EQ(s_.window.base, 19205);
  EXPECT_EQ(shown()[2], "line 01818");
  placeHit(s_, 60);  // within the first window: from the file start
  EXPECT_EQ(s_.window.base, 0);
  EXPECT_EQ(top(), 33);
  s_.hex = true;
  placeHit(s_, 20005);
  EXPECT_EQ(top(), 20005 - 48);
}

// Page Down and Page Up over a file without line ends always show full pages and come back
// to the start, also where a page of the longest lines does not fit 16 KB.
TEST_F(SessionTest, PagesOfAFileWithoutLineEnds) {
  std::string content(300000, ' ');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + i % 26);
  for (int rows : {23, 40}) {
    open(content, rows);
    std::vector<std::int64_t> tops;
    for (int page = 0; page < 12; ++page) {
      tops.push_back(top());
      const std::vector<std::string> rowsShown = shown();
      for (int row = 0; row < rows; ++row)
        ASSERT_EQ(rowsShown[row].size(), static_cast<std::size_t>(LineLimit))
            << rows << " rows, page " << page << ", row " << row;
      moveDown(s_, rows);
    }
    for (int page = 11; page >= 0; --page) {
      moveUp(s_, rows);
      ASSERT_EQ(top(), tops[static_cast<std::size_t>(page)]) << rows << " rows, page " << page;
      ASSERT_EQ(shown().back().size(), static_cast<std::size_t>(LineLimit));
    }
  }
}

TEST_F(SessionTest, EndOfAFileBeyondFourGigabytes) {
  const std::string host = tree_.host("sparse");
  const int fd = ::open(host.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  const off_t size = 5LL << 30;
  const std::string head = "first line\n", tail = "\nnext to last\nthe very end\n";
  const bool made =
      ::pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
      ::pwrite(fd, tail.data(), tail.size(), size - static_cast<off_t>(tail.size())) ==
          static_cast<ssize_t>(tail.size());
  ::close(fd);
  if (!made) GTEST_SKIP() << "no room for a sparse file of 5 GiB here";
  openHost(host, 4);
  EXPECT_EQ(shown()[0], "first line");
  moveEnd(s_);
  EXPECT_EQ(shown()[2], "next to last");
  EXPECT_EQ(shown()[3], "the very end");
  EXPECT_EQ(s_.window.fileLength, size);
  setHexMode(s_, true);
  moveEnd(s_);
  EXPECT_EQ(top(), size - 64);
  EXPECT_TRUE(shown()[3].starts_with("13ffffff0 ")) << shown()[3];
}

TEST_F(SessionTest, EndTakesTheLengthAgainAndATruncatedFileIsNoFailure) {
  open(numberedLines(3), 4);
  {
    FileHandle append(std::fopen(tree_.host("f").c_str(), "ab"));
    std::fputs("grown\n", append.get());
  }
  moveEnd(s_);
  EXPECT_EQ(shown()[3], "grown");
  ASSERT_EQ(::truncate(tree_.host("f").c_str(), 5), 0);
  moveHome(s_);
  EXPECT_EQ(shown()[0], "line");
  moveEnd(s_);
  moveDown(s_, 3);
  EXPECT_TRUE(s_.readFailure);
}

TEST_F(SessionTest, HexRowsOfATwentyByteFile) {
  open("0123456789abcdefGHIJ", 4);
  setHexMode(s_, true);
  const std::vector<std::string> rows = shown();
  EXPECT_EQ(rows[0], "00000000 30 31 32 33 34 35 36 37-38 39 61 62 63 64 65 66 │ 0123456789abcdef");
  EXPECT_EQ(rows[1], "00000010 47 48 49 4a" + std::string(36, ' ') + " │ GHIJ");
  EXPECT_EQ(rows[2], "--------" + std::string(49, ' ') + "│");
  moveDown(s_, 5);
  EXPECT_EQ(top(), 16);  // the last row with bytes stays on screen
  moveUp(s_, 1);
  EXPECT_EQ(top(), 0);
}

// Random moves over random files (long lines, CR, CR LF, UTF-8, zero bytes) that grow and
// shrink meanwhile: the top stays inside the window and the file, Home goes back to 0, and
// every page can be formatted.
TEST_F(SessionTest, RandomMovesKeepTheTopInsideTheWindow) {
  std::mt19937 random(5);
  const std::string pieces[] = {
      "word ",   "\n", "\r\n", "\r", "\t", "日本", "ä", std::string(1, '\0'), std::string(700, 'L'),
      "\xe6\x97"};
  for (int file = 0; file < 4; ++file) {
    std::string content;
    while (content.size() < 20000u + 30000u * static_cast<unsigned>(file))
      content += pieces[random() % std::size(pieces)];
    open(content, 5 + file * 7, 40 + file * 10);
    for (int step = 0; step < 400; ++step) {
      const int lines = 1 + static_cast<int>(random() % 40);
      switch (random() % 11) {
        case 0:
          moveHome(s_);
          ASSERT_EQ(top(), 0);
          break;
        case 1:
          moveEnd(s_);
          break;
        case 2:
        case 3:
          moveDown(s_, lines);
          break;
        case 4:
        case 5:
          moveUp(s_, lines);
          break;
        case 6:
          setHexMode(s_, !s_.hex);
          break;
        case 7:
          viewerState().wordWrap = !viewerState().wordWrap;
          keepPage(s_);
          break;
        case 8:
          viewerState().filter = static_cast<int>(random() % 3);
          keepPage(s_);
          break;
        case 9:
          placeHit(s_, static_cast<std::int64_t>(random() % (content.size() + 1)));
          break;
        case 10:
          ASSERT_EQ(::truncate(tree_.host("f").c_str(),
                               static_cast<off_t>(random() % (content.size() + 1))),
                    0);
          break;
      }
      ASSERT_LE(s_.window.top, s_.window.length) << "file " << file << " step " << step;
      ASSERT_LE(top(), static_cast<std::int64_t>(content.size()));
      (void)shown();
    }
  }
}

TEST_F(SessionTest, HexModeOnMovesTheTopBackOverALineEnd) {
  open("ab\r\ncd\r\nef\r\n");
  moveDown(s_, 1);
  ASSERT_EQ(top(), 4);
  setHexMode(s_, true);
  EXPECT_EQ(top(), 2);
  setHexMode(s_, false);
  EXPECT_EQ(top(), 2);
}

}  // namespace
}  // namespace corvane
