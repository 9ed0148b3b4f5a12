#include "ui/key_bar.h"

#include "platform/keyboard.h"
#include "ui/hotkey_label.h"
#include "ui/window.h"

namespace corvane {

bool followModifiers(FunctionKeyBar& bar, bool ctrlNow, bool altNow) {
  // The form follows what is held now, not the change since the last key: going back to the
  // plain form whenever a modifier was held before would show the plain bar while Ctrl is
  // still down after the first Ctrl key.
  KeyBarForm form = ctrlNow ? KeyBarForm::Ctrl : altNow ? KeyBarForm::Alt : KeyBarForm::Plain;
  if (form == bar.form) return false;
  bar.form = form;
  return true;
}

bool followModifiers(FunctionKeyBar& bar) {
  if (!followModifiers(bar, ctrlHeld(), altHeld())) return false;
  drawFunctionKeyBar(bar);
  return true;
}

std::string_view keyBarText(const FunctionKeyBar& bar) {
  switch (bar.form) {
    case KeyBarForm::Ctrl:
      return bar.texts.ctrl;
    case KeyBarForm::Alt:
      return bar.texts.alt;
    case KeyBarForm::Plain:
      break;
  }
  return bar.texts.plain;
}

void drawKeyBarLines(ScreenWindow& window, std::span<const std::string_view> lines) {
  if (!window.visible) return;
  CurrentWindowScope scope(window);
  int width = windowLastColumn(window);
  int row = 1;
  for (std::string_view line : lines) {
    if (row > windowLastRow(window)) break;
    printHotkeyLabel(1, width - 1, row++, line, LabelPad | LabelNoWrap);
  }
}

void drawFunctionKeyBar(const FunctionKeyBar& bar) {
  if (bar.window == nullptr) return;
  std::string_view text = keyBarText(bar);
  drawKeyBarLines(*bar.window, std::span<const std::string_view>(&text, 1));
}

}  // namespace corvane
