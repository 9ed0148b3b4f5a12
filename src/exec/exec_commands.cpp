#include "exec/exec_commands.h"

#include "config/setup_block.h"
#include "exec/associations.h"
#include "exec/command_template.h"
#include "exec/exec_texts.h"
#include "exec/run_command.h"
#include "exec/shell_words.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

constexpr std::string_view EditAssociation = "[CSEDIT]";
constexpr std::string_view ViewAssociation = "[CSVIEW]";

// Preference 12: " Refresh filelist after command".
constexpr int PreferenceRefreshAfterCommand = 12;

bool refreshAfterCommand() { return preference(PreferenceRefreshAfterCommand) != 0; }

void openInternal(FileHook hook, std::string_view fileName) {
  if (hook == nullptr) {
    rejectBeep();
    return;
  }
  hook(fileName);
}

}  // namespace

bool runByExtension(std::string_view fileName) {
  std::string command;
  if (findAssociation(fileName, command) != AssociationFound) {
    messageBox(exec_text::ExtensionNotDefined);
    return false;
  }
  if (command == EditAssociation) {
    openInternal(internalProgramHooks().editFile, fileName);
    return false;
  }
  if (command == ViewAssociation) {
    openInternal(internalProgramHooks().viewFile, fileName);
    return false;
  }
  runCommandLine(command, fileName, ScreenVariant::Console, true, true, false);
  return refreshAfterCommand();
}

void runShell() { runCommand(quoteForShell(commandInterpreter()), true, true, true); }

int functionKeyIndex(int page, KeyCode functionKey) {
  if (page < 1 || page > FunctionKeyPageCount) return -1;
  if (functionKey < key::F5 || functionKey > key::F10) return -1;
  return (page - 1) * FunctionKeysPerPage + (functionKey - key::F5);
}

bool runFunctionKeyCommand(int page, KeyCode functionKey, std::string_view fileName) {
  const FunctionKeyRecord* record =
      functionKeyRecord(setupBlock(), functionKeyIndex(page, functionKey));
  if (record == nullptr) return false;
  const std::string command(record->command.text());
  if (trimBlanks(command).empty()) return false;
  runCommandLine(command, fileName, ScreenVariant::Console, false, true, false);
  return refreshAfterCommand();
}

std::string commandPreset(std::string_view fileName) {
  // The preset is expanded once more when it runs: a name that cannot stay as it is then is
  // not offered.
  const std::string host = hostFormOfName(fileName);
  if (!shellWordRefusal(host, true).empty()) return {};
  std::string association;
  if (findAssociation(fileName, association) == AssociationFound) {
    // The parameter of a "[ ]" is asked for when the line runs, not while it is offered.
    TemplateExpansion preset = expandPlaceholders(fileName, association, CommandLengthLimit, true);
    if (preset.error.empty()) return preset.text;
  }
  return quoteForShell(host);
}

}  // namespace corvane
