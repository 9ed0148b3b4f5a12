#include "editor/edit_loop.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "config/setup_block.h"
#include "config/setup_path.h"
#include "editor/cursor_state.h"
#include "editor/edit_commands.h"
#include "editor/edit_file_io.h"
#include "editor/edit_screen.h"
#include "editor/edit_texts.h"
#include "editor/editor_state.h"
#include "editor/recovery.h"
#include "exec/exec_commands.h"
#include "exec/run_command.h"
#include "exec/shell_words.h"
#include "panels/file_dialog.h"
#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "ui/key_bar.h"
#include "ui/line_input.h"

namespace corvane {
namespace {

namespace t = edit_text;

constexpr int FieldFlags = LineInputEditor | LineInputNoTypeOver | LineInputStartCursor;
constexpr int CommandFlags = LineInputHistory | LineInputStartEnd;
constexpr int GotoWidth = 30;
constexpr int GotoMaxLength = 10;

struct KeyTranslation {
  KeyCode from, to;
};
constexpr KeyTranslation CommanderKeys[] = {
    {key::F3, key::alt('L')},
    {key::F4, key::alt('U')},
    {key::F5, key::alt('C')},
    {key::F6, key::alt('M')},
    {key::F7, key::ctrl('I')},
    {key::F8, key::alt('D')},
    {key::F9, key::alt('F')},
    {key::F10, key::F3},
    {key::Escape, key::F3},
    {key::fkey(2, key::ModAlt), key::F4},  // the bar's "SaveQui"
    {key::fkey(3, key::ModAlt), key::F8},
    {key::fkey(4, key::ModAlt), key::F3},
    {key::fkey(6, key::ModAlt), key::alt('G')},
    {key::fkey(7, key::ModAlt), key::ctrl('I')},
    {key::fkey(8, key::ModAlt), EditPrintBlock},
    {key::fkey(10, key::ModAlt), key::F10},
    {key::fkey(3, key::ModCtrl), key::alt('P')},
    {key::fkey(7, key::ModCtrl), key::alt('K')},
    {key::fkey(8, key::ModCtrl), EditPrintFile},
    {key::fkey(10, key::ModCtrl), KeyShiftF10},
};

bool isTypedCharacter(KeyCode code) { return code >= key::Space && code <= 0xFF; }

std::string_view trimmedFront(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The field draws its line and the status after every key; a resize ends it.
KeyCode drawFieldLine(const LineInputView& view, void*) {
  EditorState& state = editorState();
  state.screen.fieldCursor = view.cursor;
  if (state.screen.resized) {
    state.screen.resized = false;
    return key::ModifierEvent;
  }
  EditedFile& file = *state.current;
  if (view.firstChar != file.leftColumn) {
    file.leftColumn = view.firstChar;  // the field scrolled sideways: every row follows
    drawTextWindow(file, &view.text);
  } else {
    drawCurrentRow(file, view.text);
  }
  drawStatus(file, view.cursor, insertMode());
  return 0;
}

// The current line edited by the field until it hands a key back. On the sentinel of an
// empty file a typed character starts the first line.
KeyCode editKey(EditedFile& file) {
  EditorState& state = editorState();
  activateWindow(*state.screen.text);
  if (file.currentLine->isSentinel()) {
    setCursorShape(state.insert ? CursorLarge : CursorSmall);
    windowCursor(1, file.cursorRow);
    const KeyCode code = readKey();
    if (!isTypedCharacter(code)) return code;
    if (noteChange(file,
                   insertLineAfter(file, file.currentLine,
                                   cp437CharToText(static_cast<std::uint8_t>(code))) != nullptr)) {
      moveLines(file, 1, textRows());
      file.cursorColumn = 1;
    }
    return 0;
  }
  std::string text = paddedTo(file.currentLine->view(), file.cursorColumn);
  int cursor = file.cursorColumn, first = file.leftColumn;
  state.screen.resized = false;
  state.screen.fieldCursor = cursor;
  setInsertMode(state.insert);
  state.screen.fieldText = &text;
  const KeyCode code =
      lineInput(1, file.cursorRow, textColumns(), text, static_cast<int>(MaxLineBytes), FieldFlags,
                cursor, drawFieldLine, nullptr, &first);
  state.screen.fieldText = nullptr;
  state.insert = insertMode();
  file.leftColumn = first;
  storeLineText(file, text);
  // The field gives back a cursor within the text it trimmed; the one it showed last may
  // stand past the end.
  file.cursorColumn = state.screen.fieldCursor;
  return code;
}

void runCommandText(std::string_view command) {
  const std::size_t marker = command.find(t::KeepScreenMarker);
  if (marker != std::string_view::npos)
    runCommandKeepScreen(command.substr(0, marker), true, true);
  else
    runCommand(command, true, true, false);
}

// Command mode: the command line on the bottom row.
void commandModeKey(EditedFile& file) {
  EditorState& state = editorState();
  ScreenWindow& bottom = *state.screen.bottom;
  activateWindow(bottom);
  int cursor = 0;
  setInsertMode(state.insert);
  const KeyCode code = lineInput(1, 1, windowLastColumn(bottom), state.commandLine,
                                 static_cast<int>(MaxLineBytes), CommandFlags, cursor);
  state.insert = insertMode();
  if (code == key::Escape) state.commandMode = false;
  if (code != key::Enter) return;
  const std::string_view text = trimmedFront(state.commandLine);
  if (text.empty()) return;
  if (text.front() == '/' || text.front() == '\\') {
    rejectBeep();  // searching from the command line
    return;
  }
  const long number = std::isdigit(static_cast<unsigned char>(text.front()))
                          ? std::strtol(std::string(text).c_str(), nullptr, 10)
                          : 0;
  if (number != 0) {
    if (number <= file.lineCount) goToLine(file, number, textRows());
    state.commandMode = false;
    return;
  }
  runCommandText(text);
}

// Save (F2): the cursor state is stored by the save.
bool save(EditedFile& file) {
  if (saveEditFile(file) != SaveDone) return false;
  ++editorState().saves;
  return true;
}

void gotoLineDialog(EditedFile& file) {
  std::string text;
  const int column = std::max((screenColumns() - GotoWidth) / 2, 1);
  if (inputDialog(text, t::GotoPrompt, column, screenRows() / 2 - 2, GotoWidth, GotoMaxLength) !=
      key::Enter)
    return;
  const long number = std::strtol(text.c_str(), nullptr, 10);
  if (number >= 1 && number <= file.lineCount) goToLine(file, number, textRows());
}

// Ctrl+Y: the word under the cursor as a file name (a host path when it starts with "/"),
// taken from the current directory or, failing that, from the edited file's directory.
void editWordAsFile(const EditedFile& file) {
  const std::string word = wordAtCursor(file);
  if (word.empty()) return;
  std::string path = word.front() == '/' ? toProgramPath(word) : fullPath(word);
  if (word.front() != '/' && (path.empty() || !fileExists(path)))
    path = fullPath(joinPath(parentPath(file.name), word));
  if (path.empty() || !fileExists(path) || directoryExists(path)) return;
  loadIntoChain(path, textRows());
}

void pasteScreen(EditedFile& file) {
  const ScreenImage* image = editorState().before.get();
  if (image == nullptr) return;
  std::vector<std::string> lines;
  for (int row = 0; row < image->rows; ++row) {
    std::string text;
    for (int column = 0; column < image->columns; ++column) {
      const char32_t ch = image->at(column, row).ch;
      if (ch != WideTail) appendUtf8(text, ch);
    }
    const std::size_t end = text.find_last_not_of(' ');
    text.resize(end == std::string::npos ? 0 : end + 1);
    lines.push_back(std::move(text));
  }
  insertLinesAfterCurrent(file, lines);
}

// A click in the text window: the cursor to the clicked cell; the other button marks too.
void clickText(EditedFile& file, bool mark) {
  int row = 0, column = 0;
  if (!clickInText(row, column)) return;
  const long target = file.lineNumber + (row - file.cursorRow);
  if (target < 1 || target > file.lineCount) return;
  goToLine(file, target, textRows());
  file.cursorRow = row;
  file.cursorColumn = file.leftColumn + column;
  clampView(file, textRows());
  if (mark) markBlock(file);
}

void openKeywordFile() {
  const std::string_view setupPath = setupBlock().setupPath.text();
  if (setupPath.empty()) {
    rejectBeep();
    return;
  }
  loadIntoChain(siblingPath(setupPath, KeywordExtension), textRows());
}

void dispatch(EditedFile& file, KeyCode code) {
  EditorState& state = editorState();
  const int rows = textRows();
  const bool onText = !file.currentLine->isSentinel();
  switch (code) {
    case 0:
    case key::IdleEvent:
    case key::ModifierEvent:
    case key::CtrlPgUp:
    case key::CtrlPgDn:
      break;
    case key::Tab:
      if (onText) tabForward(file, state.insert);
      break;
    case key::ShiftTab:
      tabBack(file);
      break;
    case key::Enter:
      enterLine(file, state.insert, rows);
      break;
    case key::Escape:
      state.commandMode = true;
      break;
    case key::Home:
      goToWindowTop(file);
      break;
    case key::End:
      file.cursorColumn = onText ? textColumns(file.currentLine->view()) : 0;
      break;
    case key::Up:
    case key::Down:
      moveLines(file, code == key::Up ? -1 : 1, rows);
      break;
    case key::PgUp:
    case key::PgDn:
      pageLines(file, (code == key::PgUp ? -1 : 1) * std::max(rows - 1, 1), rows);
      break;
    case key::Left:
      file.cursorColumn = std::max(file.cursorColumn - 1, 0);
      break;
    case key::Right:
      if (onText) file.cursorColumn = std::min(file.cursorColumn + 1, int(MaxLineBytes));
      break;
    case key::CtrlHome:
      goToLine(file, 1, rows);
      file.cursorRow = 2;
      file.cursorColumn = 0;
      break;
    case key::CtrlEnd:
      goToLine(file, file.lineCount, rows);
      file.cursorRow = rows;
      file.cursorColumn = 0;
      break;
    case key::F2:
      save(file);
      break;
    case key::F3:
      exitFile(file);
      break;
    case key::F4:
      if (save(file)) exitFile(file);
      break;
    case key::F5:
    case key::alt('P'):
      chooseEditedFile(rows);
      break;
    case key::F6:
      if (const std::string name = askFileName({}); !name.empty()) loadIntoChain(name, rows);
      break;
    case key::F7:
      renameEditedFile(file);
      break;
    case key::F8:
      if (std::optional<std::string> chosen =
              selectFile("*.*", FileDialogColumnWidth, FileDialogBrowse))
        loadIntoChain(*chosen, rows);
      break;
    case key::F10:
      switchFile(1);
      break;
    case KeyShiftF10:
      switchFile(-1);
      break;
    case key::ctrl('Y'):
      editWordAsFile(file);
      break;
    case KeyCtrlF1:
    case key::alt('H'):
      if (const std::string word = wordAtCursor(file); !word.empty())
        runCommand(textf(t::HelpCommandFormat, quoteForShell(word).c_str()), true, true, false);
      break;
    case key::alt('X'):
      if (onText && !trimmedFront(file.currentLine->view()).empty())
        runCommandText(trimmedFront(file.currentLine->view()));
      break;
    case EditShell:
      runShell();
      break;
    case EditPrintFile:
      printLines(file.firstLine()->next, nullptr);
      break;
    case EditKeywords:
      openKeywordFile();
      break;
    case key::CtrlBackspace:
      deleteCurrentLine(file, rows);
      break;
    case KeyEditorJoin:
      joinLines(file);
      break;
    case key::alt('G'):
      gotoLineDialog(file);
      break;
    case EditPasteScreen:
      pasteScreen(file);
      break;
    case key::alt('L'):
      markBlock(file);
      break;
    case key::alt('U'):
      unmarkBlock();
      break;
    case key::alt('C'):
      copyBlock(file);
      break;
    case key::alt('M'):
      moveBlock(file, rows);
      break;
    case key::alt('D'):
      deleteBlock(file, rows);
      break;
    case key::alt('W'):
    case EditPrintBlock:
      if (EditedFile* owner = blockOwner(); owner == nullptr)
        messageBox(t::MarkRequired);
      else if (code == EditPrintBlock)
        printLines(owner->blockStart, owner->blockEnd);
      else
        writeBlock(*owner);
      break;
    case KeyFieldClick:
    case KeyFieldClickOther:
      clickText(file, code == KeyFieldClickOther);
      break;
    default:
      // The search keys, and anything else the editor does not know.
      rejectBeep();
      break;
  }
}

// The editor's end hook: modified files are kept in recovery copies before the program
// ends as the hook it replaced ends it.
void editorEndHook() {
  EditorState& state = editorState();
  // What is typed into the line being edited counts too.
  if (state.screen.fieldText != nullptr && state.current != nullptr)
    storeLineText(*state.current, *state.screen.fieldText);
  writeRecoveryCopies();
  if (editorState().outerHooks.end != nullptr) editorState().outerHooks.end();
}

}  // namespace

KeyCode translateCommanderKey(KeyCode code) {
  for (const KeyTranslation& translation : CommanderKeys)
    if (translation.from == code) return translation.to;
  return code;
}

int runEditor(EditedFile& start, bool restore) {
  EditorState& state = editorState();
  state.current = &start;
  state.running = true;
  state.saves = 0;
  state.commandMode = false;
  state.before = saveScreen();
  const bool outerInsert = insertMode();
  SavedMouseZones callerZones;
  if (!openEditorScreen()) {
    state.running = false;
    return 0;
  }
  setViewerOrEditorOpen(true);
  state.outerHooks = signalRequestHooks();
  if (state.outerHooks.end != nullptr)
    setSignalRequestHooks({.interrupt = state.outerHooks.interrupt, .end = editorEndHook});
  if (restore) restoreCursorState(start, textRows());

  while (state.current != nullptr) {
    EditedFile& file = *state.current;
    clampView(file, textRows());
    drawEditor();
    registerEditorZones();
    KeyCode code = 0;
    if (state.commandMode) {
      commandModeKey(file);
      continue;
    }
    code = editKey(file);
    if (state.screen.commander) {
      if (followModifiers(state.screen.keyBar)) registerEditorZones();
      code = translateCommanderKey(code);
    }
    if (altLetter(code) != 0) code = runEditorMenuBar(code);
    state.lastKey = code;
    dispatch(file, code);
  }

  if (state.outerHooks.end != nullptr) setSignalRequestHooks(state.outerHooks);
  state.outerHooks = {};
  closeEditorScreen();
  setViewerOrEditorOpen(false);
  setInsertMode(outerInsert);
  state.before.reset();
  state.running = false;
  return state.saves > 0 ? 1 : 0;
}

}  // namespace corvane
