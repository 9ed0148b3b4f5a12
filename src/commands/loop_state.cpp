#include "commands/loop_state.h"

#include "commands/commands_state.h"
#include "config/setup_block.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "ui/line_input.h"

namespace corvane {

ProgramState& programState() { return commandsState().program; }

int nestingLevel() {
  const ProgramState& state = programState();
  return state.panelLoops + state.globalLoops;
}

void applyKeyboardLayout(KeyboardLayout layout) {
  setOwnKeyboardLayout(layout == KeyboardCorvane);
  setCommanderLayout(layout == KeyboardCommander);
  setLineInputCommanderLayout(layout == KeyboardCommander);
}

int displayBitsForSetting(int fileDisplay) {
  switch (fileDisplay) {
    case 1:
      return DisplayLongAttributes;
    case 2:
      return DisplayLongPlain;
    default:
      return DisplayShort;
  }
}

int settingForDisplayBits(int displayBits) {
  switch (displayBits & DisplayModeBits) {
    case DisplayLongAttributes:
      return 1;
    case DisplayLongPlain:
      return 2;
    default:
      return 0;
  }
}

PanelGeometry geometryOf(const Panel& panel) {
  GeometryRequest request;
  request.layout = panel.layout;
  request.keyboard = keyboardLayout();
  request.fileDisplaySetting = setupBlock().fileDisplay.get();
  request.displayMode = panel.displayBits & DisplayModeBits;
  request.globalList = isGlobalList(panel);
  request.compactInfo = programState().smallWindows;
  if (panel.window == nullptr) return computePanelGeometry(request);
  return computePanelGeometry(*panel.window, request);
}

}  // namespace corvane
