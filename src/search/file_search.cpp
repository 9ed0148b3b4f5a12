#include "search/file_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "config/setup_block.h"
#include "editor/editor_entry.h"
#include "fileops/copy_engine.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "panels/global_list.h"
#include "panels/read_texts.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "search/search_state.h"
#include "search/search_texts.h"
#include "search/walk_actions.h"
#include "ui/boxes.h"
#include "ui/form.h"
#include "viewer/text_search.h"
#include "viewer/viewer.h"
#include "viewer/viewer_state.h"
#include "viewer/viewer_texts.h"

namespace corvane {
namespace {

// Bytes read at a time: large enough that a read costs little against the bytes it brings,
// small enough to stay in the cache while they are searched.
constexpr std::size_t ScanBlockBytes = std::size_t{1} << 18;
// Blocks between two looks at the keyboard inside one file (4 MiB: a fraction of a second
// even from a slow disk; the terminal is read at most every few milliseconds anyway).
constexpr int ScanPollBlocks = 16;
constexpr int TreeSearchFormWidth = 60;

struct KeyResult {
  int key;
  int result;
};
// The viewer's end keys and what they mean for the search.
constexpr KeyResult EndKeys[] = {
    {'F', SearchHitNext},   {'f', SearchHitNext},         {'!', SearchHitNext},
    {'*', SearchHitStop},   {key::Escape, SearchHitStop}, {ViewLeft, SearchHitStop},
    {'S', SearchHitQuiet},  {'s', SearchHitQuiet},        {'E', SearchHitEdited},
    {'e', SearchHitEdited}, {'I', SearchNoHit},           {'i', SearchNoHit},
};

SortMode panelSortMode() {
  return static_cast<SortMode>(std::min<int>(setupBlock().sortMode.get(), SortModeCount - 1));
}

bool dayMonthStyle() { return (setupBlock().clockFlags.get() & ClockFlag24Hours) != 0; }

}  // namespace

FileScan scanFile(std::string_view path, std::string_view pattern, bool ignoreCase) {
  if (pattern.empty()) return FileScan::NotFound;
  FileHandle file;
  if (!openRegularFile(path, file)) return FileScan::OpenFailed;
  const std::size_t keep = pattern.size() - 1;
  std::vector<unsigned char>& buffer = searchState().scanBuffer;
  if (buffer.size() < ScanBlockBytes + keep) buffer.resize(ScanBlockBytes + keep);
  std::size_t held = 0;  // bytes carried over from the block before
  std::int64_t offset = 0;
  for (int block = 1;; ++block) {
    std::size_t got = 0;
    const FileResult read =
        readFileAt(file.get(), offset, buffer.data() + held, ScanBlockBytes, got);
    offset += static_cast<std::int64_t>(got);
    const std::size_t length = held + got;
    if (length >= pattern.size() &&
        findText({buffer.data(), length}, pattern, false, ignoreCase) >= 0)
      return FileScan::Found;
    if (!read) return FileScan::ReadFailed;
    if (got < ScanBlockBytes) return FileScan::NotFound;
    held = std::min(keep, length);
    std::memmove(buffer.data(), buffer.data() + length - held, held);
    if (block % ScanPollBlocks == 0 && escapePressed() && askCancelOperation())
      return FileScan::Cancelled;
  }
}

int searchResultOfKey(int viewerResult) {
  for (const KeyResult& k : EndKeys)
    if (k.key == viewerResult) return k.result;
  return SearchNoHit;
}

int searchFile(std::string_view fileName, std::string_view pattern, bool show, int caseFlag,
               bool* cancelled) {
  const FileScan scan = scanFile(fileName, pattern, caseFlag != 0);
  if (scan == FileScan::OpenFailed && show)
    messageBox(textf(FormatFileOpenError, std::string(fileName).c_str()));
  if (cancelled != nullptr) *cancelled = scan == FileScan::Cancelled;
  if (scan == FileScan::Cancelled) return SearchHitStop;
  if (scan != FileScan::Found) return SearchNoHit;
  if (!show) return SearchHitQuiet;
  viewerState().caseFlag = caseFlag;
  ViewRequest request;
  request.fileName = fileName;
  request.searchString = pattern;
  const int ended = viewFile(request);
  const int result = searchResultOfKey(ended);
  if (result == SearchHitEdited) (void)editFile(fileName);
  return result;
}

int searchTextCommand(CommandContext& context, CommandId) {
  Panel& panel = context.currentPanel();
  const FileNode* n = cursorEntry(context);
  if (n == nullptr || n->entry.isDirectory() || isParentEntry(n->entry)) {
    rejectBeep();
    return LoopContinue;
  }
  if (defineTextSearch() != FormAccepted) return LoopContinue;
  const ViewerState& settings = viewerState();
  if (settings.searchString.empty()) return LoopContinue;
  std::string path = entryPath(panel, panel.cursor);
  const bool archive = panel.archiveType != 0;
  if (archive) {
    FileopsHooks& hooks = fileopsState().hooks;
    std::string extracted;
    if (hooks.extractMember == nullptr || !hooks.extractMember(panel, n->entry.name, extracted)) {
      messageBox(textf(FormatExtractError, n->entry.name.c_str()));
      return LoopContinue;
    }
    path = extracted;
  }
  const std::string pattern = settings.searchString;
  const int result = searchFile(path, pattern, true, settings.caseFlag);
  if (archive) {  // the copy and the directory made for it
    if (const FileopsHooks& hooks = fileopsState().hooks; hooks.releaseMember != nullptr)
      hooks.releaseMember(path);
    else
      (void)deleteFile(path);
  }
  if (result == SearchNoHit) messageBox(textf(FormatStringNotFound, pattern.c_str()));
  if (result == SearchHitEdited && !archive) requestPanelsReread(context, panel.currentDirectory);
  return LoopContinue;
}

int prepareTextSearch(SelectedFilesRun& run) {
  if (defineTextSearch() != FormAccepted || viewerState().searchString.empty()) return 1;
  run.text = viewerState().searchString;
  run.option = 1;  // hits shown
  return 0;
}

int searchSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  const int result = searchFile(file.path, run.text, run.option != 0, viewerState().caseFlag);
  int answer = SelectedKept;
  switch (result) {
    case SearchNoHit:
      answer = SelectedHandled;
      break;
    case SearchHitStop:
      return SelectedKept | SelectedStop;
    case SearchHitQuiet:
      run.option = 0;
      break;
    default:
      break;
  }
  if (run.confirm && question(QuestionDefaultYes, TextContinue) != QuestionYes)
    answer |= SelectedStop;
  return answer;
}

int gatherTextSearch(Panel& panel, const TreeSearch& search) {
  GlobalListOptions options;
  options.sortMode = panelSortMode();
  options.dayMonthDates = dayMonthStyle();
  options.recursive = search.recursive;
  bool show = search.show;
  const int caseFlag = search.ignoreCase ? 1 : 0;
  if (!search.text.empty()) {
    options.test = [&](std::string_view path) {
      bool cancelled = false;
      const int result = searchFile(path, search.text, show, caseFlag, &cancelled);
      if (cancelled) return GlobalTestStop;
      switch (result) {
        case SearchNoHit:
          return 0;
        case SearchHitStop:
          return GlobalTestCancel;
        case SearchHitQuiet:
          show = false;
          return GlobalTestKeep;
        default:
          return GlobalTestKeep;
      }
    };
  }
  return readGlobalList(panel, search.directory, search.mask, options);
}

namespace {

// The global list of a search in a nested loop, freed afterwards.
int showGlobalList(CommandContext& context, const TreeSearch& search) {
  Panel panel;
  int result = LoopContinue;
  if (gatherTextSearch(panel, search) == GlobalListFound) result = context.runNestedLoop(panel);
  freePanel(panel);
  return result;
}

}  // namespace

int treeSearchCommand(CommandContext& context, CommandId) {
  ViewerState& settings = viewerState();
  std::string path = joinPath(context.currentPanel().currentDirectory, "*.*");
  std::uint16_t recursive = 1, show = 1, caseSensitive = settings.caseFlag == 0 ? 1 : 0;
  const FormItem items[] = {
      {.label = TextSearchLabel,
       .type = FormText,
       .text = &settings.searchString,
       .maxLength = SearchStringMaxLength},
      {.label = TextCaseSensitive, .type = FormSwitch, .flag = &caseSensitive},
      {.label = TextDirectoryLabel, .type = FormText, .text = &path, .maxLength = PathMaxLength},
      {.label = TextRecursiveLabel, .type = FormSwitch, .flag = &recursive},
      {.label = TextShowMatchLabel, .type = FormSwitch, .flag = &show},
      {.type = FormSeparator},
      {.label = FormKeyLine, .type = FormStatic},
  };
  const int answer = runForm(centredForm(TreeSearchFormWidth, TextTreeSearchTitle, items));
  settings.caseFlag = caseSensitive != 0 ? 0 : 1;
  if (answer != FormAccepted) return LoopContinue;
  const PatternParts parts = typedSearchPattern(path);
  TreeSearch search;
  search.directory = parts.directory;
  search.mask = parts.mask;
  search.text = settings.searchString;
  search.ignoreCase = settings.caseFlag != 0;
  search.recursive = recursive != 0;
  search.show = show != 0;
  return showGlobalList(context, search);
}

int globalListCommand(CommandContext& context, CommandId) {
  std::string pattern;
  if (!askSearchPattern(pattern)) return LoopContinue;
  const PatternParts parts = typedSearchPattern(pattern);
  TreeSearch search;
  search.directory = parts.directory;
  search.mask = parts.mask;
  return showGlobalList(context, search);
}

}  // namespace corvane
