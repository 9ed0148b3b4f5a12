// Local date and time of day, replaceable for tests.
#pragma once

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

}  // namespace corvane
