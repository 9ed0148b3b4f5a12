#include "ui/boxes.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/charset.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "ui/hotkey_label.h"
#include "ui/ui_state.h"

namespace corvane {
namespace {

struct BoxStyle {
  int extraRows;
  ColorSlot color;
  int flags;
};
constexpr BoxStyle MessageStyle{4, ColorMessageWindow, WindowClear | WindowShadow | WindowBlock};
constexpr BoxStyle InfoStyle{3, ColorInfoWindow, WindowClear | WindowShadow | WindowSingle};
constexpr BoxStyle QuestionStyle{4, ColorQuestionWindow, WindowClear | WindowShadow | WindowSingle};
constexpr BoxStyle ButtonStyle{5, ColorQuestionWindow, WindowClear | WindowShadow | WindowSingle};

constexpr int ErrorWindowFlags = WindowClear | WindowShadow | WindowSingle | WindowKeepCursor;

WindowHandle& errorHandle() { return uiState().errorWindow; }

// The box text, cut to a screenful (rows x columns bytes) without splitting a character.
std::string boxText(std::string_view text) {
  std::size_t limit = static_cast<std::size_t>(screenRows()) * screenColumns();
  return std::string(text.substr(0, fittingPrefix(text, limit)));
}

int centredX(int width) { return std::max((screenColumns() - width) / 2, 1); }

int openBox(WindowHandle& handle, std::string_view text, const BoxStyle& style, int minWidth = 0) {
  BoxLayout layout = layoutBox(text, style.extraRows);
  if (layout.width < minWidth) {
    layout.width = minWidth + 2;
    layout.x = centredX(layout.width);
  }
  ColorAttr attr = color(style.color);
  if (openWindow(handle, layout.x, layout.y, layout.width, layout.height, attr, attr,
                 style.flags) != 0)
    return -1;
  printHotkeyLabel(1, windowLastColumn(*handle) - 1, 1, text);
  return 0;
}

}  // namespace

KeyCode readRealKey() {
  for (;;) {
    KeyCode key = readKey();
    if (key != key::ModifierEvent && key != key::IdleEvent) return key;
  }
}

namespace {

// Prints a button label at (column, row) of the current window, in the Select files colour
// when selected.
void drawButton(ScreenWindow& window, int column, int row, std::string_view label, bool selected) {
  ColorAttr saved = window.textColor;
  if (selected) window.textColor = color(ColorSelectFiles);
  printHotkeyLabel(column, labelCells(label) - 1, row, label, LabelNoWrap);
  window.textColor = saved;
}

}  // namespace

BoxLayout layoutBox(std::string_view text, int extraRows) {
  BoxLayout layout;
  int longest = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    bool lineFeed = end != std::string_view::npos;
    if (!lineFeed) end = text.size();
    longest = std::max(longest, textCells(text.substr(start, end - start)) + (lineFeed ? 1 : 0));
    if (!lineFeed) break;
    ++layout.lineFeeds;
    start = end + 1;
  }
  layout.longestLine = longest + 1;
  layout.width = layout.longestLine <= 30 ? 30 : layout.longestLine + 2;
  layout.height = layout.lineFeeds + extraRows;
  layout.x = centredX(layout.width);
  layout.y =
      layout.height + 15 < screenRows() ? 15 : std::max((screenRows() - layout.height) / 2, 1);
  return layout;
}

KeyCode messageBox(std::string_view text) {
  std::string body = boxText(text);
  ScopedWindow box;
  if (openBox(box.handle(), body, MessageStyle) != 0) return 0;
  int interior = windowLastColumn(*box);
  int cells = static_cast<int>(PressAnyKeyText.size());
  printHotkeyLabel(std::max((interior - cells) / 2 + 1, 1), cells - 1, box->height - 2,
                   PressAnyKeyText, LabelNoWrap);
  // The box reads keys with its own zones; the caller's come back when it ends.
  SavedMouseZones callerZones(true);
  return readRealKey();
}

int openInfoWindow(WindowHandle& handle, std::string_view text) {
  freeWindow(handle);  // a closed box of an earlier text is not shown again
  return openBox(handle, boxText(text), InfoStyle);
}

void closeInfoWindow(WindowHandle& handle) { freeWindow(handle); }

void timedNote(std::string_view text, int units) {
  WindowHandle note;
  if (openInfoWindow(note, text) != 0) return;
  pauseUnits(units);
  closeInfoWindow(note);
}

int question(int defaultAnswer, std::string_view text) {
  std::string body = boxText(text);
  ScopedWindow box;
  if (openBox(box.handle(), body, QuestionStyle) != 0) return 0;
  const int savedShape = cursorShape();
  setCursorShape(CursorHidden);
  ScreenWindow& window = *box;
  const int row = window.height - 2;
  const int noColumn = std::max(window.width - 18, 1);
  const int yesColumn = std::max(window.width - 8, 1);
  // The zones leave out the last two characters of each button text.
  const MouseZone zones[] = {
      windowZone(window, noColumn, static_cast<int>(QuestionNoButton.size()) - 2, row, QuestionNo),
      windowZone(window, yesColumn, static_cast<int>(QuestionYesButton.size()) - 2, row,
                 QuestionYes),
  };
  SavedMouseZones callerZones(true);

  bool yes = defaultAnswer != 0;
  int answer = -1;
  while (answer < 0) {
    drawButton(window, noColumn, row, QuestionNoButton, !yes);
    drawButton(window, yesColumn, row, QuestionYesButton, yes);
    registerMouseZones(zones);
    KeyCode key = readKey();
    switch (key) {
      case key::Left:
      case key::Right:
        yes = !yes;
        break;
      case 'Y':
      case 'y':
        answer = QuestionYes;
        break;
      case 'N':
      case 'n':
        answer = QuestionNo;
        break;
      case key::Enter:
        answer = yes ? QuestionYes : QuestionNo;
        break;
      case key::Escape:
        answer = 0;
        break;
      default:
        break;
    }
  }
  setCursorShape(savedShape);
  return answer;
}

ButtonLine parseButtonLine(std::string_view line) {
  ButtonLine buttons;
  int letters = 0, opened = 0, closed = 0;
  int cell = 0;
  for (std::size_t pos = 0; pos < line.size();) {
    if (line[pos] == '^' && pos + 1 < line.size()) {
      if (letters < MaxButtons)
        buttons.letters[letters++] = static_cast<unsigned char>(line[pos + 1]) & ~0x20;
      ++pos;  // the marked character follows and takes the cell
    }
    if (line[pos] == '<' && opened < MaxButtons) {
      buttons.first[opened] = cell;
      buttons.textBegin[opened++] = pos;
    } else if (line[pos] == '>' && closed < opened) {
      buttons.last[closed] = cell;
      buttons.textEnd[closed++] = pos + 1;
    }
    char32_t ch;
    pos += decodeChar(line, pos, ch);
    cell += charCells(ch);
  }
  buttons.count = std::min(letters, closed);
  buttons.cells = cell;
  return buttons;
}

int buttonBox(std::string_view buttonLine, std::string_view text) {
  const ButtonLine buttons = parseButtonLine(buttonLine);
  std::string body = boxText(text);
  ScopedWindow box;
  if (openBox(box.handle(), body, ButtonStyle, buttons.cells) != 0) return 0;
  ScreenWindow& window = *box;
  const int row = window.height - 2;
  separatorLine(&window, 0, window.height - 3);

  MouseZone zones[MaxButtons];
  for (int i = 0; i < buttons.count; ++i)
    zones[i] = windowZone(window, 1 + buttons.first[i], buttons.last[i] - buttons.first[i] + 1, row,
                          buttons.letters[i]);
  SavedMouseZones callerZones(true);

  int selected = 0;
  for (;;) {
    drawButton(window, 1, row, buttonLine, false);
    if (buttons.count > 0) {
      std::string_view chosen = buttonLine.substr(
          buttons.textBegin[selected], buttons.textEnd[selected] - buttons.textBegin[selected]);
      drawButton(window, 1 + buttons.first[selected], row, chosen, true);
    }
    registerMouseZones(std::span<const MouseZone>(zones, static_cast<std::size_t>(buttons.count)));
    KeyCode key = readKey();
    if (key == key::Escape) return 0;
    if (buttons.count == 0) {
      if (key == key::Enter) return 0;
      continue;
    }
    if (key == key::Enter) return buttons.letters[selected];
    if (key == key::Left) {
      selected = selected == 0 ? buttons.count - 1 : selected - 1;
      continue;
    }
    if (key == key::Right) {
      selected = selected + 1 == buttons.count ? 0 : selected + 1;
      continue;
    }
    int letter = typedLetter(key);
    for (int i = 0; letter != 0 && i < buttons.count; ++i)
      if (buttons.letters[i] == letter) return letter;
  }
}

int prebuildErrorWindow() {
  WindowHandle& handle = errorHandle();
  if (handle) return 0;
  const bool began = !drawingOffScreen();
  beginOffScreen();
  ColorAttr attr = color(ColorErrorWindow);
  int result = openWindow(handle, 10, 13, 60, 8, attr, attr, ErrorWindowFlags, ErrorWindowTitle);
  if (result == 0) closeWindow(handle);
  if (began) endOffScreen();
  return result;
}

int reopenErrorWindow() {
  if (prebuildErrorWindow() != 0) return -1;
  return openWindow(errorHandle(), 10, 13, 60, 8, 0, 0, ErrorWindowFlags);
}

void closeErrorWindow() { closeWindow(errorHandle()); }

ScreenWindow* errorWindow() { return errorHandle().get(); }

}  // namespace corvane
