#include "platform/charset.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace corvane {
namespace {

constexpr std::array<char16_t, 256> Cp437 = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642,
    0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC, 0x0020, 0x0021, 0x0022, 0x0023,
    0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F, 0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B,
    0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x2302, 0x00C7, 0x00FC, 0x00E9, 0x00E2,
    0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2,
    0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566,
    0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0,
    0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A,
    0x207F, 0x00B2, 0x25A0, 0x00A0};

// ASCII stand-ins of the code page 437 glyphs, for a console that takes ASCII only: frames
// become + - |, shades and blocks : and #, arrows and triangles ^ v < >, letters with
// accents their base letter; what has no likeness is "?".
constexpr std::string_view AsciiStandIns =
    " \?\?\?\?\?\?*\?o\?\?\?\?\?*><|!\?\?-|^v><--^v"  // 0x00
    " !\"#$%&'()*+,-./0123456789:;<=>\?"              // 0x20
    "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"               // 0x40
    "`abcdefghijklmnopqrstuvwxyz{|}~\?"               // 0x60
    "CueaaaaceeeiiiAAEaAooouuyOUcLYPf"                // 0x80
    "aiounNao\?--\?\?!<>::#|++++++|+++++"             // 0xA0
    "++++-++++++++-+++++++++++++#####"                // 0xC0
    "aBGpSsutFTOd\?fen=+><()/~o..vn2# ";              // 0xE0
static_assert(AsciiStandIns.size() == 256);

// Reverse table sorted by code point, built once.
struct ReverseEntry {
  char32_t codePoint;
  std::uint8_t byte;
};

const std::array<ReverseEntry, 258>& reverseTable() {
  static const std::array<ReverseEntry, 258> table = [] {
    std::array<ReverseEntry, 258> t{};
    for (int b = 0; b < 256; ++b) t[b] = {Cp437[b], static_cast<std::uint8_t>(b)};
    t[0] = {0x20, 0x20};      // a blank is 0x20, not 0x00
    t[256] = {0x03B2, 0xE1};  // beta shares the sharp s
    t[257] = {0x03BC, 0xE6};  // micro sign variants
    std::sort(t.begin(), t.end(), [](const ReverseEntry& a, const ReverseEntry& b) {
      return a.codePoint != b.codePoint ? a.codePoint < b.codePoint : a.byte < b.byte;
    });
    return t;
  }();
  return table;
}

// Ranges of wide characters (East Asian Wide and Fullwidth, emoji presentation).
constexpr std::pair<char32_t, char32_t> WideRanges[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F},
    {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};

// Ranges of combining and other zero-width characters.
constexpr std::pair<char32_t, char32_t> ZeroRanges[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489},  {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A},  {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
    {0x202A, 0x202E}, {0x2060, 0x2064},  {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
    {0xFEFF, 0xFEFF}, {0xE0000, 0xE0FFF}};

template <std::size_t N>
bool inRanges(const std::pair<char32_t, char32_t> (&ranges)[N], char32_t c) {
  auto it = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                             [](char32_t v, const auto& r) { return v < r.first; });
  return it != std::begin(ranges) && c <= std::prev(it)->second;
}

}  // namespace

char32_t cp437ToUnicode(std::uint8_t byte) { return Cp437[byte]; }

int unicodeToCp437(char32_t codePoint) {
  const auto& t = reverseTable();
  auto it = std::lower_bound(t.begin(), t.end(), codePoint,
                             [](const ReverseEntry& e, char32_t c) { return e.codePoint < c; });
  if (it == t.end() || it->codePoint != codePoint) return -1;
  return it->byte;
}

std::size_t decodeChar(std::string_view text, std::size_t pos, char32_t& codePoint) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char b0 = byte(pos);
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1, cp = b0 & 0x1F, minimum = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2, cp = b0 & 0x0F, minimum = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3, cp = b0 & 0x07, minimum = 0x10000;
  }
  if (extra > 0 && pos + extra < text.size()) {
    bool ok = true;
    for (int i = 1; ok && i <= extra; ++i) {
      if ((byte(pos + i) & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    if (ok && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
      codePoint = cp;
      return static_cast<std::size_t>(extra) + 1;
    }
  }
  codePoint = Cp437[b0];
  return 1;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string cp437CharToText(std::uint8_t byte) {
  std::string out;
  if (byte < 0x80)
    out += static_cast<char>(byte);
  else
    appendUtf8(out, Cp437[byte]);
  return out;
}

int charCells(char32_t c) {
  if (c < 0x300) return 1;
  if (inRanges(ZeroRanges, c)) return 0;
  if (inRanges(WideRanges, c)) return 2;
  return 1;
}

int textCells(std::string_view text) {
  int cells = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t c;
    pos += decodeChar(text, pos, c);
    cells += charCells(c);
  }
  return cells;
}

std::size_t textChars(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < text.size(); ++n) {
    char32_t c;
    pos += decodeChar(text, pos, c);
  }
  return n;
}

std::size_t fittingPrefix(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t end = 0;
  while (end < text.size()) {
    char32_t ch;
    std::size_t next = end + decodeChar(text, end, ch);
    if (next > limit) break;
    end = next;
  }
  return end;
}

std::size_t charOffset(std::string_view text, std::size_t index) {
  std::size_t pos = 0;
  for (; pos < text.size() && index > 0; --index) {
    char32_t c;
    pos += decodeChar(text, pos, c);
  }
  return pos;
}

char asciiStandIn(char32_t codePoint) {
  if (codePoint >= 0x20 && codePoint < 0x7F) return static_cast<char>(codePoint);
  if (codePoint < 0x20) return AsciiStandIns[codePoint];
  int byte = unicodeToCp437(codePoint);
  return byte >= 0 ? AsciiStandIns[static_cast<std::size_t>(byte)] : '?';
}

}  // namespace corvane
