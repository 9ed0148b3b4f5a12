// Console colour attributes and the 23 colour slots of the screen elements.
#pragma once

#include <array>
#include <cstdint>

namespace corvane {

// Low nibble foreground, high nibble background; colours 0..15 in console order
// (1 blue, 2 green, 4 red, 8 bright).
using ColorAttr = std::uint8_t;

constexpr ColorAttr ShadowAttr = 0x08;

enum ColorSlot : int {
  ColorMessageWindow = 0,
  ColorExecutableFiles = 1,
  ColorMainWindow = 2,
  ColorMainWindowFrame = 3,
  ColorQuestionWindow = 4,
  ColorSlot5 = 5,
  ColorErrorWindow = 6,
  ColorPulldownFrame = 7,
  ColorPulldown = 8,
  ColorActFilecursor = 9,
  ColorSelectFiles = 10,
  ColorSelectDirect = 11,
  ColorNormal = 12,
  ColorInfoWindow = 13,
  ColorSlot14 = 14,
  ColorHotkey = 15,
  ColorPulldownLine = 16,
  ColorDirectories = 17,
  ColorTreeWindow = 18,
  ColorTreeFrame = 19,
  ColorLineeditor = 20,
  ColorBackground = 21,
  ColorSlot22 = 22,
  ColorSlotCount = 23
};

using ColorTable = std::array<ColorAttr, ColorSlotCount>;

// The process-wide colour slots (edited by the colour dialog, stored in the setup file).
ColorTable& colorSlots();
inline ColorAttr color(ColorSlot slot) { return colorSlots()[slot]; }

// The two built-in sets. Slot 22 is changed by neither.
const ColorTable& defaultColorSet();
const ColorTable& monochromeColorSet();
void loadDefaultColors();
void loadMonochromeColors();

}  // namespace corvane
