// The commands of the directory tree that the command table routes to.
#pragma once

#include "actions/command_context.h"
#include "actions/command_ids.h"

namespace corvane {

// "t", 4150 where the panel shows no tree beside it: the tree window across the screen over
// the current panel (its tree stays with the panel for the next time). Enter makes the
// chosen directory the panel's; a key of the loop's comes back as the context's pending key.
// A global list or an archive panel has no tree: a beep.
int directoryTreeCommand(CommandContext& context, CommandId code);

}  // namespace corvane
