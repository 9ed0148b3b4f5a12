// An archive panel in the command loop: opened on a ZIP, entered and left by directory,
// commands without meaning there refused with a beep, Esc leaving at once.
#include "archives/archive_panel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archives/zip_builder.h"
#include "config/archiver_defs.h"
#include "loop_fixture.h"
#include "panels/archive_listing.h"
#include "support/shipped_data.h"

namespace corvane::testing {
namespace {

// A ZIP of empty stored members (a name ending in "/" is a directory).
std::string emptyMembersZip(const std::vector<std::string>& names) {
  std::vector<ZipMember> members;
  for (const std::string& name : names) members.push_back({name, "", {}});
  return zipArchive(members);
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
  u_.writeFile("corvane.ASE", shippedDataFile("corvane.ASE"));
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
