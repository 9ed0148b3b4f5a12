#include "ui/frame_style.h"

#include <atomic>

namespace corvane {
namespace {

// 0 not chosen yet, 1 graphic, 2 ASCII.
std::atomic<int> chosenStyle{0};

}  // namespace

void chooseFrameStyle(FrameChoice choice) {
  int expected = 0;
  chosenStyle.compare_exchange_strong(expected, choice == FrameChoice::Ascii ? 2 : 1);
}

bool asciiFrames() { return chosenStyle.load() == 2; }

const FrameStyle& frameSet(int flags, FrameChoice choice) {
  if (choice == FrameChoice::Ascii) return AsciiFrame;
  if (flags & 0x01) return DoubleFrame;
  if (flags & 0x02) return SingleFrame;
  if (flags & 0x04) return BlockFrame;
  return DoubleFrame;
}

const FrameStyle& frameSet(int flags) {
  return frameSet(flags, asciiFrames() ? FrameChoice::Ascii : FrameChoice::Graphic);
}

std::uint8_t fillCharacter() { return asciiFrames() ? ' ' : FillBlock; }

}  // namespace corvane
