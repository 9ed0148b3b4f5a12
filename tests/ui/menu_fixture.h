// Fixture for menu tests: the scripted console also notes, at each read, how many rectangles
// had been flushed and the help context of the current window, so a test can check what a
// single key redrew and which help page F1 would have shown.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/keyboard.h"
#include "platform/screen.h"
#include "scripted_console.h"
#include "support/headless_fixture.h"
#include "ui/pulldown.h"
#include "ui/window.h"

namespace corvane::testing {

class MenuConsole : public ScriptedConsole {
 public:
  using ScriptedConsole::ScriptedConsole;

  bool readInput(InputRecord& record, int timeoutMs) override {
    writesAtRead.push_back(writes.size());
    helpAtRead.push_back(currentHelpContext());
    return ScriptedConsole::readInput(record, timeoutMs);
  }

  // The rectangles flushed between read `read` and the next one.
  std::vector<FlushedRect> writesAfterRead(std::size_t read) const {
    std::size_t end = read + 1 < writesAtRead.size() ? writesAtRead[read + 1] : writes.size();
    return {writes.begin() + static_cast<std::ptrdiff_t>(writesAtRead.at(read)),
            writes.begin() + static_cast<std::ptrdiff_t>(end)};
  }

  std::vector<std::size_t> writesAtRead;
  std::vector<int> helpAtRead;
};

class MenuTest : public HeadlessTest {
 protected:
  MenuTest() {
    setConsole(&screen_);
    resetKeyReader();
  }
  ~MenuTest() override {
    EXPECT_TRUE(screen_.input.empty()) << "scripted input left unread";
    EXPECT_EQ(currentWindow(), nullptr) << "a menu window was left open";
    clearMouseZones();
    setUserMenuMode(false);
    setConsole(&console_);
  }

  MenuConsole screen_{80, 25};
};

}  // namespace corvane::testing
