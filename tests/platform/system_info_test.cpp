#include "platform/system_info.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstdio>

namespace corvane {
namespace {

TEST(SystemInfoTest, NamesTheKernelVersion) {
  struct utsname name {};
  ASSERT_EQ(uname(&name), 0);
  int major = -1, minor = -1;
  ASSERT_EQ(std::sscanf(name.release, "%d.%d", &major, &minor), 2);
  char expected[32];
  std::snprintf(expected, sizeof expected, "LINUX %d.%d", major, minor);
  EXPECT_EQ(osVersionText(), expected);
}

TEST(SystemInfoTest, MemoryStatusIsPlausible) {
  std::uint64_t freeBytes = 0;
  int load = -1;
  ASSERT_TRUE(memoryStatus(freeBytes, load));
  EXPECT_GT(freeBytes, 0u);
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 100);
}

}  // namespace
}  // namespace corvane
