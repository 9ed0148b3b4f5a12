// The mutable state of the command runners, in one record: the internal editor and viewer
// registered for "[CSEDIT]" and "[CSVIEW]", and what the Console variant does on the user's
// normal screen (the platform's functions, or a test's recorders). Tests start from
// resetExecState().
#pragma once

#include "exec/run_command.h"

namespace corvane {

struct ExecState {
  InternalProgramHooks hooks;
  NormalScreenOps normalScreen = platformNormalScreenOps();
};

ExecState& execState();
void resetExecState();

}  // namespace corvane
