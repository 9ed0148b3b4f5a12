#include "commands/tree_focus.h"

#include <string>

#include "commands/screen_layout.h"
#include "platform/drives.h"

namespace corvane {

bool treeShown(const LoopContext& loop) {
  const Panel* panel = loop.current.panel;
  return loop.screen != nullptr && loop.screen->tree && loop.screen->tree->visible &&
         panel != nullptr &&
         (panel->layout == LayoutListAndTree || panel->layout == LayoutListAndTreeXtree) &&
         !programState().panelsHidden && !loop.globalList && !isGlobalList(*panel) &&
         panel->archiveType == 0;
}

TreeView& screenTreeView(LoopContext& loop) {
  LoopContext* outermost = &loop;
  while (outermost->outer != nullptr) outermost = outermost->outer;
  return panelTreeView(*outermost->current.panel);
}

void followTree(LoopContext& loop) {
  TreeView& view = screenTreeView(loop);
  const std::string& directory = loop.current.panel->currentDirectory;
  if (view.followed == directory && view.window == loop.screen->tree.get()) return;
  TreeWindowRequest request;
  request.mode = TreeMode::DrawOnly;
  request.keyboard = keyboardLayout();
  std::string chosen;
  (void)treeWindow(view, loop.screen->tree.get(), request, chosen);
  view.followed = directory;
}

KeyCode runTreeFocus(LoopContext& loop) {
  TreeView& view = screenTreeView(loop);
  TreeWindowRequest request;
  request.mode = TreeMode::Panel;
  request.keyboard = keyboardLayout();
  std::string chosen;
  const KeyCode key = treeWindow(view, loop.screen->tree.get(), request, chosen);
  view.followed = currentDirectory();
  if (key == key::Tab) {
    loop.treeFocus = false;
    loop.current.panel->currentDirectory = currentDirectory();
    loop.reread = RereadIfChanged;
    loop.placement = PlaceFirst;
  }
  loop.barDirty = true;
  return key;
}

void attachTreeArea(LoopContext& loop, ScreenWindow* area) {
  const Panel* panel = loop.current.panel;
  if (panel == nullptr || (area == nullptr && !panel->treeState)) return;
  TreeView& view = screenTreeView(loop);
  view.window = area;
  view.followed.clear();
}

}  // namespace corvane
