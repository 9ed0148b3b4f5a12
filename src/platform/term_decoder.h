// Terminal input bytes -> console input records. Pure: no system calls, no clock. Bytes are
// fed as they arrive; a sequence cut between two reads is kept until the rest comes. The
// reading side owns the time: when pending() has stayed true for the escape delay with no
// new bytes, it calls flushPending(), which turns a lone ESC into Escape (ESC + one byte into
// Alt + that key) and drops any other unfinished sequence.
//
// What the records carry (the key reader turns them into key codes):
//   key down with a character: the code page 437 character, the PC scan code of the key
//     (letters and digits by German key positions), Ctrl / Alt / Shift bits;
//   key down without a character: the scan code of an extended key and the modifier bits;
//   modifier key pressed or released (kitty keyboard protocol): modifierKey set, the bits
//     held after the event; other key releases (kitty) as key-up records;
//   mouse: left or right press, drags (moved), releases (no buttons); the wheel becomes
//     three Up or Down keys;
//   focus gained (keyDown true) or lost (keyDown false);
//   a bracketed paste: a Paste record (keyDown) before its characters and one (key up) after
//     them, also when the paste is ended by flushPending.
// Terminal replies (kitty flags, device attributes, mode reports, DCS and OSC strings) are
// swallowed and only noted. Unknown or malformed sequences are dropped whole.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"

namespace corvane {

class TermDecoder {
 public:
  // eraseByte is the terminal's erase character (termios VERASE): that one of 0x08 / 0x7F
  // is Backspace, the other Ctrl-Backspace. Any other value counts as 0x7F.
  explicit TermDecoder(std::uint8_t eraseByte = 0x7F);

  // Decodes bytes, appending the completed records to out.
  void feed(std::string_view bytes, std::vector<InputRecord>& out);

  // True while received bytes wait for more: an unfinished sequence, a lone ESC, an open
  // terminal reply string, or a bracketed paste that has not ended.
  bool pending() const;
  // True inside a bracketed paste (the reading side may allow longer gaps there).
  bool inPaste() const { return state_ == State::Paste; }

  // The wait for more bytes has run out: a lone ESC becomes Escape, ESC + one byte becomes
  // Alt + that key, an open paste or reply string ends, anything else pending is dropped.
  void flushPending(std::vector<InputRecord>& out);

  void setEraseByte(std::uint8_t eraseByte) { eraseByte_ = eraseByte == 0x08 ? 0x08 : 0x7F; }

  // Forgets pending bytes and any open paste or string (the reply flags stay).
  void reset();

  // With the kitty keyboard protocol pushed, modifier bit 8 is Super in every sequence
  // (otherwise it is xterm's Meta, taken as Alt, outside kitty `u` sequences).
  void setKittyMode(bool on) { kittyMode_ = on; }

  // Line breaks inside a bracketed paste: dropped (the default, so that pasting into a
  // command line never runs anything) or delivered as Enter.
  void setPasteLineBreaks(bool asEnter) { pasteLineBreaks_ = asEnter; }

  // Replies seen so far: the kitty flags answer (`CSI ? flags u`) and the primary device
  // attributes (`CSI ? ... c`), which ends the kitty query.
  bool kittyReplySeen() const { return kittyReplySeen_; }
  bool deviceAttributesSeen() const { return deviceAttributesSeen_; }

 private:
  enum class State : std::uint8_t { Ground, String, Paste, DiscardCsi };

  // Each parses at the start of s and returns the bytes taken, or 0 when s is an unfinished
  // prefix and more bytes are needed.
  std::size_t parseGround(std::string_view s, std::vector<InputRecord>& out);
  std::size_t parseEscape(std::string_view s, std::vector<InputRecord>& out);
  std::size_t parseCsi(std::string_view s, std::vector<InputRecord>& out);
  std::size_t parseSs3(std::string_view s, std::vector<InputRecord>& out);
  std::size_t parseString(std::string_view s);
  std::size_t parsePaste(std::string_view s, std::vector<InputRecord>& out);
  std::size_t parseDiscard(std::string_view s);
  // A key given by its code (kitty `CSI code u`, xterm modifyOtherKeys).
  void pushCodeKey(std::vector<InputRecord>& out, int code, int shifted, int modifiers, int event,
                   std::span<const int> text, bool bit8IsSuper);

  std::uint8_t eraseByte_;
  State state_ = State::Ground;
  bool kittyMode_ = false;
  bool kittyReplySeen_ = false;
  bool deviceAttributesSeen_ = false;
  bool pasteAfterCr_ = false;
  bool pasteLineBreaks_ = false;
  std::string buffer_;  // bytes not yet decoded
};

// Scan code of the key that carries a code page 437 character on a German keyboard (shifted
// forms give the same key), or 0 when no key of the main block carries it.
std::uint8_t germanScanCode(std::uint8_t character);

}  // namespace corvane
