#include "platform/headless_console.h"

#include "platform/charset.h"

namespace corvane {
namespace {

bool isExtendedScan(int scan) {
  return (scan >= 0x3B && scan <= 0x44) || (scan >= 0x47 && scan <= 0x53) || scan == 0x57 ||
         scan == 0x58;
}

}  // namespace

HeadlessConsole::HeadlessConsole(int c, int r)
    : columns(c), rows(r), shown(static_cast<std::size_t>(c) * r) {}

void HeadlessConsole::writeRect(const ScreenImage& image, int left, int top, int right,
                                int bottom) {
  writes.push_back({left, top, right, bottom});
  for (int row = top; row <= bottom && row < rows; ++row)
    for (int col = left; col <= right && col < columns; ++col)
      shown[static_cast<std::size_t>(row) * columns + col] = image.at(col, row);
}

void HeadlessConsole::beep(int frequency, int) {
  ++beeps;
  lastBeepFrequency = frequency;
}

bool HeadlessConsole::readInput(InputRecord& record, int timeoutMs) {
  // A poll finds nothing; any wait on an empty script means the script is over.
  if (input.empty() && timeoutMs == 0) return false;
  if (input.empty()) {
    ++exhaustedReads;
    if (onInputExhausted) onInputExhausted(*this);
    if (input.empty()) pushKey(key::Escape);
  }
  record = input.front();
  input.pop_front();
  if (record.kind == InputRecord::Kind::Resize && record.column > 0 && record.row > 0) {
    columns = record.column;
    rows = record.row;
    shown.assign(static_cast<std::size_t>(columns) * rows, ScreenCell{});
  }
  return true;
}

bool HeadlessConsole::escapePending() {
  for (const InputRecord& r : input)
    if (r.kind == InputRecord::Kind::Key && r.keyDown && r.character == 27) return true;
  return false;
}

void HeadlessConsole::pushKey(KeyCode code) {
  InputRecord r;
  r.kind = InputRecord::Kind::Key;
  int high = (code >> 8) & 0xFF, low = code & 0xFF;
  if (key::keypadCharacter(code) != 0) {
    r.character = static_cast<std::uint8_t>(low);
    r.scanCode = static_cast<std::uint8_t>(high);
  } else if (high == 0) {
    r.character = static_cast<std::uint8_t>(low);
    if (low == 27) r.scanCode = 0x01;
  } else if (high == 0x04 && !isExtendedScan(low)) {
    // Ctrl with a character (Ctrl-Tab too): the character arrives as it is, Ctrl held.
    r.character = static_cast<std::uint8_t>(low);
    r.controlState = ControlLeftCtrl;
  } else if (code == key::ShiftTab) {
    r.character = 9;
    r.scanCode = 0x0F;
    r.controlState = ControlShift;
  } else {
    // Extended keys and Alt letters: no character, the scan code and the held modifier.
    r.scanCode = static_cast<std::uint8_t>(low);
    if (high & 0x04)
      r.controlState |= ControlLeftCtrl;
    else if (high & 0x08)
      r.controlState |= ControlLeftAlt;
    else if (high & 0x02)
      r.controlState |= ControlShift;
    if (high & 0x08) {
      // Alt with a letter or digit carries the character in a real terminal too.
      r.character = 'a';
    }
  }
  input.push_back(r);
}

void HeadlessConsole::pushKeys(std::initializer_list<KeyCode> codes) {
  for (KeyCode c : codes) pushKey(c);
}

void HeadlessConsole::pushText(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp;
    pos += decodeChar(text, pos, cp);
    int byte = unicodeToCp437(cp);
    if (byte >= 0) pushKey(byte);
  }
}

void HeadlessConsole::pushPaste(std::string_view text) {
  InputRecord mark;
  mark.kind = InputRecord::Kind::Paste;
  input.push_back(mark);
  pushText(text);
  mark.keyDown = false;
  input.push_back(mark);
}

void HeadlessConsole::pushModifier(ModifierKey key, bool down) {
  InputRecord r;
  r.kind = InputRecord::Kind::Key;
  r.keyDown = down;
  r.modifierKey = key;
  if (down) {
    r.controlState = key == ModifierKey::Shift     ? ControlShift
                     : key == ModifierKey::Control ? ControlLeftCtrl
                                                   : ControlLeftAlt;
  }
  input.push_back(r);
}

void HeadlessConsole::pushClick(int column, int row, bool right, std::uint16_t controlState) {
  InputRecord r;
  r.kind = InputRecord::Kind::Mouse;
  r.column = column;
  r.row = row;
  r.buttons = right ? MouseRight : MouseLeft;
  r.controlState = controlState;
  input.push_back(r);
}

void HeadlessConsole::pushIdle() {
  InputRecord r;
  r.kind = InputRecord::Kind::Idle;
  input.push_back(r);
}

void HeadlessConsole::pushResize(int newColumns, int newRows) {
  InputRecord r;
  r.kind = InputRecord::Kind::Resize;
  r.column = newColumns;
  r.row = newRows;
  input.push_back(r);
}

const ScreenCell& HeadlessConsole::shownAt(int column, int row) const {
  return shown[static_cast<std::size_t>(row) * columns + column];
}

std::string HeadlessConsole::shownRow(int row) const {
  std::string out;
  for (int col = 0; col < columns; ++col) {
    char32_t ch = shownAt(col, row).ch;
    if (ch != WideTail) appendUtf8(out, ch);
  }
  return out;
}

}  // namespace corvane
