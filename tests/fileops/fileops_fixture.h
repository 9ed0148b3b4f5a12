// File operations on real temporary trees mapped as drives T: and U:, driven through the
// scripted console: the answers to the boxes are queued before the call, and every screen the
// console showed while waiting for a key can be searched afterwards.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "actions/command_context.h"
#include "config/config_state.h"
#include "config/setup_block.h"
#include "fileops/fileops_state.h"
#include "panels/directory_read.h"
#include "panels/panel_geometry.h"
#include "platform/drives.h"
#include "support/temp_tree.h"
#include "ui/scripted_console.h"
#include "ui/ui_state.h"

namespace corvane::testing {

// The loop's side for commands run without the loop: two panels of the two-list layout.
struct TestContext : CommandContext {
  Panel current, other;
  Panel& currentPanel() override { return current; }
  Panel* otherPanel() override { return &other; }
  bool inGlobalList() const override { return isGlobalList(current); }
  int runNestedLoop(Panel&) override { return LoopContinue; }

  // Both panels read, the current one's directory current, the cursor on name.
  void show(std::string_view first, std::string_view second, std::string_view name = {}) {
    for (auto [panel, directory] : {std::pair{&current, first}, std::pair{&other, second}}) {
      freePanel(*panel);
      panel->layout = LayoutTwoLists;
      panel->nameCase = 1;
      panel->currentDirectory = std::string(directory);
      ReadOptions options;
      options.ownKeyboardLayout = false;
      (void)readDirectory(*panel, options);
    }
    changeDirectory(first);
    if (!name.empty()) current.cursor = findNodeByName(current.list, name);
  }
  void select(std::string_view name) {
    const NodeId id = findNodeByName(current.list, name);
    if (id == NoNode) return;
    current.list.nodes[id].mark |= MarkSelected;
    countList(current);
  }
  std::string cursorName() const {
    return current.cursor == NoNode ? std::string() : current.list.nodes[current.cursor].entry.name;
  }
  bool lists(std::string_view name) const { return findNodeByName(current.list, name) != NoNode; }
};

class FileopsTest : public DialogTest {
 protected:
  FileopsTest() {
    initDriveMap(("T=" + t_.root() + ";U=" + u_.root()).c_str());
    setCurrentDrive('T');
    resetUiState();
    resetConfigState();
    resetFileopsState();
    setupBlock().keyboardLayout.set(KeyboardCommander);
  }
  ~FileopsTest() override {
    fileopsState().hooks = {};
    resetFileopsState();
    resetConfigState();
    resetUiState();
    initDriveMap(nullptr);
  }

  // Keys for the boxes the call will show, in order.
  void answer(std::string_view letters) { screen_.pushText(letters); }
  void answerKeys(std::initializer_list<KeyCode> keys) { screen_.pushKeys(keys); }
  // Keys that close message boxes (not Esc: work that polls for it would take it as a stop).
  void dismiss(int boxes = 1) {
    for (int i = 0; i < boxes; ++i) screen_.pushKey(key::Enter);
  }

  // Whether any screen shown while a key was awaited held the text.
  bool sawText(std::string_view text) const {
    for (std::size_t read = 0; read < screen_.screens.size(); ++read)
      for (int row = 0; row < screen_.rows; ++row)
        if (screen_.rowAtRead(static_cast<int>(read), row).find(text) != std::string::npos)
          return true;
    return false;
  }

  static bool hostExists(const std::string& host) {
    struct stat st {};
    return lstat(host.c_str(), &st) == 0;
  }

  TempTree t_, u_;
};

}  // namespace corvane::testing
