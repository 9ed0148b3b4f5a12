// The scrolling output window of the tree walks: a framed window over the middle of the
// screen whose lines scroll up as new ones arrive. Lines are kept as text and drawn at most
// every 40 ms (and by flush), so a walk that finds thousands of files is paced neither by the
// terminal nor by drawing lines that scroll away unseen. Without a console nothing is drawn.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "ui/paced_drawing.h"
#include "ui/window.h"

namespace corvane {

class OutputWindow {
 public:
  // A window of rows interior rows (0: the screen height less 10) under the title.
  explicit OutputWindow(std::string_view title, int rows = 0);
  OutputWindow(const OutputWindow&) = delete;
  OutputWindow& operator=(const OutputWindow&) = delete;

  // Text in the form "\n%s": each line feed starts a new line (the oldest scrolls away on the
  // last row); text after it goes on the current line.
  void write(std::string_view text);
  // Replaces the text of an interior row (1-based), as a status line.
  void setRow(int row, std::string_view text);
  // Draws what changed and shows the window now.
  void flush();

 private:
  void draw();
  void paced();

  ScopedWindow window_;
  PacedFlush flush_;
  std::deque<std::string> lines_;  // the rows shown, top first
  int rows_ = 0;
  bool dirty_ = false;
};

}  // namespace corvane
