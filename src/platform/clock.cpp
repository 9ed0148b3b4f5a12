#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/charset.h"
#include "platform/drive_info.h"
#include "platform/screen.h"
#include "platform/screen_text.h"
#include "platform/system_info.h"
#include "platform/textf.h"

namespace corvane {
namespace {

// The saver starts two ticks after the idle event, so the loop sees that event first.
constexpr std::uint32_t SaverLagTicks = 2;

struct ClockState {
  std::atomic<std::uint32_t> ticks{0};
  std::atomic<std::uint32_t> lastActivity{0};
  std::atomic<std::uint32_t> idleLimitTicks{5 * 60};
  std::atomic<bool> stopped{false};
  std::atomic<bool> externalRunning{false};
  std::atomic<bool> statusShown{true};
  std::atomic<bool> viewerOrEditorOpen{false};
  std::atomic<bool> commander{false};
  std::atomic<bool> dayMonth{true};
  std::atomic<bool> seconds{false};
};

ClockState& clock() {
  static ClockState s;
  return s;
}

// The thread and its stop request.
struct ClockThread {
  std::mutex mutex;
  std::condition_variable wakeUp;
  bool stopRequested = false;
  std::thread thread;
};

ClockThread& clockThread() {
  static ClockThread t;
  return t;
}

void runClockThread() {
  ClockThread& t = clockThread();
  for (;;) {
    clock().ticks.fetch_add(1);
    clockCycle();
    std::unique_lock lock(t.mutex);
    if (t.wakeUp.wait_for(lock, std::chrono::milliseconds(ClockCycleMs),
                          [&] { return t.stopRequested; }))
      return;
  }
}

void joinClockThread() {
  ClockThread& t = clockThread();
  {
    std::lock_guard lock(t.mutex);
    t.stopRequested = true;
  }
  t.wakeUp.notify_all();
  if (t.thread.joinable()) t.thread.join();
}

void showClockReport(const ClockReport& report) {
  ClockState& c = clock();
  if (c.stopped) return;
  if (report.chime) beep(3000, 1);

  bool idleForSaver =
      !c.externalRunning && c.ticks - c.lastActivity >= c.idleLimitTicks + SaverLagTicks;
  if (!screenSaverActive() && idleForSaver) {
    screenSaverOn();
    return;
  }
  if (screenSaverActive()) {
    screenSaverStep();
    return;
  }
  if (c.externalRunning || !c.statusShown) return;
  if (c.commander && c.viewerOrEditorOpen) return;

  int start = 0;
  std::string line =
      formatStatusLine(statusLineSettings(), report.time, formatSize(report.freeBytes),
                       textf("%d%%", report.memoryLoad), screenColumns(), start);
  if (start < 0) start = 0;
  ScreenImage& image = screenImage();
  // Status line: characters only, the attributes on screen stay.
  int column = start;
  for (std::size_t pos = 0; pos < line.size() && column < image.columns; ++column) {
    char32_t ch;
    pos += decodeChar(line, pos, ch);
    image.at(column, 0).ch = ch;
  }
  for (; column < image.columns; ++column) image.at(column, 0).ch = U' ';
  if (holdLevel() == 0) flushRect(start, 0, image.columns - 1, 0);
}

}  // namespace

std::uint32_t tickCount() { return clock().ticks; }
void noteActivity() { clock().lastActivity = clock().ticks.load(); }
std::uint32_t lastActivityTick() { return clock().lastActivity; }
void advanceTicks(std::uint32_t ticks) { clock().ticks.fetch_add(ticks); }

void setIdleMinutes(int minutes) {
  if (minutes <= 0) minutes = 5;
  clock().idleLimitTicks = static_cast<std::uint32_t>(minutes) * 60;
}

bool idleTimeExpired() {
  ClockState& c = clock();
  return !c.externalRunning && c.ticks - c.lastActivity >= c.idleLimitTicks;
}

void setStatusLineSettings(const StatusLineSettings& settings) {
  clock().dayMonth = settings.dayMonthStyle;
  clock().seconds = settings.showSeconds;
}

StatusLineSettings statusLineSettings() { return {clock().dayMonth, clock().seconds}; }

std::string formatStatusLine(const StatusLineSettings& settings, const LocalTime& t,
                             const std::string& freeMemory, const std::string& memoryLoad,
                             int columns, int& startColumn) {
  const char* fm = freeMemory.c_str();
  const char* ml = memoryLoad.c_str();
  if (settings.dayMonthStyle) {
    if (settings.showSeconds) {
      startColumn = columns - 37;
      return textf("%8s %8s %02d.%02d.%4d %02d:%02d:%02d", fm, ml, t.day, t.month, t.year, t.hour,
                   t.minute, t.second);
    }
    startColumn = columns - 34;
    return textf("%8s %8s %02d.%02d.%4d %02d:%02d", fm, ml, t.day, t.month, t.year, t.hour,
                 t.minute);
  }
  int hour = t.hour > 12 ? t.hour - 12 : t.hour;
  char suffix = t.hour > 12 ? 'p' : 'a';
  if (settings.showSeconds) {
    startColumn = columns - 38;
    return textf("%8s %8s %02d-%02d-%4d %02d:%02d:%02d%c", fm, ml, t.month, t.day, t.year, hour,
                 t.minute, t.second, suffix);
  }
  startColumn = columns - 35;
  return textf("%8s %8s %02d-%02d-%4d %02d:%02d%c", fm, ml, t.month, t.day, t.year, hour, t.minute,
               suffix);
}

void setExternalProgramRunning(bool running) { clock().externalRunning = running; }
bool externalProgramRunning() { return clock().externalRunning; }
void setStatusLineShown(bool shown) { clock().statusShown = shown; }
void setViewerOrEditorOpen(bool open) { clock().viewerOrEditorOpen = open; }
void setCommanderLayout(bool commander) { clock().commander = commander; }

void clockCycle() {
  ClockReport report;
  if (!memoryStatus(report.freeBytes, report.memoryLoad)) report.freeBytes = 0;
  if (clock().stopped) return;
  report.time = localNow();
  report.chime = report.time.minute == 0 && report.time.second == 0;
  postClockReport(report);
}

void serviceClock() {
  ClockReport report;
  if (takeClockReport(report)) showClockReport(report);
}

void startClockThread() {
  ClockThread& t = clockThread();
  clock();
  (void)screenRows();  // the screen's owner exists before the exit hook below
  std::lock_guard lock(t.mutex);
  if (t.thread.joinable() || t.stopRequested) return;
  // Registered after the statics the thread uses exist, so it runs before they are destroyed.
  static const bool joinAtExit = std::atexit(joinClockThread) == 0;
  (void)joinAtExit;
  t.thread = std::thread(runClockThread);
}

void stopClock() {
  clock().stopped = true;
  joinClockThread();
}

}  // namespace corvane
