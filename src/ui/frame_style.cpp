#include "ui/frame_style.h"

#include "ui/ui_state.h"

namespace corvane {

void chooseFrameStyle(FrameChoice choice) {
  int& chosen = uiState().frameStyle;
  if (chosen == 0) chosen = choice == FrameChoice::Ascii ? 2 : 1;
}

bool asciiFrames() { return uiState().frameStyle == 2; }

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
