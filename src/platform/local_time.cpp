#include "platform/local_time.h"

namespace corvane {
namespace {

LocalTime (*timeSource)() = nullptr;

}  // namespace

LocalTime localNow() { return timeSource != nullptr ? timeSource() : systemLocalTime(); }

void setLocalTimeSource(LocalTime (*source)()) { timeSource = source; }

}  // namespace corvane
