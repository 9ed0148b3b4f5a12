// The clock thread and what it drives: the tick counter (900 ms per tick), idle time, the
// status line in the top screen row, the hourly chime and the screen saver.
//
// The thread only counts and gathers: each tick it reads the time and the memory status and
// posts them (postClockReport), which wakes the key reader; the drawing thread shows them
// (serviceClock) - the status line, the chime, the saver's steps. The thread never draws.
#pragma once

#include <cstdint>
#include <string>

#include "platform/local_time.h"
#include "platform/screen.h"

namespace corvane {

constexpr int ClockCycleMs = 900;

std::uint32_t tickCount();
// Records user activity (a key, a click, text written through teletype output).
void noteActivity();
std::uint32_t lastActivityTick();
// Tests move time on without the thread.
void advanceTicks(std::uint32_t ticks);
// Idle limit in minutes (the setup's idle time); the limit in ticks is minutes * 60.
void setIdleMinutes(int minutes);
// The idle time has run out since the last activity (and no external program runs).
bool idleTimeExpired();

// Settings the status line follows.
struct StatusLineSettings {
  bool dayMonthStyle = true;  // day.month.year with 24 hours; else month-day-year, 12 hours
  bool showSeconds = false;
};
void setStatusLineSettings(const StatusLineSettings& settings);
StatusLineSettings statusLineSettings();

// The status line text and its start column for a screen width.
std::string formatStatusLine(const StatusLineSettings& settings, const LocalTime& time,
                             const std::string& freeMemory, const std::string& memoryLoad,
                             int columns, int& startColumn);

// Flags the clock reads: an external program runs; the panels are shown (status line
// drawn); the viewer or editor is open (no status line with the COMMANDER layout).
void setExternalProgramRunning(bool running);
bool externalProgramRunning();
void setStatusLineShown(bool shown);
void setViewerOrEditorOpen(bool open);
void setCommanderLayout(bool commander);

// One clock cycle of the thread: reads the time and the memory status and posts them.
void clockCycle();
// Drawing thread: shows what the clock posted since the last call (the key reader calls it
// while it waits, and checkKey during long operations). The chime, then the screen saver (on
// when the idle time ran out two ticks ago, else its next step) or the status line.
void serviceClock();
// Starts the thread once. It is stopped and joined by stopClock(), and at exit before static
// destructors run.
void startClockThread();
// Shutdown: stops and joins the thread; nothing is drawn for the clock from now on.
void stopClock();

}  // namespace corvane
