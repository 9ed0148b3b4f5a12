#include "config/color_dialog.h"

#include <string>

#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/hotkey_label.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int ColorBoxFlags = WindowClear | WindowShadow | WindowSingle;
constexpr int ColorBoxExtraRows = 3;
constexpr int ColorCount = 16;

int wrapped(int colour) { return (colour + ColorCount) % ColorCount; }

// The box in the colour being edited, opened afresh for each colour.
void showColorBox(ScopedWindow& box, int foreground, int background) {
  const std::string text = textf(
      FormatColorDialog, std::string(ColorNames[static_cast<std::size_t>(foreground)]).c_str(),
      std::string(ColorNames[static_cast<std::size_t>(background)]).c_str(),
      std::string(TextColorHelp).c_str());
  const BoxLayout layout = layoutBox(text, ColorBoxExtraRows);
  const ColorAttr attr = static_cast<ColorAttr>(background * ColorCount + foreground);
  freeWindow(box.handle());
  if (box.open(layout.x, layout.y, layout.width, layout.height, attr, attr, ColorBoxFlags) != 0)
    return;
  printHotkeyLabel(1, windowLastColumn(*box) - 1, 1, text);
}

}  // namespace

bool editColor(ColorSlot slot) {
  const ColorAttr current = color(slot);
  int foreground = current & 0x0F, background = current >> 4;
  ScopedWindow box;
  SavedMouseZones callerZones(true);
  for (;;) {
    showColorBox(box, foreground, background);
    switch (readKey()) {
      case key::Up:
        foreground = wrapped(foreground - 1);
        break;
      case key::Down:
        foreground = wrapped(foreground + 1);
        break;
      case key::Left:
        background = wrapped(background - 1);
        break;
      case key::Right:
        background = wrapped(background + 1);
        break;
      case key::Enter:
        colorSlots()[slot] = static_cast<ColorAttr>(background * ColorCount + foreground);
        return true;
      case key::Escape:
        return false;
      case key::ModifierEvent:
      case key::IdleEvent:
        break;
      default:
        rejectBeep();
        break;
    }
  }
}

bool setColorSet(ColorSet set) {
  if (question(QuestionDefaultNo, TextExecuteFunction) != QuestionYes) return false;
  if (set == ColorSet::Default) {
    loadDefaultColors();
  } else {
    loadMonochromeColors();
  }
  return true;
}

}  // namespace corvane
