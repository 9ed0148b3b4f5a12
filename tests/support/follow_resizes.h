// Test helper: the key reader's resize hook of start-up, without the "too small" message:
// every window is laid out again at the headless terminal's new size.
#pragma once

#include "platform/console.h"
#include "platform/keyboard.h"
#include "ui/window.h"

namespace corvane::testing {

inline void followResizes() {
  KeyReaderHooks hooks;
  hooks.resize = [] {
    int columns = 0, rows = 0;
    console().terminalSize(columns, rows);
    relayoutWindows(columns, rows);
    return key::ModifierEvent;
  };
  setKeyReaderHooks(hooks);
}

}  // namespace corvane::testing
