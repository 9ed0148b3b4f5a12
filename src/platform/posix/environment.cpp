#include "platform/environment.h"

#include <cstdlib>
#include <string>

namespace corvane {

std::string environmentValue(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  return value != nullptr ? value : "";
}

}  // namespace corvane
