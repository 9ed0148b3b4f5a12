#include "config/user_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "config/setup_block.h"

namespace corvane {
namespace {

std::string visibleEntries(const EntryFlags& flags, int count = CommandWindowLabelCount) {
  std::string out;
  for (int i = 0; i < count; ++i) out += flags[i] == EntryHidden ? '.' : flags[i] == 3 ? '3' : '1';
  return out;
}

TEST(UserProfileTest, ProfilesSetTheEntryFlags) {
  // Entries 0..28 as '.' hidden, '1' shown, '3' always shown.
  EXPECT_EQ(visibleEntries(initialEntryFlags()), "13331111111111131333111131.13");

  for (SetupWord& w : setupBlock().entrySwitches) w.set(0);
  setupBlock().entrySwitches[0].set(1);
  setupBlock().entrySwitches[1].set(0);  // always shown stays
  setupBlock().entrySwitches[26].set(1);
  setupBlock().entrySwitches[49].set(1);

  struct Case {
    int profile;
    const char* expected;  // 29 labelled entries
    std::uint8_t entry40;
  } const cases[] = {
      {ProfileBeginner, "1333111........3.333....3...3", EntryHidden},
      {ProfileAdvanced, ".3331111111111131333111131.13", EntryShown},
      {ProfileProfessional, "13331111111111131333111131113", EntryShown},
      {ProfileUserDefined, "1333...........3.333....3.1.3", EntryHidden},
  };
  for (const Case& c : cases) {
    EntryFlags flags = initialEntryFlags();
    flags[40] = EntryShown;  // what an unlabelled entry keeps depends on the profile
    applyProfile(flags, c.profile);
    EXPECT_EQ(visibleEntries(flags), c.expected) << "profile " << c.profile;
    EXPECT_EQ(flags[40], c.entry40) << "profile " << c.profile;
  }
  EntryFlags flags = initialEntryFlags();
  applyProfile(flags, ProfileUserDefined);
  EXPECT_EQ(flags[49], EntryShown);
  applyProfile(flags, 7);  // unknown: nothing changes
  EXPECT_EQ(flags[49], EntryShown);
  for (SetupWord& w : setupBlock().entrySwitches) w.set(1);
}

}  // namespace
}  // namespace corvane
