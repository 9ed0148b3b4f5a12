#include "viewer/viewer_commands.h"

#include "panels/global_list.h"
#include "platform/screen.h"
#include "ui/boxes.h"
#include "viewer/viewer.h"
#include "viewer/viewer_texts.h"

namespace corvane {

std::string cursorFileForViewer(CommandContext& context) {
  Panel& panel = context.currentPanel();
  if (panel.archiveType != 0 || panel.cursor == NoNode || !isLiveNode(panel.list, panel.cursor))
    return {};
  const FileNode& node = panel.list.nodes[panel.cursor];
  if ((node.mark & MarkError) != 0 || node.entry.isDirectory() || isParentEntry(node.entry))
    return {};
  return context.inGlobalList() ? globalListPath(panel.list, panel.cursor) : node.entry.name;
}

int viewCommand(CommandContext& context, CommandId code) {
  const std::string name = cursorFileForViewer(context);
  if (name.empty()) {
    rejectBeep();
    return LoopContinue;
  }
  ViewRequest request;
  request.fileName = name;
  request.hex = code == 'h' || code == 'H';
  (void)viewFile(request);
  return LoopContinue;
}

int viewSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  ViewRequest request;
  request.fileName = file.path;
  if (viewFile(request) < 0) return SelectedKept;
  if (run.confirm && question(QuestionDefaultYes, TextViewContinue) != QuestionYes)
    return SelectedHandled | SelectedStop;
  return SelectedHandled;
}

void viewFileByName(std::string_view fileName) {
  ViewRequest request;
  request.fileName = fileName;
  (void)viewFile(request);
}

namespace {

// The file under the cursor in the Autoview window; ViewOpenFailed when there is none.
int viewCursorFileIn(CommandContext& context, ScreenWindow& target, int mode) {
  const std::string name = cursorFileForViewer(context);
  if (name.empty()) return ViewOpenFailed;
  ViewRequest request;
  request.fileName = name;
  request.target = &target;
  request.mode = mode;
  return viewFile(request);
}

}  // namespace

bool drawAutoview(CommandContext& context, ScreenWindow& target) {
  return viewCursorFileIn(context, target, ViewDrawOnce) == ViewDone;
}

int enterAutoview(CommandContext& context, ScreenWindow& target) {
  const int result = viewCursorFileIn(context, target, ViewInWindow);
  return result < 0 ? ViewLeft : result;
}

}  // namespace corvane
