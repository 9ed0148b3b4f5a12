#include "tree/tree_window.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "config/setup_block.h"
#include "fileops/delete_files.h"
#include "fileops/fileops_texts.h"  // the questions of deleting a directory's contents
#include "panels/display_texts.h"
#include "panels/drive_windows.h"
#include "platform/charset.h"
#include "platform/color.h"
#include "platform/drive_info.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/replace_file.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "tree/tree_build.h"
#include "tree/tree_cache.h"
#include "tree/tree_texts.h"
#include "ui/boxes.h"
#include "ui/file_failure.h"
#include "ui/hotkey_label.h"
#include "ui/input_dialog.h"

namespace corvane {
namespace {

constexpr int StatusRowsPanel = 3;
constexpr int StatusRowsSelect = 2;
// A click on a row of the tree, and what the key reader makes of a second click there in
// time (the same pair the panels use).
constexpr KeyCode TreeRowClick = 0xFE0D;
constexpr KeyCode TreeRowDoubleClick = 0x7E0D;
constexpr int DirnameColumn = 10;
constexpr int DirnameCells = 22;
constexpr int FilenameColumn = 15;
constexpr int FilenameRow = 10;
constexpr int FilenameCells = 45;
// The preference " Refresh tree automatic without question": asks before a whole scan.
constexpr int PreferenceReadTreeQuestion = 6;
// The top row holds the menu titles and the clock: a window of its own starts below it.
constexpr int OwnWindowTopRow = 2;

struct KeyMapping {
  KeyCode from, to;
};
// The COMMANDER layout's keys for the tree's own.
constexpr KeyMapping CommanderTreeKeys[] = {
    {key::F5, '+'},
    {key::F6, '-'},
    {key::F7, key::F2},
    {key::F8, key::Del},
    {key::F2, key::fkey(7, key::ModAlt)},
    {key::fkey(1, key::ModAlt), ','},
    {key::fkey(2, key::ModAlt), ','},
    {key::fkey(9, key::ModAlt), '.'},
    {key::ctrl('E'), key::F3},
};
// COMMANDER keys the loop carries out (besides the Alt-F keys left after the mapping).
constexpr KeyCode CommanderLoopKeys[] = {key::F3, key::F4, key::F9, key::F10};

bool isAltFunctionKey(KeyCode k) {
  return k >= key::fkey(1, key::ModAlt) && k <= key::fkey(10, key::ModAlt);
}

char ctrlLetter(KeyCode k) {
  return k >= key::ctrl('A') && k <= key::ctrl('Z') ? static_cast<char>('A' + k - key::ctrl('A'))
                                                    : 0;
}

int visibleRows(const ScreenWindow& window) { return std::max(window.height - 2, 1); }

TreeNodeId lastNode(const TreeView& view) {
  return static_cast<TreeNodeId>(view.tree.nodes.size() - 1);
}

void keepCursorVisible(TreeView& view) {
  if (view.tree.nodes.empty() || view.window == nullptr) return;
  view.cursor = std::min(view.cursor, lastNode(view));
  view.top = std::min(view.top, view.cursor);
  const TreeNodeId rows = static_cast<TreeNodeId>(visibleRows(*view.window));
  if (view.cursor >= view.top + rows) view.top = view.cursor - rows + 1;
}

void drawRow(const TreeView& view, ScreenWindow& window, int row, TreeNodeId id) {
  const int inner = window.width - 2;
  if (inner < 1) return;
  if (id >= view.tree.nodes.size()) {
    writeText({}, inner - 1, 1, row, WritePad);
    return;
  }
  const TreeNode& n = view.tree.nodes[id];
  writeText(linesText(n.lines), inner - 1, 1, row, WritePad);
  // The name from column 2 x level + 3, cut to the width less that column less 3.
  const int column = 2 * n.level + 3;
  const int cells = window.width - column - 3;
  if (cells <= 0) return;
  const ColorAttr normal = window.textColor;
  if (id == view.cursor) window.textColor = color(ColorActFilecursor);
  writeText(n.name, cells - 1, column, row);
  window.textColor = normal;
}

// Puts the cursor on id, in the second row unless it is the root, as long as the rows below
// the last node stay filled (a tree that fits is shown whole).
void placeCursor(TreeView& view, TreeNodeId id) {
  view.cursor = id;
  view.top = id == 0 ? 0 : id - 1;
  if (view.window != nullptr) {
    const auto rows = static_cast<TreeNodeId>(visibleRows(*view.window));
    const auto count = static_cast<TreeNodeId>(view.tree.nodes.size());
    view.top = std::min(view.top, count > rows ? count - rows : 0);
  }
  keepCursorVisible(view);
}

bool askReadTree() {
  if (preference(PreferenceReadTreeQuestion) == 0) return true;
  const std::string text =
      textf(FormatReadTreeQuestion, std::string(TextDirectoryAccessError).c_str());
  return question(QuestionDefaultYes, text) == QuestionYes;
}

// Puts the cursor on the current directory. A directory the tree does not know is looked
// for by rescanning its nearest known ancestor one level, keeping what is known below, and
// so on down its path; the cursor ends on the deepest directory found.
void locateWorkingDirectory(TreeView& view, bool keep) {
  const std::string directory = currentDirectory();
  TreeNodeId id = findNode(view.tree, directory, TreeMatch::ExactOnly);
  if (id == NoTreeNode) {
    if (findNearestAncestor(view.tree, directory) != NoTreeNode) {
      rescanTowards(view.tree, directory);
    } else if (askReadTree()) {
      buildTree(TreeRequestScan, view.tree, keep);
    }
    id = findNode(view.tree, directory);
    if (id == NoTreeNode) id = findNearestAncestor(view.tree, directory);
  }
  placeCursor(view, id == NoTreeNode ? 0 : id);
}

// One run of the window over a view.
class TreeSession {
 public:
  TreeSession(TreeView& view, ScreenWindow* area, const TreeWindowRequest& request)
      : view_(view), request_(request), openedDirectory_(currentDirectory()) {
    statusRows_ = request.mode == TreeMode::Panel    ? StatusRowsPanel
                  : request.mode == TreeMode::Select ? StatusRowsSelect
                                                     : 0;
    if (area == nullptr) {
      if (openWindow(own_, 1, OwnWindowTopRow, screenColumns(), ownWindowHeight(),
                     color(ColorTreeWindow), color(ColorTreeFrame),
                     WindowDouble | WindowClear) == 0) {
        own_->relayout = relayoutOwnWindow;
        own_->relayoutOwner = this;
      }
      area = own_.get();
    }
    view_.window = area;
    if (statusRows_ > 0 &&
        openWindow(status_, 1, screenRows() - statusRows_ + 1, screenColumns(), statusRows_,
                   color(ColorPulldown), color(ColorPulldown), WindowClear) == 0) {
      status_->relayout = relayoutStatusWindow;
      status_->relayoutOwner = this;
    }
  }

  ~TreeSession() {
    freeWindow(status_);
    if (own_) {
      freeWindow(own_);
      view_.window = nullptr;
    }
    if (!request_.keep) {
      view_.tree = DirectoryTree{};
      view_.cursor = view_.top = 0;
    }
  }

  TreeSession(const TreeSession&) = delete;
  TreeSession& operator=(const TreeSession&) = delete;

  bool usable() const { return view_.window != nullptr; }

  void open() {
    if (treeEmpty(view_.tree) || view_.tree.drive != currentDrive()) {
      buildTree(request_.buildRequest, view_.tree, request_.keep);
      view_.cursor = view_.top = 0;
    }
    locateWorkingDirectory(view_, request_.keep);
    if (request_.mode != TreeMode::DrawOnly) view_.search.clear();  // typing starts afresh
    drawTreeView(view_);
    drawStatus();
  }

  KeyCode run(std::string& chosen) {
    SavedMouseZones callerZones(true);
    for (;;) {
      registerZones();
      KeyCode k = readKey();
      if (k == 0 || k == key::ModifierEvent || k == key::IdleEvent || k == key::Paste) continue;
      if (const char c = key::keypadCharacter(k)) k = c;
      if (request_.keyboard == KeyboardCommander) {
        if (std::find(std::begin(CommanderLoopKeys), std::end(CommanderLoopKeys), k) !=
            std::end(CommanderLoopKeys))
          return k;
        for (const KeyMapping& m : CommanderTreeKeys)
          if (m.from == k) {
            k = m.to;
            break;
          }
        if (isAltFunctionKey(k)) return k;
      }
      const KeyCode result = handle(k, chosen);
      if (result != 0) return result;
    }
  }

 private:
  int ownWindowHeight() const {
    return std::max(screenRows() - statusRows_ - OwnWindowTopRow + 1, 3);
  }

  static void relayoutOwnWindow(ScreenWindow& window, void* owner) {
    TreeSession& session = *static_cast<TreeSession*>(owner);
    moveWindow(window, 1, OwnWindowTopRow, screenColumns(), session.ownWindowHeight());
    drawTreeView(session.view_);
  }

  static void relayoutStatusWindow(ScreenWindow& window, void* owner) {
    TreeSession& session = *static_cast<TreeSession*>(owner);
    moveWindow(window, 1, screenRows() - session.statusRows_ + 1, screenColumns(),
               session.statusRows_);
    session.drawStatus();
  }

  void registerZones() {
    std::vector<MouseZone> zones{windowInteriorZone(*view_.window, TreeRowClick)};
    if (status_) zones.push_back(windowInteriorZone(*status_, 0));  // a click there: nothing
    if (request_.mode == TreeMode::Panel) {
      MouseZone outside;
      outside.y1 = MouseZoneFallback;
      outside.leftCode = key::Tab;
      zones.push_back(outside);
    }
    registerMouseZones(zones);
  }

  void drawStatus() {
    if (!status_) return;
    CurrentWindowScope scope(*status_);
    raiseHold(1);
    const int width = windowLastColumn(*status_);
    int row = 1;
    if (request_.mode == TreeMode::Panel)
      writeText(nodePath(view_.tree, view_.cursor), width - 1, 1, row++, WritePad);
    writeText(textf(FormatTreeSearch, view_.search.c_str()), width - 1, 1, row++, WritePad);
    printHotkeyLabel(1, width - 1, row,
                     request_.keyboard == KeyboardCommander ? TreeKeyBarText : TextTreeHelpLine,
                     LabelPad | LabelNoWrap);
    if (lowerHold(1) == 0) flushWindowRect(status_->x, status_->y, status_->width, status_->height);
  }

  void redraw() {
    drawTreeView(view_);
    drawStatus();
  }

  void moveTo(TreeNodeId id) {
    if (id >= view_.tree.nodes.size()) return;
    view_.cursor = id;
    redraw();
  }

  void page(int direction) {
    const TreeNodeId rows = static_cast<TreeNodeId>(visibleRows(*view_.window));
    if (direction < 0) {
      view_.cursor = view_.cursor > rows ? view_.cursor - rows : 0;
      view_.top = view_.top > rows ? view_.top - rows : 0;
    } else {
      view_.cursor = std::min(view_.cursor + rows, lastNode(view_));
      view_.top = std::min(view_.top + rows, view_.cursor);
    }
    redraw();
  }

  // Ctrl-PgUp and Ctrl-PgDn: the nearest node before or after of the cursor's level.
  void sameLevel(int direction) {
    if (view_.cursor == 0) return;
    const std::uint16_t level = view_.tree.nodes[view_.cursor].level;
    TreeNodeId id = view_.cursor;
    if (direction < 0) {
      while (id > 0 && view_.tree.nodes[--id].level != level) {
      }
      if (view_.tree.nodes[id].level == level) moveTo(id);
    } else {
      while (id < lastNode(view_) && view_.tree.nodes[++id].level != level) {
      }
      moveTo(id);
    }
  }

  void relocate() {
    locateWorkingDirectory(view_, request_.keep);
    redraw();
  }

  // The tree of the drive that is current now, from its cache when it has a valid one.
  void showCurrentDrive() {
    buildTree(TreeRequestCache, view_.tree, request_.keep);
    view_.cursor = view_.top = 0;
    relocate();
  }

  void changeDrive(char letter) {
    if (driveReady(letter - 'A' + 1) != 0) {
      messageBox(TextDriveNotReady);
      return;
    }
    showCurrentDrive();
  }

  void chooseDrive() {
    const int letter = selectDrive();
    if (letter != 0) changeDrive(static_cast<char>(letter));
  }

  void collapse() {
    if (view_.cursor == 0) {
      buildTree(TreeRequestScan, view_.tree, request_.keep);
      placeCursor(view_, 0);
    } else {
      removeDescendants(view_.tree, view_.cursor);
    }
    redraw();
  }

  void expand(TreeScanDepth depth) {
    (void)rescanBelow(view_.tree, view_.cursor, depth, depth == TreeScanDepth::AllLevels);
    redraw();
  }

  void makeDirectoryHere() {
    const ScreenWindow& w = *view_.window;
    std::string name;
    const int width = DirnameCells + textCells(TextDirnamePrompt) + 4;
    const KeyCode k =
        inputDialog(name, TextDirnamePrompt, windowScreenColumn(w, DirnameColumn) + 1,
                    w.y + std::max(w.height / 2, 1), width, static_cast<int>(MaxPath));
    if (k != key::Enter || name.empty()) return;
    const std::string path = joinPath(nodePath(view_.tree, view_.cursor), name);
    // A name is one directory: a separator in it would make another path than the node's.
    if (name.find_first_of("\\/") != std::string::npos || !makeDirectory(path)) {
      messageBox(TextDirectoryAccessError);
      return;
    }
    // Dot directories are left out of the tree as every scan leaves them out.
    if (name.front() == '.') return;
    const TreeNodeId id = insertChild(view_.tree, view_.cursor, name);
    buildTree(TreeRequestWrite, view_.tree, request_.keep);
    moveTo(id);
  }

  // Delete: every directory below the cursor's, after two questions; the tree shows what is
  // left below it afterwards (what could not be deleted, or was not reached).
  void deleteBelow() {
    const std::string path = nodePath(view_.tree, view_.cursor);
    if (!directoryExists(path)) {
      rejectBeep();
      return;
    }
    // The system's own root: never emptied from here.
    if (toHostPath(path) == "/") {
      messageBox(TextHostRootNotDeleted);
      return;
    }
    if (question(QuestionDefaultNo, textf(FormatDeleteBelow, path.c_str())) != QuestionYes ||
        question(QuestionDefaultNo, textf(FormatDeleteAttention, path.c_str())) != QuestionYes)
      return;
    deleteSubdirectories(path);
    (void)rescanBelow(view_.tree, view_.cursor, TreeScanDepth::AllLevels, true);
    redraw();
  }

  void searchAgain() {
    const TreeNodeId id = searchTree(view_.tree, view_.cursor + 1, view_.search);
    if (id == NoTreeNode) {
      rejectBeep();
      return;
    }
    moveTo(id);
  }

  void typeCharacter(KeyCode k) {
    if (static_cast<int>(textChars(view_.search)) >= TreeSearchLimit) {
      rejectBeep();
      return;
    }
    const std::string text = view_.search + cp437CharToText(static_cast<std::uint8_t>(k));
    const TreeNodeId id = searchTree(view_.tree, view_.cursor, text);
    if (id == NoTreeNode) return;  // the character is dropped
    view_.search = text;
    moveTo(id);
  }

  void dropLastCharacter() {
    const std::size_t chars = textChars(view_.search);
    if (chars == 0) return;
    view_.search.resize(charOffset(view_.search, chars - 1));
    drawStatus();
  }

  KeyCode choose(std::string& chosen) {
    const std::string path = nodePath(view_.tree, view_.cursor);
    if (request_.mode == TreeMode::Panel) {
      if (!changeDirectory(path)) {
        messageBox(TextDirectoryAccessError);
        return 0;
      }
      return key::Tab;
    }
    if (directoryExists(path)) {
      chosen = path;
      return key::Enter;
    }
    if (askReadTree()) {
      buildTree(TreeRequestScan, view_.tree, request_.keep);
      relocate();
    }
    return 0;
  }

  KeyCode click(bool twice, std::string& chosen) {
    int column = -1, row = -1;
    lastClickPosition(column, row);
    const int index = row - (view_.window->y + 1);
    if (index < 0 || index >= visibleRows(*view_.window)) return 0;
    const TreeNodeId id = view_.top + static_cast<TreeNodeId>(index);
    if (id >= view_.tree.nodes.size()) return 0;
    moveTo(id);
    return twice ? choose(chosen) : 0;
  }

  KeyCode leave(KeyCode k) {
    if (k == key::Escape && request_.mode == TreeMode::Panel) changeDirectory(openedDirectory_);
    return k;
  }

  // Carries out one key; the key the window ends with, or 0 to go on.
  KeyCode handle(KeyCode k, std::string& chosen) {
    switch (k) {
      case key::Up:
        if (view_.cursor > 0) moveTo(view_.cursor - 1);
        return 0;
      case key::Down:
      case key::Right:
        moveTo(view_.cursor + 1);
        return 0;
      case key::PgUp:
        page(-1);
        return 0;
      case key::PgDn:
        page(1);
        return 0;
      case key::Home:
        moveTo(0);
        return 0;
      case key::End:
        moveTo(lastNode(view_));
        return 0;
      case key::Left:
      case key::Backspace:
        moveTo(view_.tree.nodes[view_.cursor].parent);
        return 0;
      case key::CtrlPgUp:
        sameLevel(-1);
        return 0;
      case key::CtrlPgDn:
        sameLevel(1);
        return 0;
      case '+':
        expand(TreeScanDepth::OneLevel);
        return 0;
      case '*':
        expand(TreeScanDepth::AllLevels);
        return 0;
      case '-':
        collapse();
        return 0;
      case key::F2:
        makeDirectoryHere();
        return 0;
      case key::F3:
        buildTree(TreeRequestScan, view_.tree, request_.keep);
        relocate();
        return 0;
      case key::F4:
        searchAgain();
        return 0;
      case key::alt('D'):
        view_.search.clear();
        drawStatus();
        return 0;
      case key::alt('L'):
        dropLastCharacter();
        return 0;
      case key::Del:
        deleteBelow();
        return 0;
      case ',':
        chooseDrive();
        return 0;
      case '?':
        driveInformation();
        return 0;
      case key::alt('P'):
        (void)saveTreeText(view_.tree);
        return 0;
      case key::fkey(3, key::ModShift):
        return k;
      case key::Enter:
        return choose(chosen);
      case TreeRowClick:
        return click(false, chosen);
      case TreeRowDoubleClick:
        return click(true, chosen);
      case key::Tab:
      case key::ShiftTab:
        return leave(key::Tab);
      case key::Escape:
        return leave(key::Escape);
      default:
        break;
    }
    if (const char letter = ctrlLetter(k)) {
      changeDrive(letter);
    } else if (k >= key::Space && k <= 0xFF) {
      typeCharacter(k);
    } else {
      rejectBeep();
    }
    return 0;
  }

  TreeView& view_;
  TreeWindowRequest request_;
  std::string openedDirectory_;
  int statusRows_ = 0;
  WindowHandle own_;
  WindowHandle status_;
};

}  // namespace

TreeView& panelTreeView(Panel& panel) {
  if (!panel.treeState) panel.treeState = std::make_shared<TreeView>();
  return *static_cast<TreeView*>(panel.treeState.get());
}

void drawTreeView(TreeView& view) {
  if (view.window == nullptr || !view.window->visible || view.tree.nodes.empty()) return;
  ScreenWindow& window = *view.window;
  keepCursorVisible(view);
  CurrentWindowScope scope(window);
  raiseHold(1);
  const int rows = visibleRows(window);
  for (int row = 1; row <= rows; ++row)
    drawRow(view, window, row, view.top + static_cast<TreeNodeId>(row - 1));
  if (lowerHold(1) == 0) flushWindowRect(window.x, window.y, window.width, window.height);
}

KeyCode treeWindow(TreeView& view, ScreenWindow* area, const TreeWindowRequest& request,
                   std::string& chosen) {
  chosen.clear();
  TreeSession session(view, area, request);
  if (!session.usable()) return key::Escape;
  session.open();
  if (request.mode == TreeMode::DrawOnly) return key::Escape;
  return session.run(chosen);
}

namespace {

// Runs change over the view's tree with the cursor and the top row kept on their directories
// (or the nearest that is left of them).
template <typename Change>
void keepingPlace(TreeView& view, const std::string& path, Change change) {
  const std::string full = fullPath(path);
  if (treeEmpty(view.tree) || driveLetterOf(full) != view.tree.drive) return;
  const std::string cursor = nodePath(view.tree, view.cursor);
  const std::string top = nodePath(view.tree, view.top);
  change(full);
  view.cursor = findNearestAncestor(view.tree, cursor);
  view.top = std::min(findNearestAncestor(view.tree, top), view.cursor);
  view.followed.clear();
}

}  // namespace

void treeDirectoryMade(TreeView& view, std::string_view path) {
  keepingPlace(view, std::string(path),
               [&](const std::string& full) { rescanTowards(view.tree, full); });
}

void treeDirectoryDeleted(TreeView& view, std::string_view path) {
  keepingPlace(view, std::string(path), [&](const std::string& full) {
    const TreeNodeId id = findNode(view.tree, full, TreeMatch::ExactOnly);
    if (id == NoTreeNode || id == 0) return;
    // A deletion that stopped or failed part way left the directory: what is left shows.
    if (directoryExists(full)) {
      (void)rescanBelow(view.tree, id, TreeScanDepth::AllLevels);
      return;
    }
    removeSubtree(view.tree, id);
    (void)writeTreeCache(view.tree);
  });
}

int saveTreeText(const DirectoryTree& tree) {
  std::string name = std::string(1, currentDrive()) + ":\\" + std::string(TextTreeTextFileName);
  const int width = FilenameCells + textCells(TextTreeFilePrompt) + 4;
  if (inputDialog(name, TextTreeFilePrompt, FilenameColumn, FilenameRow, width,
                  static_cast<int>(MaxPath)) != key::Enter)
    return 27;
  const FileResult written = replaceFile(name, treeText(tree));
  if (!written) return reportFileFailure(FormatTreeFileOpenError, name, written, 0);
  return 13;
}

}  // namespace corvane
