#include "platform/local_time.h"

#include <ctime>

namespace corvane {
namespace {

LocalTime (*timeSource)() = nullptr;

}  // namespace

LocalTime localNow() {
  if (timeSource != nullptr) return timeSource();
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void setLocalTimeSource(LocalTime (*source)()) { timeSource = source; }

}  // namespace corvane
