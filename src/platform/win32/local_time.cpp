#include "platform/local_time.h"

#include "platform/win32/win_text.h"

namespace corvane {
namespace {

LocalTime (*timeSource)() = nullptr;

}  // namespace

LocalTime localNow() {
  if (timeSource != nullptr) return timeSource();
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void setLocalTimeSource(LocalTime (*source)()) { timeSource = source; }

}  // namespace corvane
