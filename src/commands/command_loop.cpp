#include "commands/command_loop.h"

#include <algorithm>
#include <vector>

#include "commands/bottom_rows.h"
#include "commands/command_table.h"
#include "commands/command_window.h"
#include "commands/function_key_pages.h"
#include "commands/key_translation.h"
#include "commands/later_commands.h"
#include "commands/loop_texts.h"
#include "commands/menu_definitions.h"
#include "commands/panel_commands.h"
#include "commands/panel_view.h"
#include "commands/screen_layout.h"
#include "config/previous_directories.h"
#include "config/setup_block.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "panels/directory_read.h"
#include "panels/panel_cursor.h"
#include "panels/selection_commands.h"
#include "panels/state_window.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "ui/boxes.h"
#include "ui/hotkey_label.h"
#include "ui/key_bar.h"

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

// Reads a panel's directory again: from scratch when it is another directory than the one
// the list shows (its marks would mean nothing there), else in place keeping the marks.
void readPanel(Panel& panel, bool fresh, bool quiet) {
  if (panel.archiveType != 0 || isGlobalList(panel)) return;  // their readers fill them
  if (fresh || panel.list.length == 0)
    (void)readDirectory(panel, readOptions(quiet));
  else
    (void)rereadDirectory(panel, readOptions(quiet));
}

// Step 3: the other panel.
void updateOtherPanel(LoopContext& loop) {
  const int request = loop.otherRequest;
  loop.otherRequest = OtherNone;
  PanelView& view = loop.other;
  if (view.panel == nullptr || request == OtherNone) return;
  Panel& other = *view.panel;
  const Panel& current = *loop.current.panel;
  const bool reread =
      request == OtherAlways ||
      (request == OtherIfSameDirectory && other.currentDirectory == current.currentDirectory);
  if (request == OtherResort) {
    resortPanel(other, currentSortMode());
    placePage(view);
  } else if (reread) {
    if (!driveReadyFor(other.currentDirectory)) {
      messageBox(TextDriveNotReady);
    } else {
      const std::string name = other.cursor != NoNode && isLiveNode(other.list, other.cursor)
                                   ? other.list.nodes[other.cursor].entry.name
                                   : std::string();
      readPanel(other, false, loop.quietRead);
      placeCursorOnName(other, name);
      placePage(view);
    }
  } else if (request != OtherRedraw) {
    return;
  }
  drawPanel(view, false, nestingLevel());
}

// Step 4: the current panel, when a request is pending.
void updateCurrentPanel(LoopContext& loop) {
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
  // Directories are told apart exactly: on a case-sensitive file system "Src" and "src"
  // are two directories.
  const bool changed = panel.currentDirectory != loop.previousDirectory;
  const bool fresh = loop.freshRead || (changed && !loop.globalList);
  const bool reread = request == RereadInPlace || fresh;
  loop.freshRead = false;
  const PanelGeometry before = geometryOf(panel);
  if (reread) {
    if (changed && !loop.globalList) clearMarks(panel.list);
    readPanel(panel, fresh, loop.quietRead);
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
    const PanelGeometry after = geometryOf(panel);
    if (after.rowsPerColumn != before.rowsPerColumn || after.columns != before.columns ||
        panel.top == NoNode || !isLiveNode(panel.list, panel.top))
      placePage(view);
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
    const ScreenWindow& w = *panel->window;
    MouseZone zone;
    zone.x1 = w.x + 1;
    zone.x2 = w.x + w.width - 2;
    zone.y1 = w.y + 1;
    zone.y2 = w.y + w.height - 2;
    zone.leftCode = code;
    zones.push_back(zone);
  };
  panelZone(loop.current.panel, PanelClickCode);
  if (!loop.globalList) panelZone(loop.other.panel, key::Tab);
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
    rejectBeep();  // the tree's focus comes with the tree window
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

// One pass, steps 1 to 15.
int runPass(LoopContext& loop) {
  const KeyboardLayout layout = keyboardLayout();
  Panel& panel = *loop.current.panel;
  ProgramState& state = programState();

  // 1, 2
  if (panel.window != nullptr) activateWindow(*panel.window);
  if (layout == KeyboardCorvane) setHelpContext(HelpContextCorvane);
  if (layout == KeyboardCommander) setHelpContext(HelpContextCommander);
  panel.currentDirectory = currentDirectory();
  // 3, 4
  if (!state.panelsHidden) updateOtherPanel(loop);
  if (loop.reread != RereadNone && !state.panelsHidden) updateCurrentPanel(loop);
  loop.quietRead = false;
  // 5
  Panel& current = *loop.current.panel;
  rememberCursor(loop.driveMemory, current);
  if (!state.panelsHidden) drawPanelTitle(loop.current, true, nestingLevel());
  // 8
  if (layout == KeyboardCommander && loop.promptDirectory != current.currentDirectory) {
    loop.promptDirectory = current.currentDirectory;
    loop.barDirty = true;
  }
  if (loop.barDirty && loop.screen != nullptr) {
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
    const KeyCode key = readLoopKey(loop);
    if (takeResizeRequest()) return LoopRebuild;
    if (layout == KeyboardCommander && loop.screen != nullptr &&
        loop.screen->keyBar.window != nullptr)
      followModifiers(loop.screen->keyBar);
    if (key >= MenuTitleClickBase && key < MenuTitleClickBase + 5) {
      code = offerToMenuBar(titleKey(layout, key - MenuTitleClickBase), layout);
    } else {
      code = key;
      if (layout == KeyboardCommander && key >= key::Space && key <= 0xFF) {
        typeIntoCommandLine(loop, key);
        return LoopContinue;
      }
      if (layout == KeyboardCommander && !commanderPassesThrough(key))
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
  if (code == key::Tab || code == key::ShiftTab) return switchPanels(loop);
  // 15: letters reach their handlers in lower case.
  code = foldLetter(code);
  int result = LoopContinue;
  if (code == PanelClickCode || code == PanelDoubleClickCode) {
    int column = -1, row = -1;
    lastClickPosition(column, row);
    result = clickCommand(loop, column, row, code == PanelDoubleClickCode);
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
void finishProgram(const Panel& first, const Panel* second) {
  const std::string& setupPath = programState().setupPath;
  if (setupChanged() && question(QuestionDefaultYes, TextSaveSetupQuestion) == QuestionYes) {
    if (!setupPath.empty() && saveSetup(setupPath)) clearSetupChanged();
  }
  if (!setupPath.empty())
    writePreviousDirectories(siblingPath(setupPath, PreviousDirectoriesExtension),
                             first.currentDirectory,
                             second != nullptr ? std::string_view(second->currentDirectory) : "");
}

}  // namespace

int runPanelLoop(LoopContext& loop) {
  ProgramState& state = programState();
  int& counter = loop.globalList ? state.globalLoops : state.panelLoops;
  ++counter;
  LoopContext* outer = state.innermost;
  state.innermost = &loop;
  int result = LoopContinue;
  while (result == LoopContinue) result = runPass(loop);
  releaseLoopWindows(loop);
  loop.driveMemory = {};
  state.innermost = outer;
  --counter;
  return result;
}

namespace {

// Runs a nested loop on panel in a window over the current panel's window. make fills the
// panel once the window exists (the panel's directory becomes current there).
template <typename MakePanel>
int runNestedOn(LoopContext& loop, MakePanel make) {
  if (nestingLevel() >= MaxNesting) return LoopContinue;
  Panel& outerPanel = *loop.current.panel;
  if (outerPanel.window == nullptr) return LoopContinue;
  const ScreenWindow& outerWindow = *outerPanel.window;
  const WindowRect rect{outerWindow.x + 1, outerWindow.y + 1, outerWindow.width,
                        outerWindow.height};

  LoopContext nested;
  nested.outermost = false;
  nested.screen = loop.screen;
  if (openPanelWindow(nested.nestedWindow, rect) != 0) return LoopContinue;
  Panel& panel = make(nested.nestedWindow.get());
  nested.current.panel = &panel;
  nested.globalList = isGlobalList(panel);
  nested.placement = PlaceFirst;
  int result = runPanelLoop(nested);
  freeWindow(nested.nestedWindow);

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
    panel.displayBits = outerPanel.displayBits;
    panel.mask = outerPanel.mask;
    return panel;
  });
  freePanel(panel);
  return result;
}

int LoopContext::runNestedLoop(Panel& panel) {
  const Panel& outerPanel = *current.panel;
  const int result = runNestedOn(*this, [&](ScreenWindow* window) -> Panel& {
    panel.window = window;
    panel.layout = outerPanel.layout;
    if (!panel.currentDirectory.empty() && !isGlobalList(panel) && panel.archiveType == 0)
      changeDirectory(panel.currentDirectory);
    return panel;
  });
  panel.window = nullptr;  // the nested window is gone
  return result;
}

int runCommandLoop(const CommandLoopSettings& settings) {
  ProgramState& state = programState();
  state.setupPath = settings.setupPath;
  state.osText = settings.osText;
  const KeyboardLayout keyboard = keyboardLayout();
  applyKeyboardLayout(keyboard);
  if (state.windowLayoutChoice < 0) state.windowLayoutChoice = setupBlock().screenLayout.get();
  const ScreenLayout layout = panelLayoutFor(state.windowLayoutChoice, keyboard);
  const bool twoLists = layout == LayoutTwoLists;

  ScreenRequest request;
  request.columns = screenColumns();
  request.rows = screenRows();
  request.layout = layout;
  request.keyboard = keyboard;
  request.commandWindow = setupBlock().commandWindow.get() == 0;
  request.smallWindows = state.smallWindows;
  LoopScreen screen;
  (void)openLoopScreen(screen, planScreen(request), twoLists);

  const std::string start1 =
      !settings.startDirectory1.empty() ? settings.startDirectory1 : state.lastDirectory1;
  const std::string start2 =
      !settings.startDirectory2.empty() ? settings.startDirectory2 : state.lastDirectory2;
  Panel first = makePanel(start1, layout, screen.panelWindows[0].get());
  Panel second;
  if (twoLists) {
    second = makePanel(start2, layout, screen.panelWindows[1].get());
    linkPanels(first, second);
    changeDirectory(first.currentDirectory);
  }

  LoopContext loop;
  loop.screen = &screen;
  loop.current.panel = &first;
  if (twoLists) {
    loop.other.panel = &second;
    loop.otherRequest = OtherAlways;
  }
  loop.placement = PlaceFirst;
  setStatusLineShown(true);
  const int result = runPanelLoop(loop);

  state.lastDirectory1 = first.currentDirectory;
  state.lastDirectory2 = twoLists ? second.currentDirectory : state.lastDirectory2;
  if (result != LoopRebuild && result != LoopUserMenu)
    finishProgram(first, twoLists ? &second : nullptr);
  freePanel(second);
  freePanel(first);
  clearMouseZones();
  closeLoopScreen(screen);
  return result;
}

}  // namespace corvane
