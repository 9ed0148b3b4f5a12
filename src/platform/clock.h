// The clock thread and what it drives: the tick counter (900 ms per tick), idle time, the
// status line in the top screen row, the hourly chime and the screen saver.
#pragma once

#include <cstdint>
#include <string>

#include "platform/local_time.h"

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

// Screen saver.
bool screenSaverActive();
void screenSaverOn();
// Puts the saved picture back and records activity; nothing when the saver is off.
void screenSaverOff();

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

// One clock cycle (the thread runs one per tick; tests call it directly).
void clockCycle();
void startClockThread();
// Shutdown: the clock only counts from now on.
void stopClock();

}  // namespace corvane
