// The command table: every command code (after the layout's translation) and the handler that
// carries it out. One table for all layouts; letters are looked up in lower case.
#pragma once

#include <span>

#include "actions/command_ids.h"
#include "commands/loop_state.h"

namespace corvane {

// Carries out a command; returns LoopContinue or the code the loop ends with.
using CommandHandler = int (*)(LoopContext& loop, CommandId code);

// A command of a folder below this one, which sees the loop only as its CommandContext; the
// table holds it as partCommand<name>.
using PartCommand = int (*)(CommandContext& context, CommandId code);
template <PartCommand command>
int partCommand(LoopContext& loop, CommandId code) {
  return command(loop, code);
}

struct CommandEntry {
  CommandId code = 0;
  CommandHandler handler = nullptr;
};

std::span<const CommandEntry> commandTable();

// Commands that mean nothing in an archive panel (renaming, moving, making directories,
// attributes, executing, packing into it, the drive and directory changes, the panel mask,
// the directory tools): they give the rejection beep there.
bool refusedInArchive(CommandId code);
// The handler of a code (letters A..Z taken as a..z), nullptr when the table has none.
CommandHandler findCommand(CommandId code);

}  // namespace corvane
