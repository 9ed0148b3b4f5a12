#include "search/output_window.h"

#include <algorithm>

#include "platform/color.h"
#include "platform/console.h"
#include "platform/screen.h"

namespace corvane {

OutputWindow::OutputWindow(std::string_view title, int rows) {
  if (!hasConsole()) return;
  const int columns = screenColumns(), screen = screenRows();
  rows_ = rows > 0 ? rows : std::max(screen - 10, 1);
  rows_ = std::min(rows_, std::max(screen - 4, 1));
  const int height = rows_ + 2;
  const int y = std::max((screen - height) / 2 + 1, 1);
  const ColorAttr attr = color(ColorInfoWindow);
  if (window_.open(3, y, std::max(columns - 4, 10), height, attr, attr,
                   WindowDouble | WindowShadow | WindowClear, title) != 0)
    rows_ = 0;
}

int OutputWindow::innerWidth() const { return window_ ? window_->width - 2 : 0; }

void OutputWindow::newLine() {
  if (row_ < rows_) {
    ++row_;
  } else {
    CurrentWindowScope scope(*window_);
    const ScreenWindow& w = *window_;
    raiseHold(1);
    scrollRect(windowScreenRow(w, 1), windowScreenColumn(w, 1), windowScreenRow(w, rows_),
               windowScreenColumn(w, innerWidth()), 1, w.textColor);
    lowerHold(1);
  }
  line_.clear();
}

void OutputWindow::write(std::string_view text) {
  if (!window_ || rows_ == 0) return;
  {
    DrawingHold hold;
    append(text);
  }
  flush_.show(window_.get(), false);
}

void OutputWindow::append(std::string_view text) {
  while (!text.empty()) {
    const std::size_t feed = text.find('\n');
    if (feed == 0) {
      newLine();
      text.remove_prefix(1);
      continue;
    }
    if (row_ == 0) newLine();
    line_.append(text.substr(0, feed));
    {
      CurrentWindowScope scope(*window_);
      writeText(line_, innerWidth() - 1, 1, row_, WritePad);
    }
    if (feed == std::string_view::npos) break;
    text.remove_prefix(feed);
  }
}

void OutputWindow::setRow(int row, std::string_view text) {
  if (!window_ || row < 1 || row > rows_) return;
  {
    DrawingHold hold;
    CurrentWindowScope scope(*window_);
    writeText(text, innerWidth() - 1, 1, row, WritePad);
  }
  flush_.show(window_.get(), false);
}

void OutputWindow::flush() {
  if (window_ && holdLevel() == 0)
    flushWindowRect(window_->x, window_->y, window_->width, window_->height);
}

}  // namespace corvane
