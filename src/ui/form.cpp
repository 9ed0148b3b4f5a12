#include "ui/form.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/line_input.h"
#include "ui/pulldown.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr int FormWindowFlags = WindowClear | WindowShadow | WindowSingle;
// Text and number fields: history mode, ending on Up and Down, starting at the beginning.
constexpr int FormFieldFlags = LineInputHistory | LineInputVertical | 0x02;
// Mouse zones of list and form items.
constexpr KeyCode ItemZoneBase = 0x0500;
// The zones on the last item row, in window columns (the first match wins where they meet).
struct KeyLineZone {
  int first, last;
  KeyCode code;
};
constexpr KeyLineZone KeyLineZones[] = {
    {1, 11, key::Enter}, {12, 18, key::Tab}, {22, 35, key::ShiftTab}, {35, 41, key::Escape}};

bool isField(FormItemType type) { return type == FormText || type == FormNumber; }
bool holdsFocus(FormItemType type) { return type != FormStatic && type != FormSeparator; }
bool hasValue(FormItemType type) { return isField(type) || type == FormSwitch; }

// The direction a key moves the focus in: back for Shift-Tab, Up and End, else forward.
// Home, which goes to the first item, passes a static first item forwards.
int directionOf(KeyCode key) {
  return key == key::ShiftTab || key == key::Up || key == key::End ? -1 : 1;
}

std::string switchText(const FormItem& item) {
  bool on = item.flag != nullptr && *item.flag != 0;
  return textf(FormSwitchFormat, on ? FormSwitchYes : FormSwitchNo);
}

std::string buttonText(const FormItem& item) {
  std::string label(item.label);
  return textf(FormButtonFormat, label.c_str());
}

// The form while it runs.
struct RunningForm {
  std::span<const FormItem> items;
  FormLayout layout;
  ScreenWindow* window = nullptr;

  int count() const { return static_cast<int>(items.size()); }
  int lastColumn() const { return windowLastColumn(*window); }
  int fieldWidth() const { return std::max(lastColumn() - layout.valueColumn + 1, 1); }

  // A label is a hotkey label: its first caret is not shown.
  static void drawLabel(const FormItem& item, int labelWidth, int row) {
    writeText(item.label, labelWidth + 1, 1, row, WriteHotkey);
  }

  void drawItem(int index) const {
    const FormItem& item = items[static_cast<std::size_t>(index)];
    const int row = index + 1;
    const int labelWidth = lastColumn() - 1;
    switch (item.type) {
      case FormSeparator:
        separatorLine(window, 0, row);
        break;
      case FormButton:
        writeText(buttonText(item), labelWidth, 1, row);
        break;
      case FormStatic:
        drawLabel(item, labelWidth, row);
        break;
      case FormSwitch:
        drawLabel(item, labelWidth, row);
        writeText(switchText(item), 4, layout.valueColumn, row);
        break;
      case FormText:
      case FormNumber:
        drawLabel(item, labelWidth, row);
        writeText(item.text ? std::string_view(*item.text) : std::string_view(), fieldWidth() - 1,
                  layout.valueColumn, row, WritePad);
        break;
    }
  }

  void drawAll() const {
    raiseHold(1);
    for (int i = 0; i < count(); ++i) drawItem(i);
    if (lowerHold(1) == 0) flushWindowRect(window->x, window->y, window->width, window->height);
  }

  void clearInterior() const {
    raiseHold(1);
    for (int row = 1; row <= windowLastRow(*window); ++row)
      writeText({}, lastColumn() - 1, 1, row, WritePad);
    lowerHold(1);
  }

  void registerZones() const {
    std::vector<MouseZone> zones;
    const int left = window->x, right = window->x + window->width - 1;
    for (int i = 0; i < count(); ++i) {
      if (!holdsFocus(items[static_cast<std::size_t>(i)].type)) continue;
      MouseZone zone;
      zone.x1 = left;
      zone.x2 = right;
      zone.y1 = zone.y2 = windowScreenRow(*window, i + 1);
      zone.leftCode = ItemZoneBase + i;
      zones.push_back(zone);
    }
    for (const KeyLineZone& k : KeyLineZones) {
      MouseZone zone;
      zone.x1 = windowScreenColumn(*window, k.first);
      zone.x2 = windowScreenColumn(*window, k.last);
      zone.y1 = zone.y2 = windowScreenRow(*window, count());
      zone.leftCode = k.code;
      zones.push_back(zone);
    }
    registerMouseZones(zones);
  }

  bool anyFocusable() const {
    return std::any_of(items.begin(), items.end(),
                       [](const FormItem& item) { return holdsFocus(item.type); });
  }

  int step(int index, int direction) const { return (index + direction + count()) % count(); }
};

// Reads keys while the focus is on a switch: Space toggles it; any other key ends.
KeyCode editSwitch(const RunningForm& form, int index) {
  const FormItem& item = form.items[static_cast<std::size_t>(index)];
  for (;;) {
    windowCursor(form.layout.valueColumn + 1, index + 1);
    setCursorShape(CursorSmall);
    KeyCode key = readKey();
    if (key != key::Space) return key;
    if (item.flag) *item.flag = *item.flag ? 0 : 1;
    form.drawItem(index);
  }
}

// What happened on a button: the key that ended it, or a request of its handler.
struct ButtonOutcome {
  KeyCode key = 0;
  bool close = false;
  bool restart = false;
};

ButtonOutcome editButton(const RunningForm& form, int index) {
  const FormItem& item = form.items[static_cast<std::size_t>(index)];
  for (;;) {
    windowCursor(1, index + 1);
    setCursorShape(CursorSmall);
    KeyCode key = readKey();
    if (key != key::Enter) return {.key = key};
    int result = item.handler ? item.handler(item.label, index) : ButtonStay;
    activateWindow(*form.window);
    if (result == ButtonRestartForm) form.clearInterior();
    form.drawAll();
    if (result == ButtonCloseForm) return {.close = true};
    if (result == ButtonRestartForm) return {.restart = true};
  }
}

KeyCode editField(const RunningForm& form, int index) {
  const FormItem& item = form.items[static_cast<std::size_t>(index)];
  if (item.text == nullptr) return readKey();
  const int savedClass = characterClass();
  if (item.type == FormNumber) setCharacterClass(CharacterClassDigits);
  int cursor = 0;
  KeyCode key = lineInput(form.layout.valueColumn, index + 1, form.fieldWidth(), *item.text,
                          item.maxLength, FormFieldFlags, cursor);
  setCharacterClass(savedClass);
  form.drawItem(index);  // the value from its start again, also when it was scrolled
  // A typed character the field does not take (a letter in a number field) ends the line
  // input; it changes nothing.
  if (key >= 0 && key <= 0xFF && key != key::Enter && key != key::Escape && key != key::Tab)
    rejectBeep();
  return key;
}

}  // namespace

FormLayout layoutForm(const FormDescriptor& form) {
  FormLayout layout;
  layout.valueColumn = std::max(form.valueColumn, 1);
  for (const FormItem& item : form.items) {
    // A label as long as the value column would lose its last character under the value.
    int cells = menuLabelCells(item.label);
    if (hasValue(item.type) && cells >= layout.valueColumn) layout.valueColumn = cells + 3;
  }
  int inner = std::max(form.width, 0);
  for (const FormItem& item : form.items) {
    switch (item.type) {
      case FormStatic:
      case FormSeparator:
        inner = std::max(inner, menuLabelCells(item.label));
        break;
      case FormButton:
        inner = std::max(inner, textCells(buttonText(item)));
        break;
      case FormSwitch:
        // "[YES]" from the value column up to the last interior column (inner + 1).
        inner = std::max(inner, layout.valueColumn + 3);
        break;
      case FormText:
      case FormNumber:
        inner = std::max(inner, layout.valueColumn);
        break;
    }
  }
  const int columns = screenColumns();
  layout.innerWidth = std::min(inner, columns - 4);
  layout.x = std::max(std::min(form.x, columns - layout.innerWidth - 3), 1);
  return layout;
}

FormDescriptor centredForm(int width, std::string_view title, std::span<const FormItem> items) {
  FormDescriptor form;
  form.width = width;
  form.x = std::max((screenColumns() - width - 3) / 2 + 1, 1);
  form.y = std::max(screenRows() / 2 - (static_cast<int>(items.size()) + 2) / 2, 1);
  form.title = title;
  form.items = items;
  return form;
}

int runForm(const FormDescriptor& form) {
  RunningForm running{.items = form.items, .layout = layoutForm(form)};
  if (form.items.empty()) return FormCancelled;

  SavedMouseZones callerZones;  // put back when the form ends
  ScopedWindow window;
  const ColorAttr attr = color(ColorLineeditor);
  if (window.open(running.layout.x, form.y, running.layout.innerWidth + 3, running.count() + 2,
                  attr, attr, FormWindowFlags, form.title) != 0)
    return FormCancelled;
  running.window = window.get();
  running.drawAll();

  int result = -1;
  if (!running.anyFocusable()) {
    clearMouseZones();
    while (result < 0) {
      KeyCode key = readKey();
      if (key == key::Enter || key == key::Escape) result = key;
    }
    return result;
  }

  int focus = 0;
  KeyCode arrivedBy = 0;  // the key that moved the focus to the item
  while (result < 0) {
    const FormItem& item = running.items[static_cast<std::size_t>(focus)];
    if (!holdsFocus(item.type)) {
      focus = running.step(focus, directionOf(arrivedBy));
      continue;
    }
    running.registerZones();
    setHelpContext(item.helpContext);

    KeyCode key = 0;
    if (item.type == FormSwitch) {
      key = editSwitch(running, focus);
    } else if (item.type == FormButton) {
      ButtonOutcome outcome = editButton(running, focus);
      if (outcome.close) {
        result = FormCancelled;
        break;
      }
      if (outcome.restart) {
        focus = 0;
        arrivedBy = 0;
        continue;
      }
      key = outcome.key;
    } else {
      key = editField(running, focus);
    }

    switch (key) {
      case key::Enter:
      case key::Escape:
        result = key;
        break;
      case key::Tab:
      case key::Down:
        focus = running.step(focus, 1);
        arrivedBy = key;
        break;
      case key::ShiftTab:
      case key::Up:
        focus = running.step(focus, -1);
        arrivedBy = key;
        break;
      case key::Home:
        focus = 0;
        arrivedBy = key;
        break;
      case key::End:
        focus = running.count() - 1;
        arrivedBy = key;
        break;
      default:
        if (key >= ItemZoneBase && key < ItemZoneBase + running.count()) {
          focus = key - ItemZoneBase;
          arrivedBy = key;
          const FormItem& clicked = running.items[static_cast<std::size_t>(focus)];
          if (clicked.type == FormSwitch && clicked.flag) {
            *clicked.flag = *clicked.flag ? 0 : 1;
            running.drawItem(focus);
          }
        }
        break;
    }
  }
  setCursorShape(CursorHidden);
  return result;
}

}  // namespace corvane
