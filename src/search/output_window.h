// The scrolling output window of the tree walks: a framed window over the middle of the
// screen whose lines scroll up as new ones arrive. Lines are drawn into the screen image at
// once and shown at most every 40 ms, so a walk that finds thousands of files is not paced
// by the terminal. Without a console nothing is drawn.
#pragma once

#include <string>
#include <string_view>

#include "fileops/paced_drawing.h"
#include "ui/window.h"

namespace corvane {

class OutputWindow {
 public:
  // A window of rows interior rows (0: the screen height less 10) under the title.
  explicit OutputWindow(std::string_view title, int rows = 0);
  OutputWindow(const OutputWindow&) = delete;
  OutputWindow& operator=(const OutputWindow&) = delete;

  // Text in the form "\n%s": each line feed starts a new line (scrolling on the last row);
  // text after it goes on the current line.
  void write(std::string_view text);
  // Replaces the text of an interior row (1-based), as a status line.
  void setRow(int row, std::string_view text);
  // Shows what was drawn since the last flush.
  void flush();
  int innerWidth() const;

 private:
  void newLine();
  void append(std::string_view text);

  ScopedWindow window_;
  PacedFlush flush_;
  std::string line_;  // the current line's text
  int row_ = 0;       // 0 before the first line
  int rows_ = 0;
};

}  // namespace corvane
