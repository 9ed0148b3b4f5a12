#include "platform/term_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/keycodes.h"

namespace corvane {
namespace {

using Records = std::vector<InputRecord>;

// The key code the key reader makes of a key-down record (its rule, restated for checking).
int codeOf(const InputRecord& r) {
  bool ctrl = r.controlState & (ControlLeftCtrl | ControlRightCtrl);
  bool alt = r.controlState & (ControlLeftAlt | ControlRightAlt);
  bool shift = r.controlState & ControlShift;
  int modifier = ctrl ? 0x04 : alt ? 0x08 : shift ? 0x02 : 0x01;
  if (r.modifierKey != ModifierKey::None) return key::ModifierEvent;
  if (r.character != 0) {
    if (r.controlState & ControlLeftAlt) return modifier * 0x100 + r.scanCode;
    if (r.character == 9 && (shift || ctrl)) return ctrl ? key::CtrlTab : key::ShiftTab;
    if (key::keypadCharacter(r.scanCode << 8 | r.character) != 0)
      return r.scanCode << 8 | r.character;
    return ctrl ? 0x0400 + r.character : r.character;
  }
  return modifier * 0x100 + r.scanCode;
}

Records decode(std::string_view bytes, std::uint8_t erase = 0x7F) {
  TermDecoder d(erase);
  Records out;
  d.feed(bytes, out);
  return out;
}

// Where a bracketed paste begins and ends among the codes.
constexpr int PasteBegins = -1, PasteEnds = -2;

std::vector<int> codes(const Records& records) {
  std::vector<int> out;
  for (const InputRecord& r : records) {
    if (r.kind == InputRecord::Kind::Paste) {
      out.push_back(r.keyDown ? PasteBegins : PasteEnds);
      continue;
    }
    EXPECT_EQ(r.kind, InputRecord::Kind::Key);
    if (r.keyDown) out.push_back(codeOf(r));
  }
  return out;
}

bool sameRecords(const Records& a, const Records& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const InputRecord &x = a[i], &y = b[i];
    if (x.kind != y.kind || x.keyDown != y.keyDown || x.character != y.character ||
        x.scanCode != y.scanCode || x.modifierKey != y.modifierKey ||
        x.controlState != y.controlState || x.column != y.column || x.row != y.row ||
        x.buttons != y.buttons || x.moved != y.moved)
      return false;
  }
  return true;
}

std::string printable(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == 0x1b)
      out += "ESC";
    else if (c < 0x20 || c >= 0x7f)
      out += "<" + std::to_string(c) + ">";
    else
      out += static_cast<char>(c);
  }
  return out;
}

// Decodes whole, split in two at every boundary and byte by byte: all must agree.
Records decodeEverySplit(std::string_view bytes, std::uint8_t erase = 0x7F) {
  Records whole = decode(bytes, erase);
  for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
    TermDecoder d(erase);
    Records out;
    d.feed(bytes.substr(0, cut), out);
    d.feed(bytes.substr(cut), out);
    EXPECT_TRUE(sameRecords(whole, out)) << printable(bytes) << " cut at " << cut;
  }
  TermDecoder d(erase);
  Records out;
  for (char c : bytes) d.feed(std::string_view(&c, 1), out);
  EXPECT_TRUE(sameRecords(whole, out)) << printable(bytes) << " byte by byte";
  return whole;
}

void expectCodes(std::string_view bytes, std::vector<int> expected, std::uint8_t erase = 0x7F) {
  EXPECT_EQ(codes(decodeEverySplit(bytes, erase)), expected) << printable(bytes);
}

constexpr int modifierByte(int m) {
  int bits = m - 1;
  return bits & 4 ? 0x04 : bits & 2 ? 0x08 : bits & 1 ? 0x02 : 0x01;
}

TEST(TermDecoder, ExtendedKeyFamiliesWithEveryModifier) {
  struct Family {
    const char* plain;
    const char* modified;  // %d = modifier parameter
    int scan;
  };
  const Family families[] = {{"\x1bOP", "\x1b[1;%dP", 0x3B},    {"\x1bOQ", "\x1b[1;%dQ", 0x3C},
                             {"\x1bOR", "\x1b[1;%dR", 0x3D},    {"\x1bOS", "\x1b[1;%dS", 0x3E},
                             {"\x1b[15~", "\x1b[15;%d~", 0x3F}, {"\x1b[17~", "\x1b[17;%d~", 0x40},
                             {"\x1b[18~", "\x1b[18;%d~", 0x41}, {"\x1b[19~", "\x1b[19;%d~", 0x42},
                             {"\x1b[20~", "\x1b[20;%d~", 0x43}, {"\x1b[21~", "\x1b[21;%d~", 0x44},
                             {"\x1b[23~", "\x1b[23;%d~", 0x57}, {"\x1b[24~", "\x1b[24;%d~", 0x58},
                             {"\x1b[H", "\x1b[1;%dH", 0x47},    {"\x1b[F", "\x1b[1;%dF", 0x4F},
                             {"\x1b[A", "\x1b[1;%dA", 0x48},    {"\x1b[B", "\x1b[1;%dB", 0x50},
                             {"\x1b[C", "\x1b[1;%dC", 0x4D},    {"\x1b[D", "\x1b[1;%dD", 0x4B},
                             {"\x1b[2~", "\x1b[2;%d~", 0x52},   {"\x1b[3~", "\x1b[3;%d~", 0x53},
                             {"\x1b[5~", "\x1b[5;%d~", 0x49},   {"\x1b[6~", "\x1b[6;%d~", 0x51},
                             {"\x1b[E", "\x1b[1;%dE", 0x4C}};
  for (const Family& f : families) {
    expectCodes(f.plain, {0x0100 + f.scan});
    for (int m = 2; m <= 8; ++m) {
      char bytes[32];
      std::snprintf(bytes, sizeof bytes, f.modified, m);
      expectCodes(bytes, {modifierByte(m) * 0x100 + f.scan});
    }
  }
}

TEST(TermDecoder, OtherFormsOfExtendedKeys) {
  const std::pair<const char*, int> cases[] = {
      {"\x1bOH", key::Home},     {"\x1bOF", key::End},  {"\x1bOA", key::Up},
      {"\x1b[1~", key::Home},    {"\x1b[4~", key::End}, {"\x1b[7~", key::Home},
      {"\x1b[8~", key::End},     {"\x1b[11~", key::F1}, {"\x1b[13~", key::F3},
      {"\x1b[14~", key::F4},     {"\x1b[P", key::F1},   {"\x1b[S", key::F4},
      {"\x1b[[A", key::F1},      {"\x1b[[E", key::F5},  {"\x1b[a", 0x0248},
      {"\x1bOd", key::CtrlLeft}, {"\x1b[3$", 0x0253},   {"\x1b[5^", key::CtrlPgUp},
      {"\x1b[25~", 0x023D},      {"\x1b[34~", 0x0244},  {"\x1bO5P", 0x043B},
      {"\x1b[Z", key::ShiftTab}, {"\x1b[1;9A", 0x0848}};
  for (auto [bytes, code] : cases) expectCodes(bytes, {code});
}

TEST(TermDecoder, ControlBytesAndTheEraseRule) {
  for (int b = 1; b <= 26; ++b) {
    if (b == 8 || b == 9 || b == 13) continue;
    expectCodes(std::string(1, static_cast<char>(b)), {0x0400 + b});
  }
  expectCodes("\t", {key::Tab});
  expectCodes("\r", {key::Enter});
  expectCodes(std::string(1, '\0'), {0x0420});
  expectCodes("\x1c\x1f", {0x041C, 0x041F});
  // The byte equal to VERASE is Backspace, the other one Ctrl-Backspace.
  expectCodes("\x7f\x08", {key::Backspace, key::CtrlBackspace}, 0x7F);
  expectCodes("\x08\x7f", {key::Backspace, key::CtrlBackspace}, 0x08);
  expectCodes("\x1b\x7f", {0x080E}, 0x7F);
  expectCodes("\x1b\x08", {0x040E}, 0x7F);
}

TEST(TermDecoder, AltWithCharactersUsesGermanKeyPositions) {
  const std::pair<const char*, int> cases[] = {
      {"\x1bx", 0x082D},
      {"\x1bX", 0x082D},
      {"\x1bz", 0x0815},
      {"\x1by", 0x082C},
      {"\x1bq", 0x0810},
      {"\x1b"
       "1",
       0x0802},
      {"\x1b!", 0x0802},
      {"\x1b"
       "0",
       0x080B},
      {"\x1b\xc3\xb6", 0x0827},
      {"\x1b\xc3\x9f", 0x080C},
      {"\x1b-", 0x0835},
      {"\x1b ", 0x0839},
      {"\x1b\r", 0x081C},
      {"\x1b\t", 0x080F},
      {"\x1b\x18", 0x042D},
      {"\x1b\x01", 0x041E},
      {"\x1b@", '@'},
      {"\x1b{", '{'}};  // AltGr symbols: no key of their own
  for (auto [bytes, code] : cases) expectCodes(bytes, {code});
}

TEST(TermDecoder, TypedUtf8BecomesCodePage437) {
  expectCodes(
      "\xc3\xb6"
      "a\xc3\x9c",
      {0x94, 'a', 0x9A});
  expectCodes("\xc2\xa7\xc2\xb6", {0x15, 0x14});  // section, pilcrow: not Ctrl-U / Ctrl-T
  expectCodes("\xe2\x82\xac", {});                // euro sign: not in the code page
  // PC glyphs of control bytes must never act as Escape, Enter, Tab or Backspace.
  expectCodes("\xe2\x86\x90\xe2\x99\xaa\xe2\x97\x8b\xe2\x97\x98", {});
  expectCodes(
      "\xff\x80"
      "a\xc3(b",
      {'a', '(', 'b'});  // malformed bytes dropped, text goes on
}

TEST(TermDecoder, LoneEscapeWaitsForTheTimeout) {
  TermDecoder d;
  Records out;
  d.feed("\x1b", out);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(d.pending());
  d.flushPending(out);
  EXPECT_EQ(codes(out), std::vector<int>{key::Escape});
  EXPECT_FALSE(d.pending());

  struct Case {
    const char* bytes;
    std::vector<int> beforeTimeout, afterTimeout;
  };
  const Case cases[] = {
      {"\x1b\x1b", {key::Escape}, {key::Escape}},  // ESC ESC: Escape, then ESC waits again
      {"\x1b[", {}, {'['}},                        // Alt-[: no key of its own
      {"\x1bO", {}, {0x0818}},                     // Alt-O
      {"\x1bP", {}, {0x0819}},                     // Alt-P, not a reply string
      {"\x1b\xc3", {}, {}},                        // ESC + half a character: dropped
      {"\x1b[1;5", {}, {}},                        // half a sequence: dropped, never leaked
      {"\x1bx", {0x082D}, {}}};
  for (const Case& c : cases) {
    TermDecoder t;
    Records records;
    t.feed(c.bytes, records);
    EXPECT_EQ(codes(records), c.beforeTimeout) << printable(c.bytes);
    records.clear();
    t.flushPending(records);
    EXPECT_EQ(codes(records), c.afterTimeout) << printable(c.bytes);
  }
}

TEST(TermDecoder, RepliesAreSwallowedAndNoted) {
  std::string bytes =
      "a\x1b[?1;2c"
      "b\x1b[?15u"
      "c\x1b[?2026;2$y\x1bP>|tmux 3.3a\x1b\\"
      "d\x1b]11;rgb:0000/0000/0000\x07"
      "e\x1b[>0;276;0c"
      "f";
  expectCodes(bytes, {'a', 'b', 'c', 'd', 'e', 'f'});
  TermDecoder d;
  Records out;
  d.feed("\x1b[?1;2c", out);
  EXPECT_TRUE(d.deviceAttributesSeen());
  EXPECT_FALSE(d.kittyReplySeen());
  d.feed("\x1b[?0u", out);
  EXPECT_TRUE(d.kittyReplySeen());
  EXPECT_TRUE(out.empty());
}

InputRecord modifierRecord(ModifierKey key, bool down, std::uint16_t state) {
  InputRecord r;
  r.modifierKey = key;
  r.keyDown = down;
  r.controlState = state;
  return r;
}

TEST(TermDecoder, KittyModifierPressesAndReleases) {
  InputRecord ctrlA;
  ctrlA.character = 0x01;
  ctrlA.scanCode = 0x1E;
  ctrlA.controlState = ControlLeftCtrl;
  InputRecord ctrlAUp;
  ctrlAUp.keyDown = false;
  ctrlAUp.controlState = ControlLeftCtrl;
  struct Case {
    const char* bytes;
    Records expected;
  };
  const Case cases[] = {
      // Alt alone: press and release; Shift alone the same (the reader makes one code of it).
      {"\x1b[57443;3u\x1b[57443;1:3u",
       {modifierRecord(ModifierKey::Alt, true, ControlLeftAlt),
        modifierRecord(ModifierKey::Alt, false, 0)}},
      {"\x1b[57441;2u\x1b[57441;1:3u",
       {modifierRecord(ModifierKey::Shift, true, ControlShift),
        modifierRecord(ModifierKey::Shift, false, 0)}},
      // A terminal reporting the state before the event: recomputed from the key.
      {"\x1b[57442;1u\x1b[57442;5:3u",
       {modifierRecord(ModifierKey::Control, true, ControlLeftCtrl),
        modifierRecord(ModifierKey::Control, false, 0)}},
      // Ctrl held, a pressed and released, Ctrl released; repeats of Ctrl give nothing.
      {"\x1b[57442;5u\x1b[57442;5:2u\x1b[97;5u\x1b[97;5:3u\x1b[57442;1:3u",
       {modifierRecord(ModifierKey::Control, true, ControlLeftCtrl), ctrlA, ctrlAUp,
        modifierRecord(ModifierKey::Control, false, 0)}},
      // AltGr, Super, Caps Lock presses: nothing.
      {"\x1b[57453;1u\x1b[57444;9u\x1b[57358;65u", {}}};
  for (const Case& c : cases)
    EXPECT_TRUE(sameRecords(decodeEverySplit(c.bytes), c.expected)) << printable(c.bytes);

  Records focus = decodeEverySplit("\x1b[O\x1b[I");
  ASSERT_EQ(focus.size(), 2u);
  EXPECT_EQ(focus[0].kind, InputRecord::Kind::Focus);
  EXPECT_FALSE(focus[0].keyDown);
  EXPECT_TRUE(focus[1].keyDown);
}

TEST(TermDecoder, KittyAndModifyOtherKeysCodes) {
  const std::pair<const char*, std::vector<int>> cases[] = {{"\x1b[97u", {'a'}},
                                                            {"\x1b[97;2;65u", {'A'}},
                                                            {"\x1b[97;5u", {0x0401}},
                                                            {"\x1b[65;6u", {0x0401}},
                                                            {"\x1b[97;3u", {0x081E}},
                                                            {"\x1b[120;7u", {0x042D}},
                                                            {"\x1b[13;5u", {0x040D}},
                                                            {"\x1b[9;5u", {0x0409}},
                                                            {"\x1b[9;2u", {0x0209}},
                                                            {"\x1b[127;5u", {0x047F}},
                                                            {"\x1b[127u", {key::Backspace}},
                                                            {"\x1b[27u", {key::Escape}},
                                                            {"\x1b[49;5u", {0x0402}},
                                                            {"\x1b[27;5;9~", {0x0409}},
                                                            {"\x1b[27;3;97~", {0x081E}},
                                                            {"\x1b[246;1;246u", {0x94}},
                                                            {"\x1b[57414u", {key::Enter}},
                                                            {"\x1b[57399u", {'0'}},
                                                            {"\x1b[57413u", {key::KeypadPlus}},
                                                            {"\x1b[57417u", {key::Left}},
                                                            {"\x1b[57376u", {}},
                                                            {"\x1b[1;5:2A", {key::CtrlUp}},
                                                            {"\x1b[97;9u", {'a'}},
                                                            {"\x1b[32;5u", {0x0420}}};
  for (const auto& [bytes, expected] : cases) expectCodes(bytes, expected);

  Records up = decodeEverySplit("\x1b[1;5:3A\x1b[97;1:3u");
  ASSERT_EQ(up.size(), 2u);
  EXPECT_FALSE(up[0].keyDown);
  EXPECT_EQ(up[0].controlState, ControlLeftCtrl);
  EXPECT_FALSE(up[1].keyDown);
}

TEST(TermDecoder, KeypadInApplicationMode) {
  expectCodes("\x1bOM", {key::Enter});
  expectCodes("\n", {0x040A});  // keypad Enter outside application mode (tmux)
  // The grey "*", "+" and "-" keep their keypad codes (plain, kitty and with Shift); with Ctrl
  // they are the characters.
  expectCodes("\x1bOp\x1bOy\x1bOj\x1bOk\x1bOm\x1bOo\x1bOn",
              {'0', '9', key::KeypadStar, key::KeypadPlus, key::KeypadMinus, '/', '.'});
  expectCodes("\x1b[57411u\x1b[57412u", {key::KeypadStar, key::KeypadMinus});
  expectCodes("\x1bO5k", {0x042B});
}

TEST(TermDecoder, MouseReports) {
  struct Case {
    const char* bytes;
    int column, row;
    std::uint8_t buttons;
    bool moved;
    std::uint16_t control;
  };
  const Case cases[] = {{"\x1b[<0;10;5M", 9, 4, MouseLeft, false, 0},
                        {"\x1b[<0;10;5m", 9, 4, 0, false, 0},
                        {"\x1b[<2;3;4M", 2, 3, MouseRight, false, 0},
                        {"\x1b[<34;22;6M", 21, 5, MouseRight, true, 0},
                        {"\x1b[<32;1;1M", 0, 0, MouseLeft, true, 0},
                        {"\x1b[<16;5;5M", 4, 4, MouseLeft, false, ControlLeftCtrl},
                        {"\x1b[<8;300;120M", 299, 119, MouseLeft, false, ControlLeftAlt},
                        {"\x1b[<4;5;5M", 4, 4, MouseLeft, false, ControlShift},
                        {"\x1b[M !!", 0, 0, MouseLeft, false, 0},  // X10 form
                        {"\x1b[M#!!", 0, 0, 0, false, 0}};
  for (const Case& c : cases) {
    Records r = decodeEverySplit(c.bytes);
    ASSERT_EQ(r.size(), 1u) << printable(c.bytes);
    EXPECT_EQ(r[0].kind, InputRecord::Kind::Mouse);
    EXPECT_EQ(r[0].column, c.column) << printable(c.bytes);
    EXPECT_EQ(r[0].row, c.row);
    EXPECT_EQ(r[0].buttons, c.buttons) << printable(c.bytes);
    EXPECT_EQ(r[0].moved, c.moved);
    EXPECT_EQ(r[0].controlState, c.control);
  }
  expectCodes("\x1b[<64;5;5M", {key::Up, key::Up, key::Up});
  expectCodes("\x1b[<65;5;5M\x1b[<65;5;5m", {key::Down, key::Down, key::Down});
  expectCodes("\x1b[<1;5;5M\x1b[<35;5;5M\x1b[<66;5;5M\x1b[<0;5M",
              {});  // middle, motion, sideways, short
}

TEST(TermDecoder, BracketedPasteIsPlainCharacters) {
  expectCodes("\x1b[200~a\x1b[Ab\tc\xc3\xa4\x1b[201~\x1b[A",
              {PasteBegins, 'a', '[', 'A', 'b', key::Tab, 'c', 0x84, PasteEnds, key::Up});
  expectCodes("\x1b[200~x\r\ny\nz\x1b[201~",
              {PasteBegins, 'x', 'y', 'z', PasteEnds});  // line breaks dropped

  TermDecoder d;
  d.setPasteLineBreaks(true);
  Records out;
  d.feed("\x1b[200~x\r\ny\nz\r\x1b[201~", out);
  EXPECT_EQ(codes(out), (std::vector<int>{PasteBegins, 'x', key::Enter, 'y', key::Enter, 'z',
                                          key::Enter, PasteEnds}));

  // A paste that never ends is closed by the timeout; keys decode normally again.
  TermDecoder open;
  out.clear();
  open.feed("\x1b[200~abc\x1b[20", out);
  EXPECT_TRUE(open.inPaste());
  open.flushPending(out);
  EXPECT_FALSE(open.pending());
  open.feed("\x1b[A", out);
  EXPECT_EQ(codes(out), (std::vector<int>{PasteBegins, 'a', 'b', 'c', PasteEnds, key::Up}));
}

TEST(TermDecoder, UnknownSequencesNeverLeakCharacters) {
  // Every complete CSI or SS3 sequence the decoder does not know disappears whole.
  expectCodes(
      "\x1b[99~\x1b[1;5x\x1b[?1;2;3y\x1bOz\x1b[12;40R\x1b[2;3H\x1b[=5u\x1b[1 q"
      "a",
      {'a'});
  expectCodes(std::string("\x1b[") + std::string(1000, '1') + "A" + "b", {'b'});

  std::mt19937 random(1234);
  const std::string finals = "GJKLTUVWXYfghijklnopqrstvwxyz`{|}";
  const std::string inside = "0123456789;:";
  for (int i = 0; i < 2000; ++i) {
    std::string bytes = "\x1b[";
    int length = static_cast<int>(random() % 12);
    for (int k = 0; k < length; ++k) bytes += inside[random() % inside.size()];
    const std::string intermediates = " !\"#%&'()*+,-./";  // not '$': rxvt's Shift suffix
    if (random() % 4 == 0) bytes += intermediates[random() % intermediates.size()];
    bytes += finals[random() % finals.size()];
    EXPECT_TRUE(decode(bytes + "q").size() == 1) << printable(bytes);
  }
}

TEST(TermDecoder, RandomByteSoupNeverBreaksTheDecoder) {
  std::mt19937 random(99);
  const std::string fragments[] = {"\x1b", "[",  "O",    "P",    "]",     "<",    "?",
                                   ";",    ":",  "1",    "5",    "200~",  "201~", "u",
                                   "M",    "~",  "\x07", "\\",   "\xc3",  "\xb6", "\xff",
                                   "a",    "\r", "\x7f", "\x18", "57442", "$"};
  for (int run = 0; run < 300; ++run) {
    TermDecoder d;
    Records out;
    for (int chunk = 0; chunk < 40; ++chunk) {
      std::string bytes;
      int parts = static_cast<int>(random() % 8);
      for (int k = 0; k < parts; ++k) bytes += fragments[random() % std::size(fragments)];
      for (int k = static_cast<int>(random() % 3); k > 0; --k) bytes += static_cast<char>(random());
      d.feed(bytes, out);
      if (random() % 5 == 0) d.flushPending(out);
    }
    for (const InputRecord& r : out) {
      EXPECT_GE(r.column, 0);
      EXPECT_GE(r.row, 0);
    }
    // Whatever came before, the decoder is usable once the wait has run out.
    d.flushPending(out);
    EXPECT_FALSE(d.pending());
    out.clear();
    d.feed(
        "\x1b[1;5P"
        "z",
        out);
    EXPECT_EQ(codes(out), (std::vector<int>{0x043B, 'z'}));
  }
}

}  // namespace
}  // namespace corvane
