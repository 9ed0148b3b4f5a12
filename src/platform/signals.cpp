#include "platform/signals.h"

#include <atomic>

namespace corvane {
namespace {

// Constant-initialised, so a signal handler may touch the atomics at any time; the hooks and
// the running flag belong to the drawing thread.
struct SignalRequestState {
  std::atomic<bool> interrupt{false};
  std::atomic<bool> end{false};
  std::atomic<bool> serviced{false};
  std::atomic<bool> ending{false};  // the end hook runs
  SignalRequestHooks hooks;
  bool interruptRunning = false;
};
static_assert(std::atomic<bool>::is_always_lock_free);

SignalRequestState& requests() {
  static SignalRequestState s;
  return s;
}

}  // namespace

void setSignalRequestHooks(const SignalRequestHooks& hooks) {
  SignalRequestState& s = requests();
  s.hooks = hooks;
  s.serviced = hooks.interrupt != nullptr && hooks.end != nullptr;
}

const SignalRequestHooks& signalRequestHooks() { return requests().hooks; }

bool signalRequestsServiced() { return requests().serviced; }

void recordInterruptRequest() { requests().interrupt = true; }
void recordEndRequest() { requests().end = true; }
bool endRequested() { return requests().end; }

void serviceEndRequest() {
  SignalRequestState& s = requests();
  if (!s.end || s.hooks.end == nullptr) return;
  s.ending = true;
  s.hooks.end();
  s.ending = false;
}

bool endUnderWay() { return requests().ending; }

void serviceSignalRequests() {
  serviceEndRequest();
  SignalRequestState& s = requests();
  if (s.interruptRunning || s.hooks.interrupt == nullptr || !s.interrupt.exchange(false)) return;
  s.interruptRunning = true;
  s.hooks.interrupt();
  s.interruptRunning = false;
  s.interrupt = false;  // interrupts that came while the question was open are answered by it
}

void resetSignalRequests() {
  SignalRequestState& s = requests();
  s.interrupt = false;
  s.end = false;
  s.ending = false;
  s.serviced = false;
  s.hooks = {};
  s.interruptRunning = false;
}

}  // namespace corvane
