#include "fileops/file_commands.h"

#include "fileops/fileops_state.h"
#include "panels/global_list.h"
#include "platform/find.h"
#include "platform/paths.h"

namespace corvane {
namespace {

// Whether directory is path or lies below it.
bool atOrBelow(std::string_view directory, std::string_view path) {
  if (path.empty() || directory.size() < path.size()) return false;
  if (!sameName(directory.substr(0, path.size()), path)) return false;
  return directory.size() == path.size() || path.back() == '\\' || directory[path.size()] == '\\';
}

}  // namespace

std::string entryPath(const Panel& panel, NodeId id) {
  if (isGlobalList(panel)) return globalListPath(panel.list, id);
  return joinPath(panel.currentDirectory, panel.list.nodes[id].entry.name);
}

const FileNode* cursorEntry(CommandContext& context) {
  const Panel& panel = context.currentPanel();
  if (panel.cursor == NoNode || !isLiveNode(panel.list, panel.cursor)) return nullptr;
  const FileNode& n = panel.list.nodes[panel.cursor];
  return (n.mark & MarkError) != 0 ? nullptr : &n;
}

bool isLinkEntry(std::string_view path) {
  FindRecord record;
  return findEntry(path, record) && record.isLink;
}

void requestPanelsReread(CommandContext& context, std::string_view changed) {
  const Panel& current = context.currentPanel();
  // A directory made on the way (the destination dialog, make directory) may show anywhere.
  FileopsState& state = fileopsState();
  const bool made = state.directoryCreated;
  state.directoryCreated = false;
  if (made || atOrBelow(current.currentDirectory, changed)) {
    context.reread = RereadInPlace;
    // The cursor stays on the entry it is on now (the one it was on may have gone).
    if (const FileNode* n = cursorEntry(context)) {
      context.placement = PlaceLeftDirectory;
      context.leftDirectory = n->entry.name;
    }
  } else if (context.reread != RereadInPlace && context.reread != RereadRecount) {
    context.reread = RereadRedraw;
  }
  const Panel* other = context.panelBeside();
  if (other != nullptr && (made || atOrBelow(other->currentDirectory, changed) ||
                           sameName(other->currentDirectory, current.currentDirectory)))
    context.otherRequest = OtherAlways;
}

void removeEntry(CommandContext& context, NodeId id) {
  Panel& panel = context.currentPanel();
  if (!isLiveNode(panel.list, id)) return;
  removeNode(panel, id);
  if (context.reread != RereadInPlace) context.reread = RereadRecount;
}

}  // namespace corvane
