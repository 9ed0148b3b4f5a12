// Requests from outside the program - an interrupt, or the demand to end (SIGINT, SIGTERM and
// SIGHUP on POSIX) - carried out by the drawing thread. The back end's handlers only record
// them and wake the key reader; the key reader (and checkKey, polled by long operations)
// calls serviceSignalRequests, which calls the hooks start-up registered.
#pragma once

namespace corvane {

struct SignalRequestHooks {
  // The interrupt: asks whether to abort the program; returns when the answer is No.
  void (*interrupt)() = nullptr;
  // The end: ends the program cleanly (its files written, the console restored); does not
  // return.
  void (*end)() = nullptr;
};
// Until both hooks are registered the back end ends the program at once on such a signal
// (the console restored), as it does for every other signal that ends a process.
void setSignalRequestHooks(const SignalRequestHooks& hooks);
// The hooks registered now (a part that adds to the end chains to the one it found).
const SignalRequestHooks& signalRequestHooks();
bool signalRequestsServiced();

// Async-signal-safe (lock-free atomics only).
void recordInterruptRequest();
void recordEndRequest();
bool endRequested();

// Drawing thread: carries out what was recorded. The end goes first; an interrupt that comes
// while the interrupt hook runs is dropped.
void serviceSignalRequests();
// Only a recorded end (a back end whose input is gone calls it before giving up).
void serviceEndRequest();
// Whether the end requested is being carried out (its hook runs).
bool endUnderWay();

// Tests: forget recorded requests and hooks.
void resetSignalRequests();

}  // namespace corvane
