#include "platform/local_time.h"

#include <ctime>

#include "platform/host_entry.h"

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

void dosDateTimeOf(std::int64_t seconds, std::uint16_t& date, std::uint16_t& time) {
  // Far beyond what a DOS date holds: clamped before localtime_r sees it.
  constexpr std::int64_t Limit = std::int64_t{1} << 40;
  if (seconds > Limit) seconds = Limit;
  if (seconds < -Limit) seconds = -Limit;
  packDosDateTime(static_cast<std::time_t>(seconds), date, time);
}

}  // namespace corvane
