#include "ui/key_bar.h"

#include <algorithm>

#include "platform/charset.h"
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

std::vector<MouseZone> keyBarZones(const ScreenWindow& window, std::string_view bar) {
  // Slot starts: every caret-marked digit that is not the "0" of "^1^0".
  std::vector<int> starts;
  int cell = 0;
  bool afterOne = false;
  for (std::size_t pos = 0; pos < bar.size();) {
    if (bar[pos] == '^' && pos + 1 < bar.size()) {
      const char digit = bar[pos + 1];
      if (digit >= '0' && digit <= '9' && !(digit == '0' && afterOne)) starts.push_back(cell + 1);
      afterOne = digit == '1';
      pos += 2;
      ++cell;
      continue;
    }
    afterOne = false;
    char32_t ch;
    pos += decodeChar(bar, pos, ch);
    ++cell;
  }
  std::vector<MouseZone> zones;
  const int end = std::max(cell, windowLastColumn(window));
  for (std::size_t i = 0; i < starts.size() && i < 10; ++i) {
    const int next = i + 1 < starts.size() ? starts[i + 1] : end + 1;
    zones.push_back(
        windowZone(window, starts[i], next - starts[i], 1, key::fkey(static_cast<int>(i) + 1)));
  }
  return zones;
}

}  // namespace corvane
