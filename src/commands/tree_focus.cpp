#include "commands/tree_focus.h"

#include <algorithm>
#include <memory>
#include <string>

#include "commands/screen_layout.h"
#include "fileops/fileops_state.h"
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

namespace {

// Calls visit with every tree a panel keeps now.
template <typename Visit>
void forEachKeptTree(Visit visit) {
  ProgramState& state = programState();
  Panel* seen[3] = {};
  int count = 0;
  for (std::unique_ptr<Panel>& panel : state.panels)
    if (panel) seen[count++] = panel.get();
  if (state.innermost != nullptr && state.innermost->current.panel != nullptr)
    seen[count++] = state.innermost->current.panel;
  for (int i = 0; i < count; ++i) {
    if (!seen[i]->treeState || std::find(seen, seen + i, seen[i]) != seen + i) continue;
    visit(panelTreeView(*seen[i]));
  }
}

bool chooseDirectoryFromTree(std::string& path) {
  // The tree a panel keeps for this drive saves a second scan.
  TreeView view;
  const char drive = currentDrive();
  forEachKeptTree([&](TreeView& kept) {
    if (treeEmpty(view.tree) && kept.tree.drive == drive) view.tree = kept.tree;
  });
  TreeWindowRequest request;
  request.mode = TreeMode::Select;
  request.keep = false;
  request.keyboard = keyboardLayout();
  std::string chosen;
  if (treeWindow(view, nullptr, request, chosen) != key::Enter) return false;
  path = chosen;
  return true;
}

void treeAfterDirectoryMade(std::string_view path) {
  forEachKeptTree([&](TreeView& view) { treeDirectoryMade(view, path); });
}

void treeAfterDirectoryDeleted(std::string_view path) {
  forEachKeptTree([&](TreeView& view) { treeDirectoryDeleted(view, path); });
}

}  // namespace

void registerTreeHooks() {
  FileopsHooks& hooks = fileopsState().hooks;
  hooks.chooseDirectory = chooseDirectoryFromTree;
  hooks.directoryMade = treeAfterDirectoryMade;
  hooks.directoryDeleted = treeAfterDirectoryDeleted;
}

}  // namespace corvane
