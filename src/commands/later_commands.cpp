#include "commands/later_commands.h"

#include "platform/screen.h"

namespace corvane {
namespace {

int notAvailable() {
  rejectBeep();
  return LoopContinue;
}

}  // namespace

int openArchive(LoopContext&, CommandId) { return notAvailable(); }
int compressFiles(LoopContext&, CommandId) { return notAvailable(); }
int decompressArchive(LoopContext&, CommandId) { return notAvailable(); }

}  // namespace corvane
