#include "editor/edit_screen.h"

#include <algorithm>
#include <array>
#include <vector>

#include "config/setup_block.h"
#include "editor/edit_texts.h"
#include "platform/charset.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/hotkey_label.h"
#include "ui/line_input.h"

namespace corvane {
namespace {

namespace t = edit_text;

constexpr MenuItem item(std::string_view label, KeyCode command) {
  return MenuItem{.label = label, .helpContext = EditorHelpContext, .command = command};
}

constexpr MenuItem FileItems[] = {
    item(t::ItemSave, key::F2),
    item(t::ItemSaveExit, key::F4),
    menuSeparator(),
    item(t::ItemRename, key::F7),
    item(t::ItemLoad, key::F8),
    item(t::ItemNextFile, key::F10),
    item(t::ItemPreviousFile, KeyShiftF10),
    item(t::ItemCommandMode, key::Escape),
    item(t::ItemEditedFiles, key::F5),
    item(t::ItemPrint, EditPrintFile),
    item(t::ItemKeywords, EditKeywords),
    item(t::ItemHelpWord, KeyCtrlF1),
    item(t::ItemEditInLine, key::ctrl('Y')),
    menuSeparator(),
    item(t::ItemShell, EditShell),
    menuSeparator(),
    item(t::ItemExit, key::F3),
};
constexpr MenuItem BlockItems[] = {
    item(t::ItemCopy, key::alt('C')),   item(t::ItemDelete, key::alt('D')),
    item(t::ItemMove, key::alt('M')),   item(t::ItemMark, key::alt('L')),
    item(t::ItemUnmark, key::alt('U')), item(t::ItemWrite, key::alt('W')),
    item(t::ItemPrint, EditPrintBlock),
};
constexpr MenuItem SearchItems[] = {
    item(t::ItemSearchSensitive, key::ctrl('S')), item(t::ItemSearchIgnore, key::ctrl('I')),
    item(t::ItemSearchAgain, key::ctrl('F')),     item(t::ItemSearchBracket, key::alt('K')),
    item(t::ItemSearchWord, key::ctrl('W')),
};
constexpr MenuItem LineItems[] = {
    item(t::ItemDeleteLine, key::CtrlBackspace),
    item(t::ItemGotoLine, key::alt('G')),
    item(t::ItemExecuteLine, key::alt('X')),
    item(t::ItemPasteScreen, EditPasteScreen),
};

constexpr int StatusColumn = 2;
constexpr std::string_view StatusGap = "   ";
constexpr int NameCells = 40;
constexpr int CommanderNameCells = 43;

// The file name cut to its last cells characters.
std::string shortName(std::string_view name, int cells) {
  const int have = textColumns(name);
  if (have <= cells) return std::string(name);
  return std::string(name.substr(charOffset(name, static_cast<std::size_t>(have - cells))));
}

// The pulldowns with their items and the bar over them (File, Block, Line, Search).
struct EditorBar {
  std::array<PulldownMenu*, 4> entries;
  MenuBar bar;
};
EditorBar editorBar() {
  EditorMenuState& menus = editorState().menus;
  menus.file.title = t::TitleFile, menus.file.items = FileItems;
  menus.block.title = t::TitleBlock, menus.block.items = BlockItems;
  menus.line.title = t::TitleLine, menus.line.items = LineItems;
  menus.search.title = t::TitleSearch, menus.search.items = SearchItems;
  EditorBar bar{{&menus.file, &menus.block, &menus.line, &menus.search}, MenuBar{}};
  bar.bar.currentEntry = menus.currentEntry;
  return bar;
}

// Where each window goes on a screen of the present size.
void placeEditorWindow(ScreenWindow& window, void*) {
  EditorScreen& screen = editorState().screen;
  const int columns = screenColumns(), rows = screenRows();
  if (&window == screen.top.get()) moveWindow(window, 1, 1, columns, 1);
  if (&window == screen.text.get()) moveWindow(window, 1, 2, columns, std::max(rows - 2, 1));
  if (&window == screen.bottom.get()) {
    moveWindow(window, 1, rows, columns, 1);
    // The last of the three: the screen is drawn again and the line field starts anew.
    screen.resized = true;
    if (editorState().current != nullptr) drawEditor();
  }
}

bool openRow(WindowHandle& handle, int y, int height, ColorAttr colour) {
  if (openWindow(handle, 1, y, screenColumns(), height, colour, colour, WindowClear) != 0)
    return false;
  handle->relayout = placeEditorWindow;
  handle->helpContext = EditorHelpContext;
  return true;
}

}  // namespace

bool openEditorScreen() {
  EditorScreen& screen = editorState().screen;
  screen.commander = setupBlock().keyboardLayout.get() == 1;
  screen.keyBar = FunctionKeyBar{{t::BarPlain, t::BarCtrl, t::BarAlt}, nullptr, KeyBarForm::Plain};
  const int rows = screenRows();
  if (!openRow(screen.top, 1, 1, color(ColorBackground)) ||
      !openRow(screen.text, 2, std::max(rows - 2, 1), color(ColorLineeditor)) ||
      !openRow(screen.bottom, rows, 1, color(ColorPulldown))) {
    closeEditorScreen();
    return false;
  }
  if (screen.commander) screen.keyBar.window = screen.bottom.get();
  activateWindow(*screen.text);
  return true;
}

void closeEditorScreen() {
  EditorScreen& screen = editorState().screen;
  freeWindow(screen.bottom);
  freeWindow(screen.text);
  freeWindow(screen.top);
  screen.keyBar.window = nullptr;
}

int textRows() {
  const ScreenWindow* window = editorState().screen.text.get();
  return window != nullptr ? std::max(windowLastRow(*window), 1) : std::max(screenRows() - 2, 1);
}

int textColumns() {
  const ScreenWindow* window = editorState().screen.text.get();
  return window != nullptr ? std::max(windowLastColumn(*window), 1) : screenColumns();
}

void drawTextRow(std::string_view text, int row, int firstColumn, ColorAttr colour,
                 RowState& state) {
  (void)state;  // plain text leaves nothing open for the next row
  ScreenWindow* window = editorState().screen.text.get();
  if (window == nullptr || row < 1 || row > windowLastRow(*window)) return;
  CurrentWindowScope scope(*window);
  const std::size_t from = charOffset(text, static_cast<std::size_t>(std::max(firstColumn, 0)));
  const ColorAttr saved = window->textColor;
  window->textColor = colour;
  writeText(text.substr(std::min(from, text.size())), windowLastColumn(*window) - 1, 1, row,
            WritePad);
  window->textColor = saved;
}

ColorAttr lineColour(const EditLine& line) {
  return line.inBlock() ? color(ColorActFilecursor) : color(ColorLineeditor);
}

void drawTextWindow(const EditedFile& file, const std::string_view* currentText) {
  EditorScreen& screen = editorState().screen;
  if (!screen.text) return;
  const int rows = textRows();
  const EditLine* line = file.currentLine;
  for (int row = file.cursorRow; row > 1 && !line->isSentinel(); --row) line = line->previous;
  screen.rowStates.assign(static_cast<std::size_t>(rows) + 1, RowState{});
  raiseHold(1);
  RowState state;
  for (int row = 1; row <= rows; ++row) {
    screen.rowStates[static_cast<std::size_t>(row)] = state;
    if (line == nullptr) {
      drawTextRow({}, row, 0, color(ColorLineeditor), state);
      continue;
    }
    const bool current = line == file.currentLine && currentText != nullptr;
    drawTextRow(current ? *currentText : line->view(), row, file.leftColumn, lineColour(*line),
                state);
    line = line->next;
  }
  if (lowerHold(1) == 0) {
    const ScreenWindow& window = *screen.text;
    flushWindowRect(window.x, window.y, window.width, window.height);
  }
}

void drawCurrentRow(const EditedFile& file, std::string_view text) {
  EditorScreen& screen = editorState().screen;
  const auto row = static_cast<std::size_t>(file.cursorRow);
  RowState state = row < screen.rowStates.size() ? screen.rowStates[row] : RowState{};
  drawTextRow(text, file.cursorRow, file.leftColumn, lineColour(*file.currentLine), state);
}

void drawStatus(const EditedFile& file, int column, bool insert) {
  EditorScreen& screen = editorState().screen;
  ScreenWindow* window = screen.commander ? screen.top.get() : screen.bottom.get();
  if (window == nullptr) return;
  std::string text = textf(t::StatusFormat, file.lineNumber, column + 1,
                           std::string(insert ? t::Insert : t::Replace).c_str());
  text += StatusGap;
  text += shortName(file.name, screen.commander ? CommanderNameCells : NameCells);
  CurrentWindowScope scope(*window);
  writeText(text, windowLastColumn(*window) - StatusColumn, StatusColumn, 1, WritePad);
}

void drawBars() {
  EditorScreen& screen = editorState().screen;
  if (screen.commander) {
    drawFunctionKeyBar(screen.keyBar);
    return;
  }
  if (!screen.top) return;
  {
    CurrentWindowScope scope(*screen.top);
    writeText({}, windowLastColumn(*screen.top) - 1, 1, 1, WritePad);
  }
  EditorBar bar = editorBar();
  bar.bar.menus = bar.entries;
  (void)runMenuBar(bar.bar, 0, MenuBarMode::ShowOnly);
  dropMenuBar(bar.bar);
}

void drawEditor() {
  EditorState& state = editorState();
  if (state.current == nullptr) return;
  const EditedFile& file = *state.current;
  drawBars();
  drawTextWindow(file);
  drawStatus(file, file.cursorColumn, state.insert);
}

void registerEditorZones() {
  EditorScreen& screen = editorState().screen;
  if (!screen.text) return;
  std::vector<MouseZone> zones;
  MouseZone text;
  text.x1 = windowScreenColumn(*screen.text, 1);
  text.x2 = text.x1 + textColumns() - 1;
  text.y1 = windowScreenRow(*screen.text, 1);
  text.y2 = text.y1 + textRows() - 1;
  text.leftCode = KeyFieldClick;
  text.rightCode = KeyFieldClickOther;
  zones.push_back(text);
  if (screen.commander) {
    if (screen.bottom) {
      const std::vector<MouseZone> keys = keyBarZones(*screen.bottom, keyBarText(screen.keyBar));
      zones.insert(zones.end(), keys.begin(), keys.end());
    }
  } else if (screen.top) {
    EditorBar bar = editorBar();
    bar.bar.menus = bar.entries;
    std::array<int, 4> columns{};
    layoutMenuBar(bar.bar, columns);
    for (std::size_t i = 0; i < bar.entries.size(); ++i) {
      const std::string_view title = bar.entries[i]->title;
      const int letter = hotkeyLetter(title);
      zones.push_back(windowZone(*screen.top, columns[i], menuLabelCells(title), 1,
                                 key::alt(static_cast<char>(letter))));
    }
  }
  registerMouseZones(zones);
}

KeyCode runEditorMenuBar(KeyCode altKey) {
  EditorBar bar = editorBar();
  bar.bar.menus = bar.entries;
  const KeyCode command = runMenuBar(bar.bar, altKey, MenuBarMode::Interactive);
  editorState().menus.currentEntry = bar.bar.currentEntry;
  return command;
}

bool clickInText(int& row, int& column) {
  const ScreenWindow* window = editorState().screen.text.get();
  int clickColumn = -1, clickRow = -1;
  lastClickPosition(clickColumn, clickRow);
  if (window == nullptr) return false;
  row = clickRow - windowScreenRow(*window, 1) + 1;
  column = clickColumn - windowScreenColumn(*window, 1);
  return row >= 1 && row <= textRows() && column >= 0 && column < textColumns();
}

}  // namespace corvane
