#include "commands/command_loop.h"

#include <algorithm>
#include <vector>

#include "archives/archive_commands.h"
#include "archives/archive_panel.h"
#include "commands/bottom_rows.h"
#include "commands/command_table.h"
#include "commands/command_window.h"
#include "commands/function_key_pages.h"
#include "commands/key_translation.h"
#include "commands/loop_texts.h"
#include "commands/menu_definitions.h"
#include "commands/panel_commands.h"
#include "commands/panel_view.h"
#include "commands/screen_layout.h"
#include "commands/screen_size.h"
#include "commands/tree_focus.h"
#include "config/previous_directories.h"
#include "config/setup_block.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "exec/command_template.h"
#include "exec/user_menu.h"
#include "panels/directory_read.h"
#include "panels/panel_cursor.h"
#include "panels/selection_commands.h"
#include "panels/state_window.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/drives.h"
#include "platform/find.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/hotkey_label.h"
#include "ui/key_bar.h"
#include "ui/pulldown.h"
#include "viewer/viewer.h"
#include "viewer/viewer_commands.h"

namespace corvane {
namespace {

// The menu bar drawn in show-only mode ends before the clock's status line (which starts
// at most this many columns before the right edge), so drawing it does not wipe the clock.
constexpr int StatusLineCells = 38;
constexpr int HelpContextCorvane = 0;
constexpr int HelpContextCommander = 500;

SortMode currentSortMode() {
  return static_cast<SortMode>(std::min<int>(setupBlock().sortMode.get(), SortModeCount - 1));
}

ReadOptions readOptions(bool quiet) {
  ReadOptions options;
  options.sortMode = currentSortMode();
  options.ownKeyboardLayout = !quiet && keyboardLayout() == KeyboardCorvane;
  return options;
}

bool driveReadyFor(std::string_view path) {
  const char letter = driveLetterOf(path);
  return letter != 0 && driveAccessible(letter);
}

// Puts the page around the cursor after the list changed under it.
void placePage(PanelView& view) {
  Panel& panel = *view.panel;
  if (panel.cursor == NoNode || !isLiveNode(panel.list, panel.cursor))
    panel.cursor = panel.list.head;
  const int index = nodeIndex(panel.list, panel.cursor);
  view.cursorIndex = std::max(index, 0);
  scrollToCursor(panel, geometryOf(panel), view.cursorIndex);
}

// Keeps the page around the cursor after the geometry or display mode changed.
void keepPage(PanelView& view) {
  Panel& panel = *view.panel;
  if (panel.cursor == NoNode || !isLiveNode(panel.list, panel.cursor)) {
    placePage(view);
    return;
  }
  keepCursorOnPage(panel, geometryOf(panel), view.cursorIndex);
}

// The name of the directory under ancestor on the way to path ("" when ancestor is not one
// of path's ancestors): after going up by any command the cursor lands on it.
std::string childTowards(std::string_view ancestor, std::string_view path) {
  std::string prefix(ancestor);
  if (!prefix.empty() && prefix.back() != '\\') prefix += '\\';
  if (path.size() <= prefix.size() || !path.starts_with(prefix)) return {};
  const std::string_view rest = path.substr(prefix.size());
  return std::string(rest.substr(0, rest.find('\\')));
}

// Whether a directory can be listed: a drive root when its drive is ready, any other when
// its search finds "." at least (nothing is found in one that went or may not be read).
bool directoryListable(std::string_view path) {
  if (isDriveRoot(path)) return driveReadyFor(path);
  FindRecord record;
  if (findFirst(joinPath(path, "*.*"), 0, record) != 0) return false;
  findClose(record);
  return true;
}

// The nearest directory at or above path that can be listed; "" when not even the drive's
// root can.
std::string nearestListable(std::string_view path) {
  std::string directory(path);
  while (!directoryListable(directory)) {
    if (isDriveRoot(directory) || driveLetterOf(directory) == 0) return {};
    directory = parentPath(directory);
  }
  return directory;
}

// A panel never stays in a directory that cannot be read: it goes to the nearest one above
// that can, saying so. Returns the directory it left ("" when it stays).
std::string leaveUnreadable(Panel& panel) {
  if (panel.archiveType != 0 || isGlobalList(panel)) return {};
  const std::string reachable = nearestListable(panel.currentDirectory);
  if (reachable.empty() || reachable == panel.currentDirectory) return {};
  std::string left = std::move(panel.currentDirectory);
  panel.currentDirectory = reachable;
  messageBox(textf(FormatDirectoryUnreadable, left.c_str(), reachable.c_str()));
  return left;
}

// Reads a panel's directory again: from scratch when it is another directory than the one
// the list shows (its marks would mean nothing there), else in place keeping the marks.
void readPanel(Panel& panel, bool fresh, bool quiet) {
  if (panel.archiveType != 0) {
    (void)readArchiveDirectory(panel, currentSortMode(), quiet);
    return;
  }
  if (isGlobalList(panel)) return;  // its reader fills it
  if (fresh || panel.list.length == 0)
    (void)readDirectory(panel, readOptions(quiet));
  else
    (void)rereadDirectory(panel, readOptions(quiet));
}

// Step 3: the other panel. True when its directory was read.
bool updateOtherPanel(LoopContext& loop) {
  const int request = loop.otherRequest;
  loop.otherRequest = OtherNone;
  // A copy or move from a global list shows in the panel beside it at once.
  PanelView& view = loop.viewBeside();
  const bool outerOther = &view != &loop.other;
  const int level = outerOther ? std::max(nestingLevel() - 1, 1) : nestingLevel();
  if (view.panel == nullptr || request == OtherNone) return false;
  Panel& other = *view.panel;
  const Panel& current = *loop.current.panel;
  const bool reread =
      request == OtherAlways ||
      (request == OtherIfSameDirectory && other.currentDirectory == current.currentDirectory);
  bool read = false;
  if (request == OtherResort) {
    resortPanel(other, currentSortMode());
    placePage(view);
  } else if (reread) {
    if (!driveReadyFor(other.currentDirectory)) {
      messageBox(TextDriveNotReady);
    } else {
      std::string name = other.cursor != NoNode && isLiveNode(other.list, other.cursor)
                             ? other.list.nodes[other.cursor].entry.name
                             : std::string();
      const std::string left = leaveUnreadable(other);
      if (!left.empty()) name = childTowards(other.currentDirectory, left);
      readPanel(other, !left.empty(), loop.quietRead);
      read = true;
      placeCursorOnName(other, name);
      placePage(view);
    }
  } else if (request == OtherRedraw) {
    keepPage(view);
  } else {
    return false;
  }
  drawPanel(view, false, level);
  return read && !outerOther;
}

// A fresh read of the directory the other panel has just read in this pass takes its list
// instead (both panels on one directory at start): the directory is read once. True when
// the list was taken.
bool takeOtherPanelsList(Panel& panel, const Panel& other) {
  if (other.currentDirectory != panel.currentDirectory || other.mask != panel.mask ||
      other.archiveType != 0 || isGlobalList(other) || isGlobalList(panel) ||
      other.list.length == 0)
    return false;
  panel.list = other.list;
  panel.list.directories.clear();
  for (NodeId id : chain(panel.list)) panel.list.nodes[id].mark &= MarkError;
  panel.volume = other.volume;
  panel.nameCase = other.nameCase;
  panel.archiveType = 0;
  countList(panel);
  panel.cursor = panel.top = panel.list.head;
  panel.cursorRow = panel.cursorColumn = 0;
  return true;
}

// Step 4: the current panel, when a request is pending. otherRead: the other panel's
// directory was read in this pass.
void updateCurrentPanel(LoopContext& loop, bool otherRead) {
  int request = loop.reread;
  loop.reread = RereadNone;
  PanelView& view = loop.current;
  Panel& panel = *view.panel;

  if (!driveReadyFor(currentDirectory())) {
    messageBox(TextDriveNotReady);
    setCurrentDrive('C');
    panel.currentDirectory = currentDirectory();
  }
  if (request == RereadPrevious) {
    if (!loop.previousDirectory.empty()) changeDirectory(loop.previousDirectory);
    panel.currentDirectory = currentDirectory();
    request = RereadInPlace;
  }
  if (request == RereadInPlace || loop.freshRead ||
      panel.currentDirectory != loop.previousDirectory) {
    const std::string left = leaveUnreadable(panel);
    if (!left.empty()) {
      changeDirectory(panel.currentDirectory);
      loop.placement = PlaceLeftDirectory;
      loop.leftDirectory = childTowards(panel.currentDirectory, left);
    }
  }
  // Directories are told apart exactly: on a case-sensitive file system "Src" and "src"
  // are two directories.
  const bool changed = panel.currentDirectory != loop.previousDirectory;
  const bool fresh = loop.freshRead || (changed && !loop.globalList);
  const bool reread = request == RereadInPlace || fresh;
  loop.freshRead = false;
  if (reread) {
    if (changed && !loop.globalList) clearMarks(panel.list);
    // Up by "cd ..", Goto or a defined directory: onto the directory that was left.
    if (changed && (loop.placement == PlaceFirst || loop.placement == PlaceRemembered)) {
      std::string left = childTowards(panel.currentDirectory, loop.previousDirectory);
      if (!left.empty()) {
        loop.placement = PlaceLeftDirectory;
        loop.leftDirectory = std::move(left);
      }
    }
    const bool shared = fresh && otherRead && loop.other.panel != nullptr &&
                        panel.archiveType == 0 && takeOtherPanelsList(panel, *loop.other.panel);
    if (!shared) readPanel(panel, fresh, loop.quietRead);
    switch (loop.placement) {
      case PlaceFirst:
        panel.cursor = panel.list.head;
        break;
      case PlaceRemembered: {
        const DriveCursorMemory::Entry* entry =
            rememberedFor(loop.driveMemory, driveLetterOf(panel.currentDirectory));
        placeCursorOnName(panel, entry != nullptr ? std::string_view(entry->name) : "");
        break;
      }
      case PlaceDriveChange:
        placeCursorForDrive(panel, loop.driveMemory);
        break;
      case PlaceLeftDirectory:
        placeCursorAfterGoingUp(panel, loop.leftDirectory);
        break;
    }
    placePage(view);
  } else if (request == RereadRecount) {
    countList(panel);
    placePage(view);
  } else if (request == RereadResort) {
    resortPanel(panel, currentSortMode());
    placePage(view);
  } else if (request == RereadRedraw) {
    // The display mode or the window may have changed: the cursor entry stays on screen.
    keepPage(view);
  }
  loop.placement = PlaceRemembered;
  loop.leftDirectory.clear();
  loop.previousDirectory = panel.currentDirectory;
  drawPanel(view, true, nestingLevel());
}

// The mouse zones of a pass: the menu titles when the bar is shown, the bottom rows, the
// function-key page, the current panel's list and the other panel (a click there is Tab).
void registerLoopZones(LoopContext& loop, KeyboardLayout layout) {
  std::vector<MouseZone> zones;
  if (preference(13) != 0) {
    MenuBar& bar = menuBarFor(layout);
    std::vector<int> columns(bar.menus.size());
    layoutMenuBar(bar, columns);
    for (std::size_t i = 0; i < bar.menus.size(); ++i) {
      MouseZone zone;
      zone.x1 = bar.x - 1 + columns[i] - 1;
      zone.x2 = zone.x1 + std::max(menuLabelCells(bar.menus[i]->title), 1) - 1;
      zone.y1 = zone.y2 = bar.y - 1;
      zone.leftCode = MenuTitleClickBase + static_cast<int>(i);
      zones.push_back(zone);
    }
  }
  if (loop.functionKeyWindow) {
    std::vector<MouseZone> page = functionKeyPageZones(*loop.functionKeyWindow);
    zones.insert(zones.end(), page.begin(), page.end());
  } else if (loop.screen != nullptr) {
    std::vector<MouseZone> bottom =
        bottomRowZones(*loop.screen, layout, loop.current.panel->currentDirectory);
    zones.insert(zones.end(), bottom.begin(), bottom.end());
  }
  auto panelZone = [&](const Panel* panel, KeyCode code) {
    if (panel == nullptr || panel->window == nullptr || programState().panelsHidden) return;
    zones.push_back(windowInteriorZone(*panel->window, code));
  };
  panelZone(loop.current.panel, PanelClickCode);
  if (!loop.globalList) panelZone(loop.other.panel, key::Tab);
  // A click into the tree beside the list gives it the focus.
  if (treeShown(loop)) zones.push_back(windowInteriorZone(*loop.screen->tree, key::Tab));
  registerMouseZones(zones);
}

// The menu bar in show-only mode on the top row, its window dropped at once.
void showMenuTitles(KeyboardLayout layout) {
  MenuBar& bar = menuBarFor(layout);
  bar.width = std::max(screenColumns() - StatusLineCells, 1);
  if (bar.width == MenuBarFullWidth) --bar.width;
  (void)runMenuBar(bar, 0, MenuBarMode::ShowOnly);
  dropMenuBar(bar);
  bar.width = MenuBarFullWidth;
}

// Step 10: an Alt key with a title's letter opens that pulldown; the chosen command (0 for
// none) replaces the key. Other keys come back unchanged.
CommandId offerToMenuBar(KeyCode key, KeyboardLayout layout) {
  if (key == 0 || altLetter(key) == 0) return key;
  MenuBar& bar = menuBarFor(layout);
  bar.width = MenuBarFullWidth;
  const bool showOnly = preference(13) != 0;
  return runMenuBar(bar, key, showOnly ? MenuBarMode::ShowOnly : MenuBarMode::Interactive);
}

// The Alt key of a menu title clicked on the top row.
KeyCode titleKey(KeyboardLayout layout, int index) {
  const std::span<PulldownMenu* const> menus = menusOf(layout);
  if (index < 0 || static_cast<std::size_t>(index) >= menus.size()) return 0;
  const int letter = hotkeyLetter(menus[static_cast<std::size_t>(index)]->title);
  return letter >= 'A' && letter <= 'Z' ? key::alt(static_cast<char>(letter)) : 0;
}

// The nesting level of a loop: 1 for the outermost, one more for each loop around it.
int levelOf(const LoopContext& loop) {
  int level = 1;
  for (const LoopContext* outer = loop.outer; outer != nullptr; outer = outer->outer) ++level;
  return level;
}

// Draws the panel of a loop that lives in a window just laid out again.
void redrawPanelIn(LoopContext& loop, const ScreenWindow& window) {
  for (PanelView* view : {&loop.current, &loop.other}) {
    if (view->panel == nullptr || view->panel->window != &window) continue;
    keepPage(*view);
    const bool active = view == &loop.current && programState().innermost == &loop;
    drawPanel(*view, active, levelOf(loop));
    if (active) drawPositionMarker(*view);  // as a pass draws it
  }
}

void placeWindow(ScreenWindow& window, const WindowRect& rect) {
  moveWindow(window, rect.x, rect.y, rect.width, rect.height);
}

// The relayout hook of every window a loop opens: the window goes where the plan for the
// screen's new size puts it, and what it shows is drawn again.
void relayoutLoopWindow(ScreenWindow& window, void* owner) {
  LoopContext& loop = *static_cast<LoopContext*>(owner);
  const KeyboardLayout layout = keyboardLayout();
  const ProgramState& state = programState();
  if (loop.screen != nullptr && loop.outermost) {
    LoopScreen& screen = *loop.screen;
    screen.request.columns = screenColumns();
    screen.request.rows = screenRows();
    screen.request.smallWindows = state.smallWindows;
    screen.plan = planScreen(screen.request);
    const ScreenPlan& plan = screen.plan;
    if (&window == screen.topRow.get()) {
      placeWindow(window, plan.topRow);
      if (preference(13) != 0) showMenuTitles(layout);
      return;
    }
    if (&window == screen.tree.get()) {
      placeWindow(window, plan.tree);
      TreeView& view = screenTreeView(loop);
      if (view.window == &window) drawTreeView(view);
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (&window != screen.panelWindows[i].get()) continue;
      placeWindow(window, plan.panels[i]);
      return redrawPanelIn(loop, window);
    }
    if (&window == screen.labelRows.get() || &window == screen.commandLine.get() ||
        &window == screen.keyBarWindow.get()) {
      placeWindow(window, &window == screen.labelRows.get()     ? plan.labelRows
                          : &window == screen.commandLine.get() ? plan.commandLine
                                                                : plan.keyBar);
      // The rows under the panels do not overlap: drawn together once the last one is placed.
      if (&window == (screen.keyBarWindow ? screen.keyBarWindow.get() : screen.labelRows.get())) {
        const LoopContext* inner = state.innermost != nullptr ? state.innermost : &loop;
        drawBottomRows(screen, layout, inner->current.panel->currentDirectory);
      }
      return;
    }
  }
  if (&window == loop.nestedWindow.get() && loop.outer != nullptr &&
      loop.outer->current.panel != nullptr && loop.outer->current.panel->window != nullptr) {
    const ScreenWindow& under = *loop.outer->current.panel->window;
    moveWindow(window, under.x + 1, under.y + 1, under.width, under.height);
    return redrawPanelIn(loop, window);
  }
  if (&window == loop.createdOtherWindow.get() && loop.screen != nullptr) {
    // The other half of the screen from the loop's own panel window.
    const ScreenPlan& plan = loop.screen->plan;
    const ScreenWindow* own = loop.nestedWindow.get();
    const bool ownOnFirst = own == nullptr || own->x + 1 == plan.panels[0].x;
    placeWindow(window, plan.panels[ownOnFirst ? 1 : 0]);
    return redrawPanelIn(loop, window);
  }
  if (&window == loop.functionKeyWindow.get()) {
    showFunctionKeyPage(loop.functionKeyWindow, loop.functionKeyPage);  // places it too
    return;
  }
  if (&window == loop.hiddenCover.get() && loop.screen != nullptr) {
    const ScreenPlan& plan = loop.screen->plan;
    moveWindow(window, 1, plan.firstPanelRow, screenColumns(),
               plan.lastPanelRow - plan.firstPanelRow + 1);
  }
}

// Keys that reach the loop unchanged in the COMMANDER layout.
bool commanderPassesThrough(KeyCode key) {
  switch (key) {
    case key::Tab:
    case key::ShiftTab:
    case key::Left:
    case key::Right:
    case key::Home:
    case key::End:
    case key::PgUp:
    case key::PgDn:
    case PanelClickCode:
    case PanelDoubleClickCode:
      return true;
    default:
      return false;
  }
}

Panel makePanel(std::string_view startDirectory, ScreenLayout layout, ScreenWindow* window);

// A partner for a panel of the two-list layout that has none (a nested loop's): on the
// other half of the screen, on the same directory. False when the screen has no other half.
bool createOtherPanel(LoopContext& loop) {
  Panel& panel = *loop.current.panel;
  if (loop.screen == nullptr || panel.window == nullptr) return false;
  const ScreenPlan& plan = loop.screen->plan;
  if (plan.panels[1].empty()) return false;
  const bool onFirst = panel.window->x + 1 == plan.panels[0].x;
  if (openPanelWindow(loop.createdOtherWindow, plan.panels[onFirst ? 1 : 0]) != 0) return false;
  adoptLoopWindow(loop.createdOtherWindow.get(), loop);
  loop.createdOther =
      std::make_unique<Panel>(makePanel("", LayoutTwoLists, loop.createdOtherWindow.get()));
  linkPanels(panel, *loop.createdOther);
  loop.other = PanelView{loop.createdOther.get()};
  if (panel.window != nullptr) activateWindow(*panel.window);
  return true;
}

// Step 14: Tab and Shift-Tab.
int switchPanels(LoopContext& loop) {
  Panel& panel = *loop.current.panel;
  if (loop.globalList || panel.layout != LayoutTwoLists) {
    rejectBeep();
    return LoopContinue;
  }
  const bool created = loop.other.panel == nullptr;
  if (created && !createOtherPanel(loop)) {
    rejectBeep();
    return LoopContinue;
  }
  if (stateWindowOpen()) {
    closeStateWindow(panel);
    loop.otherRequest = OtherRedraw;
  }
  std::swap(loop.current, loop.other);
  Panel& now = *loop.current.panel;
  changeDirectory(now.currentDirectory);
  now.currentDirectory = currentDirectory();
  loop.previousDirectory = now.currentDirectory;
  drawPanelTitle(loop.other, false, nestingLevel());
  loop.reread = created ? RereadInPlace : RereadRedraw;
  if (created) loop.placement = PlaceFirst;
  loop.barDirty = true;
  return LoopContinue;
}

// Step 6: with Autoview on, the file under the cursor in the other panel's window; the panel
// is drawn again when the cursor leaves the files.
void showAutoview(LoopContext& loop) {
  Panel* other = loop.otherPanel();
  ScreenWindow* target = other != nullptr ? other->window : nullptr;
  if (!loop.autoview || target == nullptr || programState().panelsHidden) return;
  const bool drawn = loop.current.panel->archiveType != 0 ? drawArchiveAutoview(loop, *target)
                                                          : drawAutoview(loop, *target);
  if (drawn) {
    loop.autoviewShown = true;
  } else if (loop.autoviewShown) {
    loop.autoviewShown = false;
    drawPanel(loop.other, false, nestingLevel());
  }
  if (loop.current.panel->window != nullptr) activateWindow(*loop.current.panel->window);
}

// Step 14 with Autoview showing a file: the keys go into the viewer until it returns; Enter
// there moves the cursor down (the next file shows).
int autoviewKeys(LoopContext& loop) {
  Panel* other = loop.otherPanel();
  if (other == nullptr || other->window == nullptr) return LoopContinue;
  const int ended = loop.current.panel->archiveType != 0
                        ? enterArchiveAutoview(loop, *other->window)
                        : enterAutoview(loop, *other->window);
  if (ended == ViewEnter) loop.pending = key::Down;
  if (loop.current.panel->window != nullptr) activateWindow(*loop.current.panel->window);
  return LoopContinue;
}

// The user left the "too small" screen with Esc: nested loops end, the outermost takes it
// as its Esc (the exit question where preference 1 asks it). Answered No, the screen is too
// small still: its message again.
int leaveAsRequested(LoopContext& loop) {
  ProgramState& state = programState();
  if (!loop.outermost) return LoopEnd;
  state.leaveRequested = false;
  const int result = quitCommand(loop, CmdQuit);
  if (result == LoopContinue) (void)followTerminalSize();
  return result;
}

// One pass, steps 1 to 15.
int runPass(LoopContext& loop) {
  const KeyboardLayout layout = keyboardLayout();
  Panel& panel = *loop.current.panel;
  ProgramState& state = programState();
  if (state.leaveRequested) return leaveAsRequested(loop);

  // 1, 2
  if (panel.window != nullptr) activateWindow(*panel.window);
  if (layout == KeyboardCorvane) setHelpContext(HelpContextCorvane);
  if (layout == KeyboardCommander) setHelpContext(HelpContextCommander);
  panel.currentDirectory = currentDirectory();
  // 3, 4
  const bool otherRead = !state.panelsHidden && updateOtherPanel(loop);
  if (loop.reread != RereadNone && !state.panelsHidden) updateCurrentPanel(loop, otherRead);
  loop.quietRead = false;
  // 5
  Panel& current = *loop.current.panel;
  rememberCursor(loop.driveMemory, current);
  if (!state.panelsHidden) drawPanelTitle(loop.current, true, nestingLevel());
  // 6
  showAutoview(loop);
  const bool tree = treeShown(loop);
  if (tree && !loop.treeFocus) followTree(loop);
  // 8
  if (layout == KeyboardCommander && loop.promptDirectory != current.currentDirectory) {
    loop.promptDirectory = current.currentDirectory;
    loop.barDirty = true;
  }
  // A function-key page lies over the bottom rows: they are drawn again when it closes.
  if (loop.barDirty && loop.screen != nullptr && !loop.functionKeyWindow) {
    drawBottomRows(*loop.screen, layout, current.currentDirectory);
    loop.barDirty = false;
  }
  if (!state.panelsHidden) drawPositionMarker(loop.current);
  if (preference(13) != 0) showMenuTitles(layout);
  registerLoopZones(loop, layout);

  // 9 to 11
  CommandId code = 0;
  if (loop.pending != 0) {
    code = loop.pending;
    loop.pending = 0;
  } else {
    KeyCode key = 0;
    if (loop.pendingKey != 0) {
      key = loop.pendingKey;
      loop.pendingKey = 0;
    } else if (tree && loop.treeFocus) {
      // 7: the tree takes the keys; one it hands back goes on as a key read.
      key = runTreeFocus(loop);
      if (key == key::Tab) return LoopContinue;
    } else {
      key = readLoopKey(loop);
    }
    if (state.leaveRequested) return LoopContinue;  // its Esc is not a key of the loop
    if (takeResizeRequest()) return LoopRebuild;
    if (layout == KeyboardCommander && loop.screen != nullptr &&
        loop.screen->keyBar.window != nullptr && !loop.functionKeyWindow)
      followModifiers(loop.screen->keyBar);
    if (key >= MenuTitleClickBase && key < MenuTitleClickBase + 5) {
      code = offerToMenuBar(titleKey(layout, key - MenuTitleClickBase), layout);
    } else {
      code = key;
      // The keypad's grey keys are their characters outside the COMMANDER layout.
      if (layout != KeyboardCommander && key::keypadCharacter(key) != 0)
        code = key::keypadCharacter(key);
      if (layout == KeyboardCommander && key >= key::Space && key <= 0xFF) {
        typeIntoCommandLine(loop, key);
        return LoopContinue;
      }
      // While a function-key page shows, F5 to F10 run its commands.
      const bool pageKey = loop.functionKeyPage > 0 && key >= key::F5 && key <= key::F10;
      if (layout == KeyboardCommander && !commanderPassesThrough(key) && !pageKey)
        code = translateCommander(loop, key);
      code = offerToMenuBar(code, layout);
    }
    if (loop.exitRequest != 0) return loop.exitRequest;
    if (code == CmdMenuWindowOnOff || code == CmdMenuWindowBigSmall || code == CmdMenuAllWindows)
      code = translateCommander(loop, menuCodeAsCommanderKey(code));
  }
  const bool formChosen = loop.formChosen;
  loop.formChosen = false;
  if (code == 0) return LoopContinue;
  // 12, 13
  if (!formChosen) code = resolveEither(loop, code);
  if (code == 0) return LoopContinue;
  code = externalFallback(code);
  // 14
  if ((code == key::Tab || code == key::ShiftTab) && loop.autoviewShown) return autoviewKeys(loop);
  // 15: letters reach their handlers in lower case.
  code = foldLetter(code);
  if (tree && (code == key::Tab || code == key::ShiftTab || code == 't' || code == CmdTree)) {
    loop.treeFocus = true;  // the tree beside the list takes the keys from the next pass on
    return LoopContinue;
  }
  if (code == key::Tab || code == key::ShiftTab) return switchPanels(loop);
  int result = LoopContinue;
  if (code == PanelClickCode || code == PanelDoubleClickCode) {
    int column = -1, row = -1;
    lastClickPosition(column, row);
    result = clickCommand(loop, column, row, code == PanelDoubleClickCode);
  } else if (panel.archiveType != 0 && refusedInArchive(code)) {
    rejectBeep();
  } else if (CommandHandler handler = findCommand(code)) {
    result = handler(loop, code);
  } else if (const char letter = ctrlLetterDrive(code); letter != 0 && layout == KeyboardCorvane) {
    result = changeDriveCommand(loop, letter);
  } else {
    rejectBeep();
  }
  if (result == LoopContinue && loop.exitRequest != 0) result = loop.exitRequest;
  return result;
}

// Leaves with the windows a loop opened on its own freed, on top first.
void releaseLoopWindows(LoopContext& loop) {
  if (stateWindowOpen() && loop.current.panel != nullptr && (loop.current.panel->infoFlag & 1) != 0)
    closeStateWindow(*loop.current.panel);
  freeWindow(loop.hiddenCover);
  freeWindow(loop.functionKeyWindow);
  if (loop.outermost) {
    programState().panelsHidden = false;
    setStatusLineShown(true);
    leaveUserScreen();
  }
  if (loop.createdOther) {
    freePanel(*loop.createdOther);
    loop.createdOther.reset();
  }
  freeWindow(loop.createdOtherWindow);
}

Panel makePanel(std::string_view startDirectory, ScreenLayout layout, ScreenWindow* window) {
  Panel panel;
  if (!startDirectory.empty()) changeDirectory(startDirectory);
  panel.layout = layout;
  panel.window = window;
  panel.currentDirectory = currentDirectory();
  panel.mask = "*.*";
  panel.displayBits = displayBitsForSetting(setupBlock().fileDisplay.get());
  return panel;
}

// The questions and files of the program's end.
void finishProgram() {
  const std::string& setupPath = programState().setupPath;
  if (setupChanged() && question(QuestionDefaultYes, TextSaveSetupQuestion) == QuestionYes) {
    if (!setupPath.empty() && saveSetup(setupPath)) clearSetupChanged();
  }
  writeLastDirectories();
}

}  // namespace

void writeLastDirectories() {
  const ProgramState& state = programState();
  if (state.setupPath.empty() || state.panels[0] == nullptr) return;
  writePreviousDirectories(
      siblingPath(state.setupPath, PreviousDirectoriesExtension), state.panels[0]->currentDirectory,
      state.panels[1] != nullptr ? std::string_view(state.panels[1]->currentDirectory) : "");
}

int runPanelLoop(LoopContext& loop) {
  ProgramState& state = programState();
  int& counter = loop.globalList ? state.globalLoops : state.panelLoops;
  ++counter;
  LoopContext* outer = state.innermost;
  state.innermost = &loop;
  int result = LoopContinue;
  while (result == LoopContinue) result = runPass(loop);
  releaseLoopWindows(loop);
  if (loop.outermost) state.driveMemory = loop.driveMemory;
  loop.driveMemory = {};
  state.innermost = outer;
  --counter;
  return result;
}

namespace {

// Runs a nested loop on panel in a window over the current panel's window. make fills the
// panel once the window exists (the panel's directory becomes current there). With
// shareOther the nested loop has the other panel of the two-list layout as its own partner
// (an archive panel copies to it and shows Autoview there).
template <typename MakePanel>
int runNestedOn(LoopContext& loop, MakePanel make, bool shareOther = false) {
  if (nestingLevel() >= MaxNesting) return LoopContinue;
  Panel& outerPanel = *loop.current.panel;
  if (outerPanel.window == nullptr) return LoopContinue;
  const ScreenWindow& outerWindow = *outerPanel.window;
  const WindowRect rect{outerWindow.x + 1, outerWindow.y + 1, outerWindow.width,
                        outerWindow.height};

  LoopContext nested;
  nested.outermost = false;
  nested.outer = &loop;
  nested.screen = loop.screen;
  if (openPanelWindow(nested.nestedWindow, rect) != 0) return LoopContinue;
  adoptLoopWindow(nested.nestedWindow.get(), nested);
  Panel& panel = make(nested.nestedWindow.get());
  nested.current.panel = &panel;
  nested.globalList = isGlobalList(panel);
  nested.placement = PlaceFirst;
  const bool shared = shareOther && !nested.globalList && loop.other.panel != nullptr;
  if (shared) nested.other = loop.other;
  int result = runPanelLoop(nested);
  freeWindow(nested.nestedWindow);
  if (shared) {
    // Tab may have left the shared panel current in the nested loop.
    loop.other = nested.current.panel == loop.other.panel ? nested.current : nested.other;
    loop.otherRequest = OtherAlways;
  }

  changeDirectory(outerPanel.currentDirectory);
  loop.reread = RereadIfChanged;
  loop.previousDirectory = outerPanel.currentDirectory;
  loop.current.lastPercent = -1;
  loop.barDirty = true;
  return result == LoopRebuild || result == LoopUserMenu ? result : LoopContinue;
}

}  // namespace

int runNestedPanel(LoopContext& loop, std::string_view directory) {
  const Panel& outerPanel = *loop.current.panel;
  Panel panel;
  const int result = runNestedOn(loop, [&](ScreenWindow* window) -> Panel& {
    panel = makePanel(directory, outerPanel.layout, window);
    // A directory entered from a global list is read as a directory.
    panel.displayBits = outerPanel.displayBits & ~DisplayGlobalList;
    panel.mask = outerPanel.mask;
    return panel;
  });
  freePanel(panel);
  return result;
}

int LoopContext::runNestedLoop(Panel& panel) {
  const Panel& outerPanel = *current.panel;
  const int result = runNestedOn(
      *this,
      [&](ScreenWindow* window) -> Panel& {
        panel.window = window;
        panel.layout = outerPanel.layout;
        if (!panel.currentDirectory.empty() && panel.archiveType == 0)
          changeDirectory(panel.currentDirectory);
        return panel;
      },
      panel.archiveType != 0);
  panel.window = nullptr;  // the nested window is gone
  return result;
}

void adoptLoopWindow(ScreenWindow* window, LoopContext& loop) {
  if (window == nullptr) return;
  window->relayout = relayoutLoopWindow;
  window->relayoutOwner = &loop;
}

namespace {

// The menu of the file named like the setup file with the extension "DAT", in user-menu
// mode; its %1 and %2 are the directories of the panels a restart shows again.
void runStartupUserMenu() {
  const ProgramState& state = programState();
  if (state.setupPath.empty()) {
    rejectBeep();
    return;
  }
  const Panel* active = state.panels[state.activePanel].get();
  const Panel* other = state.panels[1 - state.activePanel].get();
  setTemplateDirectories(active != nullptr ? std::string_view(active->currentDirectory) : "",
                         other != nullptr ? std::string_view(other->currentDirectory) : "");
  setUserMenuMode(true);
  (void)runUserMenu(state.setupPath, false);
  setUserMenuMode(false);
}

}  // namespace

int runCommandLoop(const CommandLoopSettings& settings) {
  ProgramState& state = programState();
  state.setupPath = settings.setupPath;
  state.osText = settings.osText;
  if (settings.userMenu) runStartupUserMenu();
  const KeyboardLayout keyboard = keyboardLayout();
  applyKeyboardLayout(keyboard);
  if (state.windowLayoutChoice < 0) state.windowLayoutChoice = setupBlock().screenLayout.get();
  const ScreenLayout layout = panelLayoutFor(state.windowLayoutChoice, keyboard);
  const bool twoLists = layout == LayoutTwoLists;

  // A restart (window layout, big/small, user menu) finds the terminal as the user left it.
  int terminalColumns = 0, terminalRows = 0, columns = 0, rows = 0;
  console().terminalSize(terminalColumns, terminalRows);
  if (!screenSizeFor(terminalColumns, terminalRows, columns, rows)) (void)followTerminalSize();

  ScreenRequest request;
  request.columns = screenColumns();
  request.rows = screenRows();
  request.layout = layout;
  request.keyboard = keyboard;
  request.commandWindow = setupBlock().commandWindow.get() == 0;
  request.smallWindows = state.smallWindows;
  LoopScreen screen;
  screen.request = request;
  (void)openLoopScreen(screen, planScreen(request), twoLists);

  // The panels: made at the first start, shown again as they were by every restart.
  const bool restart = state.panels[0] != nullptr;
  bool secondIsNew = false;
  if (!restart) {
    const std::string start =
        !settings.startDirectory1.empty() ? settings.startDirectory1 : state.lastDirectory1;
    state.panels[0] = std::make_unique<Panel>(makePanel(start, layout, nullptr));
  }
  if (twoLists && !state.panels[1]) {
    const std::string start =
        !settings.startDirectory2.empty() ? settings.startDirectory2 : state.lastDirectory2;
    state.panels[1] = std::make_unique<Panel>(makePanel(start, layout, nullptr));
    state.panels[1]->displayBits = state.panels[0]->displayBits;
    secondIsNew = true;
  }
  if (!state.panels[state.activePanel]) state.activePanel = 0;
  for (std::unique_ptr<Panel>& panel : state.panels) {
    if (!panel) continue;
    panel->layout = layout;
    panel->window = nullptr;
    panel->other = nullptr;
  }
  Panel& active = *state.panels[state.activePanel];
  LoopContext loop;
  loop.screen = &screen;
  loop.current.panel = &active;
  if (twoLists) {
    Panel& first = *state.panels[0];
    Panel& second = *state.panels[1];
    first.window = screen.panelWindows[0].get();
    second.window = screen.panelWindows[1].get();
    first.other = &second;
    second.other = &first;
    loop.other.panel = &active == &first ? &second : &first;
    loop.otherRequest = restart && !secondIsNew ? OtherRedraw : OtherAlways;
  } else {
    active.window = screen.panelWindows[0].get();
  }
  for (WindowHandle* handle :
       {&screen.topRow, &screen.tree, &screen.panelWindows[0], &screen.panelWindows[1],
        &screen.labelRows, &screen.commandLine, &screen.keyBarWindow})
    adoptLoopWindow(handle->get(), loop);
  attachTreeArea(loop, screen.tree.get());
  changeDirectory(active.currentDirectory);
  if (restart) {
    for (PanelView* view : {&loop.current, &loop.other})
      if (view->panel != nullptr && view->panel->cursor != NoNode)
        view->cursorIndex = std::max(nodeIndex(view->panel->list, view->panel->cursor), 0);
    loop.previousDirectory = active.currentDirectory;
    loop.reread = RereadRedraw;
    loop.driveMemory = state.driveMemory;
  } else {
    loop.placement = PlaceFirst;
  }
  setStatusLineShown(true);
  const int result = runPanelLoop(loop);
  attachTreeArea(loop, nullptr);

  if (twoLists) state.activePanel = loop.current.panel == state.panels[1].get() ? 1 : 0;
  state.lastDirectory1 = state.panels[0]->currentDirectory;
  if (state.panels[1]) state.lastDirectory2 = state.panels[1]->currentDirectory;
  for (std::unique_ptr<Panel>& panel : state.panels)
    if (panel) panel->window = nullptr;
  if (result != LoopRebuild && result != LoopUserMenu) {
    state.endDirectory = state.panels[state.activePanel]->currentDirectory;
    finishProgram();
    for (std::unique_ptr<Panel>& panel : state.panels) {
      if (panel) freePanel(*panel);
      panel.reset();
    }
    state.activePanel = 0;
    state.driveMemory = {};
  }
  clearMouseZones();
  closeLoopScreen(screen);
  return result;
}

}  // namespace corvane
