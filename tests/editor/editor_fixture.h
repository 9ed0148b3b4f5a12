// The editor on a headless console of 80 x 25, with a temporary tree as drive T: (the
// current directory) and the setup file's place there, in the CORVANE layout.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/config_state.h"
#include "config/setup_block.h"
#include "editor/edit_buffer.h"
#include "editor/edit_file_io.h"
#include "editor/editor_state.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"
#include "support/temp_tree.h"
#include "ui/ui_state.h"

namespace corvane::testing {

class EditorTest : public HeadlessTest {
 protected:
  EditorTest() {
    resetKeyReader();
    resetUiState();
    resetConfigState();
    resetEditorState();
    initDriveMap(("T=" + tree_.root()).c_str());
    EXPECT_TRUE(changeDirectory("T:\\"));
    setupBlock().keyboardLayout.set(0);
    setupBlock().setupPath.assign("T:\\corvane.SET");
  }
  ~EditorTest() override {
    resetEditorState();
    resetConfigState();
    resetUiState();
    initDriveMap(nullptr);
  }

  // The lines of a file as the editor holds them.
  static std::vector<std::string> linesOf(const EditedFile& file) {
    std::vector<std::string> lines;
    for (const EditLine* line = file.sentinel.next; line != nullptr; line = line->next)
      lines.emplace_back(line->view());
    return lines;
  }

  // Reads a file of the tree into a record.
  int read(const std::string& relative, EditedFile& file) {
    return readEditFile("T:\\" + relative, file);
  }

  // Keys for the editor, one at a time: step is called whenever the editor waits for a key
  // and the queue is empty; it pushes the next key(s) or nothing when it is done (then F3
  // and "y" leave every file).
  void script(std::function<bool(HeadlessConsole&)> step) {
    console_.onInputExhausted = [step](HeadlessConsole& c) {
      if (!step(c)) c.pushKeys({key::F3, 'y'});
    };
  }

  TempTree tree_;
};

}  // namespace corvane::testing
