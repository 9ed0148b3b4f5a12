#include "panels/file_dialog.h"

#include <algorithm>
#include <vector>

#include "config/setup_block.h"
#include "panels/display_texts.h"
#include "panels/drive_windows.h"
#include "panels/entry_format.h"
#include "panels/mask.h"
#include "panels/panel_cursor.h"
#include "panels/panel_display.h"
#include "platform/color.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/hotkey_label.h"
#include "ui/input_dialog.h"
#include "ui/line_input.h"
#include "ui/window.h"

namespace corvane {

namespace {

// Window geometry (1-based screen positions).
constexpr int BackdropX = 2, BackdropY = 2, BackdropWidth = 71, BackdropHeight = 23;
constexpr int ListX = 5, ListY = 3, ListWidth = 65, ListHeight = 17;
constexpr int NameX = 5, NameY = 21, NameWidth = 64;
constexpr int KeysX = 5, KeysY = 23, KeysWidth = 64, KeysHeight = 2;
// The long displays' line: the list window less 4.
constexpr int LongLineCells = ListWidth - 4;
// Size, date and time, attributes and a blank end the long line.
constexpr int LongFieldCells = 29;
constexpr int CycledColumnWidth = 15;
constexpr int NameInputFlags = LineInputHistory | LineInputVertical | 2;
constexpr int MaskFieldWidth = 20;
constexpr int MaskMaxLength = 14;
constexpr int MaskDialogColumn = 25;
constexpr int MaskDialogRow = 10;

bool isListMode(int mode) { return mode != FileDialogBrowse && mode != FileDialogBrowseTitled; }

SortMode sortModeOf(std::uint16_t value) {
  return static_cast<SortMode>(std::min<int>(value, static_cast<int>(SortMode::Unsorted)));
}

class FileDialog {
 public:
  // The dialog reads directory (a full path; unused in list mode) in its own sort order and
  // moves through directories on its own: the program's sort setting and current directories
  // stay as they are.
  FileDialog(int mode, int columnWidth, const EntrySource& source, std::string mask,
             SortMode openedSort, std::string directory)
      : mode_(mode),
        listMode_(isListMode(mode)),
        shortWidth_(std::max(columnWidth, 2)),
        source_(source),
        openedSort_(openedSort),
        sort_(listMode_ ? SortMode::Unsorted : openedSort) {
    panel_.mask = std::move(mask);
    panel_.currentDirectory = std::move(directory);
    panel_.layout = LayoutTwoLists;
    panel_.displayBits = listMode_ ? DisplayLongAttributes : DisplayShort;
  }

  bool open();
  std::optional<std::string> run();

 private:
  void computeGeometry();
  void reread(SortMode sort);
  void redrawList();
  void showNameLine();
  void registerZones();
  std::string pathOf(NodeId id) const;
  void moveTo(CursorMove move);
  void clickRow(int row);
  void cycleDisplay();
  void askMask();
  bool changeAndReread(std::string_view path);
  std::optional<std::string> enter(bool& done);
  std::optional<std::string> typeName(bool& done);

  int mode_;
  bool listMode_;
  int shortWidth_;
  const EntrySource& source_;
  SortMode openedSort_;
  SortMode sort_;  // the order of every re-read
  Panel panel_;
  PanelGeometry geometry_;
  int cursorIndex_ = 0;
  ScopedWindow backdrop_, list_, name_, keys_;
};

bool FileDialog::open() {
  if (backdrop_.open(BackdropX, BackdropY, BackdropWidth, BackdropHeight, color(ColorBackground),
                     color(ColorBackground), WindowClear | WindowShadow | WindowSingle) != 0)
    return false;
  const std::string title = mode_ == FileDialogBrowseTitled ? panel_.mask : std::string();
  if (list_.open(ListX, ListY, ListWidth, ListHeight, color(ColorMessageWindow),
                 color(ColorMessageWindow),
                 WindowVerticalBar | WindowClear | WindowShadow | WindowSingle, title) != 0)
    return false;
  if (name_.open(NameX, NameY, NameWidth, 1, color(ColorMessageWindow), color(ColorMessageWindow),
                 0) != 0)
    return false;
  if (keys_.open(KeysX, KeysY, KeysWidth, KeysHeight, color(ColorPulldown), color(ColorPulldown),
                 WindowSingle | WindowClear) != 0)
    return false;
  printHotkeyLabel(1, windowLastColumn(*keys_) - 1, 1, TextFileDialogKeys, LabelPad);
  panel_.window = list_.get();
  return true;
}

void FileDialog::computeGeometry() {
  PanelGeometry g;
  g.windowColumns = windowLastColumn(*list_);
  g.windowRows = windowLastRow(*list_);
  g.rowsPerColumn = std::max(g.windowRows, 1);
  g.infoKind = InfoAreaKind::None;
  if ((panel_.displayBits & DisplayModeBits) == DisplayShort) {
    g.columnWidth = std::min(shortWidth_, g.windowColumns);
    g.columns = std::max(g.windowColumns / g.columnWidth, 1);
  } else {
    g.columnWidth = std::min(LongLineCells, g.windowColumns);
    g.columns = 1;
  }
  g.fieldColumn = std::max(g.columnWidth - LongFieldCells + 1, 2);
  geometry_ = g;
}

void FileDialog::reread(SortMode sort) {
  ReadOptions options;
  options.sortMode = sort;
  options.ownKeyboardLayout = false;
  if (listMode_) {
    // Without a source the list is the placeholder of a source that delivers nothing.
    const EntrySource nothing = [](FileEntry&, int) { return 1; };
    (void)readFromSource(panel_, options, source_ ? source_ : nothing);
  } else {
    (void)readDirectory(panel_, options);
  }
  cursorIndex_ = 0;
  panel_.cursor = panel_.top = panel_.list.head;
  panel_.cursorRow = panel_.cursorColumn = 0;
  computeGeometry();
  redrawList();
}

void FileDialog::redrawList() { drawFileList(panel_, geometry_); }

std::string FileDialog::pathOf(NodeId id) const {
  if (id == NoNode) return {};
  const FileNode& n = node(panel_.list, id);
  if (listMode_) return n.entry.name;
  if ((n.mark & MarkError) != 0) return panel_.currentDirectory;
  return joinPath(panel_.currentDirectory, n.entry.name);
}

void FileDialog::showNameLine() {
  CurrentWindowScope scope(*name_);
  writeText(tailCells(pathOf(panel_.cursor), NameWidth), NameWidth - 1, 1, 1, WritePad);
  const int count = static_cast<int>(std::max<std::uint32_t>(panel_.list.length, 1));
  drawVerticalScrollBar(*list_, (cursorIndex_ + 1) * 100 / count);
}

void FileDialog::registerZones() {
  std::vector<MouseZone> zones;
  for (int row = 0; row < geometry_.rowsPerColumn; ++row) {
    MouseZone zone;
    zone.x1 = windowScreenColumn(*list_, 1);
    zone.x2 = windowScreenColumn(*list_, geometry_.windowColumns);
    zone.y1 = zone.y2 = windowScreenRow(*list_, geometry_.listRow + row);
    zone.leftCode = FileDialogRowZone + row;
    zones.push_back(zone);
  }
  registerMouseZones(zones);
}

void FileDialog::moveTo(CursorMove move) {
  const CursorChange change = moveCursor(panel_, geometry_, move, cursorIndex_);
  if (!change.moved) return;
  if (change.scrolled)
    drawFileList(panel_, geometry_);
  else
    drawCursorMove(panel_, geometry_, change.oldCursor, change.oldRow, change.oldColumn);
}

// A click on a row: the column comes from where the click was.
void FileDialog::clickRow(int row) {
  int clickColumn = 0, clickRow = 0;
  lastClickPosition(clickColumn, clickRow);
  const int offset = clickColumn - windowScreenColumn(*list_, geometry_.listColumn);
  const int column =
      std::clamp(offset / std::max(geometry_.columnWidth, 1), 0, geometry_.columns - 1);
  const int slot = column * geometry_.rowsPerColumn + row;
  const int currentSlot = panel_.cursorColumn * geometry_.rowsPerColumn + panel_.cursorRow;
  const int target = cursorIndex_ - currentSlot + slot;
  if (target < 0 || target >= static_cast<int>(panel_.list.length) || target == cursorIndex_)
    return;
  const NodeId old = panel_.cursor;
  const int oldRow = panel_.cursorRow, oldColumn = panel_.cursorColumn;
  NodeId id = panel_.top;
  for (int i = 0; i < slot && id != NoNode; ++i) id = nextNode(panel_.list, id);
  if (id == NoNode) return;
  panel_.cursor = id;
  panel_.cursorRow = row;
  panel_.cursorColumn = column;
  cursorIndex_ = target;
  drawCursorMove(panel_, geometry_, old, oldRow, oldColumn);
}

void FileDialog::cycleDisplay() {
  switch (panel_.displayBits & DisplayModeBits) {
    case DisplayShort:
      panel_.displayBits = DisplayLongAttributes;
      break;
    case DisplayLongAttributes:
      panel_.displayBits = DisplayLongPlain;
      break;
    default:
      panel_.displayBits = DisplayShort;
      shortWidth_ = CycledColumnWidth;
      break;
  }
  computeGeometry();
  scrollToCursor(panel_, geometry_, cursorIndex_);
  redrawList();
}

void FileDialog::askMask() {
  std::string typed = panel_.mask;
  if (inputDialog(typed, TextMaskPrompt, MaskDialogColumn, MaskDialogRow, MaskFieldWidth,
                  MaskMaxLength) != key::Enter)
    return;
  panel_.mask = foldDialogMask(typed);
  reread(sort_);
}

bool FileDialog::changeAndReread(std::string_view path) {
  if (path.empty() || !directoryExists(path)) return false;
  panel_.currentDirectory = std::string(path);
  reread(sort_);
  return true;
}

std::optional<std::string> FileDialog::enter(bool& done) {
  if (panel_.cursor == NoNode) return std::nullopt;
  const FileNode& n = node(panel_.list, panel_.cursor);
  if (n.entry.isDirectory()) {
    if (listMode_) {
      rejectBeep();
    } else {
      const std::string& here = panel_.currentDirectory;
      changeAndReread(isParentEntry(n.entry) ? parentPath(here) : joinPath(here, n.entry.name));
    }
    return std::nullopt;
  }
  if ((n.mark & MarkError) != 0) {  // the placeholder of a source that delivered nothing
    rejectBeep();
    return std::nullopt;
  }
  done = true;
  return pathOf(panel_.cursor);
}

std::optional<std::string> FileDialog::typeName(bool& done) {
  std::string text = pathOf(panel_.cursor);
  int cursor = 0;
  KeyCode ending;
  {
    CurrentWindowScope scope(*name_);
    ending = lineInput(1, 1, NameWidth, text, static_cast<int>(MaxPath), NameInputFlags, cursor);
  }
  if (ending != key::Enter || text.empty()) return std::nullopt;
  done = true;
  return text;
}

std::optional<std::string> FileDialog::run() {
  reread(listMode_ ? SortMode::Unsorted : openedSort_);
  for (;;) {
    showNameLine();
    registerZones();
    const KeyCode k = readKey();
    bool done = false;
    std::optional<std::string> result;
    if (k >= FileDialogRowZone && k < FileDialogRowZone + geometry_.rowsPerColumn) {
      clickRow(k - FileDialogRowZone);
      continue;
    }
    switch (k) {
      case key::Enter:
        result = enter(done);
        break;
      case key::Backspace:
        if (listMode_)
          rejectBeep();
        else
          changeAndReread(parentPath(panel_.currentDirectory));
        break;
      case key::Tab:
        result = typeName(done);
        break;
      case key::Escape:
        return std::nullopt;
      case key::Space:
        cycleDisplay();
        break;
      case '#':
        reread(openedSort_);
        break;
      case 'K':
      case 'k':
        askMask();
        break;
      case 'L':
      case 'l':
        if (listMode_) {
          rejectBeep();
        } else {
          // The drive bar makes the chosen drive current; the program's drive stays as it was.
          const char before = currentDrive();
          if (const int letter = selectDrive(); letter != 0) {
            const std::string directory = currentDirectory(static_cast<char>(letter));
            setCurrentDrive(before);
            changeAndReread(directory);
          }
        }
        break;
      case key::CtrlBackspace:
        if (listMode_)
          rejectBeep();
        else
          changeAndReread(textf("%c:\\", driveLetterOf(panel_.currentDirectory)));
        break;
      case key::Up:
        moveTo(CursorMove::Up);
        break;
      case key::Down:
        moveTo(CursorMove::Down);
        break;
      case key::Left:
      case key::PgUp:
        moveTo(CursorMove::ColumnBack);
        break;
      case key::Right:
      case key::PgDn:
        moveTo(CursorMove::ColumnForward);
        break;
      case key::Home:
        moveTo(CursorMove::Home);
        break;
      case key::End:
        moveTo(CursorMove::End);
        break;
      case key::ModifierEvent:
      case key::IdleEvent:
        break;
      default:
        if (k >= key::ctrl('A') && k <= key::ctrl('Z')) {
          if (listMode_) {
            rejectBeep();
          } else {
            const char letter = static_cast<char>('A' + (k - key::ctrl('A')));
            // A drive that does not exist, or cannot be read, changes nothing.
            // The dialog's own drive is where the dialog stands; another drive is at its
            // current directory.
            if (driveMapped(letter))
              changeAndReread(letter == driveLetterOf(panel_.currentDirectory)
                                  ? panel_.currentDirectory
                                  : currentDirectory(letter));
          }
        } else {
          rejectBeep();
        }
        break;
    }
    if (done) return result;
  }
}

}  // namespace

std::string foldDialogMask(std::string_view typed) {
  std::size_t end = typed.size();
  while (end > 0 && typed[end - 1] == ' ') --end;
  if (end == 0) return std::string(MaskAll);
  return lowerCaseText(typed.substr(0, end));
}

std::optional<std::string> selectFile(std::string_view startPath, int columnWidth, int mode,
                                      const EntrySource& listSource) {
  SavedMouseZones callerZones;

  std::string mask(startPath);
  std::string directory = currentDirectory();
  const std::size_t slash = startPath.rfind('\\');
  if (slash != std::string_view::npos) {
    mask = std::string(startPath.substr(slash + 1));
    const std::string start = fullPath(withoutTrailingBackslash(startPath.substr(0, slash + 1)));
    if (!start.empty() && directoryExists(start)) directory = start;
  }
  if (mask.empty()) mask = std::string(MaskAll);

  FileDialog dialog(mode, columnWidth, listSource, mask, sortModeOf(setupBlock().sortMode.get()),
                    directory);
  if (!dialog.open()) return std::nullopt;
  return dialog.run();
}

}  // namespace corvane
