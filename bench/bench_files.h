// What the file benchmarks share: a 1 GiB source of non-repeating bytes, a comparison of two
// files, the 1 MiB read/write loop that serves as a floor, and the median of timings.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace corvane::bench {

constexpr std::size_t FileBytes = std::size_t{1} << 30;
constexpr std::size_t Chunk = std::size_t{1} << 20;

// Non-repeating bytes (xorshift), written in 1 MiB blocks.
inline bool makeSource(const std::string& path) {
  const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (fd < 0) return false;
  std::vector<std::uint64_t> block(Chunk / 8);
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  for (std::size_t done = 0; done < FileBytes; done += Chunk) {
    for (std::uint64_t& word : block) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      word = state;
    }
    if (write(fd, block.data(), Chunk) != static_cast<ssize_t>(Chunk)) {
      close(fd);
      return false;
    }
  }
  return fsync(fd) == 0 && close(fd) == 0;
}

inline bool sameContent(const std::string& a, const std::string& b) {
  std::FILE* x = std::fopen(a.c_str(), "rb");
  std::FILE* y = std::fopen(b.c_str(), "rb");
  bool same = x != nullptr && y != nullptr;
  std::vector<char> p(Chunk), q(Chunk);
  while (same) {
    const std::size_t m = std::fread(p.data(), 1, Chunk, x);
    const std::size_t n = std::fread(q.data(), 1, Chunk, y);
    same = m == n && std::memcmp(p.data(), q.data(), m) == 0;
    if (m == 0) break;
  }
  if (x != nullptr) std::fclose(x);
  if (y != nullptr) std::fclose(y);
  return same;
}

inline bool readWriteLoop(const std::string& from, const std::string& to) {
  const int in = open(from.c_str(), O_RDONLY);
  const int out = open(to.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  std::vector<char> buffer(Chunk);
  bool ok = in >= 0 && out >= 0;
  while (ok) {
    const ssize_t got = read(in, buffer.data(), Chunk);
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = write(out, buffer.data(), static_cast<std::size_t>(got)) == got;
  }
  if (in >= 0) close(in);
  if (out >= 0) close(out);
  return ok;
}

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace corvane::bench
