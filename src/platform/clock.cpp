#include "platform/clock.h"

#include <atomic>
#include <random>
#include <thread>

#include "platform/charset.h"
#include "platform/console.h"
#include "platform/drive_info.h"
#include "platform/product.h"
#include "platform/screen.h"
#include "platform/screen_text.h"
#include "platform/semaphores.h"
#include "platform/system_info.h"
#include "platform/textf.h"

namespace corvane {
namespace {

constexpr std::string_view SaverTitle = ProductTitle;
constexpr int SaverTitleFromStep = 60;
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
  std::atomic<bool> threadStarted{false};

  // Screen saver (touched under semaphore 0).
  std::atomic<bool> saverActive{false};
  ScreenImage saved;
  int step = 0;
  int dotColumn = -1, dotRow = -1;
  std::size_t titleChars = 0;
  std::minstd_rand random{12345};
};

ClockState& clock() {
  static ClockState s;
  return s;
}

int randomBelow(int n) {
  if (n <= 0) return 0;
  return static_cast<int>(clock().random() % static_cast<unsigned>(n));
}

void saverStep() {
  ClockState& c = clock();
  ScreenImage& image = screenImage();
  if (c.step == 0) {
    for (ScreenCell& cell : image.cells) cell = {U' ', 0};
    flushScreen();
  }
  if (c.dotColumn >= 0 && image.contains(c.dotColumn, c.dotRow)) {
    image.at(c.dotColumn, c.dotRow) = {U' ', 0};
    flushCells(c.dotColumn, c.dotRow, 1);
  }
  c.dotRow = randomBelow(image.rows);
  c.dotColumn = 1 + randomBelow(std::min(78, image.columns - 1));
  int colour = randomBelow(16);
  if (image.contains(c.dotColumn, c.dotRow)) {
    image.at(c.dotColumn, c.dotRow) = {cp437ToUnicode(0xFA),
                                       static_cast<ColorAttr>(colour < 11 ? colour : 0)};
    flushCells(c.dotColumn, c.dotRow, 1);
  }
  if (c.step >= SaverTitleFromStep) {
    if (c.titleChars < SaverTitle.size()) {
      int row = randomBelow(image.rows), column = randomBelow(std::min(20, image.columns));
      int titleColour = randomBelow(16);
      image.at(column, row) = {static_cast<char32_t>(SaverTitle[c.titleChars]),
                               static_cast<ColorAttr>(titleColour == 0 ? 5 : titleColour)};
      flushCells(column, row, 1);
      ++c.titleChars;
    } else {
      c.step = -1;  // the next step starts the cycle again
      c.titleChars = 0;
    }
  }
  ++c.step;
}

void clockThread() {
  for (;;) {
    clock().ticks.fetch_add(1);
    clockCycle();
    std::this_thread::sleep_for(std::chrono::milliseconds(ClockCycleMs));
  }
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

bool screenSaverActive() { return clock().saverActive; }

void screenSaverOn() {
  ClockState& c = clock();
  if (c.saverActive) return;
  c.saved = screenImage();
  c.step = 0;
  c.dotColumn = c.dotRow = -1;
  c.titleChars = 0;
  ScreenImage& image = screenImage();
  for (ScreenCell& cell : image.cells) cell = {U' ', 0};
  c.saverActive = true;
  flushScreen();
}

void screenSaverOff() {
  ClockState& c = clock();
  if (!c.saverActive) return;
  ScreenImage& image = screenImage();
  if (c.saved.columns == image.columns && c.saved.rows == image.rows) image.cells = c.saved.cells;
  c.saverActive = false;
  noteActivity();
  flushScreen();
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
  ClockState& c = clock();
  std::uint64_t freeBytes = 0;
  int load = 0;
  memoryStatus(freeBytes, load);
  if (c.stopped) return;

  LocalTime now = localNow();
  if (now.minute == 0 && now.second == 0) beep(3000, 1);

  OutputLock lock;
  bool idleForSaver =
      !c.externalRunning && c.ticks - c.lastActivity >= c.idleLimitTicks + SaverLagTicks;
  if (!c.saverActive && idleForSaver) {
    screenSaverOn();
    return;
  }
  if (c.saverActive) {
    saverStep();
    return;
  }
  if (c.externalRunning || !c.statusShown) return;
  if (c.commander && c.viewerOrEditorOpen) return;

  int start = 0;
  std::string line = formatStatusLine(statusLineSettings(), now, formatSize(freeBytes),
                                      textf("%d%%", load), screenColumns(), start);
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

void startClockThread() {
  if (clock().threadStarted.exchange(true)) return;
  std::thread(clockThread).detach();
}

void stopClock() { clock().stopped = true; }

}  // namespace corvane
