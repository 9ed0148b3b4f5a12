#include "panels/state_window.h"

#include "panels/display_texts.h"
#include "panels/info_area.h"
#include "platform/color.h"
#include "platform/drive_info.h"
#include "platform/paths.h"
#include "platform/product.h"
#include "platform/screen.h"
#include "platform/system_info.h"
#include "platform/textf.h"
#include "ui/window.h"

namespace corvane {

namespace {

// Never destroyed: a window record released after the window stack's own statics at exit
// would unlink itself from a stack that is gone.
WindowHandle& stateWindowHandle() {
  static WindowHandle* handle = new WindowHandle();
  return *handle;
}
const Panel* stateOwner = nullptr;

struct Counts {
  int files = 0;
  int directories = 0;
};

// Directories stand before all files, so the walk ends at the first file: it costs the
// number of directories, not the length of the list.
Counts countEntries(const Panel& panel) {
  Counts c;
  int directoryNodes = 0;
  for (NodeId id = panel.list.head; id != NoNode; id = nextNode(panel.list, id)) {
    const FileNode& n = node(panel.list, id);
    if (!n.entry.isDirectory()) break;
    ++directoryNodes;
    if (!isParentEntry(n.entry) && (n.mark & MarkError) == 0) ++c.directories;
  }
  c.files = static_cast<int>(panel.list.length) - directoryNodes;
  return c;
}

void drawRows(const Panel& panel) {
  ScreenWindow& window = *stateWindowHandle();
  CurrentWindowScope scope(window);
  raiseHold(1);
  const std::vector<std::string> rows = stateWindowRows(panel);
  const int last = windowLastRow(window);
  const int width = windowLastColumn(window);
  for (int row = 1; row <= last; ++row) {
    const std::size_t i = static_cast<std::size_t>(row - 1);
    if (i < rows.size() && rows[i].empty())
      separatorLine(&window, 0, row);
    else
      writeText(i < rows.size() ? rows[i] : std::string(), width - 1, 1, row, WritePad);
  }
  if (lowerHold(1) == 0)
    flushRect(window.x, window.y, window.x + window.width - 1, window.y + window.height - 1);
}

// Its relayout hook: over the other panel's window again (laid out before it).
void relayoutStateWindow(ScreenWindow& window, void*) {
  if (stateOwner == nullptr || stateOwner->other == nullptr || stateOwner->other->window == nullptr)
    return;
  const ScreenWindow& under = *stateOwner->other->window;
  moveWindow(window, under.x + 1, under.y + 1, under.width, under.height);
  drawRows(*stateOwner);
}

}  // namespace

std::string_view fileSystemName(int fileSystemClass) {
  constexpr int Known = static_cast<int>(std::size(FileSystemNames));
  if (fileSystemClass < 0) return FileSystemNames[0];
  if (fileSystemClass >= Known) return TextFileSystemUnknown;
  return FileSystemNames[fileSystemClass];
}

std::vector<std::string> stateWindowRows(const Panel& panel) {
  const Counts counts = countEntries(panel);
  std::uint64_t freeMemory = 0;
  int load = 0;
  if (!memoryStatus(freeMemory, load)) freeMemory = 0;
  char drive = driveLetterOf(panel.currentDirectory);
  if (drive == 0) drive = ' ';
  return {
      "  " + std::string(ProductTitle),
      std::string(TextStateBanner),
      "",
      textf(FormatStateCounts, counts.files, counts.directories),
      "",
      " " + formatSize(panel.totalSize) + std::string(TextStateTotalSize),
      textf(FormatStateDirectory, panel.currentDirectory.c_str()),
      "",
      textf(FormatStateFreeOnDrive, drive) + formatSize(volumeFreeBytes(panel.volume)),
      std::string(TextStateDriveName) + panel.volume.volumeName,
      std::string(TextStateFileSystem) + std::string(fileSystemName(panel.volume.fileSystemClass)),
      "",
      std::string(TextStateFreeMemory) + formatSize(freeMemory),
  };
}

int openStateWindow(Panel& panel) {
  WindowHandle& stateHandle = stateWindowHandle();
  if (stateHandle && stateHandle->visible) return stateOwner == &panel ? 0 : -1;
  if (isGlobalList(panel) || panel.other == nullptr || panel.other->window == nullptr) return -1;
  const ScreenWindow& under = *panel.other->window;
  stateHandle.reset();
  if (openWindow(stateHandle, under.x + 1, under.y + 1, under.width, under.height,
                 color(ColorInfoWindow), color(ColorInfoWindow), WindowDouble | WindowClear,
                 TextStateTitle) != 0)
    return -1;
  stateHandle->relayout = relayoutStateWindow;
  stateOwner = &panel;
  panel.infoFlag |= 1;
  drawRows(panel);
  // Keys and text keep going to the panel, not to the window laid over the other one.
  if (panel.window != nullptr) activateWindow(*panel.window);
  return 0;
}

void drawStateWindow(const Panel& panel) {
  const WindowHandle& stateHandle = stateWindowHandle();
  if (!stateHandle || !stateHandle->visible || stateOwner != &panel) return;
  drawRows(panel);
}

void closeStateWindow(Panel& panel) {
  panel.infoFlag &= ~1;
  if (stateOwner != &panel) return;
  freeWindow(stateWindowHandle());
  stateOwner = nullptr;
}

bool stateWindowOpen() { return stateWindowHandle() && stateWindowHandle()->visible; }

}  // namespace corvane
