#include "search/compare.h"

#include <cstring>
#include <memory>

#include "config/setup_block.h"
#include "exec/associations.h"
#include "exec/command_template.h"
#include "exec/run_command.h"
#include "exec/shell_words.h"
#include "fileops/copy_engine.h"
#include "fileops/destination_dialog.h"
#include "fileops/fileops_texts.h"
#include "panels/directory_read.h"
#include "panels/panel.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "search/search_state.h"
#include "search/search_texts.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr std::size_t CompareBlockBytes = 32768;
// Preference 19: " Ignore file size during file compare ".
constexpr int PreferenceIgnoreSize = 19;
// Files compared by time stamp between two looks at the keyboard.
constexpr int StampPollStride = 64;
constexpr std::uint32_t MarkMissing = MarkCompareMissing | MarkSelected;
constexpr std::uint32_t MarkDiffer = MarkCompareDiffer | MarkSelected;

bool isFile(const FileEntry& entry) { return !entry.isDirectory() && !isParentEntry(entry); }

// The mark word with the compare bits (and the selection they make) replaced.
std::uint32_t withCompare(std::uint32_t mark, std::uint32_t compare) {
  return (mark & ~(MarkCompareBits | MarkSelected)) | compare;
}

bool escapeStops() { return escapePressed() && askCancelOperation(); }

}  // namespace

NameIndex::NameIndex(const FileList& list) {
  exact_.reserve(list.length);
  folded_.reserve(list.length);
  for (NodeId id : chain(list)) {
    const FileEntry& e = list.nodes[id].entry;
    if (!isFile(e)) continue;
    exact_.emplace(e.name, id);
    folded_.emplace(foldCase(e.name), id);  // the first of names equal but for case
  }
}

NodeId NameIndex::find(std::string_view name) const {
  if (auto it = exact_.find(std::string(name)); it != exact_.end()) return it->second;
  if (auto it = folded_.find(foldCase(name)); it != folded_.end()) return it->second;
  return NoNode;
}

ContentComparison compareContents(std::string_view first, std::string_view second) {
  FileHandle a, b;
  if (!openRegularFile(first, a)) return ContentComparison::FirstOpenFailed;
  if (!openRegularFile(second, b)) return ContentComparison::SecondOpenFailed;
  auto blocks = std::make_unique<unsigned char[]>(2 * CompareBlockBytes);
  unsigned char* blockA = blocks.get();
  unsigned char* blockB = blockA + CompareBlockBytes;
  for (std::int64_t offset = 0;; offset += static_cast<std::int64_t>(CompareBlockBytes)) {
    std::size_t gotA = 0, gotB = 0;
    if (!readFileAt(a.get(), offset, blockA, CompareBlockBytes, gotA) ||
        !readFileAt(b.get(), offset, blockB, CompareBlockBytes, gotB))
      return ContentComparison::ReadFailed;
    if (gotA != gotB || std::memcmp(blockA, blockB, gotA) != 0) return ContentComparison::Differ;
    if (gotA < CompareBlockBytes) return ContentComparison::Equal;
  }
}

bool filesDiffer(std::string_view first, std::string_view second) {
  switch (compareContents(first, second)) {
    case ContentComparison::Equal:
      return false;
    case ContentComparison::Differ:
      return true;
    case ContentComparison::FirstOpenFailed:
      messageBox(textf(FormatFileOpenError, std::string(first).c_str()));
      return true;
    case ContentComparison::SecondOpenFailed:
      messageBox(textf(FormatFileOpenError, std::string(second).c_str()));
      return true;
    case ContentComparison::ReadFailed:
      messageBox(TextReadError);
      return true;
  }
  return true;
}

std::uint32_t stampDifference(const FileEntry& a, const FileEntry& b, bool ignoreSize) {
  if (a.date != b.date)
    return MarkSelected | (b.date < a.date ? MarkCompareNewer : MarkCompareOlder);
  if (a.time != b.time)
    return MarkSelected | (b.time < a.time ? MarkCompareNewer : MarkCompareOlder);
  if (a.size == b.size || ignoreSize) return 0;
  return MarkSelected | (a.size > b.size ? MarkCompareLarger : MarkCompareNotLarger);
}

bool markDifferences(FileList& first, std::string_view firstDirectory, const FileList& second,
                     std::string_view secondDirectory, bool binary, bool takeMarks) {
  const NameIndex index(second);
  const bool ignoreSize = preference(PreferenceIgnoreSize) != 0;
  int count = 0;
  for (NodeId id : chain(first)) {
    FileNode& n = first.nodes[id];
    if (!isFile(n.entry)) continue;
    const NodeId partner = index.find(n.entry.name);
    if (partner == NoNode) {
      n.mark = withCompare(n.mark, MarkMissing);
    } else if (binary && takeMarks) {
      n.mark = withCompare(n.mark, second.nodes[partner].mark & (MarkCompareBits | MarkSelected));
    } else if (binary) {
      const bool differ = filesDiffer(joinPath(firstDirectory, n.entry.name),
                                      joinPath(secondDirectory, second.nodes[partner].entry.name));
      n.mark = withCompare(n.mark, differ ? MarkDiffer : 0);
    } else {
      n.mark =
          withCompare(n.mark, stampDifference(n.entry, second.nodes[partner].entry, ignoreSize));
    }
    const bool poll = (binary && !takeMarks) || ++count % StampPollStride == 0;
    if (poll && escapeStops()) return false;
  }
  return true;
}

int compareDirectoriesCommand(CommandContext& context, CommandId code) {
  Panel& first = context.currentPanel();
  Panel* other = context.otherPanel();
  if (other == nullptr || first.layout != LayoutTwoLists || context.inGlobalList() ||
      isGlobalList(first) || isGlobalList(*other) || first.archiveType != 0 ||
      other->archiveType != 0)
    return LoopContinue;
  Panel& second = *other;
  const bool binary = code == CmdCompareDirectoriesBinary;
  WindowHandle window;
  if (binary) (void)openInfoWindow(window, TextComparing);
  if (markDifferences(first.list, first.currentDirectory, second.list, second.currentDirectory,
                      binary, false)) {
    countList(first);
    (void)markDifferences(second.list, second.currentDirectory, first.list, first.currentDirectory,
                          binary, binary);
  }
  countList(first);
  countList(second);
  if (binary) closeInfoWindow(window);
  context.reread = RereadRecount;
  context.otherRequest = OtherAlways;
  return LoopContinue;
}

int prepareCompareFiles(SelectedFilesRun& run) {
  resetSearchState();
  run.destination = defaultDestination(*run.context);
  if (destinationDialog(run.destination) != 1) return 1;
  const int answer = question(QuestionDefaultNo, TextBinaryComparison);
  if (answer != QuestionYes && answer != QuestionNo) return 1;
  run.option = answer == QuestionYes ? 1 : 0;
  SearchState& state = searchState();
  state.destination.currentDirectory = run.destination;
  state.destination.nameCase = 1;
  ReadOptions options;
  options.ownKeyboardLayout = false;
  (void)readDirectory(state.destination, options);
  state.destinationIndex = NameIndex(state.destination.list);
  return 0;
}

int compareSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  SearchState& state = searchState();
  std::uint32_t& mark = run.context->currentPanel().list.nodes[file.node].mark;
  const NodeId partner = state.destinationIndex.find(file.entry.name);
  std::uint32_t compare = MarkMissing;
  if (partner != NoNode) {
    const FileEntry& other = state.destination.list.nodes[partner].entry;
    compare = run.option != 0
                  ? (filesDiffer(file.path, joinPath(run.destination, other.name)) ? MarkDiffer : 0)
                  : stampDifference(file.entry, other, preference(PreferenceIgnoreSize) != 0);
  }
  if (compare == 0) return SelectedHandled;  // equal: the selection goes, nothing else
  mark = withCompare(mark, compare);
  return SelectedKept;
}

void finishCompareFiles(SelectedFilesRun&) { resetSearchState(); }

int prepareFileDifferences(SelectedFilesRun& run) {
  resetSearchState();
  const std::string program(trimBlanks(setupBlock().fileDifferencesCommand.text()));
  if (program.empty()) {
    rejectBeep();
    return 1;
  }
  if (checkCommand(program) != 0) return 1;
  run.destination = defaultDestination(*run.context);
  if (destinationDialog(run.destination) != 1) return 1;
  std::string output(TextConsoleOutput);
  if (inputDialog(output, TextOutputTo, 1, screenRows() / 2 - 2, screenColumns(),
                  OutputMaxLength) != key::Enter)
    return 1;
  output = std::string(trimBlanks(output));
  if (output.empty()) return 1;
  run.text = program;
  searchState().output = output;
  return 0;
}

int fileDifferencesFor(SelectedFilesRun& run, SelectedFile& file) {
  SearchState& state = searchState();
  std::string command = run.text + " " + quoteForShell(hostFormOfName(fullPath(file.path))) + " " +
                        quoteForShell(hostFormOfName(joinPath(run.destination, file.entry.name)));
  if (!sameName(state.output, TextConsoleOutput))
    command += " >> " + quoteForShell(hostFormOfName(fullPath(state.output)));
  state.commands.push_back(std::move(command));
  return SelectedHandled;
}

void finishFileDifferences(SelectedFilesRun& run) {
  SearchState& state = searchState();
  const bool console = sameName(state.output, TextConsoleOutput);
  (void)runCommandBatch(state.commands, console);
  resetSearchState();
  if (!console) {
    run.context->reread = RereadInPlace;
    run.context->otherRequest = OtherIfSameDirectory;
  }
}

}  // namespace corvane
