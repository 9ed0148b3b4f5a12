// Temporary directories and raw byte files for the configuration tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/drives.h"

namespace corvane::testing {

using Bytes = std::vector<unsigned char>;

class TempDirTest : public ::testing::Test {
 protected:
  TempDirTest() {
    initDriveMap(nullptr);  // C: is "/"
    std::string pattern = (std::filesystem::temp_directory_path() / "cfgtestXXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary directory";
    dir_ = pattern;
  }
  ~TempDirTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string hostPath(const std::string& name) const { return (dir_ / name).string(); }
  std::string programPath(const std::string& name) const { return toProgramPath(hostPath(name)); }

  static void writeBytes(const std::string& host, const Bytes& bytes) {
    std::ofstream out(host, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  static Bytes readBytes(const std::string& host) {
    std::ifstream in(host, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static int wordAt(const Bytes& bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8;
  }
  static void putWord(Bytes& bytes, std::size_t offset, int value) {
    bytes[offset] = static_cast<unsigned char>(value & 0xFF);
    bytes[offset + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
  }

  std::filesystem::path dir_;
};

}  // namespace corvane::testing
