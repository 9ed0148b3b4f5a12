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

void OutputWindow::write(std::string_view text) {
  if (!window_ || rows_ == 0) return;
  while (!text.empty()) {
    const std::size_t feed = text.find('\n');
    if (feed == 0) {
      lines_.emplace_back();
      if (static_cast<int>(lines_.size()) > rows_) lines_.pop_front();
      text.remove_prefix(1);
      continue;
    }
    if (lines_.empty()) lines_.emplace_back();
    lines_.back().append(text.substr(0, feed));
    if (feed == std::string_view::npos) break;
    text.remove_prefix(feed);
  }
  dirty_ = true;
  paced();
}

void OutputWindow::setRow(int row, std::string_view text) {
  if (!window_ || row < 1 || row > rows_) return;
  if (static_cast<int>(lines_.size()) < row) lines_.resize(static_cast<std::size_t>(row));
  lines_[static_cast<std::size_t>(row - 1)] = std::string(text);
  dirty_ = true;
  paced();
}

void OutputWindow::draw() {
  if (!dirty_) return;
  dirty_ = false;
  DrawingHold hold;
  CurrentWindowScope scope(*window_);
  const int width = window_->width - 2;
  for (int row = 1; row <= rows_; ++row) {
    const auto index = static_cast<std::size_t>(row - 1);
    writeText(index < lines_.size() ? std::string_view(lines_[index]) : std::string_view(),
              width - 1, 1, row, WritePad);
  }
}

void OutputWindow::paced() {
  if (!flush_.due()) return;
  draw();
  flush_.show(window_.get(), true);
}

void OutputWindow::flush() {
  if (!window_) return;
  draw();
  flush_.show(window_.get(), true);
}

}  // namespace corvane
