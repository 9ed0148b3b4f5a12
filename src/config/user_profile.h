// The flags of the command-window entries and the user profiles that set them.
#pragma once

#include <array>
#include <cstdint>

namespace corvane {

// One flag byte per entry, in the order of the CORVANE label table: 0 "^Att", 1 "^Cop",
// 2 "^Del", 3 "^Ed", 4 "^Fed", 5 "^Go", 6 "f^Ind", 7 "^Move", 8 "^Inv", 9 "c^Om",
// 10 "^Qck", 11 "^Ren", 12 "^Sel", 13 "^Tree", 14 "^Unsel", 15 "^View", 16 "^Word",
// 17 "e^xe", 18 "F1=HELP", 19 "ESC=End", 20 "*", 21 "Space", 22 "SH_F3", 23 "Mas^k",
// 24 "^Print", 25 "#", 26 ".", 27 "CTR^L", 28 "INSERT"; 29..49 have no label.
constexpr int CommandWindowEntryCount = 50;
constexpr int CommandWindowLabelCount = 29;

constexpr std::uint8_t EntryHidden = 0;
constexpr std::uint8_t EntryShown = 1;
constexpr std::uint8_t EntryAlwaysShown = 3;  // no profile changes it

using EntryFlags = std::array<std::uint8_t, CommandWindowEntryCount>;

constexpr int ProfileBeginner = 0;
constexpr int ProfileAdvanced = 1;
constexpr int ProfileProfessional = 2;
constexpr int ProfileUserDefined = 3;

// The flags every run starts with.
const EntryFlags& initialEntryFlags();

// The process-wide flags the command window reads.
EntryFlags& commandWindowFlags();
inline bool entryVisible(int entry) {
  return entry >= 0 && entry < CommandWindowEntryCount &&
         commandWindowFlags()[entry] != EntryHidden;
}

// Beginner: hide all, show the first 7. Advanced: hide the first 4, show the 15 after them;
// the rest keep their flags. Professional: show all. User-defined: hide all, show entry i when
// switch i of the setup's user-defined profile is on. Always-shown entries never change; an
// unknown profile changes nothing.
void applyProfile(EntryFlags& flags, int profile);
inline void applyProfile(int profile) { applyProfile(commandWindowFlags(), profile); }

}  // namespace corvane
