// A headless console for dialog tests: it keeps a copy of what the console showed each time
// input was read (so a test can look at a box while it waits for its key), and a test that
// runs out of scripted input fails with Escape instead of waiting for the idle time.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/charset.h"
#include "platform/headless_console.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"

namespace corvane::testing {

class ScriptedConsole : public HeadlessConsole {
 public:
  using HeadlessConsole::HeadlessConsole;

  bool readInput(InputRecord& record, int timeoutMs) override {
    // Keys handed out at the read (input pushed earlier would be dropped by a flush).
    if (input.empty() && onInputExhausted) onInputExhausted(*this);
    if (input.empty()) {
      ADD_FAILURE() << "the test ran out of scripted input";
      pushKey(key::Escape);
    }
    screens.push_back(shown);
    return HeadlessConsole::readInput(record, timeoutMs);
  }

  // Text of a row as shown at the read with the given index (-1: the last read).
  std::string rowAtRead(int read, int row, int column = 0, int width = -1) const {
    return textOf(screens.at(read < 0 ? screens.size() - 1 : read), row, column, width);
  }
  // Text shown now in width cells from (column, row).
  std::string shownText(int column, int row, int width) const {
    return textOf(shown, row, column, width);
  }
  std::string textOf(const std::vector<ScreenCell>& cells, int row, int column, int width) const {
    std::string out;
    int end = width < 0 ? columns : column + width;
    for (int col = column; col < end; ++col) {
      char32_t ch = cells[static_cast<std::size_t>(row) * columns + col].ch;
      if (ch != WideTail) appendUtf8(out, ch);
    }
    return out;
  }
  ColorAttr attrAtRead(int read, int column, int row) const {
    return screens
        .at(read < 0 ? screens.size() - 1 : read)[static_cast<std::size_t>(row) * columns + column]
        .attr;
  }

  std::vector<std::vector<ScreenCell>> screens;
};

// HeadlessTest with the scripted console active and the key reader in its start state.
class DialogTest : public HeadlessTest {
 protected:
  DialogTest() {
    setConsole(&screen_);
    resetKeyReader();
  }
  ~DialogTest() override {
    EXPECT_TRUE(screen_.input.empty()) << "scripted input left unread";
    clearMouseZones();
    setConsole(&console_);
  }

  ScriptedConsole screen_{80, 25};
};

}  // namespace corvane::testing
