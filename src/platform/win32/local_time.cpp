#include "platform/local_time.h"

#include "platform/win32/win_text.h"

namespace corvane {

LocalTime systemLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace corvane
