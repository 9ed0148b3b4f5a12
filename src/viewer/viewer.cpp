#include "viewer/viewer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "panels/panel_geometry.h"
#include "panels/read_texts.h"
#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/file_failure.h"
#include "ui/form.h"
#include "ui/hotkey_label.h"
#include "ui/key_bar.h"
#include "ui/menu_bar.h"
#include "syntax/keywords.h"
#include "ui/window.h"
#include "viewer/row_drawing.h"
#include "viewer/text_search.h"
#include "viewer/view_session.h"
#include "viewer/viewer_state.h"
#include "viewer/viewer_texts.h"

namespace corvane {
namespace {

// The clock's status line on the top row starts at most this many columns before its end:
// the menu titles stop short of it.
constexpr int ClockCells = 38;
// A search shows its progress once it has run this long.
constexpr std::uint64_t SearchProgressDelayMs = 300;
// Chunks searched between two looks at the keyboard.
constexpr int SearchPollStride = 4;
constexpr int HorizontalStep = 8;

constexpr KeyCode CtrlS = key::ctrl('S');
constexpr KeyCode CtrlI = key::ctrl('I');
constexpr KeyCode CtrlF = key::ctrl('F');
constexpr KeyCode CtrlF2 = key::fkey(2, key::ModCtrl);

struct KeyTranslation {
  KeyCode from = 0;
  KeyCode to = 0;
};
constexpr KeyTranslation CommanderKeys[] = {
    {key::F2, 'w'},   {key::F4, 'h'},           {key::F5, '*'},
    {key::F7, CtrlS}, {key::F9, key::alt('F')}, {key::F10, key::Escape},
};

// The four marks at the end of the status line and their zones' keys (left, right button).
struct StatusMark {
  unsigned char glyph = 0;
  KeyCode left = 0;
  KeyCode right = 0;
};
constexpr StatusMark StatusMarks[] = {
    {30, key::PgUp, key::Up},
    {31, key::PgDn, key::Down},
    {223, key::CtrlHome, 0},
    {220, key::CtrlEnd, 0},
};
constexpr int StatusMarkCount = static_cast<int>(std::size(StatusMarks));

struct ViewRun {
  const ViewRequest& request;
  ViewSession session;
  FileHandle ownFile;
  bool fullScreen = false;
  bool commander = false;
  bool searchResult = false;
  ScreenWindow* textWindow = nullptr;
  ScopedWindow topRow, bottomRow, textArea;  // full screen, freed text area first
  std::vector<LineText> rows;
  // The search of this run: whether it hit, where, and the top it left.
  bool hit = false;
  std::int64_t lastHit = 0;
  std::int64_t topAfterSearch = -1;

  explicit ViewRun(const ViewRequest& r) : request(r) {}
};

int textRowsOf(const ViewRun& run, const ScreenWindow* window) {
  const int rows = window != nullptr ? windowLastRow(*window) : screenRows() - 2;
  return std::max(rows - (run.searchResult ? 1 : 0), 1);
}

// The session takes the text window's size.
void takeGeometry(ViewRun& run) {
  run.session.rows = textRowsOf(run, run.textWindow);
  run.session.columns = std::max(windowLastColumn(*run.textWindow), 1);
}

// Takes the file's length again: a growing file shows its new size.
std::string statusLine(ViewRun& run) {
  ViewWindow& w = run.session.window;
  const std::int64_t now = openFileLength(w.file);
  if (now >= 0) w.fileLength = now;
  std::string line(run.request.fileName);
  for (int cells = textCells(line); cells < StatusNameCells; ++cells) line += ' ';
  const int filter = viewerState().filter;
  line += textf(FormatStatusFigures, static_cast<unsigned long long>(w.topOffset()),
                static_cast<unsigned long long>(w.fileLength),
                filter == FilterPrint   ? '*'
                : filter == FilterAscii ? 'A'
                                        : ' ',
                viewerState().wordWrap ? 'W' : ' ');
  return line;
}

void drawStatus(ViewRun& run) {
  ScreenWindow& window = run.commander ? *run.topRow : *run.bottomRow;
  CurrentWindowScope scope(window);
  const int width = windowLastColumn(window);
  if (run.commander) {
    writeText(statusLine(run), width - 1, 1, 1, WritePad);
    return;
  }
  writeText(statusLine(run), std::max(width - StatusMarkCount - 1, 0), 1, 1, WritePad);
  std::string marks;
  for (const StatusMark& mark : StatusMarks) appendUtf8(marks, cp437ToUnicode(mark.glyph));
  writeText(marks, StatusMarkCount - 1, std::max(width - StatusMarkCount + 1, 1), 1);
}

// The viewer's menu bar on the top row: shown, it stops short of the clock.
MenuBar& viewerMenuBar(bool showOnly) {
  MenuBar& bar = viewerState().bar;
  bar.x = bar.y = 1;
  bar.width = MenuBarFullWidth;
  if (showOnly) {
    bar.width = std::max(screenColumns() - ClockCells, 1);
    if (bar.width == MenuBarFullWidth) --bar.width;  // the value that means the whole row
  }
  return bar;
}

void drawMenuTitles() {
  MenuBar& bar = viewerMenuBar(true);
  (void)runMenuBar(bar, 0, MenuBarMode::ShowOnly);
  dropMenuBar(bar);
}

// Everything the run shows: the bars of the whole screen, the rows, the answers of
// search-result mode.
void drawView(ViewRun& run) {
  if (run.fullScreen && !run.commander) drawMenuTitles();
  const bool held = holdLevel() != 0;
  if (!held) raiseHold(2);
  if (run.fullScreen) {
    drawStatus(run);
    if (run.commander) {
      const FunctionKeyBar bar{{ViewerKeyBar, ViewerKeyBar, ViewerKeyBar}, run.bottomRow.get()};
      drawFunctionKeyBar(bar);
    }
  }
  formatRows(run.session, run.rows);
  {
    CurrentWindowScope scope(*run.textWindow);
    RowCarry carry;
    const ColorAttr normal = run.textWindow->textColor;
    for (std::size_t row = 0; row < run.rows.size(); ++row)
      drawTextRow(run.rows[row], static_cast<int>(row) + 1, run.session.horizontalOffset, normal,
                  carry);
    if (run.searchResult)
      printHotkeyLabel(1, windowLastColumn(*run.textWindow) - 1, windowLastRow(*run.textWindow),
                       SearchResultLabels, LabelPad | LabelNoWrap);
  }
  if (held) return;
  lowerHold(2);
  if (run.fullScreen)
    flushScreen();
  else
    flushWindowRect(run.textWindow->x, run.textWindow->y, run.textWindow->width,
                    run.textWindow->height);
}

void registerViewerZones(const ViewRun& run) {
  std::vector<MouseZone> zones;
  if (run.fullScreen && run.commander) {
    zones = keyBarZones(*run.bottomRow, ViewerKeyBar);
  } else if (run.fullScreen) {
    MenuBar& bar = viewerMenuBar(true);
    std::vector<int> columns(bar.menus.size());
    layoutMenuBar(bar, columns);
    for (std::size_t i = 0; i < bar.menus.size(); ++i) {
      const int letter = hotkeyLetter(bar.menus[i]->title);
      zones.push_back(windowZone(*run.topRow, columns[i], menuLabelCells(bar.menus[i]->title), 1,
                                 key::alt(static_cast<char>(letter))));
    }
    const int width = windowLastColumn(*run.bottomRow);
    for (int i = 0; i < StatusMarkCount; ++i) {
      MouseZone zone =
          windowZone(*run.bottomRow, width - StatusMarkCount + 1 + i, 1, 1, StatusMarks[i].left);
      zone.rightCode = StatusMarks[i].right;
      zones.push_back(zone);
    }
  }
  registerMouseZones(zones);
}

// The text window's relayout hook (the bars' move only): the new size, the same top.
void relayoutViewer(ScreenWindow& window, void* owner) {
  ViewRun& run = *static_cast<ViewRun*>(owner);
  const int columns = screenColumns(), rows = screenRows();
  if (&window == run.topRow.get()) return moveWindow(window, 1, 1, columns, 1);
  if (&window == run.bottomRow.get()) return moveWindow(window, 1, rows, columns, 1);
  moveWindow(window, 1, 2, columns, std::max(rows - 2, 1));
  takeGeometry(run);
  (void)prepareWindow(run.session);
  keepPage(run.session);
  drawView(run);
}

int openScreen(ViewRun& run) {
  const int columns = screenColumns(), rows = screenRows();
  const ColorAttr background = color(ColorBackground), pulldown = color(ColorPulldown),
                  info = color(ColorInfoWindow);
  if (run.topRow.open(1, 1, columns, 1, background, background, WindowClear) != 0 ||
      run.bottomRow.open(1, rows, columns, 1, pulldown, pulldown, WindowClear) != 0 ||
      run.textArea.open(1, 2, columns, std::max(rows - 2, 1), info, info, WindowClear) != 0)
    return -1;
  for (ScreenWindow* window : {run.topRow.get(), run.bottomRow.get(), run.textArea.get()}) {
    window->relayout = relayoutViewer;
    window->relayoutOwner = &run;
  }
  run.textWindow = run.textArea.get();
  return 0;
}

// Polls the keyboard between chunks: Esc asks " Cancel operation ? "; after a moment the
// progress shows in a small window.
class SearchPoll : public FileSearchProgress {
 public:
  SearchPoll() : start_(console().nowMs()) {}
  ~SearchPoll() override { closeInfoWindow(window_); }

  bool cancelled(std::int64_t offset, std::int64_t length) override {
    if (calls_++ % SearchPollStride != 0) return false;
    if (checkKey() == key::Escape &&
        question(QuestionDefaultNo, TextCancelOperation) == QuestionYes)
      return true;
    if (console().nowMs() - start_ < SearchProgressDelayMs || length <= 0) return false;
    const int percent = static_cast<int>(std::min<std::int64_t>(offset * 100 / length, 100));
    if (percent != shown_) {
      shown_ = percent;
      (void)openInfoWindow(window_, textf(FormatSearchProgress, percent));
    }
    return false;
  }

 private:
  std::uint64_t start_;
  int calls_ = 0;
  int shown_ = -1;
  WindowHandle window_;
};

void reportReadFailure(ViewRun& run) {
  if (run.session.readFailure) return;
  run.session.readFailure = {};
  if (run.request.mode != ViewDrawOnce) messageBox(TextViewerReadError);
}

// Searches from an offset; a hit is shown, an absent string said. True on a hit.
bool searchFrom(ViewRun& run, std::int64_t from, bool sayAbsent) {
  const ViewerState& state = viewerState();
  std::int64_t found = -1;
  FileSearchResult result;
  {
    SearchPoll poll;
    result = findInFile(run.session.window.file, from, state.searchString, state.caseFlag != 0,
                        found, &poll);
  }
  if (result == FileSearchResult::ReadFailed) messageBox(TextViewerReadError);
  if (result != FileSearchResult::Found) {
    if (result == FileSearchResult::NotFound && sayAbsent)
      messageBox(textf(FormatStringNotFound, state.searchString.c_str()));
    return false;
  }
  placeHit(run.session, found);
  run.hit = true;
  run.lastHit = found;
  run.topAfterSearch = run.session.window.topOffset();
  return true;
}

void newSearch(ViewRun& run, int caseFlag) {
  if (caseFlag >= 0) viewerState().caseFlag = caseFlag;
  if (defineTextSearch() != FormAccepted || viewerState().searchString.empty()) return;
  (void)searchFrom(run, run.session.window.topOffset(), true);
}

void searchAgain(ViewRun& run) {
  if (!run.hit || viewerState().searchString.empty()) return newSearch(run, -1);
  const std::int64_t top = run.session.window.topOffset();
  (void)searchFrom(run, top == run.topAfterSearch ? run.lastHit + 1 : top, true);
}

KeyCode translateKey(const ViewRun& run, KeyCode key) {
  if (const char c = key::keypadCharacter(key); c != 0) return c;
  if (!run.commander) return key;
  for (const KeyTranslation& t : CommanderKeys)
    if (t.from == key) return t.to;
  return key;
}

// An Alt key with a menu title's letter opens its pulldown: the chosen item's key, or 0.
KeyCode offerToMenuBar(const ViewRun& run, KeyCode key) {
  if (altLetter(key) == 0) return key;
  const bool showOnly = run.fullScreen && !run.commander;
  return runMenuBar(viewerMenuBar(showOnly), key,
                    showOnly ? MenuBarMode::ShowOnly : MenuBarMode::Interactive);
}

void toggleFilter(ViewRun& run, int filter) {
  int& current = viewerState().filter;
  current = current == filter ? FilterNone : filter;
  keepPage(run.session);
}

// Carries out a key; the result the run ends with, or -1 to go on.
int dispatch(ViewRun& run, KeyCode key) {
  ViewSession& s = run.session;
  const bool inWindow = run.request.mode == ViewInWindow;
  switch (key) {
    case key::Home:
      moveHome(s);
      return -1;
    case key::End:
      moveEnd(s);
      return -1;
    case key::Up:
      moveUp(s, 1);
      return -1;
    case key::Down:
      moveDown(s, 1);
      return -1;
    case key::PgUp:
      moveUp(s, s.rows);
      return -1;
    case key::PgDn:
      moveDown(s, s.rows);
      return -1;
    case key::Left:
      s.horizontalOffset = std::max(s.horizontalOffset - 1, 0);
      return -1;
    case key::Right:
      s.horizontalOffset = std::min(s.horizontalOffset + 1, LineLimit);
      return -1;
    case key::Tab:
      if (inWindow) return key;
      s.horizontalOffset = std::min(s.horizontalOffset + HorizontalStep, LineLimit);
      return -1;
    case key::ShiftTab:
      s.horizontalOffset = std::max(s.horizontalOffset - HorizontalStep, 0);
      return -1;
    case 'H':
    case 'h':
      setHexMode(s, !s.hex);
      return -1;
    case 'W':
    case 'w':
      viewerState().wordWrap = !viewerState().wordWrap;
      keepPage(s);
      return -1;
    case '*':
      toggleFilter(run, FilterPrint);
      return -1;
    case 'A':
    case 'a':
      toggleFilter(run, FilterAscii);
      return -1;
    case CtrlS:
      newSearch(run, 0);
      return -1;
    case CtrlI:
      newSearch(run, 1);
      return -1;
    case key::Space:
    case 'n':
    case 'N':
    case CtrlF:
      searchAgain(run);
      return -1;
    case key::Escape:
    case CtrlF2:
      return ViewLeft;
    case key::Enter:
      return ViewEnter;
    case 'E':
    case 'F':
    case 'I':
    case 'S':
    case 'e':
    case 'f':
    case 'i':
    case 's':
      if (run.searchResult) return key;
      break;
    case 'Z':
    case 'z':
      if (inWindow) return key;
      break;
    case key::CtrlHome:
    case key::CtrlEnd:
    case key::CtrlPgUp:
    case key::CtrlPgDn:
    case key::IdleEvent:
    case key::ModifierEvent:
    case 0:
      return -1;
    default:
      break;
  }
  rejectBeep();
  return -1;
}

int runKeys(ViewRun& run) {
  for (;;) {
    if (run.textWindow != run.textArea.get()) takeGeometry(run);  // the caller's may move
    drawView(run);
    registerViewerZones(run);
    KeyCode key = translateKey(run, readKey());
    key = offerToMenuBar(run, key);
    const int result = dispatch(run, key);
    reportReadFailure(run);
    if (result >= 0) return result;
  }
}

}  // namespace

int viewFile(const ViewRequest& request) {
  ViewRun run(request);
  run.fullScreen = request.target == nullptr;
  if (request.mode != ViewInteractive && run.fullScreen) return ViewDone;
  run.commander = keyboardLayout() == KeyboardCommander;
  run.searchResult = request.searchString.has_value();
  run.session.hex = request.hex;
  run.session.rows = textRowsOf(run, request.target);
  if (!prepareWindow(run.session)) return ViewNoMemory;

  std::FILE* file = request.file;
  if (file == nullptr) {
    const FileResult opened = openRegularFile(request.fileName, run.ownFile);
    if (!opened) {
      if (request.mode == ViewDrawOnce) return ViewOpenFailed;
      return reportFileFailure(FormatViewerOpenError, request.fileName, opened, ViewOpenFailed);
    }
    file = run.ownFile.get();
  }
  const KeywordScope keywordScope(request.fileName);
  ViewWindow& w = run.session.window;
  w.file = file;
  w.fileLength = std::max<std::int64_t>(openFileLength(file), 0);

  if (run.searchResult) {
    viewerState().searchString = std::string(*request.searchString);
    std::int64_t found = -1;
    FileSearchResult result;
    {
      SearchPoll poll;
      result = findInFile(file, 0, viewerState().searchString, viewerState().caseFlag != 0, found,
                          &poll);
    }
    if (result == FileSearchResult::Cancelled) return ViewLeft;
    if (result == FileSearchResult::ReadFailed) messageBox(TextViewerReadError);
    if (result != FileSearchResult::Found) return ViewDone;
    placeHit(run.session, found);
    run.hit = true;
    run.lastHit = found;
    run.topAfterSearch = w.topOffset();
  } else {
    moveHome(run.session);
  }

  if (!run.fullScreen) {
    run.textWindow = request.target;
    takeGeometry(run);
    keepPage(run.session);
    if (request.mode == ViewDrawOnce) {
      drawView(run);
      run.session.readFailure = {};
      return ViewDone;
    }
    SavedMouseZones callerZones;
    return runKeys(run);
  }

  SavedMouseZones callerZones;
  const int shape = cursorShape();
  setCursorShape(CursorHidden);
  setViewerOrEditorOpen(true);
  int result = ViewLeft;
  if (openScreen(run) == 0) {
    takeGeometry(run);
    (void)prepareWindow(run.session);
    keepPage(run.session);
    reportReadFailure(run);
    result = runKeys(run);
  }
  setViewerOrEditorOpen(false);
  setCursorShape(shape);
  return result;
}

}  // namespace corvane
