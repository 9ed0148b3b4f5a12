#include "panels/global_list.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "panels/directory_read.h"
#include "panels/mask.h"
#include "panels/name_fold.h"
#include "panels/read_dialogs.h"
#include "panels/read_texts.h"
#include "platform/charset.h"
#include "platform/color.h"
#include "platform/console.h"
#include "platform/find.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "platform/tree_walk.h"
#include "ui/paced_drawing.h"
#include "ui/window.h"

namespace corvane {

namespace {

// The "  FileFind  " window: kept files scroll in the rows above the bottom line, which
// shows the directory being searched. What the rows show is drawn only when it reaches the
// terminal (at most every 40 ms), so a search that keeps thousands of files formats and
// scrolls a window's worth of lines, not every one.
class FindWindow {
 public:
  FindWindow(bool dayMonthDates) : dayMonth_(dayMonthDates) {
    if (!hasConsole()) return;
    const int columns = screenColumns(), rows = screenRows();
    const ColorAttr attr = color(ColorInfoWindow);
    if (window_.open(3, 4, columns - 4, rows - 8, attr, attr,
                     WindowDouble | WindowShadow | WindowClear, TextFileFindTitle) != 0)
      return;
    listRows_ = static_cast<std::size_t>(std::max(window_->height - 3, 1));
  }

  void showDirectory(std::string_view path) {
    if (!window_) return;
    directory_ = path;
    if (flush_.due()) flush();
  }

  void addLine(std::string path, std::uint64_t size, std::uint16_t date) {
    if (!window_) return;
    if (lines_.size() == listRows_) lines_.pop_front();
    lines_.push_back({std::move(path), size, date});
    if (flush_.due()) flush();
  }

  // Shows what was found since the last time (before a note or box covers the window).
  void flush() {
    if (!window_ || holdLevel() != 0) return;
    draw();
    flush_.show(window_.get(), true);
  }

 private:
  struct Found {
    std::string path;
    std::uint64_t size = 0;
    std::uint16_t date = 0;
  };

  void draw() {
    CurrentWindowScope scope(*window_);
    const DrawingHold hold;
    const int width = window_->width - 3;
    int row = 1;
    for (const Found& found : lines_)
      writeText(foundFileLine(found.path, found.size, found.date, dayMonth_), width, 1, row++,
                WritePad);
    writeText(directory_, width, 1, window_->height - 2, WritePad);
  }

  PacedFlush flush_;
  ScopedWindow window_;
  bool dayMonth_ = true;
  std::size_t listRows_ = 1;
  std::deque<Found> lines_;
  std::string directory_;
};

DirectoryId addDirectory(FileList& list, DirectoryId parent, std::string name) {
  const DirectoryId id = static_cast<DirectoryId>(list.directories.size());
  DirectoryNode d;
  d.parent = parent;
  d.name = std::move(name);
  if (parent != NoDirectory) {
    DirectoryNode& p = list.directories[parent];
    d.depth = static_cast<std::uint16_t>(p.depth + 1);
    d.nextSibling = p.firstChild;
    p.firstChild = id;
  }
  list.directories.push_back(std::move(d));
  return id;
}

// Gathers the files of the walk into the panel. Names beginning with "." are skipped and
// such directories not entered; a link to a directory is neither listed nor entered.
class GlobalScan : public TreeWalkVisitor {
 public:
  GlobalScan(Panel& panel, const GlobalListOptions& options, std::string_view mask)
      : panel_(panel), options_(options), mask_(compileMask(mask)), window_(options.dayMonthDates) {
    directories_.push_back(addDirectory(panel.list, NoDirectory, panel.currentDirectory));
    paths_.push_back(panel.currentDirectory);
    window_.showDirectory(panel.currentDirectory);
  }

  int visit(TreeWalkEntry& entry) override {
    std::string_view name = entry.name();
    if (name.empty() || name.front() == '.') return TreeWalkSkip;
    if (panel_.nameCase == 0) {
      folded_.clear();
      appendFolded(folded_, name);
      name = folded_;
    }
    const auto depth = static_cast<std::size_t>(entry.depth());
    if (entry.isDirectory()) {
      if (!options_.recursive) return TreeWalkSkip;
      // The node of the directory whose entries come next at this depth plus one.
      directories_.resize(depth + 1);
      paths_.resize(depth + 1);
      directories_[depth] = addDirectory(panel_.list, directories_[depth - 1], std::string(name));
      paths_[depth] = joinPath(paths_[depth - 1], name);
      window_.showDirectory(entry.path());
      return TreeWalkContinue;
    }
    if (!maskMatches(mask_, name)) return TreeWalkContinue;
    const FindRecord* record = entry.details();
    if (record == nullptr || record->linkToDirectory) return TreeWalkContinue;
    std::string full = joinPath(paths_[depth - 1], name);
    const int answer = options_.test ? options_.test(full) : GlobalTestKeep;
    if (answer == GlobalTestStop) return TreeWalkStop;
    if (answer != GlobalTestKeep && answer != GlobalTestCancel) return TreeWalkContinue;
    FileEntry e;
    e.name = std::string(name);
    e.attributes = record->attribute;
    e.time = record->time;
    e.date = record->date;
    e.size = record->size;
    FileList& list = panel_.list;
    const NodeId id = allocateNode(list, std::move(e));
    list.nodes[id].directory = directories_[depth - 1];
    linkBefore(list, id, NoNode);
    window_.addLine(std::move(full), record->size, record->date);
    return answer == GlobalTestCancel ? TreeWalkStop : TreeWalkContinue;
  }

  int leaveDirectory(TreeWalkEntry& entry) override {
    window_.showDirectory(parentPath(entry.path()));
    return TreeWalkContinue;
  }

  int failed(std::string_view path, FileResult reason) override {
    window_.flush();
    const std::string pattern = joinPath(path, "*.*");
    showTimedNote(
        textf(reason.accessDenied() ? FormatAccessErrorNote : FormatNoEntryNote, pattern.c_str()));
    window_.showDirectory(path == panel_.currentDirectory ? std::string(path) : parentPath(path));
    return TreeWalkContinue;
  }

  bool cancelled() override { return poll_.cancelled(); }

 private:
  Panel& panel_;
  const GlobalListOptions& options_;
  CompiledMask mask_;
  FindWindow window_;
  CancelPoll poll_;
  std::vector<DirectoryId> directories_;  // by depth: the directory whose entries are walked
  std::vector<std::string> paths_;        // by depth: its path as the list builds it
  std::string folded_;
};

}  // namespace

std::string directoryPath(const FileList& list, DirectoryId id) {
  std::vector<DirectoryId> up;
  for (DirectoryId d = id; d != NoDirectory; d = list.directories[d].parent) up.push_back(d);
  std::string path;
  for (auto it = up.rbegin(); it != up.rend(); ++it)
    path = path.empty() ? list.directories[*it].name : joinPath(path, list.directories[*it].name);
  return path;
}

std::string globalListPath(const FileList& list, NodeId id) {
  const FileNode& n = list.nodes[id];
  if (n.directory == NoDirectory) return n.entry.name;
  return joinPath(directoryPath(list, n.directory), n.entry.name);
}

int shortYear(std::uint16_t date) {
  const int year = date >> 9;
  return year + 80 < 100 ? year + 80 : year - 20;
}

std::string foundFileLine(std::string_view path, std::uint64_t size, std::uint16_t date,
                          bool dayMonthDates, int pathCells) {
  const int day = date & 0x1F;
  const int month = (date >> 5) & 0x0F;
  std::string line(path);
  for (int cells = textCells(path); cells < pathCells; ++cells) line += ' ';
  const auto bytes = static_cast<unsigned long long>(size);
  line += dayMonthDates ? textf(FormatFoundSizeDayMonth, bytes, day, month, shortYear(date))
                        : textf(FormatFoundSizeMonthDay, bytes, month, day, shortYear(date));
  return line;
}

int readGlobalList(Panel& panel, std::string_view startDirectory, std::string_view mask,
                   const GlobalListOptions& options) {
  freePanelList(panel);
  panel.displayBits = DisplayLongAttributes | DisplayGlobalList;
  panel.archiveType = 0;
  panel.currentDirectory = withoutTrailingBackslash(startDirectory);
  panel.nameCase = 0;
  readVolumeInformation(panel);

  {
    GlobalScan scan(panel, options, mask);
    // A per-file test may run the editor, which writes beside the files: the listing is
    // then read whole before it is walked.
    TreeWalkOptions walkOptions;
    walkOptions.readAhead = !options.test;
    walkDirectoryTree(panel.currentDirectory, scan, walkOptions);
  }

  if (panel.list.length == 0) {
    reportNoFilesFound();
    freePanelList(panel);
    return GlobalListEmpty;
  }
  sortList(panel.list, options.sortMode);
  countList(panel);
  panel.cursor = panel.top = panel.list.head;
  panel.cursorRow = panel.cursorColumn = 0;
  return GlobalListFound;
}

}  // namespace corvane
