// An archive panel in the command loop: opened on a ZIP, entered and left by directory,
// commands without meaning there refused with a beep, Esc leaving at once.
#include "archives/archive_panel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/archiver_defs.h"
#include "loop_fixture.h"
#include "panels/archive_listing.h"

namespace corvane::testing {
namespace {

void put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// A ZIP of empty stored members (a name ending in "/" is a directory).
std::string emptyMembersZip(const std::vector<std::string>& names) {
  std::string local, central;
  for (const std::string& name : names) {
    const auto offset = static_cast<std::uint32_t>(local.size());
    auto common = [&](std::string& out) {
      put16(out, 10);
      for (int i = 0; i < 2; ++i) put16(out, 0);
      put16(out, 0x7B5D);
      put16(out, 0x526E);
      for (int i = 0; i < 3; ++i) put32(out, 0);
      put16(out, static_cast<unsigned>(name.size()));
      put16(out, 0);
    };
    put32(local, 0x04034B50);
    common(local);
    local += name;
    put32(central, 0x02014B50);
    put16(central, 0x031E);
    common(central);
    for (int i = 0; i < 3; ++i) put16(central, 0);
    put32(central, name.ends_with('/') ? 0x41ED0010u : 0x81A40000u);
    put32(central, offset);
    central += name;
  }
  std::string zip = local + central;
  put32(zip, 0x06054B50);
  put32(zip, 0);
  put16(zip, static_cast<unsigned>(names.size()));
  put16(zip, static_cast<unsigned>(names.size()));
  put32(zip, static_cast<std::uint32_t>(central.size()));
  put32(zip, static_cast<std::uint32_t>(local.size()));
  put16(zip, 0);
  return zip;
}

class ArchivePanelLoopTest : public LoopTest {
 protected:
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (NodeId id : chain(panel().list)) out.push_back(panel().list.nodes[id].entry.name);
    return out;
  }
};

TEST_F(ArchivePanelLoopTest, EnteredLeftAndRefusingWhatHasNoMeaningThere) {
  // The shipped definitions beside the setup file.
  const char* data = std::getenv("CORVANE_TEST_DATA");
  ASSERT_NE(data, nullptr) << "CORVANE_TEST_DATA is not set";
  std::ifstream shipped(std::string(data) + "/corvane.ASE", std::ios::binary);
  std::stringstream definitions;
  definitions << shipped.rdbuf();
  u_.writeFile("corvane.ASE", definitions.str());
  configState().loadedPath = "U:\\corvane.SET";
  t_.writeFile("t.zip", emptyMembersZip({"sub/", "sub/deep/", "sub/inner.txt", "a.txt"}));
  int beeps = 0;
  run({[&] { pushKeys({key::Enter}); },
       [&] {
         ASSERT_EQ(panel().archiveType, ArchiveZip);
         EXPECT_EQ(panel().mask, "T:\\t.zip/*.*");
         EXPECT_EQ(names(), (std::vector<std::string>{"..", "sub", "a.txt"}));
         EXPECT_TRUE(shows("T:\\t.zip/")) << screenText();
         pushKeys({key::Down, key::Enter});
       },
       [&] {
         EXPECT_EQ(splitArchiveMask(panel().mask).innerDirectory, "sub/");
         EXPECT_EQ(names(), (std::vector<std::string>{"..", "deep", "inner.txt"}));
         EXPECT_TRUE(shows("T:\\t.zip/sub/")) << screenText();
         // Making a directory and the directory tree mean nothing inside an archive.
         beeps = console_.beeps;
         pushKeys({key::fkey(7), key::fkey(10, key::ModAlt)});
       },
       [&] {
         EXPECT_EQ(console_.beeps, beeps + 2);
         EXPECT_FALSE(shows("Create path")) << screenText();
         EXPECT_EQ(panel().archiveType, ArchiveZip);
         pushKeys({key::Backspace});
       },
       [&] {
         // Up one level: the cursor on the directory left.
         EXPECT_EQ(splitArchiveMask(panel().mask).innerDirectory, "");
         EXPECT_EQ(cursorName(), "sub");
         pushKeys({key::Backspace});
       },
       [&] {
         // Backspace at the top leaves the archive.
         EXPECT_EQ(panel().archiveType, 0);
         EXPECT_EQ(cursorName(), "t.zip");
         pushKeys({key::Enter, key::Down, key::Enter});
       },
       [&] {
         EXPECT_EQ(splitArchiveMask(panel().mask).innerDirectory, "sub/");
         pushKeys({key::Escape});
       },
       [&] {
         // Esc leaves from any depth, without a question.
         EXPECT_EQ(panel().archiveType, 0);
         EXPECT_EQ(cursorName(), "t.zip");
         pushKeys({key::Escape});
       }});
}

}  // namespace
}  // namespace corvane::testing
