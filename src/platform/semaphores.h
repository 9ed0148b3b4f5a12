// The table of 20 binary semaphores. Semaphore 0 is held around text output into windows (the
// clock thread no longer draws: the screen's owner keeps the picture to the drawing thread).
#pragma once

namespace corvane {

constexpr int SemaphoreCount = 20;
constexpr int SemaphoreBadIndex = 5000;
constexpr int SemaphoreWaitOk = 0;
constexpr int SemaphoreTimeout = 258;

// Waits up to timeoutMs for the semaphore: SemaphoreWaitOk, SemaphoreTimeout, or
// SemaphoreBadIndex for an index above 19.
int semaphoreWait(int index, int timeoutMs);
// 0, or SemaphoreBadIndex for an index above 19.
int semaphoreRelease(int index);

// Holds semaphore 0 (at most 65,535 ms) for the scope: window text output.
class OutputLock {
 public:
  OutputLock() : held_(semaphoreWait(0, 65535) == SemaphoreWaitOk) {}
  ~OutputLock() {
    if (held_) semaphoreRelease(0);
  }
  OutputLock(const OutputLock&) = delete;
  OutputLock& operator=(const OutputLock&) = delete;

 private:
  bool held_;
};

}  // namespace corvane
