#include "panels/cursor_memory.h"

#include "platform/paths.h"

namespace corvane {

namespace {

int driveIndex(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return letter >= 'A' && letter <= 'Z' ? letter - 'A' : -1;
}

}  // namespace

void rememberCursor(DriveCursorMemory& memory, const Panel& panel) {
  const int index = driveIndex(driveLetterOf(panel.currentDirectory));
  if (index < 0) return;
  DriveCursorMemory::Entry& entry = memory.drives[static_cast<std::size_t>(index)];
  entry.directory = panel.currentDirectory;
  entry.name = panel.cursor != NoNode && isLiveNode(panel.list, panel.cursor)
                   ? panel.list.nodes[panel.cursor].entry.name
                   : std::string();
}

const DriveCursorMemory::Entry* rememberedFor(const DriveCursorMemory& memory, char letter) {
  const int index = driveIndex(letter);
  return index < 0 ? nullptr : &memory.drives[static_cast<std::size_t>(index)];
}

NodeId placeCursorOnName(Panel& panel, std::string_view name) {
  const NodeId id = name.empty() ? NoNode : findNodeByName(panel.list, name);
  panel.cursor = id != NoNode ? id : panel.list.head;
  return id;
}

NodeId placeCursorAfterGoingUp(Panel& panel, std::string_view leftDirectory) {
  const std::string path = withoutTrailingBackslash(leftDirectory);
  return placeCursorOnName(panel, baseName(path));
}

NodeId placeCursorForDrive(Panel& panel, const DriveCursorMemory& memory) {
  const DriveCursorMemory::Entry* entry =
      rememberedFor(memory, driveLetterOf(panel.currentDirectory));
  return placeCursorOnName(panel, entry != nullptr ? std::string_view(entry->name) : "");
}

}  // namespace corvane
