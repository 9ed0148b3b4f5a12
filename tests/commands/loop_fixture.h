// A headless console, two temporary trees mapped as drives T: and U:, the setup block at its
// defaults, and a way to run the command loop through scripted steps: each step pushes keys
// and checks what the previous keys did; the next step runs when the keys run out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "commands/command_line.h"
#include "commands/command_loop.h"
#include "commands/commands_state.h"
#include "commands/loop_state.h"
#include "config/config_state.h"
#include "config/setup_block.h"
#include "config/user_profile.h"
#include "panels/panels_state.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"
#include "support/temp_tree.h"
#include "ui/line_input.h"
#include "ui/ui_state.h"

namespace corvane::testing {

class LoopTest : public HeadlessTest {
 protected:
  LoopTest() {
    initDriveMap(("T=" + t_.root() + ";U=" + u_.root()).c_str());
    resetKeyReader();
    resetUiState();
    resetConfigState();
    resetPanelsState();
    resetCommandsState();
    setupBlock().preferences[1].set(0);   // Esc ends at once unless a test asks
    setupBlock().preferences[13].set(0);  // no menu titles unless a test asks
  }
  ~LoopTest() override {
    resetCommandsState();
    resetPanelsState();
    resetConfigState();
    resetUiState();
    applyKeyboardLayout(KeyboardCommander);
    initDriveMap(nullptr);
  }

  void useLayout(KeyboardLayout keyboard, int screenLayout) {
    setupBlock().keyboardLayout.set(static_cast<std::uint16_t>(keyboard));
    setupBlock().screenLayout.set(static_cast<std::uint16_t>(screenLayout));
  }

  // Runs the outermost loop; steps run one after the other whenever the scripted input is
  // used up. After the last step an unexpected read fails the test and ends the loop.
  int run(std::vector<std::function<void()>> steps, std::string start1 = "T:\\",
          std::string start2 = "") {
    std::size_t next = 0;
    console_.onInputExhausted = [&](HeadlessConsole& console) {
      while (next < steps.size()) {
        steps[next++]();
        if (!console.input.empty()) return;
      }
      ADD_FAILURE() << "the loop read more keys than the script has";
      console.pushKey(key::Escape);
      console.pushText("y");
    };
    CommandLoopSettings settings;
    settings.setupPath = setupPath_;
    settings.startDirectory1 = std::move(start1);
    settings.startDirectory2 = std::move(start2);
    return runCommandLoop(settings);
  }

  // The innermost loop and its current panel while the loop runs.
  static LoopContext& loop() { return *programState().innermost; }
  static Panel& panel() { return *loop().current.panel; }
  static std::string cursorName() {
    const Panel& p = panel();
    return p.cursor == NoNode ? std::string() : p.list.nodes[p.cursor].entry.name;
  }
  static std::vector<std::string> selectedNames() {
    std::vector<std::string> names;
    const Panel& p = panel();
    for (NodeId id : chain(p.list))
      if (p.list.nodes[id].mark & MarkSelected) names.push_back(p.list.nodes[id].entry.name);
    return names;
  }
  std::string screenText() const {
    std::string text;
    for (int row = 0; row < console_.rows; ++row) text += console_.shownRow(row) + "\n";
    return text;
  }
  bool shows(std::string_view text) const { return screenText().find(text) != std::string::npos; }
  void pushKeys(std::initializer_list<KeyCode> keys) { console_.pushKeys(keys); }

  TempTree t_, u_;
  std::string setupPath_;  // program path handed to the loop ("" for none)
};

}  // namespace corvane::testing
