// Timing for the benchmarks: milliseconds since a moment, and the best of several runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace corvane::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double bestOf(int repeats, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    const auto start = Clock::now();
    work();
    best = std::min(best, millisecondsSince(start));
  }
  return best;
}

}  // namespace corvane::bench
