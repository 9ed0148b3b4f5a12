#include "panels/selection_commands.h"

#include <array>
#include <cstdint>

#include "panels/mask.h"
#include "panels/panels_state.h"
#include "panels/selection_texts.h"
#include "platform/screen.h"
#include "ui/form.h"
#include "ui/input_dialog.h"
#include "ui/line_input.h"

namespace corvane {
namespace {

constexpr int PatternMaxLength = 260;
constexpr int SelectFormWidth = 44;

// The form's values (the pattern lives from one use to the next) are in panelsState().
std::array<FormItem, 4> selectItems() {
  PanelsState& state = panelsState();
  return {{
      {.label = "", .type = FormText, .text = &state.selectPattern, .maxLength = PatternMaxLength},
      {.label = TextAddSelection, .type = FormSwitch, .flag = &state.addSelectionFlag},
      {.type = FormSeparator},
      {.label = FormKeyLine, .type = FormStatic},
  }};
}

FormDescriptor selectForm(SelectKind kind, std::span<const FormItem> items) {
  FormDescriptor form;
  form.width = SelectFormWidth;
  form.x = (screenColumns() - SelectFormWidth - 3) / 2 + 1;
  form.y = screenRows() / 2 - 2;
  form.valueColumn = 1;
  form.title = kind == SelectKind::Select ? TextSelectTitle : TextInverseSelectTitle;
  form.items = items;
  return form;
}

std::string trimmedRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return std::string(text.substr(0, end));
}

// Trailing blanks gone, "*.*" when empty, lower case on short-name volumes.
std::string normalisedTextOf(const Panel& panel, std::string_view text) {
  std::string result = trimmedRight(text);
  if (result.empty()) result = std::string(MaskAll);
  if (panel.nameCase == 0) result = lowerCaseText(result);
  return result;
}

bool isFileNode(const FileNode& n) { return !n.entry.isDirectory(); }

void flipFiles(Panel& panel) {
  for (NodeId id : chain(panel.list)) {
    FileNode& n = panel.list.nodes[id];
    if (isFileNode(n)) n.mark ^= MarkSelected;
  }
}

void selectMatching(Panel& panel, const CompiledMask& mask) {
  for (NodeId id : chain(panel.list)) {
    FileNode& n = panel.list.nodes[id];
    if (isFileNode(n) && maskMatches(mask, n.entry.name)) n.mark |= MarkSelected;
  }
}

}  // namespace

bool toggleSelection(Panel& panel, NodeId id) {
  if (id == NoNode || !isLiveNode(panel.list, id)) return false;
  FileNode& n = panel.list.nodes[id];
  if ((n.mark & MarkError) != 0 || isParentEntry(n.entry)) return false;
  n.mark ^= MarkSelected;
  if ((n.mark & MarkSelected) != 0) {
    ++panel.selectedCount;
    panel.selectedSize = addSize(panel.selectedSize, n.entry.size);
  } else {
    --panel.selectedCount;
    panel.selectedSize = takeSize(panel.selectedSize, n.entry.size);
  }
  return true;
}

void unselectAll(Panel& panel) {
  clearMarks(panel.list);
  countList(panel);
}

void invertSelection(Panel& panel) {
  flipFiles(panel);
  countList(panel);
}

std::string normalisedPattern(const Panel& panel, std::string_view pattern) {
  return normalisedTextOf(panel, pattern);
}

void selectByPattern(Panel& panel, std::string_view pattern, SelectKind kind, SelectAdd add) {
  const CompiledMask mask = compileMask(pattern);
  if (kind == SelectKind::Select) {
    if (add == SelectAdd::Replace) clearMarks(panel.list);
    selectMatching(panel, mask);
  } else if (add == SelectAdd::Replace) {
    clearMarks(panel.list);
    selectMatching(panel, mask);
    flipFiles(panel);
  } else {
    flipFiles(panel);
    selectMatching(panel, mask);
    flipFiles(panel);
  }
  countList(panel);
}

int selectionForm(Panel& panel, SelectKind kind) {
  panelsState().addSelectionFlag = 0;
  const std::array<FormItem, 4> items = selectItems();
  if (runForm(selectForm(kind, items)) != FormAccepted) return SelectionCancelled;
  panelsState().selectPattern = trimmedRight(panelsState().selectPattern);
  selectByPattern(panel, normalisedPattern(panel, panelsState().selectPattern), kind,
                  panelsState().addSelectionFlag != 0 ? SelectAdd::Add : SelectAdd::Replace);
  return SelectionDone;
}

const std::string& lastSelectionPattern() { return panelsState().selectPattern; }
void setLastSelectionPattern(std::string_view pattern) {
  panelsState().selectPattern = std::string(pattern);
}

void showOnly(Panel& panel, ShowKind kind) {
  const bool keepSelected = kind == ShowKind::Selected;
  removeNodes(panel, [keepSelected](const FileNode& n) {
    if (isParentEntry(n.entry)) return false;
    const bool selected = (n.mark & MarkSelected) != 0;
    return keepSelected ? !selected : selected;
  });
}

std::string normalisedMask(const Panel& panel, std::string_view mask) {
  return normalisedTextOf(panel, mask);
}

int panelMaskDialog(Panel& panel) {
  std::string text = panel.mask;
  const int width = static_cast<int>(TextPanelMaskPrompt.size()) + PanelMaskFieldWidth + 4;
  const int column = (screenColumns() - width) / 2 + 1;
  const int row = screenRows() / 2 - 1;
  if (inputDialog(text, TextPanelMaskPrompt, column, row, width, PanelMaskMaxLength) != key::Enter)
    return SelectionCancelled;
  panel.mask = normalisedMask(panel, text);
  return SelectionDone;
}

void resortPanel(Panel& panel, SortMode mode) {
  std::string cursorName;
  if (panel.cursor != NoNode && isLiveNode(panel.list, panel.cursor))
    cursorName = panel.list.nodes[panel.cursor].entry.name;
  resortList(panel.list, mode);
  panel.top = panel.list.head;
  panel.cursorRow = panel.cursorColumn = 0;
  const NodeId id = cursorName.empty() ? NoNode : findNodeByName(panel.list, cursorName);
  panel.cursor = id != NoNode ? id : panel.list.head;
}

}  // namespace corvane
