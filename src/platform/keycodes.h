// Key codes: the 16-bit values every dialogue dispatches on.
//   plain character      its code page 437 byte (high byte 0)
//   Ctrl + character     0x0400 + character
//   Alt + letter/digit   0x0800 + PC scan code (German key positions)
//   extended key         modifier * 0x100 + scan code; modifier 1 none, 2 Shift, 4 Ctrl, 8 Alt
#pragma once

namespace corvane {

using KeyCode = int;

namespace key {

constexpr KeyCode Backspace = 8;
constexpr KeyCode Tab = 9;
constexpr KeyCode Enter = 13;
constexpr KeyCode Escape = 27;
constexpr KeyCode Space = 32;

constexpr KeyCode ModifierEvent = 0x0100;  // Shift/Ctrl/Alt pressed or released
constexpr KeyCode IdleEvent = 0x0777;      // the idle time has run out
constexpr KeyCode Paste = 0x1200;          // a bracketed paste arrived whole: pastedText()

constexpr KeyCode ShiftTab = 0x0209;
constexpr KeyCode CtrlTab = 0x0409;
constexpr KeyCode CtrlBackspace = 0x047F;
constexpr KeyCode CtrlEnter = 0x040D;

// Scan codes of the extended keys.
namespace scan {
constexpr int F1 = 0x3B, F2 = 0x3C, F3 = 0x3D, F4 = 0x3E, F5 = 0x3F, F6 = 0x40, F7 = 0x41,
              F8 = 0x42, F9 = 0x43, F10 = 0x44, F11 = 0x57, F12 = 0x58;
constexpr int Home = 0x47, Up = 0x48, PgUp = 0x49, Left = 0x4B, Center = 0x4C, Right = 0x4D,
              End = 0x4F, Down = 0x50, PgDn = 0x51, Ins = 0x52, Del = 0x53;
}  // namespace scan

constexpr KeyCode ModNone = 0x0100, ModShift = 0x0200, ModCtrl = 0x0400, ModAlt = 0x0800;

constexpr KeyCode Home = ModNone | scan::Home;
constexpr KeyCode Up = ModNone | scan::Up;
constexpr KeyCode PgUp = ModNone | scan::PgUp;
constexpr KeyCode Left = ModNone | scan::Left;
constexpr KeyCode Right = ModNone | scan::Right;
constexpr KeyCode End = ModNone | scan::End;
constexpr KeyCode Down = ModNone | scan::Down;
constexpr KeyCode PgDn = ModNone | scan::PgDn;
constexpr KeyCode Ins = ModNone | scan::Ins;
constexpr KeyCode Del = ModNone | scan::Del;

constexpr KeyCode CtrlHome = ModCtrl | scan::Home;
constexpr KeyCode CtrlEnd = ModCtrl | scan::End;
constexpr KeyCode CtrlLeft = ModCtrl | scan::Left;
constexpr KeyCode CtrlRight = ModCtrl | scan::Right;
constexpr KeyCode CtrlUp = ModCtrl | scan::Up;
constexpr KeyCode CtrlDown = ModCtrl | scan::Down;
constexpr KeyCode CtrlPgUp = ModCtrl | scan::PgUp;
constexpr KeyCode CtrlPgDn = ModCtrl | scan::PgDn;

// The keypad's grey "*", "-" and "+": the scan code in the high byte, the character in the
// low byte (the "+" arrives as 0x4E2B; 0x4E2A is read the same).
constexpr KeyCode KeypadStar = 0x372A, KeypadMinus = 0x4A2D, KeypadPlus = 0x4E2B,
                  KeypadPlusOther = 0x4E2A;
constexpr int KeypadStarScan = 0x37, KeypadMinusScan = 0x4A, KeypadPlusScan = 0x4E;
// The plain character a keypad key stands for, 0 for other codes.
constexpr char keypadCharacter(KeyCode code) {
  switch (code) {
    case KeypadStar:
      return '*';
    case KeypadMinus:
      return '-';
    case KeypadPlus:
    case KeypadPlusOther:
      return '+';
    default:
      return 0;
  }
}

// F1..F12 with a modifier: fkey(1) is F1, fkey(10, ModAlt) is Alt-F10.
constexpr KeyCode fkey(int n, KeyCode modifier = ModNone) {
  return modifier | (n <= 10 ? scan::F1 + n - 1 : scan::F11 + n - 11);
}
constexpr KeyCode F1 = fkey(1), F2 = fkey(2), F3 = fkey(3), F4 = fkey(4), F5 = fkey(5),
                  F6 = fkey(6), F7 = fkey(7), F8 = fkey(8), F9 = fkey(9), F10 = fkey(10),
                  F11 = fkey(11), F12 = fkey(12);

// Ctrl + letter: ctrl('A') is 0x0401.
constexpr KeyCode ctrl(char letter) { return 0x0400 + (letter & 0x1F); }

// PC scan codes of letters and digits on the German key positions (Alt key codes).
constexpr int letterScan(char c) {
  constexpr unsigned char letters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                         0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                         0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x2C, 0x15};
  if (c >= 'a' && c <= 'z') return letters[c - 'a'];
  if (c >= 'A' && c <= 'Z') return letters[c - 'A'];
  if (c >= '1' && c <= '9') return 0x02 + (c - '1');
  if (c == '0') return 0x0B;
  return 0;
}
// Alt + letter or digit: alt('Q') is 0x0810, alt('1') is 0x0802.
constexpr KeyCode alt(char c) { return ModAlt | letterScan(c); }

}  // namespace key
}  // namespace corvane
