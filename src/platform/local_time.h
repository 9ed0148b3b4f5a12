// Local date and time of day, replaceable for tests.
#pragma once

#include <cstdint>

namespace corvane {

struct LocalTime {
  int year = 1980, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

LocalTime localNow();
// Tests install a fixed clock; nullptr goes back to the system clock.
void setLocalTimeSource(LocalTime (*source)());
// The system clock (back end).
LocalTime systemLocalTime();

// A moment in seconds since 1970-01-01 00:00 UTC as local DOS date and time (odd seconds
// round down); before 1980 gives 1980-01-01 00:00, after 2107 the last representable moment.
void dosDateTimeOf(std::int64_t seconds, std::uint16_t& date, std::uint16_t& time);

}  // namespace corvane
