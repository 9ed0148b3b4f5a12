#include "commands/panel_commands.h"

#include <algorithm>

#include "archives/archive_panel.h"
#include "commands/command_loop.h"
#include "commands/commands_state.h"
#include "commands/function_key_pages.h"
#include "commands/loop_texts.h"
#include "commands/panel_view.h"
#include "commands/screen_layout.h"
#include "commands/setup_dialogs.h"
#include "config/setup_block.h"
#include "panels/drive_windows.h"
#include "panels/info_area.h"
#include "panels/list_file.h"
#include "panels/mask.h"
#include "panels/panel_cursor.h"
#include "panels/panel_display.h"
#include "panels/selection_commands.h"
#include "panels/state_window.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/about_box.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "ui/key_bar.h"

namespace corvane {
namespace {

constexpr int GotoMaxLength = 260;
constexpr int GotoFieldWidth = 40;

Panel& panelOf(LoopContext& loop) { return *loop.current.panel; }

FileNode* cursorNode(Panel& panel) {
  if (panel.cursor == NoNode || !isLiveNode(panel.list, panel.cursor)) return nullptr;
  return &panel.list.nodes[panel.cursor];
}

bool hidden() { return programState().panelsHidden; }

// The cursor on another node at a known index: the two rows when it stays on the page, the
// whole list otherwise.
void moveCursorTo(LoopContext& loop, NodeId id, int index) {
  PanelView& view = loop.current;
  Panel& panel = *view.panel;
  const PanelGeometry g = geometryOf(panel);
  const int top = topIndexOf(view, g);
  CursorChange change;
  change.moved = id != panel.cursor;
  change.oldCursor = panel.cursor;
  change.oldRow = panel.cursorRow;
  change.oldColumn = panel.cursorColumn;
  panel.cursor = id;
  view.cursorIndex = index;
  const int rows = std::max(g.rowsPerColumn, 1);
  if (index >= top && index < top + g.pageSize()) {
    panel.cursorRow = (index - top) % rows;
    panel.cursorColumn = (index - top) / rows;
  } else {
    scrollToCursor(panel, g, index);
    change.scrolled = true;
  }
  if (!hidden()) showCursorChange(view, change, nestingLevel());
}

// The cursor one entry down after a toggle, or the toggled row drawn again at the end.
void toggleAndMoveDown(LoopContext& loop) {
  PanelView& view = loop.current;
  Panel& panel = *view.panel;
  const PanelGeometry g = geometryOf(panel);
  const CursorChange change = moveCursor(panel, g, CursorMove::Down, view.cursorIndex);
  if (hidden()) return;
  if (change.moved) {
    showCursorChange(view, change, nestingLevel());
  } else {
    drawListSlot(panel, g, panel.cursor, panel.cursorRow, panel.cursorColumn);
    drawInfoValues(panel, g, nestingLevel());
  }
}

// A new directory for the current panel; the next pass reads it.
void enterDirectory(LoopContext& loop, std::string_view path, int placement) {
  if (path.size() > MaxPath) {
    messageBox(textf(FormatPathTooLong, static_cast<int>(MaxPath)));
    return;
  }
  if (!changeDirectory(path)) {
    rejectBeep();
    loop.reread = RereadInPlace;  // it may have gone: show what is there now
    return;
  }
  loop.placement = placement;
  loop.reread = RereadIfChanged;
}

void goUp(LoopContext& loop) {
  Panel& panel = panelOf(loop);
  if (isDriveRoot(panel.currentDirectory)) return;
  const std::string left = panel.currentDirectory;
  enterDirectory(loop, parentPath(left), PlaceLeftDirectory);
  loop.leftDirectory = left;
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool onFloppy(const Panel* panel) {
  if (panel == nullptr) return false;
  const char letter = driveLetterOf(panel->currentDirectory);
  return letter == 'A' || letter == 'B';
}

}  // namespace

int cursorCommand(LoopContext& loop, CommandId code) {
  if (hidden()) return LoopContinue;
  CursorMove move = CursorMove::Down;
  switch (code) {
    case key::Up:
      move = CursorMove::Up;
      break;
    case key::Down:
      move = CursorMove::Down;
      break;
    case key::Home:
      move = CursorMove::Home;
      break;
    case key::End:
      move = CursorMove::End;
      break;
    case key::Left:
    case key::PgUp:
      move = CursorMove::ColumnBack;
      break;
    default:
      move = CursorMove::ColumnForward;
      break;
  }
  PanelView& view = loop.current;
  const CursorChange change =
      moveCursor(*view.panel, geometryOf(*view.panel), move, view.cursorIndex);
  showCursorChange(view, change, nestingLevel());
  return LoopContinue;
}

int enterCommand(LoopContext& loop, CommandId) {
  Panel& panel = panelOf(loop);
  FileNode* node = cursorNode(panel);
  if (node == nullptr || (node->mark & MarkError) != 0) return LoopContinue;
  if (!node->entry.isDirectory()) {
    toggleSelection(panel, panel.cursor);
    toggleAndMoveDown(loop);
    return LoopContinue;
  }
  if (panel.archiveType != 0) {
    return isParentEntry(node->entry) ? leaveArchiveDirectoryCommand(loop)
                                      : enterArchiveDirectoryCommand(loop, node->entry.name);
  }
  if (isParentEntry(node->entry)) {
    if (!loop.globalList) goUp(loop);
    return LoopContinue;
  }
  const std::string path = joinPath(panel.currentDirectory, node->entry.name);
  if (loop.globalList) return runNestedPanel(loop, path);
  enterDirectory(loop, path, PlaceFirst);
  return LoopContinue;
}

int parentCommand(LoopContext& loop, CommandId) {
  if (panelOf(loop).archiveType != 0) return leaveArchiveDirectoryCommand(loop);
  if (!loop.globalList) goUp(loop);
  return LoopContinue;
}

int rootCommand(LoopContext& loop, CommandId) {
  if (panelOf(loop).archiveType != 0) return archiveTopCommand(loop);
  if (loop.globalList) return LoopContinue;
  const char letter = driveLetterOf(panelOf(loop).currentDirectory);
  if (letter == 0) return LoopContinue;
  enterDirectory(loop, std::string(1, letter) + ":\\", PlaceFirst);
  return LoopContinue;
}

int toggleCommand(LoopContext& loop, CommandId) {
  Panel& panel = panelOf(loop);
  const FileNode* node = cursorNode(panel);
  if (node == nullptr || (node->mark & MarkError) != 0) return LoopContinue;
  toggleSelection(panel, panel.cursor);
  toggleAndMoveDown(loop);
  return LoopContinue;
}

int displayCycleCommand(LoopContext& loop, CommandId) {
  Panel& panel = panelOf(loop);
  const int mode = panel.displayBits & DisplayModeBits;
  const int next = mode == DisplayShort            ? DisplayLongAttributes
                   : mode == DisplayLongAttributes ? DisplayLongPlain
                                                   : DisplayShort;
  panel.displayBits = (panel.displayBits & ~DisplayModeBits) | next;
  loop.reread = RereadRedraw;
  return LoopContinue;
}

int displayModeCommand(LoopContext& loop, CommandId code) {
  Panel& panel = panelOf(loop);
  const int mode = code == CmdDisplayShort  ? DisplayShort
                   : code == CmdDisplayFull ? DisplayLongAttributes
                                            : DisplayLongPlain;
  panel.displayBits = (panel.displayBits & ~DisplayModeBits) | mode;
  loop.reread = RereadRedraw;
  return LoopContinue;
}

int displayDialogCommand(LoopContext&, CommandId) {
  runSetupDialog(SetupDisplayMode);
  return LoopContinue;
}

int autoviewCommand(LoopContext& loop, CommandId) {
  loop.autoview = !loop.autoview;
  if (loop.autoviewShown) loop.otherRequest = OtherRedraw;  // the panel under it again
  loop.autoviewShown = false;
  return LoopContinue;
}

int invertCommand(LoopContext& loop, CommandId) {
  invertSelection(panelOf(loop));
  loop.reread = RereadRedraw;
  return LoopContinue;
}

int unselectCommand(LoopContext& loop, CommandId) {
  unselectAll(panelOf(loop));
  loop.reread = RereadRedraw;
  return LoopContinue;
}

int selectCommand(LoopContext& loop, CommandId code) {
  const SelectKind kind = code == 'n' ? SelectKind::InverseSelect : SelectKind::Select;
  if (selectionForm(panelOf(loop), kind) == SelectionDone) loop.reread = RereadRedraw;
  return LoopContinue;
}

int showFilesCommand(LoopContext& loop, CommandId code) {
  const bool selected = code == '&' || code == CmdShowSelected;
  showOnly(panelOf(loop), selected ? ShowKind::Selected : ShowKind::Unselected);
  loop.reread = RereadRecount;
  return LoopContinue;
}

int sortDialogCommand(LoopContext&, CommandId) {
  runSetupDialog(SetupSort);
  return LoopContinue;
}

int sortCommand(LoopContext& loop, CommandId code) {
  SortMode mode = SortMode::Name;
  switch (code) {
    case CmdSortSize:
      mode = SortMode::Size;
      break;
    case CmdSortDate:
      mode = SortMode::Date;
      break;
    case CmdSortExtension:
      mode = SortMode::Extension;
      break;
    case CmdSortUnsorted:
      mode = SortMode::Unsorted;
      break;
    case CmdSortMode:
      mode = SortMode::Mode;
      break;
    default:
      break;
  }
  setupBlock().sortMode.set(static_cast<std::uint16_t>(mode));
  loop.reread = RereadResort;
  loop.otherRequest = OtherResort;
  return LoopContinue;
}

int maskCommand(LoopContext& loop, CommandId) {
  if (panelMaskDialog(panelOf(loop)) != SelectionDone) return LoopContinue;
  loop.freshRead = true;
  loop.reread = RereadInPlace;
  loop.placement = PlaceRemembered;
  return LoopContinue;
}

int refreshCommand(LoopContext& loop, CommandId) {
  loop.reread = RereadInPlace;
  loop.placement = PlaceRemembered;
  if (!loop.globalList) loop.otherRequest = OtherAlways;
  return LoopContinue;
}

int driveCommand(LoopContext& loop, CommandId) {
  const std::string before = currentDirectory();
  const int letter = selectDrive();
  if (letter == 0) return LoopContinue;
  if (!driveAccessible(static_cast<char>(letter))) {
    messageBox(TextDriveNotReady);
    changeDirectory(before);
    return LoopContinue;
  }
  loop.placement = PlaceDriveChange;
  loop.reread = RereadIfChanged;
  return LoopContinue;
}

int changeDriveCommand(LoopContext& loop, char letter) {
  if (!driveAccessible(letter)) {
    messageBox(TextDriveNotReady);
    return LoopContinue;
  }
  const DriveCursorMemory::Entry* entry = rememberedFor(loop.driveMemory, letter);
  const std::string directory =
      entry != nullptr && !entry->directory.empty() ? entry->directory : currentDirectory(letter);
  if (!changeDirectory(directory)) setCurrentDrive(letter);
  loop.placement = PlaceDriveChange;
  loop.reread = RereadIfChanged;
  return LoopContinue;
}

bool locate(LoopContext& loop, std::string_view text) {
  if (text.empty()) return false;
  const bool wildcards = text.find_first_of("*?[") != std::string_view::npos;
  const CompiledMask mask = compileMask(wildcards ? std::string(text) : std::string(text) + "*");
  Panel& panel = panelOf(loop);
  const FileList& list = panel.list;
  auto matches = [&](NodeId id) {
    const FileNode& n = list.nodes[id];
    return (n.mark & MarkError) == 0 && maskMatches(mask, n.entry.name);
  };
  int index = loop.current.cursorIndex + 1;
  for (NodeId id = panel.cursor != NoNode ? list.nodes[panel.cursor].next : list.head; id != NoNode;
       id = list.nodes[id].next, ++index) {
    if (matches(id)) {
      moveCursorTo(loop, id, index);
      return true;
    }
  }
  index = 0;
  for (NodeId id = list.head; id != NoNode && id != panel.cursor;
       id = list.nodes[id].next, ++index) {
    if (matches(id)) {
      moveCursorTo(loop, id, index);
      return true;
    }
  }
  return panel.cursor != NoNode && matches(panel.cursor);
}

int gotoCommand(LoopContext& loop, CommandId) {
  std::string text = commandsState().gotoText;
  const int width = static_cast<int>(TextGotoPrompt.size()) + GotoFieldWidth + 4;
  if (inputDialog(text, TextGotoPrompt, (screenColumns() - width) / 2 + 1, screenRows() / 2 - 2,
                  width, GotoMaxLength) != key::Enter)
    return LoopContinue;
  commandsState().gotoText = text;
  const std::string target = trimmed(text);
  if (target.empty()) return LoopContinue;
  const std::string path = fullPath(target);
  if (!path.empty() && directoryExists(path)) {
    if (loop.globalList) return runNestedPanel(loop, path);
    enterDirectory(loop, path, PlaceFirst);
    return LoopContinue;
  }
  loop.locateText = target;
  if (!locate(loop, target)) rejectBeep();
  return LoopContinue;
}

int locateNextCommand(LoopContext& loop, CommandId) {
  if (loop.locateText.empty() || !locate(loop, loop.locateText)) rejectBeep();
  return LoopContinue;
}

int definedDirectoryCommand(LoopContext& loop, CommandId code) {
  const int index = (code & 0xFF) - key::scan::F1;
  if (index < 0 || index >= DirectoryEntryCount || loop.globalList) return LoopContinue;
  const std::string directory = trimmed(setupBlock().directories[index].text());
  if (directory.empty() || !directoryExists(directory)) {
    rejectBeep();
    return LoopContinue;
  }
  enterDirectory(loop, directory, PlaceFirst);
  return LoopContinue;
}

int nextFileListCommand(LoopContext& loop, CommandId) { return runNestedPanel(loop, ""); }

int driveInformationCommand(LoopContext&, CommandId) {
  driveInformation();
  return LoopContinue;
}

int aboutCommand(LoopContext&, CommandId) {
  aboutBox();
  return LoopContinue;
}

int functionKeyPageCommand(LoopContext& loop, CommandId) {
  loop.functionKeyPage = nextFunctionKeyPage(loop.functionKeyPage);
  showFunctionKeyPage(loop.functionKeyWindow, loop.functionKeyPage);
  adoptLoopWindow(loop.functionKeyWindow.get(), loop);
  if (loop.functionKeyPage == 0) loop.barDirty = true;
  return LoopContinue;
}

bool toggleStateWindow(LoopContext& loop) {
  Panel& panel = panelOf(loop);
  if (stateWindowOpen()) {
    closeStateWindow(panel);
    loop.otherRequest = OtherRedraw;
    return false;
  }
  if (loop.globalList || openStateWindow(panel) != 0) {
    rejectBeep();
    return false;
  }
  return true;
}

int stateWindowCommand(LoopContext& loop, CommandId) {
  toggleStateWindow(loop);
  return LoopContinue;
}

int redrawCommand(LoopContext& loop, CommandId) {
  loop.reread = RereadRedraw;
  if (loop.other.panel != nullptr) loop.otherRequest = OtherRedraw;
  return LoopContinue;
}

int writeFilelistCommand(LoopContext& loop, CommandId) {
  (void)writeFileList(panelOf(loop));
  return LoopContinue;
}

void toggleAllWindows(LoopContext& loop) {
  ProgramState& state = programState();
  loop.barDirty = true;  // the command window's rows follow the panels-hidden state
  if (state.panelsHidden) {
    freeWindow(loop.hiddenCover);
    state.panelsHidden = false;
    setStatusLineShown(true);
    // A re-read left by a command run while hidden redraws as well: keep it.
    if (loop.reread == RereadNone) loop.reread = RereadRedraw;
    if (loop.other.panel != nullptr && loop.otherRequest == OtherNone)
      loop.otherRequest = OtherRedraw;
    return;
  }
  if (loop.screen == nullptr) return;
  const ScreenPlan& plan = loop.screen->plan;
  if (openWindow(loop.hiddenCover, 1, plan.firstPanelRow, screenColumns(),
                 plan.lastPanelRow - plan.firstPanelRow + 1, ColorAttr{0x07}, ColorAttr{0x07},
                 WindowClear) == 0) {
    adoptLoopWindow(loop.hiddenCover.get(), loop);
    state.panelsHidden = true;
    setStatusLineShown(false);  // the clock keeps off the top row while the panels are off
  }
}

int windowOnOffCommand(LoopContext&, CommandId) { return LoopRebuild; }

int windowBigSmallCommand(LoopContext&, CommandId) { return LoopRebuild; }

int userMenuCommand(LoopContext&, CommandId) { return LoopUserMenu; }

int quitCommand(LoopContext& loop, CommandId) {
  if (!loop.outermost) return LoopEnd;
  if (preference(1) == 0) return LoopEnd;
  return question(QuestionDefaultYes, TextExitQuestion) == QuestionYes ? LoopEnd : LoopContinue;
}

int idleRefreshCommand(LoopContext& loop, CommandId) {
  if (onFloppy(loop.current.panel) || onFloppy(loop.other.panel)) return LoopContinue;
  loop.reread = RereadInPlace;
  loop.placement = PlaceRemembered;
  loop.quietRead = true;
  if (loop.other.panel != nullptr && !loop.globalList) loop.otherRequest = OtherAlways;
  return LoopContinue;
}

int modifierCommand(LoopContext& loop, CommandId) {
  if (loop.screen != nullptr && loop.screen->keyBar.window != nullptr && !loop.functionKeyWindow)
    followModifiers(loop.screen->keyBar);
  return LoopContinue;
}

int clickCommand(LoopContext& loop, int column, int row, bool enter) {
  PanelView& view = loop.current;
  Panel& panel = *view.panel;
  if (panel.window == nullptr || hidden()) return LoopContinue;
  const PanelGeometry g = geometryOf(panel);
  const ScreenWindow& w = *panel.window;
  const int slotRow = row - windowScreenRow(w, g.listRow);
  const int relative = column - windowScreenColumn(w, g.listColumn);
  if (slotRow < 0 || slotRow >= g.rowsPerColumn || relative < 0) return LoopContinue;
  const int slotColumn = relative / std::max(g.columnWidth, 1);
  if (slotColumn >= g.columns) return LoopContinue;
  const int target = topIndexOf(view, g) + slotColumn * g.rowsPerColumn + slotRow;
  if (target >= static_cast<int>(panel.list.length)) return LoopContinue;
  NodeId id = panel.cursor;
  for (int i = view.cursorIndex; i < target && id != NoNode; ++i) id = panel.list.nodes[id].next;
  for (int i = view.cursorIndex; i > target && id != NoNode; --i) id = panel.list.nodes[id].prev;
  if (id == NoNode) return LoopContinue;
  moveCursorTo(loop, id, target);
  return enter ? enterCommand(loop, key::Enter) : LoopContinue;
}

}  // namespace corvane
