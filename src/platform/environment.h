// What the process was given in its environment.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The value of an environment variable; "" when it is not set.
std::string environmentValue(std::string_view name);

}  // namespace corvane
