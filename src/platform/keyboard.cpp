#include "platform/keyboard.h"

#include <array>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/screen.h"
#include "platform/screen_text.h"
#include "platform/signals.h"
#include "platform/textf.h"

namespace corvane {
namespace {

constexpr std::string_view TextMacroStarts = "Macro starts";
constexpr std::string_view TextMacroEnds = "Macro ends";
constexpr std::string_view TextMacroTooLong = " Macro too long, stopped ";
constexpr std::string_view TextMacroNotDefined = "Macro not defined";
constexpr int NoteUnits = 10;         // 320 ms
constexpr int TooLongNoteUnits = 40;  // 1,280 ms
constexpr int IdlePollMs = ClockCycleMs;

struct MouseState {
  int lastEventColumn = 0, lastEventRow = 0;
  int lastClickColumn = -1, lastClickRow = -1;
  std::uint64_t lastClickTime = 0;
  bool left = false, right = false;
  int doubleClickMs = 200;
  int dragThreshold = 200;
};

struct MacroState {
  bool recording = false;
  bool replaying = false;
  std::array<KeyCode, MacroCapacity> keys{};
  int length = 0;    // keys of the finished macro
  int recorded = 0;  // keys recorded so far
  int position = 0;
  int repeatsLeft = 0;
};

struct ReaderState {
  int lastState = ShiftNone;
  bool ctrlHeld = false, altHeld = false;
  std::vector<MouseZone> zones;
  MouseState mouse;
  MacroState macro;
  KeyReaderHooks hooks;
  bool ownLayout = false;
  bool userHookRunning = false;
  bool replaySuspended = false;
  bool testLogging = false;
  bool resizeRequest = false;
  std::uint32_t idleDeliveredFor = 0xFFFFFFFF;  // activity tick of the last idle event
  int lastKeyShown = 0;
  PastedText paste;
};

ReaderState& reader() {
  static ReaderState s;
  return s;
}

// What one console event gives.
struct EventResult {
  KeyCode code = 0;
  bool mouse = false;          // the code came from a mouse zone
  bool fromCharacter = false;  // the code is a typed character, never an extended key
  bool swallow = false;        // the event only woke the screen saver
  bool idle = false;           // scripted idle event
  bool paste = false;          // a bracketed paste, collected whole
};

int stateOf(std::uint16_t control) {
  if (control & (ControlLeftCtrl | ControlRightCtrl)) return ShiftCtrl;
  if (control & (ControlLeftAlt | ControlRightAlt)) return ShiftAlt;
  if (control & ControlShift) return ShiftShift;
  return ShiftNone;
}

bool isLetterOrDigit(std::uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void logLine(const char* drivePath, const std::string& line) {
  if (!driveMapped('D')) return;  // the logs live on D: only
  FileHandle f = openFile(drivePath, "a");
  if (f) std::fputs(line.c_str(), f.get());
}

void showTestDisplay(KeyCode code, const InputRecord& r) {
  ReaderState& s = reader();
  putScreenText(1, 22,
                textf(" Key %2x Xev %4x  Yev %4x xp %2d yp %2d", code, r.column, r.row,
                      s.mouse.lastEventColumn, s.mouse.lastEventRow),
                70, false, color(ColorInfoWindow));
  putScreenText(1, 24,
                textf(" Key %x Shift %x Mx %d My %d", code, s.lastState, s.mouse.lastClickColumn,
                      s.mouse.lastClickRow),
                70, false, color(ColorInfoWindow));
}

void logEvent(const InputRecord& r) {
  if (r.kind == InputRecord::Kind::Key) {
    int virtualKey = r.modifierKey == ModifierKey::Shift     ? 0x10
                     : r.modifierKey == ModifierKey::Control ? 0x11
                     : r.modifierKey == ModifierKey::Alt     ? 0x12
                     : isLetterOrDigit(r.character)          ? (r.character & ~0x20) & 0xFF
                                                             : 0;
    if (r.character >= '0' && r.character <= '9') virtualKey = r.character;
    logLine("D:\\key.prot", textf("\nkey: virtual=%x ascii=%x scan=%x Control %x", virtualKey,
                                  r.character, r.scanCode, r.controlState));
  } else if (r.kind == InputRecord::Kind::Mouse) {
    logLine("D:\\mouse.prot",
            textf("\nmouse: %s at %d, %d", r.moved ? "moved" : "clicked", r.column, r.row));
  }
}

// Mouse logic for an event with a button down.
EventResult mouseEvent(const InputRecord& r) {
  ReaderState& s = reader();
  MouseState& m = s.mouse;
  EventResult result;
  result.mouse = true;
  m.lastEventColumn = r.column;
  m.lastEventRow = r.row;
  if (screenSaverActive()) {
    screenSaverOff();
    result.swallow = true;
  }

  const MouseZone* zone = nullptr;
  int scanned = 0;
  for (const MouseZone& z : s.zones) {
    if (++scanned > MaxMouseZones) break;
    if (z.y1 == MouseZoneFallback) {
      zone = &z;
      break;
    }
    if (z.disabled) continue;
    if (r.column >= z.x1 && r.column <= z.x2 && r.row >= z.y1 && r.row <= z.y2) {
      zone = &z;
      break;
    }
  }

  std::uint64_t now = console().nowMs();
  if (zone == nullptr) {
    m.left = m.right = false;
    result.code = 0;
  } else if (r.buttons & MouseLeft) {
    result.code = zone->leftCode;
    m.left = true;
    bool doubleClick = now - m.lastClickTime < static_cast<std::uint64_t>(m.doubleClickMs) &&
                       r.column == m.lastClickColumn && r.row == m.lastClickRow && !r.moved;
    if (doubleClick) {
      if (result.code == 0xFE0D)
        result.code = 0x7E0D;
      else if (result.code >= 0x0500 && result.code <= 0x051E)
        result.code = key::Enter;
    }
  } else if (r.buttons & MouseRight) {
    if (r.row != m.lastClickRow || std::abs(r.column - m.lastClickColumn) >= m.dragThreshold) {
      result.code = zone->rightCode;
      m.right = true;
    } else {
      result.code = 0;
      m.left = m.right = false;
    }
  }
  m.lastClickColumn = r.column;
  m.lastClickRow = r.row;
  m.lastClickTime = now;
  return result;
}

// The characters of a bracketed paste up to its end. A key that cannot be pasted text
// (Escape, an extended key: a scripted console that ran out gives Escape) ends it too.
void collectPaste(PastedText& paste) {
  paste = PastedText{};
  InputRecord r;
  while (console().readInput(r, -1)) {
    if (r.kind == InputRecord::Kind::Paste) {
      if (!r.keyDown) return;
      continue;
    }
    if (r.kind == InputRecord::Kind::Resize) reader().resizeRequest = true;
    if (r.kind != InputRecord::Kind::Key || !r.keyDown) continue;
    if (r.character == 0 || r.character == key::Escape) return;
    if (r.character == key::Enter) continue;  // a line break delivered as Enter
    const char character = r.character == key::Tab ? ' ' : static_cast<char>(r.character);
    if (paste.characters.size() < PasteKeepLimit) {
      paste.characters += character;
    } else {
      paste.cut = true;
    }
  }
}

// Reads console events until one gives something (possibly code 0: a modifier change).
// Returns false when the wait ended because the idle time ran out.
bool readEvent(EventResult& out, InputRecord& record) {
  ReaderState& s = reader();
  for (;;) {
    serviceSignalRequests();
    serviceClock();
    bool idleArmed = s.idleDeliveredFor != lastActivityTick();
    if (idleArmed && idleTimeExpired()) {
      s.idleDeliveredFor = lastActivityTick();
      return false;
    }
    if (!console().readInput(record, idleArmed ? IdlePollMs : -1)) {
      if (idleArmed && idleTimeExpired()) {
        s.idleDeliveredFor = lastActivityTick();
        return false;
      }
      continue;
    }
    out = EventResult{};
    switch (record.kind) {
      case InputRecord::Kind::Key: {
        int state = stateOf(record.controlState);
        if (!record.keyDown) {
          if (s.lastState == ShiftCtrl || s.lastState == ShiftAlt) {
            s.lastState = state;
            return true;  // code 0: Ctrl or Alt released
          }
          continue;
        }
        s.lastState = state;
        if (record.character != 0) {
          bool leftAlt = record.controlState & ControlLeftAlt;
          bool rightAlt = record.controlState & ControlRightAlt;
          if (leftAlt || (rightAlt && isLetterOrDigit(record.character))) {
            out.code = record.scanCode << 8;
          } else if (key::keypadCharacter(record.scanCode << 8 | record.character) != 0) {
            out.code = record.scanCode << 8 | record.character;  // the keypad's "*", "-", "+"
          } else {
            out.code = record.character;
            out.fromCharacter = true;
          }
        } else if (record.modifierKey != ModifierKey::None) {
          out.code = 0;
        } else {
          out.code = record.scanCode << 8;
        }
        return true;
      }
      case InputRecord::Kind::Mouse:
        if (record.buttons == 0) {
          s.mouse.left = s.mouse.right = false;
          continue;
        }
        s.lastState = stateOf(record.controlState);
        out = mouseEvent(record);
        return true;
      case InputRecord::Kind::Focus:
        s.lastState = ShiftNone;
        return true;  // held modifiers are forgotten: code 0
      case InputRecord::Kind::Resize:
        if (s.hooks.resize != nullptr) {
          if (s.hooks.resize() == key::Escape) {
            out.code = key::Escape;
            out.fromCharacter = true;
          }
          return true;  // else code 0: the modifier event
        }
        s.resizeRequest = true;
        return true;
      case InputRecord::Kind::Idle:
        out.idle = true;
        return true;
      case InputRecord::Kind::Paste:
        if (!record.keyDown) continue;  // the end of a paste already collected
        collectPaste(s.paste);
        out.paste = true;
        return true;
    }
  }
}

// Steps 4 to 7 for a key that was read from the console; returns 0 when it was consumed.
KeyCode normalise(const EventResult& e) {
  ReaderState& s = reader();
  if (e.paste) return key::Paste;
  KeyCode code = e.code;
  int low = code & 0xFF;
  if (e.mouse && code != 0) {
    if (s.lastState == ShiftCtrl)
      code += 0x0300;
    else if (s.lastState == ShiftAlt)
      code += 0x0700;
    return code;
  }
  if (code == 0) return key::ModifierEvent;  // whatever modifier is held now
  if (!e.fromCharacter && (low == 0 || low == 0xE0)) {
    int modifier = s.lastState == ShiftShift  ? 0x02
                   : s.lastState == ShiftCtrl ? 0x04
                   : s.lastState == ShiftAlt  ? 0x08
                                              : 0x01;
    return ((code >> 8) & 0xFF) | (modifier << 8);
  }
  if (code == key::Tab) {
    if (s.lastState == ShiftShift) return key::ShiftTab;
    if (s.lastState == ShiftCtrl) return key::CtrlTab;
    return code;
  }
  bool ctrlStays = code == 0x40 || (code >= 0x5B && code <= 0x5D) || (code >= 0x7B && code <= 0x7D);
  if (s.lastState == ShiftCtrl && !ctrlStays) code |= 0x0400;
  return code;
}

void startRecording() {
  MacroState& m = reader().macro;
  m.recorded = 0;
  m.length = 0;
  if (reader().hooks.note) reader().hooks.note(TextMacroStarts, NoteUnits);
  m.recording = true;
}

void stopRecording() {
  MacroState& m = reader().macro;
  if (reader().hooks.note) reader().hooks.note(TextMacroEnds, NoteUnits);
  m.recording = false;
  m.length = m.recorded;
}

void startReplay(int count) {
  MacroState& m = reader().macro;
  if (count <= 0) return;
  m.replaying = true;
  m.position = 0;
  m.repeatsLeft = count;
}

bool macroUsable() {
  const MacroState& m = reader().macro;
  if (m.recording || m.replaying || m.length == 0) {
    if (reader().hooks.message) reader().hooks.message(TextMacroNotDefined);
    return false;
  }
  return true;
}

// Global keys; true when the key was consumed here.
bool globalKey(KeyCode code) {
  ReaderState& s = reader();
  switch (code) {
    case 0x0802:  // Alt-1
      if (s.macro.recording)
        stopRecording();
      else if (!s.macro.replaying)
        startRecording();
      return true;
    case 0x0803:  // Alt-2
      if (macroUsable()) {
        int count = s.hooks.replayCount ? s.hooks.replayCount() : 0;
        startReplay(count);
      }
      return true;
    case 0x0804:  // Alt-3
      if (macroUsable()) startReplay(1);
      return true;
    case key::F1:
      if (s.hooks.helpOpen && s.hooks.helpOpen())
        rejectBeep();
      else if (s.hooks.help)
        s.hooks.help();
      return true;
    case 0x0841:  // Alt-F7
      if (!s.ownLayout) return false;
      if (s.hooks.userHook && !s.userHookRunning) {
        s.userHookRunning = true;
        s.hooks.userHook();
        s.userHookRunning = false;
      }
      return true;
    default:
      return false;
  }
}

void record(KeyCode code) {
  MacroState& m = reader().macro;
  if (!m.recording) return;
  if (m.recorded >= MacroCapacity) {
    m.recording = false;
    m.length = MacroCapacity;
    if (reader().hooks.note) reader().hooks.note(TextMacroTooLong, TooLongNoteUnits);
    return;
  }
  m.keys[m.recorded++] = code;
}

// Takes the next key of a running replay; false when the replay ended (or was stopped).
bool replayKey(KeyCode& code) {
  ReaderState& s = reader();
  MacroState& m = s.macro;
  if (!m.replaying || s.replaySuspended) return false;
  if (console().escapePending()) {
    // Escape ends the replay and is consumed with everything before it.
    InputRecord r;
    while (console().readInput(r, 0))
      if (r.kind == InputRecord::Kind::Key && r.keyDown && r.character == 27) break;
    m.replaying = false;
    return false;
  }
  code = m.keys[m.position++];
  if (m.position >= m.length) {
    m.position = 0;
    if (--m.repeatsLeft <= 0) m.replaying = false;
  }
  return true;
}

}  // namespace

KeyCode readKey() {
  ReaderState& s = reader();
  for (;;) {
    KeyCode code;
    if (replayKey(code)) {
      if (screenSaverActive()) {
        screenSaverOff();
        continue;
      }
      noteActivity();
      return code;
    }

    EventResult event;
    InputRecord raw;
    bool gotEvent = readEvent(event, raw);
    if (!gotEvent || event.idle) {
      code = key::IdleEvent;
    } else {
      if (event.code == 0) {
        s.ctrlHeld = s.lastState == ShiftCtrl;
        s.altHeld = s.lastState == ShiftAlt;
        event.mouse = false;
      }
      code = normalise(event);
      if (s.testLogging) {
        logEvent(raw);
        showTestDisplay(code, raw);
      }
      if (event.swallow) continue;
    }

    if (code == key::IdleEvent) {
      if (screenSaverActive()) continue;
      record(code);
      return code;
    }
    if (globalKey(code)) continue;
    if (screenSaverActive()) {
      screenSaverOff();
      continue;
    }
    noteActivity();
    record(code);
    return code;
  }
}

int escapePending() { return console().escapePending() ? 27 : 0; }

KeyCode checkKey() {
  ReaderState& s = reader();
  serviceSignalRequests();
  serviceClock();
  if (escapePending()) {
    s.replaySuspended = true;
    KeyCode code = readKey();
    s.replaySuspended = false;
    return code;
  }
  if (idleTimeExpired()) return key::IdleEvent;
  return 0;
}

KeyCode waitKeyTimeout(int count) {
  for (int i = 0; i < count; ++i) {
    if (KeyCode code = checkKey()) return code;
    pauseUnits(1);
  }
  return 0;
}

void flushInput() { console().flushInput(); }

const PastedText& pastedText() { return reader().paste; }

int altLetter(KeyCode code, bool passThrough) {
  static constexpr std::string_view Letters = "ZYXCVBNMASDFGHJKLQWERTUIOP";
  for (char letter : Letters)
    if (key::alt(letter) == code) return letter;
  return passThrough ? code : 0;
}

int shiftState() { return reader().lastState; }
bool ctrlHeld() { return reader().ctrlHeld; }
bool altHeld() { return reader().altHeld; }

void registerMouseZones(std::span<const MouseZone> zones) {
  ReaderState& s = reader();
  s.zones.assign(zones.begin(), zones.begin() + std::min<std::size_t>(zones.size(), MaxMouseZones));
  int rows = screenRows();
  for (MouseZone& z : s.zones) {
    if (z.y1 == MouseZoneFallback) break;
    if (z.y1 > 100) z.y1 = rows - (z.y1 - 100);
    if (z.y2 > 100) z.y2 = rows - (z.y2 - 100);
  }
}

void clearMouseZones() { reader().zones.clear(); }

std::vector<MouseZone> activeMouseZones() { return reader().zones; }

void restoreMouseZones(std::vector<MouseZone> zones) { reader().zones = std::move(zones); }

void lastClickPosition(int& column, int& row) {
  column = reader().mouse.lastClickColumn;
  row = reader().mouse.lastClickRow;
}

void setDoubleClickTime(int ms) {
  if (ms > 100 && ms < 2000) reader().mouse.doubleClickMs = ms;
}

void setDragThreshold(int columns) { reader().mouse.dragThreshold = columns; }

void setKeyReaderHooks(const KeyReaderHooks& hooks) { reader().hooks = hooks; }
void setOwnKeyboardLayout(bool own) { reader().ownLayout = own; }

bool macroRecording() { return reader().macro.recording; }
bool macroReplaying() { return reader().macro.replaying; }
int macroLength() { return reader().macro.length; }

void setTestLogging(bool on) { reader().testLogging = on; }

bool takeResizeRequest() {
  bool request = reader().resizeRequest;
  reader().resizeRequest = false;
  return request;
}

void resetKeyReader() {
  KeyReaderHooks hooks = reader().hooks;
  reader() = ReaderState{};
  reader().hooks = hooks;
}

}  // namespace corvane
