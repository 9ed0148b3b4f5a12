// The mutable state of the configuration folder, in one record: the setup block that every
// folder reads in place, whether it changed since it was loaded or saved, the path it was
// loaded from, and the command window's entry flags. Lives for the whole run; only the main
// thread changes it. Tests start from resetConfigState().
#pragma once

#include <string>

#include "config/setup_block.h"
#include "config/user_profile.h"

namespace corvane {

struct ConfigState {
  SetupBlock block = makeDefaultBlock();
  bool changed = false;
  std::string loadedPath;
  EntryFlags commandWindowFlags = initialEntryFlags();
};

ConfigState& configState();
void resetConfigState();

}  // namespace corvane
