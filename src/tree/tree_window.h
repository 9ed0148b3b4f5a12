// The tree window: the directory tree of the current drive drawn with line characters, a
// cursor on one directory, and its own key loop to move through the tree, find a directory
// by typing its name, expand, collapse, rescan, make and delete directories, change the
// drive, and choose a directory: for a panel (Enter makes it current) or for a dialog (Enter
// hands its path back). A third mode only draws the tree around the current directory.
#pragma once

#include <string>
#include <string_view>

#include "panels/panel.h"
#include "panels/panel_geometry.h"
#include "platform/keycodes.h"
#include "tree/tree_model.h"
#include "ui/window.h"

namespace corvane {

enum class TreeMode {
  Panel,     // Enter makes the cursor's directory current and ends with Tab
  Select,    // Enter ends and hands the cursor's path back; nothing is made current
  DrawOnly,  // locates the current directory, draws and ends at once with Escape
};

// A tree as a window shows it. A panel keeps one (panelTreeView) for as long as it lives.
struct TreeView {
  DirectoryTree tree;
  TreeNodeId cursor = 0;
  TreeNodeId top = 0;              // the node on the first row
  std::string search;              // typed characters, at most TreeSearchLimit
  ScreenWindow* window = nullptr;  // the framed window the tree is drawn into while shown
  // The directory the tree was last drawn for in the draw-only mode (the loop draws it again
  // only when the list's directory differs).
  std::string followed;
};

inline constexpr int TreeSearchLimit = 40;

// The tree view of a panel, made on first use.
TreeView& panelTreeView(Panel& panel);

struct TreeWindowRequest {
  TreeMode mode = TreeMode::Panel;
  int buildRequest = 0;  // TreeBuildRequest of a tree built on opening
  bool keep = true;      // the tree stays in the view afterwards (else it is released)
  KeyboardLayout keyboard = KeyboardCorvane;
};

// Shows the tree of the current drive in area (a framed window of the caller, which stays
// open), or in a framed window of its own across the screen above the status window when
// area is null. The tree is built when the view holds none or one of another drive; the
// current directory is located (a directory the tree does not know yet is looked for by
// rescanning its nearest known ancestor one level at a time) and the cursor put on it.
// Returns the key that ended the window: Tab (Tab, Shift-Tab, a click outside the window,
// or Enter in the panel mode after the chosen directory was made current), Escape (in the
// panel mode the drive and directory of the opening are current again), Enter (select mode:
// chosen holds the path), or a key the loop carries out: Shift-F3, and in the COMMANDER
// layout F3, F4, F9, F10 and the Alt-F keys.
KeyCode treeWindow(TreeView& view, ScreenWindow* area, const TreeWindowRequest& request,
                   std::string& chosen);

// Draws the view into its window again, the cursor kept on a row (after the window moved).
void drawTreeView(TreeView& view);

// The tree of a view after a directory was made or deleted outside the tree window (path as
// the command had it): a new directory is looked for from its nearest known ancestor, a
// deleted one leaves the tree with its branch (one that is still there, as a deletion that
// stopped part way leaves it, is read again below); the cache is written when the tree changed,
// the cursor stays on its directory, and the loop draws the tree again. Nothing for a view
// without a tree of the path's drive.
void treeDirectoryMade(TreeView& view, std::string_view path);
void treeDirectoryDeleted(TreeView& view, std::string_view path);

// Asks " Filename : " (preset "_cv_.tre" in the current drive's root) and writes the tree as
// text there. 13 when written, 27 on Escape, 0 when the file could not be written (reported).
int saveTreeText(const DirectoryTree& tree);

}  // namespace corvane
