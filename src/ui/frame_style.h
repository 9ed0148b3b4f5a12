// The character sets of window frames and scroll bars, in code page 437, and the one-time
// choice between the graphic sets and plain ASCII.
#pragma once

#include <array>
#include <cstdint>

namespace corvane {

// Positions of a frame set: corners, lines, side, the two tees that join a separator line to
// the sides, and the separator line itself.
enum FramePosition : int {
  FrameTopLeft = 0,
  FrameTopRight = 1,
  FrameTop = 2,
  FrameBottomLeft = 3,
  FrameBottomRight = 4,
  FrameBottom = 5,
  FrameSide = 6,
  FrameLeftTee = 7,
  FrameRightTee = 8,
  FrameSeparator = 9,
  FramePositionCount = 10
};

struct FrameStyle {
  std::array<std::uint8_t, FramePositionCount> chars{};  // code page 437 bytes
};

inline constexpr FrameStyle DoubleFrame{
    {0xC9, 0xBB, 0xCD, 0xC8, 0xBC, 0xCD, 0xBA, 0xCC, 0xB9, 0xCD}};
inline constexpr FrameStyle SingleFrame{
    {0xDA, 0xBF, 0xC4, 0xC0, 0xD9, 0xC4, 0xB3, 0xC3, 0xB4, 0xC4}};
inline constexpr FrameStyle BlockFrame{
    {0xDF, 0xDF, 0xDF, 0x20, 0x20, 0x20, 0x20, 0xDC, 0xDC, 0xC4}};
// "++-++-|||": stands in for all three sets with "/ASC".
inline constexpr FrameStyle AsciiFrame{{'+', '+', '-', '+', '+', '-', '|', '|', '|', '-'}};

// Scroll-bar characters.
constexpr std::uint8_t ScrollTrack = 0xB0;
constexpr std::uint8_t ScrollUp = 0x1E;
constexpr std::uint8_t ScrollDown = 0x1F;
constexpr std::uint8_t ScrollLeft = 0x11;
constexpr std::uint8_t ScrollRight = 0x10;
constexpr std::uint8_t ScrollThumb = 0xDB;

constexpr std::uint8_t FillBlock = 0xDB;

enum class FrameChoice { Graphic, Ascii };

// Chooses the frame style for the run. Only the first call counts: start-up makes it once
// ("/ASC" gives Ascii) and later calls have no effect. Without a call the graphic sets are used.
void chooseFrameStyle(FrameChoice choice);
bool asciiFrames();

// The set drawn for window flags (0x01 double, 0x02 single, 0x04 block; double when none).
const FrameStyle& frameSet(int flags, FrameChoice choice);
const FrameStyle& frameSet(int flags);

// The interior fill character of flag 0x20: the full block, or a blank in ASCII mode.
std::uint8_t fillCharacter();

}  // namespace corvane
