// The key reader: console input records become key codes; mouse clicks become the codes of
// registered zones; macros are recorded and replayed; a few global keys are handled before
// any dialogue sees them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keycodes.h"

namespace corvane {

// Blocks until there is a key; the only blocking input function.
KeyCode readKey();
// 27 when an Escape press is among the pending input (nothing consumed), else 0.
int escapePending();
// For long operations: the next key when Escape is pending (macro replay suspended), else
// the idle event when the idle time has run out, else 0.
KeyCode checkKey();
// checkKey up to count times with 32 ms pauses; the first non-zero result, or 0.
KeyCode waitKeyTimeout(int count);
// Discards all pending input.
void flushInput();

// The text of the last key::Paste: its code page 437 characters (line breaks dropped, tabs
// as blanks), at most PasteKeepLimit of them; cut tells that there were more.
constexpr std::size_t PasteKeepLimit = 65536;
struct PastedText {
  std::string characters;
  bool cut = false;
};
const PastedText& pastedText();

// The letter of an Alt key code (German positions: 0x0815 is 'Z'), 0 for other codes or
// the code itself with passThrough.
int altLetter(KeyCode code, bool passThrough = false);

// ShiftState: 4 Ctrl, else 8 Alt, else 1 Shift, else 0.
enum ShiftState : int { ShiftNone = 0, ShiftShift = 1, ShiftCtrl = 4, ShiftAlt = 8 };
int shiftState();
bool ctrlHeld();
bool altHeld();

// Mouse zones. Rows above 100 count from the bottom (row = rows - (value - 100)); a zone
// with y1 == MouseZoneFallback catches clicks outside all zones before it.
constexpr int MouseZoneFallback = 255;
constexpr int MaxMouseZones = 500;
struct MouseZone {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // 0-based screen cells, inclusive
  KeyCode leftCode = 0;                // code of a left click
  KeyCode rightCode = 0;               // code of a right-button drag
  bool disabled = false;
};
// Makes a copy of zones the active table (at most MaxMouseZones entries), converting the
// bottom-relative rows once.
void registerMouseZones(std::span<const MouseZone> zones);
void clearMouseZones();
// The active table as it stands (rows already converted), and putting such a copy back
// unchanged: a nested dialog that registers its own zones restores its caller's afterwards.
std::vector<MouseZone> activeMouseZones();
void restoreMouseZones(std::vector<MouseZone> zones);
// Keeps the caller's zones for a scope (optionally starting with none) and puts them back.
class SavedMouseZones {
 public:
  explicit SavedMouseZones(bool clear = false) : saved_(activeMouseZones()) {
    if (clear) clearMouseZones();
  }
  ~SavedMouseZones() { restoreMouseZones(std::move(saved_)); }
  SavedMouseZones(const SavedMouseZones&) = delete;
  SavedMouseZones& operator=(const SavedMouseZones&) = delete;

 private:
  std::vector<MouseZone> saved_;
};
// The 0-based screen cell of the last mouse click (-1, -1 before the first one).
void lastClickPosition(int& column, int& row);
// Accepted only strictly between 100 and 2000 ms.
void setDoubleClickTime(int ms);
void setDragThreshold(int columns);

// Hooks for the global keys that open dialogs (registered by the layers above).
struct KeyReaderHooks {
  void (*help)() = nullptr;        // F1: help for the current window's context
  bool (*helpOpen)() = nullptr;    // while help is open, F1 only beeps
  int (*replayCount)() = nullptr;  // Alt-2: asks "Replay: ", returns the count
  void (*note)(std::string_view text, int units) = nullptr;  // timed note (units of 32 ms)
  void (*message)(std::string_view text) = nullptr;          // message box
  void (*userHook)() = nullptr;                              // Alt-F7 with the own keyboard layout
  // The terminal changed its size: the screen follows it. Returns the code the reader gives
  // for it, the modifier event or Esc. Without a hook the reader gives the modifier event and
  // notes a resize request.
  KeyCode (*resize)() = nullptr;
};
void setKeyReaderHooks(const KeyReaderHooks& hooks);
// The own (CORVANE) keyboard layout is active: Alt-F7 calls the user hook.
void setOwnKeyboardLayout(bool own);

// Macros.
constexpr int MacroCapacity = 512;
bool macroRecording();
bool macroReplaying();
int macroLength();

// Test logging ("/TST"): key and mouse events appended to the logs and shown on screen.
void setTestLogging(bool on);

// A resize of the terminal was seen, without a resize hook, since the last call (the command
// loop rebuilds).
bool takeResizeRequest();

// Back to the start state (tests).
void resetKeyReader();

}  // namespace corvane
