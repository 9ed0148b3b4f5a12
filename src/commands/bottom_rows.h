// The rows under the panels: the clickable command labels of the CORVANE layout (the command
// window), the function-key bars of the COMMANDER layout with its command line, the letter
// bar of the XTREE layout. Drawing them is one replaceable function; their mouse zones are
// added to the loop's zone table before each key.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "commands/screen_layout.h"
#include "platform/keyboard.h"

namespace corvane {

// A label of the command window: its text, row (1 the last but one screen row, 2 the last),
// the columns of its mouse zone (1-based, inclusive) and the keys of a left and a right
// click (0: none). In the order of the command-window entries (config/user_profile.h).
struct CommandLabel {
  std::string_view label;
  int row = 1;
  int first = 1, last = 1;
  KeyCode left = 0;
  KeyCode right = 0;
};

// "^Print" is clicked on its five letters so that the "#" right after it stays reachable.
inline constexpr CommandLabel CommandLabels[] = {
    {"^Att", 1, 1, 3, 'A', 0},
    {"^Cop", 1, 5, 7, 'C', key::alt('C')},
    {"^Del", 1, 9, 11, 'D', key::alt('D')},
    {"^Ed", 1, 13, 14, 'E', key::alt('E')},
    {"^Fed", 1, 16, 18, 'F', key::alt('F')},
    {"^Go", 1, 20, 21, 'G', 0},
    {"f^Ind", 1, 23, 26, 'I', key::alt('I')},
    {"^Move", 1, 28, 31, 'M', key::alt('M')},
    {"^Inv", 1, 33, 35, 'N', 0},
    {"c^Om", 1, 37, 39, 'o', 0},
    {"^Qck", 1, 41, 43, 'q', 0},
    {"^Ren", 1, 45, 47, 'r', 0},
    {"^Sel", 1, 49, 51, 's', 0},
    {"^Tree", 1, 53, 56, 't', 0},
    {"^Unsel", 1, 58, 62, 'u', 0},
    {"^View", 1, 64, 67, 'v', key::alt('V')},
    {"^Word", 1, 69, 72, 'w', 0},
    {"e^xe", 1, 74, 76, 'x', key::alt('X')},
    {"F1=HELP", 2, 1, 8, key::F1, 0},
    {"ESC=End", 2, 10, 20, key::Escape, 0},
    {"*", 2, 29, 29, '*', 0},
    {"Space", 2, 31, 35, key::Space, 0},
    {"SH_F3", 2, 37, 41, key::fkey(3, key::ModShift), 0},
    {"Mas^k", 2, 44, 47, 'k', 0},
    {"^Print", 2, 52, 56, 'p', 0},
    {"#", 2, 57, 57, '#', 0},
    {".", 2, 59, 59, '.', 0},
    {"CTR^L", 2, 61, 65, 'L', 0},
    {"INSERT", 2, 72, 79, key::Ins, 0},
};

// The zones of the command labels in the window of the two label rows; a label hidden by
// the user profile gets a disabled zone.
std::vector<MouseZone> commandLabelZones(const ScreenWindow& window);

// Draws the bottom rows of the loop's keyboard layout and registers nothing.
void drawBottomRows(LoopScreen& screen, KeyboardLayout layout, std::string_view directory);
// The zones of the bottom rows of a layout (the command line's field behind the prompt for
// the directory among them).
std::vector<MouseZone> bottomRowZones(const LoopScreen& screen, KeyboardLayout layout,
                                      std::string_view directory = {});

}  // namespace corvane
