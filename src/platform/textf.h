// printf-style formatting into a std::string (bounded, checked by the compiler).
#pragma once

#include <cstdarg>
#include <string>

namespace corvane {

std::string textf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vtextf(const char* format, std::va_list args);

}  // namespace corvane
