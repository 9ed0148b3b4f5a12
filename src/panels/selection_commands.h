// The commands that set and clear the selection marks of a panel, filter what it lists and
// re-order it. Each keeps the panel's selected count and size right and leaves the drawing to
// the caller (the command loop redraws after a change).
#pragma once

#include <string>
#include <string_view>

#include "panels/panel.h"
#include "panels/sort_order.h"

namespace corvane {

inline constexpr int SelectionDone = 13;
inline constexpr int SelectionCancelled = 27;

// Flips MarkSelected of a node and adjusts the counters. ".." and the MarkError placeholder
// are never toggled (false); a directory can be.
bool toggleSelection(Panel& panel, NodeId id);
// Every mark word to 0, counters recomputed.
void unselectAll(Panel& panel);
// Flips MarkSelected of every file (directories stay), counters recomputed.
void invertSelection(Panel& panel);

enum class SelectKind { Select, InverseSelect };
enum class SelectAdd { Replace, Add };

// The pattern as the selection takes it: trailing blanks gone, "*.*" when empty, lower case
// on short-name volumes (nameCase 0).
std::string normalisedPattern(const Panel& panel, std::string_view pattern);
// Select: the files matching the pattern get selected (after clearing all marks unless
// adding). Inverse Select: exactly the files that do not match are selected (Replace), or the
// matching ones lose their mark and the rest keep theirs (Add). Directories are never
// selected by a pattern. Counters recomputed. The pattern is taken as given.
void selectByPattern(Panel& panel, std::string_view pattern, SelectKind kind, SelectAdd add);

// The form "Select :" or "Inverse Select :" with the pattern of the last time and
// "Add Selection ?"; on Enter the selection is made. SelectionDone or SelectionCancelled.
int selectionForm(Panel& panel, SelectKind kind);
// The pattern the form starts with next time.
const std::string& lastSelectionPattern();
void setLastSelectionPattern(std::string_view pattern);

// Removes every node that is neither selected nor "..", or every selected node, so that the
// list shows only the selection or only the rest until the next read.
enum class ShowKind { Selected, Unselected };
void showOnly(Panel& panel, ShowKind kind);

// The mask as a panel takes it: trailing blanks gone, "*.*" when empty, lower case on
// short-name volumes.
std::string normalisedMask(const Panel& panel, std::string_view mask);
// The "Mask :" input (20 columns, up to 80 characters, in the middle row) preset with the
// panel mask. On Enter the answer becomes the panel mask and SelectionDone is returned; the
// caller reads the directory again.
int panelMaskDialog(Panel& panel);
constexpr int PanelMaskMaxLength = 80;
constexpr int PanelMaskFieldWidth = 20;

// Re-sorts the list in place by the mode, keeping every mark; the cursor stays on the entry
// it was on (the top goes to the head; the caller places the page).
void resortPanel(Panel& panel, SortMode mode);

}  // namespace corvane
