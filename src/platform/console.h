// The seam between the program and the terminal: console-like input records in, rectangles
// of screen cells out. The terminal back end speaks to a real terminal; the headless back end
// keeps everything in memory for tests.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

struct ScreenImage;

// Control-key bits of a key or mouse record.
enum ControlState : std::uint16_t {
  ControlRightAlt = 0x01,
  ControlLeftAlt = 0x02,
  ControlRightCtrl = 0x04,
  ControlLeftCtrl = 0x08,
  ControlShift = 0x10,
};

// Which modifier key a key record is about (the key itself, not the held state).
enum class ModifierKey : std::uint8_t { None, Shift, Control, Alt };

enum MouseButton : std::uint8_t { MouseLeft = 0x01, MouseRight = 0x02 };

struct InputRecord {
  enum class Kind : std::uint8_t {
    Key,     // a key pressed or released
    Mouse,   // a mouse button pressed, or the mouse moved with a button down
    Focus,   // the terminal gained or lost the focus (held modifiers are forgotten)
    Resize,  // the terminal changed its size
    Idle,    // scripted idle event (headless tests only)
    Paste,   // a bracketed paste begins (keyDown) or ends; its characters come between
  };
  Kind kind = Kind::Key;
  bool keyDown = true;
  std::uint8_t character = 0;  // code page 437 character, 0 when the key has none
  std::uint8_t scanCode = 0;   // PC scan code of the key
  ModifierKey modifierKey = ModifierKey::None;
  std::uint16_t controlState = 0;  // ControlState bits held during the event
  int column = 0, row = 0;         // mouse position, 0-based
  std::uint8_t buttons = 0;        // MouseButton bits down
  bool moved = false;              // mouse moved with a button down
};

class ConsoleBackend {
 public:
  virtual ~ConsoleBackend() = default;

  // Shows the cells of the rectangle (inclusive, 0-based, already clipped to the image).
  virtual void writeRect(const ScreenImage& image, int left, int top, int right, int bottom) = 0;
  // Cursor: shape 0 (20 per cent), 1 (70 per cent), 2 hidden, 3 off the screen.
  virtual void setCursorShape(int shape) = 0;
  virtual void setCursorPosition(int column, int row) = 0;
  virtual void setTitle(std::string_view title) = 0;
  virtual void beep(int frequency, int ticks) = 0;

  // Waits up to timeoutMs (negative: without limit) for one input record; false on timeout
  // or after wake().
  virtual bool readInput(InputRecord& record, int timeoutMs) = 0;
  // Makes a waiting (or the next) readInput return early; callable from any thread. Back ends
  // that never wait (scripted input) need not do anything.
  virtual void wake() {}
  // True when an Escape key press is among the pending input; nothing is consumed.
  virtual bool escapePending() = 0;
  virtual void flushInput() = 0;

  virtual void sleepMs(int ms) = 0;
  virtual std::uint64_t nowMs() = 0;  // monotonic milliseconds
  virtual void terminalSize(int& columns, int& rows) = 0;

  // Around external programs: give the terminal back in its ordinary mode on the user's
  // screen, and take it again afterwards (the next writes must redraw everything).
  virtual void leaveScreen() = 0;
  virtual void enterScreen() = 0;
  // Shows the user's screen from before the start until a key is pressed.
  virtual void showUserScreen() = 0;
};

// The active back end; start-up installs the terminal one, tests the headless one.
ConsoleBackend& console();
bool hasConsole();
void setConsole(ConsoleBackend* backend);

}  // namespace corvane
