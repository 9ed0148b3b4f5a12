// The process environment, read through one place.
#pragma once

#include <string>

namespace corvane {

// The value of an environment variable; "" when it is not set.
std::string environmentValue(const char* name);

}  // namespace corvane
