#include "commands/definition_commands.h"

#include <string>
#include <vector>

#include "commands/panel_commands.h"
#include "commands/setup_texts.h"
#include "config/file_details.h"
#include "config/setup_block.h"
#include "exec/shell_words.h"
#include "panels/global_list.h"
#include "platform/charset.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/pulldown.h"

namespace corvane {
namespace {

constexpr int DirectoryListX = 20, DirectoryListY = 4;
constexpr int HelpDirectories = 115;

}  // namespace

namespace {

// The entry's attributes and time as the file system has them now: a global list is not read
// again, so its entry is brought up to date here.
void refreshEntry(FileEntry& entry, const std::string& path) {
  if (const int attributes = getAttributes(path); attributes >= 0) {
    entry.attributes = static_cast<std::uint8_t>(attributes);
    (void)getFileTime(path, entry.date, entry.time);
  }
}

void requestReread(CommandContext& context) {
  const bool global = context.inGlobalList();
  context.reread = global ? RereadRedraw : RereadInPlace;
  context.placement = PlaceRemembered;
  if (!global) context.otherRequest = OtherIfSameDirectory;
}

}  // namespace

int fileDetailsCommand(CommandContext& context, CommandId) {
  Panel& panel = context.currentPanel();
  if (panel.cursor == NoNode || !isLiveNode(panel.list, panel.cursor) || panel.archiveType != 0) {
    rejectBeep();
    return LoopContinue;
  }
  FileEntry& entry = panel.list.nodes[panel.cursor].entry;
  if (isParentEntry(entry)) {
    rejectBeep();
    return LoopContinue;
  }
  const std::string path = context.inGlobalList() ? globalListPath(panel.list, panel.cursor)
                                                  : joinPath(panel.currentDirectory, entry.name);
  (void)fileDetailsDialog(path, entry.name);
  refreshEntry(entry, path);
  requestReread(context);
  return LoopContinue;
}

int fileDetailsForSelected(SelectedFilesRun& run, SelectedFile& file) {
  const std::string path =
      driveLetterOf(file.path) != 0 ? file.path : joinPath(file.directory, file.path);
  const int key = fileDetailsDialog(path, file.entry.name);
  Panel& panel = run.context->currentPanel();
  if (isLiveNode(panel.list, file.node)) refreshEntry(panel.list.nodes[file.node].entry, path);
  return key == key::Escape ? SelectedKept | SelectedStop : SelectedHandled;
}

void finishFileDetails(SelectedFilesRun& run) { requestReread(*run.context); }

int changeDirectoryListCommand(LoopContext& loop, CommandId) {
  const SetupBlock& block = setupBlock();
  std::vector<std::string> labels;
  std::vector<int> keys;
  for (int i = 0; i < DirectoryEntryCount; ++i) {
    const std::string_view directory = trimBlanks(block.directories[i].text());
    if (directory.empty()) continue;
    labels.push_back(textf(FormatDirectoryItem, 'A' + i, std::string(directory).c_str()));
    keys.push_back(key::fkey(i + 1, key::ModCtrl));
  }
  if (labels.empty()) {
    rejectBeep();
    return LoopContinue;
  }
  std::vector<MenuItem> items;
  for (std::size_t i = 0; i < labels.size(); ++i)
    items.push_back({.label = labels[i], .helpContext = HelpDirectories, .command = keys[i]});
  PulldownMenu menu{.x = DirectoryListX,
                    .y = DirectoryListY,
                    .minimumWidth = textCells(TitleChangeDirectory) + 2,
                    .title = TitleChangeDirectory,
                    .showTitle = true,
                    .items = items};
  int command = 0;
  if (runPulldown(menu, command) != MenuChosen || command == 0) return LoopContinue;
  return definedDirectoryCommand(loop, command);
}

}  // namespace corvane
