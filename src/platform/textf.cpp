#include "platform/textf.h"

#include <cstdio>

namespace corvane {

std::string vtextf(const char* format, std::va_list args) {
  std::va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof small)
    return std::string(small, static_cast<std::size_t>(n));
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string textf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = vtextf(format, args);
  va_end(args);
  return out;
}

}  // namespace corvane
