#include "search/walk_actions.h"

#include <vector>

#include "config/setup_block.h"
#include "exec/command_template.h"
#include "exec/run_command.h"
#include "exec/shell_words.h"
#include "fileops/copy_engine.h"
#include "fileops/copy_tree.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_state.h"
#include "panels/global_list.h"
#include "panels/read_texts.h"
#include "platform/charset.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "platform/tree_walk.h"
#include "search/output_window.h"
#include "search/search_texts.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "ui/line_input.h"

namespace corvane {
namespace {

constexpr int SizeWindowRows = 2;

bool dayMonthStyle() { return (setupBlock().clockFlags.get() & ClockFlag24Hours) != 0; }

// What the hook of one walk works with (WalkCounters::context).
struct WalkJob {
  WalkTotals totals;
  OutputWindow* window = nullptr;
  bool dayMonth = true;
  std::string command;                // WalkCommand: the typed command
  std::vector<std::string> commands;  // WalkCommand: one per file, in walk order
};

std::string totalText(const WalkTotals& totals) {
  return textf(FormatFoundTotal, totals.files, static_cast<unsigned long long>(totals.bytes));
}

int walkFile(int mode, TreeWalkEntry& entry, void* context) {
  WalkJob& job = *static_cast<WalkJob*>(context);
  const FindRecord* record = entry.details();
  if (record == nullptr) {  // gone since it was listed
    if (job.window != nullptr) job.window->write(textf(FormatUnreadableNote, entry.path().c_str()));
    return 0;
  }
  // A link to a directory is not a file; a link to a file is listed, but its target's size
  // is counted where the target lies (no file counts twice).
  if (record->linkToDirectory) return 0;
  switch (mode) {
    case WalkList:
      ++job.totals.files;
      job.totals.bytes += record->size;
      if (job.window != nullptr)
        job.window->write(foundLine(entry.path(), record->size, record->date, job.dayMonth));
      break;
    case WalkSize:
      if (entry.isLink()) break;
      ++job.totals.files;
      job.totals.bytes += record->size;
      if (job.window != nullptr && (job.totals.files & 0x3FF) == 0)
        job.window->setRow(2, totalText(job.totals));
      break;
    case WalkCommand: {
      ++job.totals.files;
      std::string line = textf(FormatRecursiveCommand, job.command.c_str(),
                               quoteForShell(hostFormOfName(entry.path())).c_str());
      if (job.window != nullptr) job.window->write("\n" + line);
      job.commands.push_back(std::move(line));
      break;
    }
    default:
      break;
  }
  return 0;
}

void walkUnreadable(int, std::string_view path, void* context) {
  WalkJob& job = *static_cast<WalkJob*>(context);
  if (job.window != nullptr)
    job.window->write(textf(FormatUnreadableNote, std::string(path).c_str()));
}

// Runs walkTree with this folder's hooks in place for its duration.
int runWalk(const PatternParts& parts, int mode, WalkJob& job) {
  FileopsHooks& hooks = fileopsState().hooks;
  const FileopsHooks saved = hooks;
  hooks.walkFile = walkFile;
  hooks.walkUnreadable = walkUnreadable;
  fileopsState().cancelRequested = false;
  WalkCounters counters;
  counters.mask = parts.mask;
  counters.context = &job;
  const int result = walkTree(parts.directory, counters, mode);
  job.totals.cancelled = fileopsState().cancelRequested;
  fileopsState().hooks = saved;
  return result;
}

}  // namespace

PatternParts splitPattern(std::string_view pattern) {
  PatternParts parts;
  const bool host = pattern.starts_with('/');
  const std::size_t cut = pattern.rfind(host ? '/' : '\\');
  if (cut == std::string_view::npos) {
    parts.directory = ".";
    parts.mask = std::string(pattern);
  } else {
    parts.mask = std::string(pattern.substr(cut + 1));
    std::string_view directory = pattern.substr(0, cut);
    if (host) {
      parts.directory = toProgramPath(directory.empty() ? std::string_view("/") : directory);
      if (parts.directory.empty()) parts.directory = std::string(directory);
    } else {
      // "T:\name" keeps the root's backslash; "\name" is the current drive's root.
      if (directory.empty() || directory.back() == ':') directory = pattern.substr(0, cut + 1);
      parts.directory = std::string(directory);
    }
  }
  if (parts.mask.empty()) parts.mask = "*.*";
  return parts;
}

PatternParts typedSearchPattern(std::string_view typed) {
  typed = trimBlanks(typed);
  PatternParts parts = splitPattern(typed);
  parts.mask = lowerCaseText(trimBlanks(parts.mask));
  if (parts.mask.empty()) parts.mask = "*.*";
  if (parts.directory == ".") {
    parts.directory = currentDirectory();
  } else if (std::string full = fullPath(parts.directory); !full.empty()) {
    parts.directory = std::move(full);
  }
  return parts;
}

std::string foundLine(std::string_view path, std::uint64_t size, std::uint16_t date,
                      bool dayMonth) {
  return "\n" +
         foundFileLine(shortenedLeft(path, FoundPathChars), size, date, dayMonth, FoundPathChars);
}

int findFiles(std::string_view pattern, WalkTotals* totals) {
  const PatternParts parts = splitPattern(pattern);
  OutputWindow window(TextFileFindTitle);
  WalkJob job;
  job.window = &window;
  job.dayMonth = dayMonthStyle();
  const int result = runWalk(parts, WalkList, job);
  window.flush();
  messageBox(totalText(job.totals));
  if (totals != nullptr) *totals = job.totals;
  return result;
}

std::uint64_t directorySize(std::string_view pattern, bool show, WalkTotals* totals) {
  const PatternParts parts = splitPattern(pattern);
  OutputWindow window(TextSizeTitle, SizeWindowRows);
  window.setRow(1, withoutTrailingBackslash(fullPath(parts.directory)));
  WalkJob job;
  job.window = &window;
  (void)runWalk(parts, WalkSize, job);
  if (show) {
    window.setRow(2, totalText(job.totals));
    window.flush();
    messageBox(totalText(job.totals));
  }
  if (totals != nullptr) *totals = job.totals;
  return job.totals.bytes;
}

int commandRecursive(std::string_view pattern, std::string_view command) {
  const PatternParts parts = splitPattern(pattern);
  WalkJob job;
  job.command = std::string(command);
  {
    OutputWindow window(TextFileFindTitle);
    job.window = &window;
    (void)runWalk(parts, WalkCommand, job);
    window.flush();
  }
  if (!job.totals.cancelled) (void)runCommandBatch(job.commands, true);
  return job.totals.files;
}

int directorySizeCommand(CommandContext& context, CommandId code) {
  Panel& panel = context.currentPanel();
  if (panel.archiveType != 0 || isGlobalList(panel)) {
    rejectBeep();
    return LoopContinue;
  }
  auto sizeOf = [&](NodeId id, bool show) {
    FileNode& n = panel.list.nodes[id];
    WalkTotals totals;
    const std::uint64_t size = directorySize(joinPath(entryPath(panel, id), "*.*"), show, &totals);
    if (totals.cancelled) return false;
    n.entry.size = size;
    n.mark |= MarkSizeComputed;
    return true;
  };
  if (code == CmdDirectorySize) {
    const FileNode* n = cursorEntry(context);
    if (n == nullptr || !n->entry.isDirectory() || isParentEntry(n->entry)) {
      rejectBeep();
      return LoopContinue;
    }
    (void)sizeOf(panel.cursor, true);
  } else {
    std::vector<NodeId> directories;
    for (NodeId id : chain(panel.list)) {
      const FileEntry& e = panel.list.nodes[id].entry;
      if (e.isDirectory() && !isParentEntry(e)) directories.push_back(id);
    }
    for (NodeId id : directories)
      if (!sizeOf(id, false)) break;
  }
  context.reread = RereadRecount;
  return LoopContinue;
}

bool askSearchPattern(std::string& pattern) {
  const int width = SearchPromptWidth + textCells(TextSearchPrompt) + 4;
  return inputDialog(pattern, TextSearchPrompt, std::max((screenColumns() - width) / 2, 1),
                     screenRows() / 2 - 2, width, SearchPatternMaxLength) == key::Enter;
}

int commandRecursiveCommand(CommandContext& context, CommandId) {
  (void)context;
  std::string pattern;
  if (!askSearchPattern(pattern)) return LoopContinue;
  std::string command;
  if (!askCommandLine(command, CommandMaxLength) || trimBlanks(command).empty())
    return LoopContinue;
  const PatternParts parts = typedSearchPattern(pattern);
  (void)commandRecursive(joinPath(parts.directory, parts.mask), trimBlanks(command));
  context.reread = RereadInPlace;
  context.otherRequest = OtherAlways;
  return LoopContinue;
}

}  // namespace corvane
