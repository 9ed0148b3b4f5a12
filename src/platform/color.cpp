#include "platform/color.h"

namespace corvane {
namespace {

constexpr ColorTable DefaultSet = {0x1E, 0x1E, 0x17, 0x1E, 0x71, 0x71, 0x4E, 0x1E,
                                   0x1E, 0x4F, 0x0E, 0x70, 0x17, 0x1F, 0x1F, 0x0B,
                                   0x0E, 0x1B, 0x17, 0x1E, 0x17, 0x1B, 0x07};
constexpr ColorTable MonochromeSet = {0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F,
                                      0x0F, 0x70, 0x70, 0x71, 0x0F, 0x78, 0x78, 0x70,
                                      0x70, 0x78, 0x0F, 0x0F, 0x0F, 0x70, 0x07};

void loadSet(const ColorTable& set) {
  ColorTable& slots = colorSlots();
  for (int i = 0; i < ColorSlotCount; ++i)
    if (i != ColorSlot22) slots[i] = set[i];
}

}  // namespace

ColorTable& colorSlots() {
  static ColorTable slots = DefaultSet;
  return slots;
}

const ColorTable& defaultColorSet() { return DefaultSet; }
const ColorTable& monochromeColorSet() { return MonochromeSet; }
void loadDefaultColors() { loadSet(DefaultSet); }
void loadMonochromeColors() { loadSet(MonochromeSet); }

}  // namespace corvane
