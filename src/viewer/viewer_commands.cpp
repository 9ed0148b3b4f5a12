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

// The file in the Autoview window; ViewOpenFailed when there is none.
int viewFileIn(const std::string& name, ScreenWindow& target, int mode) {
  if (name.empty()) return ViewOpenFailed;
  ViewRequest request;
  request.fileName = name;
  request.target = &target;
  request.mode = mode;
  return viewFile(request);
}

}  // namespace

bool drawAutoviewOf(const std::string& fileName, ScreenWindow& target) {
  return viewFileIn(fileName, target, ViewDrawOnce) == ViewDone;
}

int enterAutoviewOf(const std::string& fileName, ScreenWindow& target) {
  const int result = viewFileIn(fileName, target, ViewInWindow);
  return result < 0 ? ViewLeft : result;
}

bool drawAutoview(CommandContext& context, ScreenWindow& target) {
  return drawAutoviewOf(cursorFileForViewer(context), target);
}

int enterAutoview(CommandContext& context, ScreenWindow& target) {
  return enterAutoviewOf(cursorFileForViewer(context), target);
}

}  // namespace corvane
