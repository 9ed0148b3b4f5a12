// Console input records as the program's input records (the self-test reads real ones).
#include <gtest/gtest.h>

#include "platform/win32/win_console.h"

namespace corvane {
namespace {

INPUT_RECORD mouseRecord(DWORD buttons, DWORD flags, SHORT x, SHORT y) {
  INPUT_RECORD record{};
  record.EventType = MOUSE_EVENT;
  record.Event.MouseEvent.dwButtonState = buttons;
  record.Event.MouseEvent.dwEventFlags = flags;
  record.Event.MouseEvent.dwMousePosition = COORD{x, y};
  return record;
}

TEST(WinInputTest, MouseWheelAndWindowRecords) {
  InputRecord out;
  int repeat = 0;
  ASSERT_TRUE(translateInputRecord(mouseRecord(FROM_LEFT_1ST_BUTTON_PRESSED, 0, 7, 3), out, repeat));
  EXPECT_EQ(out.kind, InputRecord::Kind::Mouse);
  EXPECT_EQ(out.column, 7);
  EXPECT_EQ(out.row, 3);
  EXPECT_EQ(out.buttons, MouseLeft);
  EXPECT_FALSE(out.moved);
  ASSERT_TRUE(translateInputRecord(
      mouseRecord(RIGHTMOST_BUTTON_PRESSED, MOUSE_MOVED, 1, 1), out, repeat));
  EXPECT_EQ(out.buttons, MouseRight);
  EXPECT_TRUE(out.moved);
  EXPECT_FALSE(translateInputRecord(mouseRecord(0, MOUSE_MOVED, 1, 1), out, repeat));

  ASSERT_TRUE(translateInputRecord(mouseRecord(static_cast<DWORD>(-120) << 16, MOUSE_WHEELED, 0, 0),
                                   out, repeat));
  EXPECT_EQ(out.kind, InputRecord::Kind::Key);
  EXPECT_EQ(out.scanCode, 0x50);  // Down
  EXPECT_EQ(repeat, 3);
  ASSERT_TRUE(translateInputRecord(mouseRecord(120u << 16, MOUSE_WHEELED, 0, 0), out, repeat));
  EXPECT_EQ(out.scanCode, 0x48);  // Up

  INPUT_RECORD size{};
  size.EventType = WINDOW_BUFFER_SIZE_EVENT;
  ASSERT_TRUE(translateInputRecord(size, out, repeat));
  EXPECT_EQ(out.kind, InputRecord::Kind::Resize);
  INPUT_RECORD focus{};
  focus.EventType = FOCUS_EVENT;
  focus.Event.FocusEvent.bSetFocus = FALSE;
  ASSERT_TRUE(translateInputRecord(focus, out, repeat));
  EXPECT_EQ(out.kind, InputRecord::Kind::Focus);
  INPUT_RECORD menu{};
  menu.EventType = MENU_EVENT;
  EXPECT_FALSE(translateInputRecord(menu, out, repeat));
}

TEST(WinInputTest, ModifierKeysAndHeldStateComeThrough) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = FALSE;
  record.Event.KeyEvent.wVirtualKeyCode = VK_CONTROL;
  record.Event.KeyEvent.dwControlKeyState = RIGHT_CTRL_PRESSED | SHIFT_PRESSED | NUMLOCK_ON;
  InputRecord out;
  int repeat = 0;
  ASSERT_TRUE(translateInputRecord(record, out, repeat));
  EXPECT_FALSE(out.keyDown);
  EXPECT_EQ(out.modifierKey, ModifierKey::Control);
  EXPECT_EQ(out.controlState, ControlRightCtrl | ControlShift);
  // A key that carries nothing the program knows.
  record.Event.KeyEvent.bKeyDown = TRUE;
  record.Event.KeyEvent.wVirtualKeyCode = VK_APPS;
  record.Event.KeyEvent.dwControlKeyState = 0;
  EXPECT_FALSE(translateInputRecord(record, out, repeat));
  // Key repeats arrive as one record with a count.
  record.Event.KeyEvent.wVirtualKeyCode = VK_DOWN;
  record.Event.KeyEvent.wRepeatCount = 4;
  ASSERT_TRUE(translateInputRecord(record, out, repeat));
  EXPECT_EQ(out.scanCode, 0x50);
  EXPECT_EQ(repeat, 4);
}

}  // namespace
}  // namespace corvane
