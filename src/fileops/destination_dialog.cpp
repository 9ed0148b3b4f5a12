#include "fileops/destination_dialog.h"

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "fileops/make_directory.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"

namespace corvane {
namespace {

constexpr std::size_t CreatePathShown = 45;

}  // namespace

std::string defaultDestination(CommandContext& context) {
  const Panel* other = context.otherPanel();
  if (other == nullptr || other->layout != LayoutTwoLists || isGlobalList(*other) ||
      other->archiveType != 0)
    return {};
  return other->currentDirectory;
}

int destinationDialog(std::string& destination) {
  std::string text = destination;
  for (;;) {
    const KeyCode key = inputDialog(text, TextDestination, 1, screenRows() / 2 - 2, screenColumns(),
                                    static_cast<int>(MaxPath));
    if (key == DestinationTreeKey) {
      FileopsHooks& hooks = fileopsState().hooks;
      std::string chosen;
      if (hooks.chooseDirectory != nullptr && hooks.chooseDirectory(chosen)) {
        text = chosen;
        break;
      }
      if (hooks.chooseDirectory == nullptr) rejectBeep();
      continue;
    }
    if (key == key::Up) continue;  // a click on the field: go on typing
    if (key != key::Enter) return 0;
    break;
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text.empty() || nameTest(text) != 0) return 0;
  switch (classifyPath(text)) {
    case PathDirectory:
      destination = text;
      return 1;
    case PathMissing:
      if (preference(2) != 0 &&
          question(QuestionDefaultYes,
                   textf(FormatCreatePathQuestion, shortenedLeft(text, CreatePathShown).c_str())) !=
              QuestionYes)
        return 0;
      if (createPathReported(text) != 0) return 0;
      destination = text;
      return 1;
    default:
      return 0;
  }
}

}  // namespace corvane
