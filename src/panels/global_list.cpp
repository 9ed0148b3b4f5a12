#include "panels/global_list.h"

#include <algorithm>
#include <chrono>
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
#include "ui/window.h"

namespace corvane {

namespace {

// The "  FileFind  " window: kept files scroll in the rows above the bottom line, which
// shows the directory being searched. Lines go into the screen image at once and reach the
// terminal at most every 40 ms, so a search that keeps thousands of files is not paced by it.
class FindWindow {
 public:
  FindWindow() {
    if (!hasConsole()) return;
    const int columns = screenColumns(), rows = screenRows();
    const ColorAttr attr = color(ColorInfoWindow);
    if (window_.open(3, 4, columns - 4, rows - 8, attr, attr,
                     WindowDouble | WindowShadow | WindowClear, TextFileFindTitle) != 0)
      return;
    lastListRow_ = window_->height - 3;
  }

  void showDirectory(std::string_view path) {
    if (!window_) return;
    {
      CurrentWindowScope scope(*window_);
      raiseHold(1);
      writeText(path, innerWidth() - 1, 1, window_->height - 2, WritePad);
      lowerHold(1);
    }
    pacedFlush();
  }

  void addLine(std::string_view text) {
    if (!window_) return;
    {
      CurrentWindowScope scope(*window_);
      raiseHold(1);
      if (row_ > lastListRow_) {
        const ScreenWindow& w = *window_;
        scrollRect(windowScreenRow(w, 1), windowScreenColumn(w, 1),
                   windowScreenRow(w, lastListRow_), windowScreenColumn(w, innerWidth()), 1,
                   w.textColor);
        row_ = lastListRow_;
      }
      writeText(text, innerWidth() - 1, 1, row_, WritePad);
      lowerHold(1);
    }
    ++row_;
    pacedFlush();
  }

  // Shows what was drawn since the last time (before a note or box covers the window).
  void flush() {
    if (!window_ || holdLevel() != 0) return;
    shown_ = std::chrono::steady_clock::now();
    flushWindowRect(window_->x, window_->y, window_->width, window_->height);
  }

 private:
  static constexpr std::chrono::milliseconds FlushInterval{40};

  void pacedFlush() {
    if (std::chrono::steady_clock::now() - shown_ >= FlushInterval) flush();
  }

  std::chrono::steady_clock::time_point shown_{};
  int innerWidth() const { return window_->width - 2; }

  ScopedWindow window_;
  int row_ = 1;
  int lastListRow_ = 1;
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
      : panel_(panel), options_(options), mask_(compileMask(mask)) {
    directories_.push_back(addDirectory(panel.list, NoDirectory, panel.currentDirectory));
    window_.showDirectory(panel.currentDirectory);
  }

  int visit(TreeWalkEntry& entry) override {
    if (entry.name().empty() || entry.name().front() == '.') return TreeWalkSkip;
    std::string name(entry.name());
    if (panel_.nameCase == 0) {
      for (char& c : name) c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
    }
    const auto depth = static_cast<std::size_t>(entry.depth());
    if (entry.isDirectory()) {
      if (!options_.recursive) return TreeWalkSkip;
      // The node of the directory whose entries come next at this depth plus one.
      directories_.resize(depth + 1);
      directories_[depth] = addDirectory(panel_.list, directories_[depth - 1], std::move(name));
      window_.showDirectory(entry.path());
      return TreeWalkContinue;
    }
    if (!maskMatches(mask_, name)) return TreeWalkContinue;
    const FindRecord* record = entry.details();
    if (record == nullptr || record->linkToDirectory) return TreeWalkContinue;
    const std::string full = joinPath(directoryPath(panel_.list, directories_[depth - 1]), name);
    const int answer = options_.test ? options_.test(full) : GlobalTestKeep;
    if (answer == GlobalTestStop) return TreeWalkStop;
    if (answer != GlobalTestKeep && answer != GlobalTestCancel) return TreeWalkContinue;
    FileEntry e;
    e.name = std::move(name);
    e.attributes = record->attribute;
    e.time = record->time;
    e.date = record->date;
    e.size = record->size;
    FileList& list = panel_.list;
    const NodeId id = allocateNode(list, std::move(e));
    list.nodes[id].directory = directories_[depth - 1];
    linkBefore(list, id, NoNode);
    window_.addLine(foundFileLine(full, record->size, record->date, options_.dayMonthDates));
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

std::string foundFileLine(std::string_view path, std::uint64_t size, std::uint16_t date,
                          bool dayMonthDates) {
  const int day = date & 0x1F;
  const int month = (date >> 5) & 0x0F;
  const int year = 1980 + (date >> 9);
  const int shortYear = year < 2000 ? year - 1900 : year - 2000;
  std::string line(path);
  for (int cells = textCells(path); cells < FoundNameCells; ++cells) line += ' ';
  const auto bytes = static_cast<unsigned long long>(size);
  line += dayMonthDates ? textf(FormatFoundSizeDayMonth, bytes, day, month, shortYear)
                        : textf(FormatFoundSizeMonthDay, bytes, month, day, shortYear);
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
    walkDirectoryTree(panel.currentDirectory, scan);
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
