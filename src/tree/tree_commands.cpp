#include "tree/tree_commands.h"

#include <string>

#include "platform/drives.h"
#include "platform/screen.h"
#include "tree/tree_window.h"
#include "ui/line_input.h"

namespace corvane {

int directoryTreeCommand(CommandContext& context, CommandId) {
  Panel& panel = context.currentPanel();
  if (context.inGlobalList() || isGlobalList(panel) || panel.archiveType != 0) {
    rejectBeep();
    return LoopContinue;
  }
  TreeWindowRequest request;
  request.mode = TreeMode::Panel;
  request.keyboard = lineInputCommanderLayout() ? KeyboardCommander : KeyboardCorvane;
  std::string chosen;
  const KeyCode key = treeWindow(panelTreeView(panel), nullptr, request, chosen);
  if (key == key::Tab) {
    panel.currentDirectory = currentDirectory();
    context.reread = RereadIfChanged;
    context.placement = PlaceFirst;
  } else if (key != key::Escape) {
    context.pendingKey = key;
  }
  return LoopContinue;
}

}  // namespace corvane
