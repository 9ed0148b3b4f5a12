#include "platform/local_time.h"

#include <ctime>

#include "platform/host_entry.h"

namespace corvane {
namespace {

LocalTime (*timeSource)() = nullptr;

}  // namespace

LocalTime localNow() { return timeSource != nullptr ? timeSource() : systemLocalTime(); }

void setLocalTimeSource(LocalTime (*source)()) { timeSource = source; }

void dosDateTimeOf(std::int64_t seconds, std::uint16_t& date, std::uint16_t& time) {
  // Far beyond what a DOS date holds: clamped before the C library's time conversion sees it.
  constexpr std::int64_t Limit = std::int64_t{1} << 40;
  if (seconds > Limit) seconds = Limit;
  if (seconds < -Limit) seconds = -Limit;
  packDosDateTime(static_cast<std::time_t>(seconds), date, time);
}

}  // namespace corvane
