// Windows that many small steps update (a copy's bar, a deletion's counts): drawn into the
// screen image without a flush per cell, and shown at most every 40 ms, so that the screen
// never paces the work.
#pragma once

#include <chrono>

#include "platform/screen.h"
#include "ui/window.h"

namespace corvane {

// Holds flushes back for a scope (nothing when a hold is raised already).
class DrawingHold {
 public:
  DrawingHold() : raised_(holdLevel() == 0) {
    if (raised_) raiseHold(1);
  }
  ~DrawingHold() {
    if (raised_) lowerHold(1);
  }
  DrawingHold(const DrawingHold&) = delete;
  DrawingHold& operator=(const DrawingHold&) = delete;

 private:
  bool raised_;
};

class PacedFlush {
 public:
  static constexpr std::chrono::milliseconds Interval{40};

  // Whether the interval has passed since the window was last shown: drawing what changed
  // meanwhile can wait until then.
  bool due() const { return std::chrono::steady_clock::now() - last_ >= Interval; }

  // Shows the window when forced or when the interval has passed since it was last shown.
  void show(const ScreenWindow* window, bool force) {
    if (window == nullptr || holdLevel() != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - last_ < Interval) return;
    last_ = now;
    flushWindowRect(window->x, window->y, window->width, window->height);
  }

 private:
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace corvane
