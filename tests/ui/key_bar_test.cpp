#include "ui/key_bar.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/color.h"
#include "scripted_console.h"
#include "ui/hotkey_label.h"
#include "ui/window.h"

namespace corvane {
namespace {

using KeyBarTest = testing::DialogTest;

TEST(KeyBarRuleTest, FormFollowsTheHeldModifier) {
  FunctionKeyBar bar;
  struct Step {
    bool ctrl, alt;
    KeyBarForm form;
    bool changed;
  } steps[] = {
      {true, false, KeyBarForm::Ctrl, true},    // Ctrl goes down
      {true, false, KeyBarForm::Ctrl, false},   // a key with Ctrl held: the Ctrl bar stays
      {false, false, KeyBarForm::Plain, true},  // released
      {false, true, KeyBarForm::Alt, true},
      {true, false, KeyBarForm::Ctrl, true},  // from Alt straight to Ctrl
      {false, false, KeyBarForm::Plain, true},
      {false, false, KeyBarForm::Plain, false},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(followModifiers(bar, s.ctrl, s.alt), s.changed);
    EXPECT_EQ(bar.form, s.form);
  }
  EXPECT_EQ(keyBarText(bar), PanelBarPlain);
}

TEST(KeyBarRuleTest, BarSlotsStartAtFixedPositions) {
  // Every slot of the three panel bars starts at the same cell, so switching forms never moves
  // a key label.
  for (std::string_view bar : {PanelBarPlain, PanelBarCtrl, PanelBarAlt}) {
    std::string shown;
    for (std::size_t i = 0; i < bar.size(); ++i)
      if (bar[i] != '^') shown += bar[i];
    const std::size_t slots[] = {1, 9, 17, 24, 31, 38, 47, 55, 64, 73};
    for (int key = 1; key <= 10; ++key)
      EXPECT_EQ(shown.find(std::to_string(key), key == 10 ? 70 : 0), slots[key - 1]) << bar;
    EXPECT_EQ(shown.size(), 79u);
  }
}

TEST_F(KeyBarTest, HoldingCtrlSwitchesTheBarAtOnceAndReleasingBringsThePlainOneBack) {
  WindowHandle panel, barWindow;
  ASSERT_EQ(openWindow(barWindow, 1, 25, 80, 1, 0x30, 0x30, 0), 0);
  ASSERT_EQ(openWindow(panel, 1, 2, 80, 20, 0x17, 0x1E, WindowDouble | WindowClear), 0);
  windowCursor(5, 6);
  FunctionKeyBar bar;
  bar.window = barWindow.get();
  drawFunctionKeyBar(bar);
  EXPECT_EQ(screen_.shownRow(24).substr(0, 14), " 1Help   2Menu");
  EXPECT_EQ(screen_.shownAt(1, 24).attr, color(ColorHotkey));
  EXPECT_EQ(screen_.shownAt(2, 24).attr, 0x30);
  EXPECT_EQ(currentWindow(), panel.get());  // drawing the bar leaves the current window
  EXPECT_EQ(screen_.cursorColumn, 5);

  screen_.pushModifier(ModifierKey::Control);
  screen_.pushKey(key::fkey(3, key::ModCtrl));
  screen_.pushModifier(ModifierKey::Control, false);
  EXPECT_EQ(readKey(), key::ModifierEvent);
  EXPECT_TRUE(followModifiers(bar));
  EXPECT_EQ(screen_.shownRow(24).substr(0, 14), " 1Left   2Auto");
  EXPECT_EQ(readKey(), key::fkey(3, key::ModCtrl));
  EXPECT_FALSE(followModifiers(bar));
  EXPECT_EQ(readKey(), key::ModifierEvent);
  EXPECT_TRUE(followModifiers(bar));
  EXPECT_EQ(screen_.shownRow(24).substr(0, 14), " 1Help   2Menu");
  // "^1^0": both digits of the last slot highlighted, the row padded to the window's width.
  std::string row = screen_.shownRow(24);
  std::size_t quit = row.find("10Quit");
  ASSERT_NE(quit, std::string::npos);
  EXPECT_EQ(screen_.shownAt(static_cast<int>(quit), 24).attr, color(ColorHotkey));
  EXPECT_EQ(screen_.shownAt(static_cast<int>(quit) + 1, 24).attr, color(ColorHotkey));
  EXPECT_EQ(screen_.shownAt(static_cast<int>(quit) + 2, 24).attr, 0x30);
  EXPECT_EQ(screen_.shownAt(79, 24).ch, U' ');
}

TEST_F(KeyBarTest, XtreeBarHasTwoLines) {
  WindowHandle barWindow;
  ASSERT_EQ(openWindow(barWindow, 1, 24, 80, 2, 0x30, 0x30, 0), 0);
  drawKeyBarLines(*barWindow, XtreeBarLines);
  EXPECT_EQ(screen_.shownRow(23).substr(0, 17), " F1=HELP ESC=Quit");
  EXPECT_EQ(screen_.shownRow(24).substr(0, 12), "Att Cop Del ");
  EXPECT_EQ(screen_.shownAt(0, 24).attr, color(ColorHotkey));
}

}  // namespace
}  // namespace corvane
