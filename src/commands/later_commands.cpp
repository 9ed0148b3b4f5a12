#include "commands/later_commands.h"

#include "platform/screen.h"

namespace corvane {
namespace {

int notAvailable() {
  rejectBeep();
  return LoopContinue;
}

}  // namespace

int searchText(LoopContext&, CommandId) { return notAvailable(); }
int compareDirectories(LoopContext&, CommandId) { return notAvailable(); }
int findFiles(LoopContext&, CommandId) { return notAvailable(); }
int commandRecursive(LoopContext&, CommandId) { return notAvailable(); }
int searchTextRecursive(LoopContext&, CommandId) { return notAvailable(); }
int directorySize(LoopContext&, CommandId) { return notAvailable(); }

}  // namespace corvane
