#include "config/user_profile.h"

#include "config/config_state.h"
#include "config/setup_block.h"

namespace corvane {
namespace {

constexpr EntryFlags makeInitialFlags() {
  EntryFlags flags{};
  for (int i = 0; i < CommandWindowLabelCount; ++i) flags[i] = EntryShown;
  for (int i : {1, 2, 3, 15, 17, 18, 19, 24, 28}) flags[i] = EntryAlwaysShown;
  flags[26] = EntryHidden;  // "."
  return flags;
}

constexpr EntryFlags InitialFlags = makeInitialFlags();

constexpr int BeginnerShown = 7;
constexpr int AdvancedHidden = 4;
constexpr int AdvancedShown = 15;

// Sets the flag of entries [first, last) unless it is always shown.
void setRange(EntryFlags& flags, int first, int last, std::uint8_t value) {
  for (int i = first; i < last; ++i)
    if (flags[i] != EntryAlwaysShown) flags[i] = value;
}

}  // namespace

const EntryFlags& initialEntryFlags() { return InitialFlags; }

EntryFlags& commandWindowFlags() { return configState().commandWindowFlags; }

void applyProfile(EntryFlags& flags, int profile) {
  switch (profile) {
    case ProfileBeginner:
      setRange(flags, 0, CommandWindowEntryCount, EntryHidden);
      setRange(flags, 0, BeginnerShown, EntryShown);
      break;
    case ProfileAdvanced:
      setRange(flags, 0, AdvancedHidden, EntryHidden);
      setRange(flags, AdvancedHidden, AdvancedHidden + AdvancedShown, EntryShown);
      break;
    case ProfileProfessional:
      setRange(flags, 0, CommandWindowEntryCount, EntryShown);
      break;
    case ProfileUserDefined:
      for (int i = 0; i < CommandWindowEntryCount; ++i)
        setRange(flags, i, i + 1, entrySwitch(i) != 0 ? EntryShown : EntryHidden);
      break;
    default:
      break;
  }
}

}  // namespace corvane
