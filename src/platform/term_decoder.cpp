#include "platform/term_decoder.h"

#include <algorithm>
#include <array>

#include "platform/charset.h"
#include "platform/keycodes.h"

namespace corvane {
namespace {

constexpr char Esc = '\x1b';
constexpr std::size_t MaxCsiLength = 256;  // longer "sequences" are garbage: discarded
constexpr std::string_view PasteEnd = "\x1b[201~";

constexpr std::uint8_t ScanEscape = 0x01, ScanBackspace = 0x0E, ScanTab = 0x0F, ScanEnter = 0x1C,
                       ScanSpace = 0x39;

using u8 = std::uint8_t;
using u16 = std::uint16_t;

constexpr std::array<u8, 256> GermanScan = [] {
  std::array<u8, 256> t{};
  auto scan = [](int c) { return static_cast<u8>(key::letterScan(static_cast<char>(c))); };
  for (int c = 'a'; c <= 'z'; ++c) t[c] = t[c - 32] = scan(c);
  for (int c = '0'; c <= '9'; ++c) t[c] = scan(c);
  // Shifted digits, the keys right of them and the punctuation keys (German layout; code
  // page 437 bytes for the umlauts, sharp s, section and degree signs).
  constexpr std::pair<u8, u8> others[] = {
      {'!', 0x02},  {'"', 0x03},  {0x15, 0x04}, {'$', 0x05},     {'%', 0x06},  {'&', 0x07},
      {'/', 0x08},  {'(', 0x09},  {')', 0x0A},  {'=', 0x0B},     {0xE1, 0x0C}, {'?', 0x0C},
      {'`', 0x0D},  {'^', 0x29},  {0xF8, 0x29}, {0x81, 0x1A},    {0x9A, 0x1A}, {'+', 0x1B},
      {'*', 0x1B},  {0x94, 0x27}, {0x99, 0x27}, {0x84, 0x28},    {0x8E, 0x28}, {'#', 0x2B},
      {'\'', 0x2B}, {',', 0x33},  {';', 0x33},  {'.', 0x34},     {':', 0x34},  {'-', 0x35},
      {'_', 0x35},  {'<', 0x56},  {'>', 0x56},  {' ', ScanSpace}};
  for (auto [c, s] : others) t[c] = s;
  return t;
}();

InputRecord keyDown(u8 character, u8 scan, u16 control) {
  InputRecord r;
  r.kind = InputRecord::Kind::Key;
  r.character = character;
  r.scanCode = scan;
  r.controlState = control;
  return r;
}

InputRecord keyUp(u8 scan, u16 control) {
  InputRecord r = keyDown(0, scan, control);
  r.keyDown = false;
  return r;
}

// Modifier parameter of xterm and kitty sequences (1 + bits) -> ControlState bits. Bit 8 is
// xterm's Meta (taken as Alt) unless the sequence is a kitty one, where it is Super.
u16 controlFromModifiers(int param, bool bit8IsSuper) {
  if (param < 1) param = 1;
  int bits = (param - 1) & ~(64 | 128);  // Caps Lock, Num Lock
  u16 c = 0;
  if (bits & 1) c |= ControlShift;
  if (bits & 2) c |= ControlLeftAlt;
  if (bits & 4) c |= ControlLeftCtrl;
  if ((bits & 8) && !bit8IsSuper) c |= ControlLeftAlt;
  return c;
}

// Scan code of the key that gives a control byte with Ctrl.
u8 controlByteScan(u8 b) {
  if (b >= 1 && b <= 26) return static_cast<u8>(key::letterScan(static_cast<char>('a' + b - 1)));
  switch (b) {
    case 0x1C:
      return 0x2B;
    case 0x1D:
      return 0x1B;
    case 0x1E:
      return 0x07;
    case 0x1F:
      return 0x35;
    default:
      return 0;
  }
}

// The beginning or the end of a bracketed paste.
InputRecord pasteMark(bool begin) {
  InputRecord r;
  r.kind = InputRecord::Kind::Paste;
  r.keyDown = begin;
  return r;
}

// A typed character. Alt goes with it only when a key carries the character; otherwise
// (AltGr symbols and the like) the plain character is the better reading.
void pushCharacter(std::vector<InputRecord>& out, u8 ch, u16 control) {
  u8 scan = GermanScan[ch];
  if ((control & ControlLeftAlt) && scan == 0) control &= static_cast<u16>(~ControlLeftAlt);
  out.push_back(keyDown(ch, scan, control));
}

// A character key of the keypad. Its grey "*", "-" and "+" keep their own scan codes (the key
// reader gives them the keypad key codes), unless Ctrl is held; the others are characters.
void pushKeypadCharacter(std::vector<InputRecord>& out, u8 ch, u16 control) {
  const int scan = ch == '*'   ? key::KeypadStarScan
                   : ch == '-' ? key::KeypadMinusScan
                   : ch == '+' ? key::KeypadPlusScan
                               : 0;
  if (scan == 0 || (control & (ControlLeftCtrl | ControlRightCtrl)) != 0)
    pushCharacter(out, ch, control);
  else
    out.push_back(keyDown(ch, static_cast<u8>(scan), control));
}

// The code page 437 byte for a typed code point, or -1. Code points whose byte is a control
// code (the PC glyphs such as U+2190 for 0x1B or U+266A for 0x0D) are refused: typed or
// pasted, they would otherwise arrive as Escape, Enter, Tab or Backspace. Pilcrow and
// section sign are the exceptions the key codes keep (0x14, 0x15).
int typedCp437(char32_t cp) {
  int byte = unicodeToCp437(cp);
  if (byte < 0) return -1;
  if ((byte < 0x20 && byte != 0x14 && byte != 0x15) || byte == 0x7F) return -1;
  return byte;
}

// One UTF-8 character at the start of s (s[0] >= 0x80). Returns the bytes it takes, or 0
// when s ends inside it; valid tells whether they form a character.
std::size_t takeUtf8(std::string_view s, char32_t& cp, bool& valid) {
  auto byte = [&](std::size_t i) { return static_cast<u8>(s[i]); };
  u8 lead = byte(0);
  std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
  valid = false;
  if (length == 0) return 1;
  cp = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= s.size()) return 0;
    if ((byte(i) & 0xC0) != 0x80) return i;  // the next byte starts afresh
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  valid = cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
  return length;
}

// Numeric fields of a CSI sequence: fields split by ';', sub-fields by ':'.
struct CsiParams {
  static constexpr int MaxFields = 8, MaxSub = 8;
  int value[MaxFields][MaxSub];
  int subCount[MaxFields] = {};
  int count = 0;

  // The value, or absent when the field or sub-field is missing or empty.
  int get(int field, int sub = 0, int absent = -1) const {
    if (field >= count || sub >= subCount[field]) return absent;
    return value[field][sub] < 0 ? absent : value[field][sub];
  }
};

// False when the text holds anything but digits, ';' and ':'.
bool parseParams(std::string_view text, CsiParams& p) {
  if (text.empty()) return true;
  p.count = 1;
  p.subCount[0] = 1;
  int* current = &p.value[0][0];
  *current = -1;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      if (*current < 0) *current = 0;
      if (*current < 10'000'000) *current = *current * 10 + (c - '0');
    } else if (c == ';' || c == ':') {
      int field = p.count - 1;
      if (c == ';') {
        if (p.count == CsiParams::MaxFields) return false;
        field = p.count++;
        p.subCount[field] = 0;
      }
      if (p.subCount[field] == CsiParams::MaxSub) return false;
      current = &p.value[field][p.subCount[field]++];
      *current = -1;
    } else {
      return false;
    }
  }
  return true;
}

struct ExtendedKey {
  int number;  // tilde number or final byte
  u8 scan;
  u16 extra;  // modifier implied by the sequence itself (rxvt shifted function keys)
};

constexpr ExtendedKey TildeKeys[] = {
    {1, key::scan::Home, 0},
    {2, key::scan::Ins, 0},
    {3, key::scan::Del, 0},
    {4, key::scan::End, 0},
    {5, key::scan::PgUp, 0},
    {6, key::scan::PgDn, 0},
    {7, key::scan::Home, 0},
    {8, key::scan::End, 0},
    {11, key::scan::F1, 0},
    {12, key::scan::F2, 0},
    {13, key::scan::F3, 0},
    {14, key::scan::F4, 0},
    {15, key::scan::F5, 0},
    {17, key::scan::F6, 0},
    {18, key::scan::F7, 0},
    {19, key::scan::F8, 0},
    {20, key::scan::F9, 0},
    {21, key::scan::F10, 0},
    {23, key::scan::F11, 0},
    {24, key::scan::F12, 0},
    // rxvt and the Linux console send Shift-F3 .. Shift-F10 as F13 .. F20.
    {25, key::scan::F3, ControlShift},
    {26, key::scan::F4, ControlShift},
    {28, key::scan::F5, ControlShift},
    {29, key::scan::F6, ControlShift},
    {31, key::scan::F7, ControlShift},
    {32, key::scan::F8, ControlShift},
    {33, key::scan::F9, ControlShift},
    {34, key::scan::F10, ControlShift}};

constexpr ExtendedKey LetterKeys[] = {
    {'A', key::scan::Up, 0},   {'B', key::scan::Down, 0},   {'C', key::scan::Right, 0},
    {'D', key::scan::Left, 0}, {'E', key::scan::Center, 0}, {'F', key::scan::End, 0},
    {'H', key::scan::Home, 0}, {'P', key::scan::F1, 0},     {'Q', key::scan::F2, 0},
    {'R', key::scan::F3, 0},   {'S', key::scan::F4, 0}};

template <std::size_t N>
const ExtendedKey* findKey(const ExtendedKey (&table)[N], int number) {
  for (const ExtendedKey& k : table)
    if (k.number == number) return &k;
  return nullptr;
}

// Keypad keys in application mode (SS3 + byte) that stand for characters.
struct KeypadChar {
  char final;
  u8 character;
};
constexpr KeypadChar KeypadChars[] = {{'p', '0'}, {'q', '1'}, {'r', '2'}, {'s', '3'}, {'t', '4'},
                                      {'u', '5'}, {'v', '6'}, {'w', '7'}, {'x', '8'}, {'y', '9'},
                                      {'n', '.'}, {'l', ','}, {'j', '*'}, {'k', '+'}, {'m', '-'},
                                      {'o', '/'}, {'X', '='}, {' ', ' '}, {'M', 13},  {'I', 9}};

// kitty key numbers.
constexpr int KittyCapsLock = 57358, KittyFunctionLast = 57454;
constexpr int KittyKeypad0 = 57399, KittyKeypadBegin = 57427;
constexpr int KittyLeftShift = 57441, KittyRightShift = 57447;
constexpr int KittyLeftControl = 57442, KittyRightControl = 57448;
constexpr int KittyLeftAlt = 57443, KittyRightAlt = 57449;
constexpr int KittyModifierFirst = 57441, KittyModifierLast = 57454;

// kitty keypad keys from KP_0 on: a character or an extended key.
struct KittyKeypadKey {
  u8 character;
  u8 scan;
};
constexpr KittyKeypadKey KittyKeypad[] = {{'0', 0},
                                          {'1', 0},
                                          {'2', 0},
                                          {'3', 0},
                                          {'4', 0},
                                          {'5', 0},
                                          {'6', 0},
                                          {'7', 0},
                                          {'8', 0},
                                          {'9', 0},
                                          {'.', 0},
                                          {'/', 0},
                                          {'*', 0},
                                          {'-', 0},
                                          {'+', 0},
                                          {13, ScanEnter},
                                          {'=', 0},
                                          {',', 0},
                                          {0, key::scan::Left},
                                          {0, key::scan::Right},
                                          {0, key::scan::Up},
                                          {0, key::scan::Down},
                                          {0, key::scan::PgUp},
                                          {0, key::scan::PgDn},
                                          {0, key::scan::Home},
                                          {0, key::scan::End},
                                          {0, key::scan::Ins},
                                          {0, key::scan::Del},
                                          {0, key::scan::Center}};
static_assert(std::size(KittyKeypad) == KittyKeypadBegin - KittyKeypad0 + 1);

void pushExtended(std::vector<InputRecord>& out, u8 scan, u16 control, int event) {
  if (event == 3)
    out.push_back(keyUp(scan, control));
  else
    out.push_back(keyDown(0, scan, control));
}

void pushTab(std::vector<InputRecord>& out, u16 control, int event) {
  if (event == 3)
    out.push_back(keyUp(ScanTab, control));
  else
    out.push_back(keyDown(9, ScanTab, control));
}

void pushWheel(std::vector<InputRecord>& out, u8 scan) {
  for (int i = 0; i < 3; ++i) out.push_back(keyDown(0, scan, 0));
}

// A mouse report: b is the SGR / X10 button byte, release the SGR 'm' form.
void pushMouse(std::vector<InputRecord>& out, int b, int column, int row, bool release) {
  if (b < 0 || (b & 128)) return;  // buttons 8 and above
  if (b & 64) {                    // wheel
    if (!release && (b & 3) == 0) pushWheel(out, key::scan::Up);
    if (!release && (b & 3) == 1) pushWheel(out, key::scan::Down);
    return;
  }
  int low = b & 3;
  InputRecord r;
  r.kind = InputRecord::Kind::Mouse;
  r.column = std::max(column, 0);
  r.row = std::max(row, 0);
  if (b & 4) r.controlState |= ControlShift;
  if (b & 8) r.controlState |= ControlLeftAlt;
  if (b & 16) r.controlState |= ControlLeftCtrl;
  if (release) {
    if (low == 1) return;  // middle button
    r.buttons = 0;
  } else {
    if (low == 1 || low == 3) return;  // middle button, motion without a button
    r.buttons = low == 0 ? MouseLeft : MouseRight;
    r.moved = (b & 32) != 0;
  }
  out.push_back(r);
}

}  // namespace

std::uint8_t germanScanCode(std::uint8_t character) { return GermanScan[character]; }

TermDecoder::TermDecoder(std::uint8_t eraseByte) : eraseByte_(eraseByte == 0x08 ? 0x08 : 0x7F) {}

bool TermDecoder::pending() const { return !buffer_.empty() || state_ != State::Ground; }

void TermDecoder::reset() {
  buffer_.clear();
  state_ = State::Ground;
  pasteAfterCr_ = false;
}

void TermDecoder::feed(std::string_view bytes, std::vector<InputRecord>& out) {
  buffer_.append(bytes);
  std::string_view all = buffer_;
  std::size_t pos = 0;
  while (pos < all.size()) {
    State before = state_;
    std::string_view rest = all.substr(pos);
    std::size_t taken = 0;
    switch (state_) {
      case State::Ground:
        taken = parseGround(rest, out);
        break;
      case State::String:
        taken = parseString(rest);
        break;
      case State::Paste:
        taken = parsePaste(rest, out);
        break;
      case State::DiscardCsi:
        taken = parseDiscard(rest);
        break;
    }
    if (taken == 0 && state_ == before) break;  // an unfinished prefix: wait for more
    pos += taken;
  }
  buffer_.erase(0, pos);
}

void TermDecoder::flushPending(std::vector<InputRecord>& out) {
  if (state_ == State::Paste) out.push_back(pasteMark(false));
  if (state_ == State::Ground && !buffer_.empty() && buffer_[0] == Esc) {
    if (buffer_.size() == 1) {
      out.push_back(keyDown(27, ScanEscape, 0));
    } else if (buffer_.size() == 2 && buffer_[1] >= 0x20 && buffer_[1] < 0x7F) {
      // ESC [, ESC O, ESC P, ESC ]: nothing followed, so it was Alt with that key.
      pushCharacter(out, static_cast<u8>(buffer_[1]), ControlLeftAlt);
    }
  }
  reset();
}

std::size_t TermDecoder::parseGround(std::string_view s, std::vector<InputRecord>& out) {
  u8 b = static_cast<u8>(s[0]);
  if (b == 0x1B) return parseEscape(s, out);
  if (b >= 0x20 && b < 0x7F) {
    pushCharacter(out, b, 0);
    return 1;
  }
  if (b < 0x20 || b == 0x7F) {
    if (b == '\r')
      out.push_back(keyDown(13, ScanEnter, 0));
    else if (b == '\t')
      out.push_back(keyDown(9, ScanTab, 0));
    else if (b == eraseByte_)
      out.push_back(keyDown(8, ScanBackspace, 0));
    else if (b == 0x08 || b == 0x7F)
      out.push_back(keyDown(0x7F, ScanBackspace, ControlLeftCtrl));
    else if (b == 0)
      out.push_back(keyDown(' ', ScanSpace, ControlLeftCtrl));
    else
      out.push_back(keyDown(b, controlByteScan(b), ControlLeftCtrl));
    return 1;
  }
  char32_t cp = 0;
  bool valid = false;
  std::size_t n = takeUtf8(s, cp, valid);
  if (n > 0 && valid) {
    int byte = typedCp437(cp);
    if (byte >= 0) pushCharacter(out, static_cast<u8>(byte), 0);
  }
  return n;
}

std::size_t TermDecoder::parseEscape(std::string_view s, std::vector<InputRecord>& out) {
  if (s.size() < 2) return 0;
  u8 b = static_cast<u8>(s[1]);
  switch (b) {
    case '[':
      return parseCsi(s, out);
    case 'O':
      return parseSs3(s, out);
    case 0x1B:
      // ESC ESC: Escape, and the second ESC starts afresh.
      out.push_back(keyDown(27, ScanEscape, 0));
      return 1;
    case 'P':
    case ']': {
      // DCS and OSC replies start with a parameter byte (a digit for OSC); otherwise the
      // user typed Alt-P or Alt-].
      if (s.size() < 3) return 0;
      u8 c = static_cast<u8>(s[2]);
      bool reply = b == 'P' ? (c >= 0x30 && c <= 0x3F) : (c >= '0' && c <= '9');
      if (reply) {
        state_ = State::String;
      } else {
        pushCharacter(out, b, ControlLeftAlt);
      }
      return 2;
    }
    default:
      break;
  }
  if (b < 0x20 || b == 0x7F) {
    // Alt with a control byte: Alt-Enter, Alt-Tab, Alt-Backspace; else Ctrl+Alt+letter.
    constexpr u16 CtrlAlt = ControlLeftCtrl | ControlLeftAlt;
    if (b == '\r')
      out.push_back(keyDown(13, ScanEnter, ControlLeftAlt));
    else if (b == '\t')
      out.push_back(keyDown(9, ScanTab, ControlLeftAlt));
    else if (b == eraseByte_)
      out.push_back(keyDown(8, ScanBackspace, ControlLeftAlt));
    else if (b == 0x08 || b == 0x7F)
      out.push_back(keyDown(0x7F, ScanBackspace, CtrlAlt));
    else if (b == 0)
      out.push_back(keyDown(' ', ScanSpace, CtrlAlt));
    else
      out.push_back(keyDown(b, controlByteScan(b), CtrlAlt));
    return 2;
  }
  if (b < 0x80) {
    pushCharacter(out, b, ControlLeftAlt);
    return 2;
  }
  char32_t cp = 0;
  bool valid = false;
  std::size_t n = takeUtf8(s.substr(1), cp, valid);
  if (n == 0) return 0;
  if (valid) {
    int byte = typedCp437(cp);
    if (byte >= 0) pushCharacter(out, static_cast<u8>(byte), ControlLeftAlt);
  }
  return 1 + n;
}

std::size_t TermDecoder::parseCsi(std::string_view s, std::vector<InputRecord>& out) {
  if (s.size() < 3) return 0;
  u8 first = static_cast<u8>(s[2]);
  if (first == '[') {
    // Linux console function keys: CSI [ A .. CSI [ E are F1 .. F5.
    if (s.size() < 4) return 0;
    u8 c = static_cast<u8>(s[3]);
    if (c >= 'A' && c <= 'E') {
      out.push_back(keyDown(0, static_cast<u8>(key::scan::F1 + (c - 'A')), 0));
      return 4;
    }
    return c >= 0x40 && c <= 0x7E ? 4 : 3;
  }
  if (first == 'M') {
    // X10 mouse report (terminals without SGR mouse): three bytes follow, each + 32.
    if (s.size() < 6) return 0;
    int b = static_cast<u8>(s[3]) - 32, x = static_cast<u8>(s[4]) - 33,
        y = static_cast<u8>(s[5]) - 33;
    if (b >= 0 && (b & 3) == 3 && !(b & (32 | 64)))
      pushMouse(out, b & ~3, x, y, true);
    else
      pushMouse(out, b, x, y, false);
    return 6;
  }

  std::size_t i = 2;
  while (i < s.size() && s[i] >= 0x30 && s[i] <= 0x3F) ++i;
  std::string_view params = s.substr(2, i - 2);
  std::size_t interStart = i;
  while (i < s.size() && s[i] >= 0x20 && s[i] <= 0x2F) {
    if (i == interStart && s[i] == '$' && !params.empty() &&
        std::all_of(params.begin(), params.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      // rxvt: CSI n $ is a tilde key with Shift.
      CsiParams p;
      parseParams(params, p);
      if (const ExtendedKey* k = findKey(TildeKeys, p.get(0)))
        out.push_back(keyDown(0, k->scan, static_cast<u16>(k->extra | ControlShift)));
      return i + 1;
    }
    ++i;
  }
  if (i >= s.size()) {
    if (s.size() > MaxCsiLength) {
      state_ = State::DiscardCsi;
      return s.size();
    }
    return 0;
  }
  u8 final = static_cast<u8>(s[i]);
  if (final < 0x40 || final > 0x7E) {
    // A byte that cannot be inside a CSI sequence: drop what came before it. ESC [ alone
    // followed by such a byte was Alt-[.
    if (i == 2) {
      pushCharacter(out, '[', ControlLeftAlt);
      return 2;
    }
    return i;
  }
  std::size_t taken = i + 1;
  std::string_view intermediates = s.substr(interStart, i - interStart);

  char marker = 0;
  if (!params.empty() &&
      (params[0] == '<' || params[0] == '=' || params[0] == '>' || params[0] == '?')) {
    marker = params[0];
    params.remove_prefix(1);
  }
  CsiParams p;
  if (!parseParams(params, p)) return taken;

  if (marker == '?') {
    // Replies: kitty flags, primary device attributes; mode reports are ignored.
    if (intermediates.empty() && final == 'u') kittyReplySeen_ = true;
    if (intermediates.empty() && final == 'c') deviceAttributesSeen_ = true;
    return taken;
  }
  if (marker == '<') {
    if (intermediates.empty() && (final == 'M' || final == 'm') && p.count >= 3 && p.get(0) >= 0 &&
        p.get(1) >= 1 && p.get(2) >= 1)
      pushMouse(out, p.get(0), p.get(1) - 1, p.get(2) - 1, final == 'm');
    return taken;
  }
  if (marker != 0 || !intermediates.empty()) return taken;

  int number = p.get(0);
  int modifiers = p.get(1, 0, 1);
  int event = p.get(1, 1, 1);
  switch (final) {
    case '~': {
      if (number == 200) {
        state_ = State::Paste;
        pasteAfterCr_ = false;
        out.push_back(pasteMark(true));
      } else if (number == 27 && p.count >= 3) {
        // xterm modifyOtherKeys: CSI 27 ; modifiers ; code ~
        pushCodeKey(out, p.get(2), -1, modifiers, 1, {}, kittyMode_);
      } else if (const ExtendedKey* k = findKey(TildeKeys, number)) {
        u16 control = controlFromModifiers(modifiers, kittyMode_) | k->extra;
        pushExtended(out, k->scan, control, event);
      }
      return taken;
    }
    case 'u': {
      if (number < 0) return taken;
      int text[CsiParams::MaxSub];
      int textCount = 0;
      for (int sub = 0; p.count > 2 && sub < p.subCount[2]; ++sub)
        if (p.get(2, sub) > 0) text[textCount++] = p.get(2, sub);
      pushCodeKey(out, number, p.get(0, 1), modifiers, event,
                  std::span<const int>(text, static_cast<std::size_t>(textCount)), true);
      return taken;
    }
    case 'Z':
      pushTab(out, controlFromModifiers(modifiers, kittyMode_) | ControlShift, event);
      return taken;
    case 'I':
    case 'O':
      if (p.count == 0) {
        InputRecord r;
        r.kind = InputRecord::Kind::Focus;
        r.keyDown = final == 'I';
        out.push_back(r);
      }
      return taken;
    case 'a':
    case 'b':
    case 'c':
    case 'd':
      // rxvt: Shift with the arrows.
      if (p.count == 0) {
        constexpr u8 arrows[] = {key::scan::Up, key::scan::Down, key::scan::Right, key::scan::Left};
        out.push_back(keyDown(0, arrows[final - 'a'], ControlShift));
      }
      return taken;
    case '^':
    case '@':
      // rxvt: Ctrl (^) and Ctrl+Shift (@) with a tilde key.
      if (p.count == 1) {
        if (const ExtendedKey* k = findKey(TildeKeys, number)) {
          u16 control = k->extra | ControlLeftCtrl;
          if (final == '@') control |= ControlShift;
          out.push_back(keyDown(0, k->scan, control));
        }
      }
      return taken;
    default:
      break;
  }
  // CSI [1 [; modifiers]] letter. Anything else with a letter final (a cursor position
  // report, for one: never asked for) is not a key.
  if (const ExtendedKey* k = findKey(LetterKeys, final)) {
    if (number <= 1 && p.count <= 2)
      pushExtended(out, k->scan, controlFromModifiers(modifiers, kittyMode_), event);
  }
  return taken;
}

std::size_t TermDecoder::parseSs3(std::string_view s, std::vector<InputRecord>& out) {
  if (s.size() < 3) return 0;
  std::size_t i = 2;
  // Old terminals put the modifier between SS3 and the final byte (SS3 5 P).
  while (i < s.size() && i < 16 && ((s[i] >= '0' && s[i] <= '9') || s[i] == ';')) ++i;
  if (i >= 16) return i;  // too long to be a key: dropped, however the bytes were split
  if (i >= s.size()) return 0;
  u8 final = static_cast<u8>(s[i]);
  if (final < 0x20 || final > 0x7E) {
    if (i == 2) {  // ESC O and then something else: Alt-O
      pushCharacter(out, 'O', ControlLeftAlt);
      return 2;
    }
    return i;
  }
  CsiParams p;
  parseParams(s.substr(2, i - 2), p);
  int modifiers = p.count > 0 ? p.get(p.count - 1, 0, 1) : 1;
  u16 control = controlFromModifiers(modifiers, kittyMode_);
  std::size_t taken = i + 1;

  if (const ExtendedKey* k = findKey(LetterKeys, final)) {
    out.push_back(keyDown(0, k->scan, control));
    return taken;
  }
  if (final >= 'a' && final <= 'd') {  // rxvt: Ctrl with the arrows
    constexpr u8 arrows[] = {key::scan::Up, key::scan::Down, key::scan::Right, key::scan::Left};
    out.push_back(keyDown(0, arrows[final - 'a'], ControlLeftCtrl));
    return taken;
  }
  for (const KeypadChar& k : KeypadChars) {
    if (k.final != final) continue;
    if (k.character == 13)
      out.push_back(keyDown(13, ScanEnter, control));
    else if (k.character == 9)
      out.push_back(keyDown(9, ScanTab, control));
    else
      pushKeypadCharacter(out, k.character, static_cast<u16>(control & ~ControlLeftAlt));
    break;
  }
  return taken;
}

void TermDecoder::pushCodeKey(std::vector<InputRecord>& out, int code, int shifted, int modifiers,
                              int event, std::span<const int> text, bool bit8IsSuper) {
  u16 control = controlFromModifiers(modifiers, bit8IsSuper || kittyMode_);
  if (code >= KittyModifierFirst && code <= KittyModifierLast) {
    // Modifier keys. The state after the event is recomputed from the key itself: some
    // terminals report the state from before the event.
    ModifierKey which = ModifierKey::None;
    u16 own = 0;
    if (code == KittyLeftShift || code == KittyRightShift)
      which = ModifierKey::Shift, own = ControlShift;
    if (code == KittyLeftControl || code == KittyRightControl)
      which = ModifierKey::Control, own = ControlLeftCtrl;
    if (code == KittyLeftAlt || code == KittyRightAlt)
      which = ModifierKey::Alt, own = ControlLeftAlt;
    if (which == ModifierKey::None) {
      // Super, Hyper, Meta, AltGr: no event of their own; a release still ends a Ctrl or
      // Alt state the key reader may be showing.
      if (event == 3) out.push_back(keyUp(0, control));
      return;
    }
    if (event == 2) return;  // auto-repeat of a held modifier
    InputRecord r;
    r.kind = InputRecord::Kind::Key;
    r.modifierKey = which;
    r.keyDown = event != 3;
    r.controlState = static_cast<u16>(event == 3 ? control & ~own : control | own);
    out.push_back(r);
    return;
  }
  if (event == 3) {
    out.push_back(keyUp(0, control));
    return;
  }
  switch (code) {
    case 27:
      out.push_back(keyDown(27, ScanEscape, control));
      return;
    case 13:
      out.push_back(keyDown(13, ScanEnter, control));
      return;
    case 9:
      out.push_back(keyDown(9, ScanTab, control));
      return;
    case 8:
    case 127:
      if (control & ControlLeftCtrl)
        out.push_back(keyDown(0x7F, ScanBackspace, control));
      else
        out.push_back(keyDown(8, ScanBackspace, control));
      return;
    default:
      break;
  }
  if (code >= KittyKeypad0 && code <= KittyKeypadBegin) {
    const KittyKeypadKey& k = KittyKeypad[code - KittyKeypad0];
    if (k.character == 13)
      out.push_back(keyDown(13, ScanEnter, control));
    else if (k.character != 0)
      pushKeypadCharacter(out, k.character, static_cast<u16>(control & ~ControlLeftAlt));
    else
      out.push_back(keyDown(0, k.scan, control));
    return;
  }
  if (code < 0x20 || (code >= KittyCapsLock && code <= KittyFunctionLast) ||
      (code >= 0xE000 && code <= 0xF8FF) || code > 0x10FFFF)
    return;  // other control codes, lock, media and F13.. keys: nothing the program reads

  bool withCtrl = (control & ControlLeftCtrl) != 0, withAlt = (control & ControlLeftAlt) != 0;
  if (withCtrl || withAlt) {
    int base = code >= 'A' && code <= 'Z' ? code + 32 : code;  // tmux reports Ctrl-Shift-a as 65
    if (withCtrl && base >= 'a' && base <= 'z') {
      out.push_back(keyDown(static_cast<u8>(base & 0x1F), GermanScan[base], control));
    } else if (withCtrl && base >= '0' && base <= '9') {
      out.push_back(keyDown(0, GermanScan[base], control));
    } else {
      int byte = typedCp437(static_cast<char32_t>(base));
      if (byte >= 0) pushCharacter(out, static_cast<u8>(byte), control);
    }
    return;
  }
  if (!text.empty()) {
    for (int cp : text) {
      int byte = typedCp437(static_cast<char32_t>(cp));
      if (byte >= 0) pushCharacter(out, static_cast<u8>(byte), control);
    }
    return;
  }
  int cp = code;
  if (control & ControlShift) {
    if (shifted > 0)
      cp = shifted;
    else if (cp >= 'a' && cp <= 'z')
      cp -= 32;
  }
  int byte = typedCp437(static_cast<char32_t>(cp));
  if (byte >= 0) pushCharacter(out, static_cast<u8>(byte), control);
}

std::size_t TermDecoder::parseString(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    u8 b = static_cast<u8>(s[i]);
    if (b == 0x07 || b == 0x18 || b == 0x1A) {  // BEL ends an OSC; CAN and SUB cancel
      state_ = State::Ground;
      return i + 1;
    }
    if (b == 0x1B) {
      if (i + 1 >= s.size()) return i;  // ESC at the end: ST or a new sequence?
      state_ = State::Ground;
      return s[i + 1] == '\\' ? i + 2 : i;  // any other ESC ends the string and starts anew
    }
  }
  return s.size();
}

std::size_t TermDecoder::parsePaste(std::string_view s, std::vector<InputRecord>& out) {
  u8 b = static_cast<u8>(s[0]);
  if (b == 0x1B) {
    std::size_t n = std::min(s.size(), PasteEnd.size());
    if (s.substr(0, n) == PasteEnd.substr(0, n)) {
      if (n < PasteEnd.size()) return 0;
      state_ = State::Ground;
      out.push_back(pasteMark(false));
      return n;
    }
    return 1;  // escape bytes inside pasted text are never sequences
  }
  bool afterCr = pasteAfterCr_;
  pasteAfterCr_ = b == '\r';
  if (b == '\r' || b == '\n') {
    if (pasteLineBreaks_ && !(b == '\n' && afterCr)) out.push_back(keyDown(13, ScanEnter, 0));
    return 1;
  }
  if (b == '\t') {
    out.push_back(keyDown(9, ScanTab, 0));
    return 1;
  }
  if (b < 0x20 || b == 0x7F) return 1;
  if (b < 0x80) {
    pushCharacter(out, b, 0);
    return 1;
  }
  char32_t cp = 0;
  bool valid = false;
  std::size_t n = takeUtf8(s, cp, valid);
  if (n > 0 && valid) {
    int byte = typedCp437(cp);
    if (byte >= 0) pushCharacter(out, static_cast<u8>(byte), 0);
  }
  return n;
}

std::size_t TermDecoder::parseDiscard(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    u8 b = static_cast<u8>(s[i]);
    if (b >= 0x20 && b <= 0x3F) continue;
    state_ = State::Ground;
    return b >= 0x40 && b <= 0x7E ? i + 1 : i;
  }
  return s.size();
}

}  // namespace corvane
