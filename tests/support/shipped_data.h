// The data files the program ships (data/, named by CORVANE_TEST_DATA), read whole for tests
// that check them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace corvane::testing {

// The bytes of the shipped file at relative ("corvane.pre", "win32/corvane.DAT"); "" and a
// test failure when it cannot be read.
inline std::string shippedDataFile(std::string_view relative) {
  const char* data = std::getenv("CORVANE_TEST_DATA");
  if (data == nullptr) {
    ADD_FAILURE() << "CORVANE_TEST_DATA is not set";
    return {};
  }
  const std::string path = std::string(data) + "/" + std::string(relative);
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    ADD_FAILURE() << "cannot read " << path;
    return {};
  }
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

}  // namespace corvane::testing
