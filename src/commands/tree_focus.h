// The directory tree beside the file list in the list-and-tree layouts: while the list has
// the focus the tree only follows the list's directory; with the focus (Tab, "t") it takes
// the keys until it hands one back.
#pragma once

#include "commands/loop_state.h"
#include "platform/keycodes.h"
#include "tree/tree_window.h"

namespace corvane {

struct LoopScreen;

// The loop's screen shows a tree beside its directory panel (not while the panels are
// hidden, nor for a global list or an archive panel).
bool treeShown(const LoopContext& loop);
// The tree of the screen: kept by the panel of the outermost loop.
TreeView& screenTreeView(LoopContext& loop);
// Draws the tree around the current panel's directory when it shows another one.
void followTree(LoopContext& loop);
// Runs the tree window with the focus. Tab gives the focus back to the list, whose panel
// then shows the directory current now; any other key is for the loop to carry out.
KeyCode runTreeFocus(LoopContext& loop);
// The screen's tree area becomes the view's window (nullptr: it has none now).
void attachTreeArea(LoopContext& loop, ScreenWindow* area);

// The file operations' uses of the tree (start-up registers them): the destination dialog's
// tree key runs the tree window in the selection mode; the trees the panels keep follow the
// directories made and deleted.
void registerTreeHooks();

}  // namespace corvane
