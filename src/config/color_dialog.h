// The colour dialog of one colour slot and the two built-in colour sets.
#pragma once

#include <array>
#include <string_view>

#include "platform/color.h"

namespace corvane {

constexpr const char* FormatColorDialog = "FG : %-20s\nBG : %-20s\n\n%s";
// "BG Cursor <>, FG " and the arrows up and down (code page 437).
constexpr std::string_view TextColorHelp = "BG Cursor <>, FG \x18\x19";
constexpr std::string_view TextExecuteFunction = "Execute Function ? ";
constexpr std::array<std::string_view, 16> ColorNames = {
    "Black",     "Blue",          "Green",     "Cyan",       "Red",         "Magenta",
    "Brown",     "Light grey",    "Dark grey", "Ligth blue", "Light green", "Light cyan",
    "Light red", "Light magenta", "Yellow",    "White"};

// Shows the slot's colour names in a box drawn in that colour: Up and Down choose the
// previous and next foreground, Left and Right the background (both wrap between 0 and
// 15), the box following each key. Enter stores background * 16 + foreground into the slot
// (true); Esc leaves it as it was (false).
bool editColor(ColorSlot slot);

enum class ColorSet { Default, Monochrome };
// After "Execute Function ? " answered Yes, loads the set into every slot but 22 (true).
bool setColorSet(ColorSet set);

}  // namespace corvane
