// The function-key bars at the bottom of the screen and the rule that switches a bar to its
// Ctrl or Alt form while that key is held.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "platform/keyboard.h"

namespace corvane {

struct ScreenWindow;

// Ten slots for F1..F10, each a caret-marked digit and a label; F10 is "^1^0".
constexpr std::string_view PanelBarPlain =
    " ^1Help   ^2Menue  ^3View  ^4Edit  ^5Copy  ^6RenMov  ^7MkDir  ^8Delete  ^9PullDn  ^1^0Quit";
constexpr std::string_view PanelBarCtrl =
    " ^1Left   ^2Autovw ^3Name  ^4Exten ^5Time  ^6Size    ^7Unsort ^8Display ^9Print   ^1^0FKey";
constexpr std::string_view PanelBarAlt =
    " ^1FDispla^2Drive  ^3View  ^4Bearb ^5Compr ^6Decompr ^7Search ^8Stack   ^9Director^1^0Tree";

// The two-line letter bar of the panels in the XTREE keyboard layout.
constexpr std::string_view XtreeBarTop =
    " F1=HELP ESC=Quit            *,SPACE,SH_F3, Mas^k, ^Print ,#,.,CTR^L-,    Insert";
constexpr std::string_view XtreeBarBottom =
    "^Att ^Cop ^Del ^Ed ^Fed ^Go f^Ind ^Move I^nv c^Om ^Qck ^Ren ^Sel ^Tree ^Unsel ^View ^Word "
    "e^Xe";
constexpr std::string_view XtreeBarLines[] = {XtreeBarTop, XtreeBarBottom};

struct KeyBarTexts {
  std::string_view plain, ctrl, alt;
};
constexpr KeyBarTexts PanelKeyBar{PanelBarPlain, PanelBarCtrl, PanelBarAlt};

enum class KeyBarForm { Plain, Ctrl, Alt };

// A bar that follows the held modifier keys. The screen that shows it calls followModifiers
// after every key it reads (the key reader returns 0x0100 at each modifier change, so the
// bar switches at once).
struct FunctionKeyBar {
  KeyBarTexts texts = PanelKeyBar;
  ScreenWindow* window = nullptr;  // the bar window on the bottom line
  KeyBarForm form = KeyBarForm::Plain;
};

// Sets the form for the modifiers held now: Ctrl, else Alt, else plain (a bar keeps its Ctrl
// form while keys with Ctrl keep arriving). Returns true when the form changed.
bool followModifiers(FunctionKeyBar& bar, bool ctrlNow, bool altNow);
// The same with the key reader's ctrlHeld() / altHeld(); redraws the bar when it changed.
bool followModifiers(FunctionKeyBar& bar);

std::string_view keyBarText(const FunctionKeyBar& bar);

// Prints the bar's current form at column 1 of its window (padded to the window's width,
// without wrapping); the current window and the cursor stay as they were.
void drawFunctionKeyBar(const FunctionKeyBar& bar);
// Prints lines of a bar (such as XtreeBarLines) one per row of the window from row 1.
void drawKeyBarLines(ScreenWindow& window, std::span<const std::string_view> lines);

// The zone of each function-key slot of a bar text (" ^1Help   ^2Menue ...") on row 1 of
// the window: from its caret-marked digit to the next slot, giving F1 .. F10.
std::vector<MouseZone> keyBarZones(const ScreenWindow& window, std::string_view bar);

}  // namespace corvane
