// Fixture of the external-command tests: a headless console, a temporary tree mapped as T:
// (and current), /bin/sh as the interpreter, the setup block at its defaults with the key
// prompt after commands off, and recorders in place of the normal screen.
//
// Keys for dialogs are handed out one at a time when a read finds no input (running a
// command drops pending input, so keys pushed in advance would be lost); the screen rows
// shown at each such read are kept.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "config/setup_block.h"
#include "exec/command_template.h"
#include "exec/run_command.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"
#include "ui/input_history.h"
#include "ui/line_input.h"
#include "ui/ui_state.h"

namespace corvane::testing {

// What the command runner did on the normal screen: "clear", "write:<text>", "wait:<prompt>".
inline std::vector<std::string>& normalScreenEvents() {
  static std::vector<std::string> events;
  return events;
}

class ExecTest : public HeadlessTest {
 protected:
  ExecTest() {
    initDriveMap(("T=" + tree_.root()).c_str());
    setCurrentDrive('T');
    setSetupDefaults(setupBlock());
    setupBlock().preferences[3].set(0);
    resetKeyReader();
    resetUiState();
    setTemplateDirectories("", "");
    normalScreenEvents().clear();
    setNormalScreenOps({[] { normalScreenEvents().push_back("clear"); },
                        [](std::string_view text) {
                          normalScreenEvents().push_back("write:" + std::string(text));
                        },
                        [](std::string_view prompt) {
                          normalScreenEvents().push_back("wait:" + std::string(prompt));
                        }});
    console_.onInputExhausted = [this](HeadlessConsole& console) {
      std::vector<std::string> rows;
      for (int row = 0; row < console.rows; ++row) rows.push_back(console.shownRow(row));
      screensAtKeys_.push_back(std::move(rows));
      if (keys_.empty()) {
        ADD_FAILURE() << "the test ran out of keys";
        return;
      }
      console.pushKey(keys_.front());
      keys_.pop_front();
    };
  }
  ~ExecTest() override {
    EXPECT_TRUE(keys_.empty()) << "keys left unread";
    resetNormalScreenOps();
    setInternalProgramHooks({});
    setTemplateDirectories("", "");
    setSetupDefaults(setupBlock());
    resetUiState();
    clearMouseZones();
    initDriveMap(nullptr);
  }

  // Whether a row of the screen shown at key read `read` holds the text.
  bool shownAtKey(std::size_t read, std::string_view text) const {
    if (read >= screensAtKeys_.size()) return false;
    for (const std::string& row : screensAtKeys_[read])
      if (row.find(text) != std::string::npos) return true;
    return false;
  }

  TempTree tree_;
  ScopedEnv comspec_{"COMSPEC", nullptr};
  ScopedEnv shell_{"SHELL", "/bin/sh"};
  std::deque<KeyCode> keys_;
  std::vector<std::vector<std::string>> screensAtKeys_;
};

}  // namespace corvane::testing
