#include "platform/semaphores.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace corvane {
namespace {

struct BinarySemaphore {
  std::mutex mutex;
  std::condition_variable released;
  bool available = true;
};

std::array<BinarySemaphore, SemaphoreCount>& table() {
  static std::array<BinarySemaphore, SemaphoreCount> semaphores;
  return semaphores;
}

}  // namespace

int semaphoreWait(int index, int timeoutMs) {
  if (index < 0 || index >= SemaphoreCount) return SemaphoreBadIndex;
  BinarySemaphore& s = table()[index];
  std::unique_lock lock(s.mutex);
  if (!s.released.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return s.available; }))
    return SemaphoreTimeout;
  s.available = false;
  return SemaphoreWaitOk;
}

int semaphoreRelease(int index) {
  if (index < 0 || index >= SemaphoreCount) return SemaphoreBadIndex;
  BinarySemaphore& s = table()[index];
  {
    std::lock_guard lock(s.mutex);
    s.available = true;
  }
  s.released.notify_one();
  return 0;
}

}  // namespace corvane
