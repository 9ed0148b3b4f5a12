#include "commands/key_translation.h"

#include <algorithm>

#include "commands/command_window.h"
#include "commands/commands_state.h"
#include "commands/loop_texts.h"
#include "commands/panel_commands.h"
#include "config/setup_block.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "ui/pulldown.h"

namespace corvane {
namespace {

using A = CommanderAction;

constexpr CommanderTranslation CommanderTable[] = {
    {key::Escape, A::ClearLineOr, CmdQuit},
    {key::F10, A::Give, CmdQuit},
    {key::Enter, A::EnterKey},
    {key::Ins, A::InsertKey},
    {key::F2, A::Give, CmdUserPulldown},
    {key::F3, A::Give, 'v'},
    {key::fkey(3, key::ModAlt), A::Give, 'v'},
    {key::F4, A::Give, 'e'},
    {key::fkey(4, key::ModAlt), A::Give, 'e'},
    {key::F5, A::GiveEither, 'c', CmdCopySelected},
    {key::F6, A::RenameOrMove},
    {key::F7, A::Give, CmdMakeDirectory},
    {key::F8, A::GiveEither, key::Del, CmdDeleteSelected},
    {key::Del, A::GiveEither, key::Del, CmdDeleteSelected},
    {key::F9, A::Give, CmdAltN},
    {key::fkey(1, key::ModAlt), A::Give, key::Space},
    {key::fkey(2, key::ModAlt), A::Give, 'l'},
    {key::fkey(7, key::ModAlt), A::Give, CmdTextSearchRecursive},
    {key::fkey(8, key::ModAlt), A::Give, CmdCommandHistory},
    {key::fkey(9, key::ModAlt), A::Give, '.'},
    {key::fkey(10, key::ModAlt), A::Give, 't'},
    {key::fkey(1, key::ModCtrl), A::ToggleWindowLayout, CmdWindowOnOff},
    {key::fkey(2, key::ModCtrl), A::Give, '*'},
    {key::fkey(3, key::ModCtrl), A::Give, CmdSortName},
    {key::fkey(4, key::ModCtrl), A::Give, CmdSortExtension},
    {key::fkey(5, key::ModCtrl), A::Give, CmdSortDate},
    {key::fkey(6, key::ModCtrl), A::Give, CmdSortSize},
    {key::fkey(7, key::ModCtrl), A::Give, CmdSortUnsorted},
    {key::fkey(8, key::ModCtrl), A::Give, CmdDisplayModeDialog},
    {key::fkey(9, key::ModCtrl), A::PrintChoice},
    {key::fkey(10, key::ModCtrl), A::Give, key::Ins},
    {key::ctrl('E'), A::HistoryStep, 0, 1},
    {key::ctrl('X'), A::HistoryStep, 0, -1},
    {key::Up, A::CursorOrHistory, key::Up, 1},
    {key::Down, A::CursorOrHistory, key::Down, -1},
    {key::ctrl('J'), A::AppendName},
    {key::ctrl('L'), A::StateWindow, CmdRedrawAfterState},
    {key::ctrl('O'), A::AllWindows},
    {key::ctrl('Q'), A::BigSmall, CmdWindowBigSmall},
    {key::ctrl('R'), A::Give, CmdRefresh},
    {key::CtrlPgUp, A::Give, key::Backspace},
    // The keypad's grey keys select without a trip to the menu.
    {key::KeypadPlus, A::Give, 's'},
    {key::KeypadPlusOther, A::Give, 's'},
    {key::KeypadMinus, A::Give, 'n'},
    {key::KeypadStar, A::Give, '-'},
};

constexpr EitherForm EitherTable[] = {
    {CmdAttributeEither, 'a', CmdAttributeSelected},
    {CmdEditEither, 'e', CmdEditSelected},
    {CmdCopyEither, 'c', CmdCopySelected},
    {CmdDeleteEither, 'd', CmdDeleteSelected},
    {CmdMoveEither, 'm', CmdMoveSelected},
    {CmdTextSearchEither, 'i', CmdTextSearchSelected},
    {CmdPrint, CmdPrint, CmdPrintSelected},
    {CmdCompressSelected, CmdCompress, CmdCompressSelected},
    {CmdCompressKey, CmdCompress, CmdCompressSelected},
    {CmdWordProcessingEither, 'w', CmdWordProcessingSelected},
    {CmdExecuteEither, 'x', CmdExecuteSelected},
};

constexpr MenuItem ActualOrSelectedItems[] = {
    {.label = TextActualFile, .command = ChoiceActualFile},
    {.label = TextSelectFiles, .command = ChoiceSelectFiles},
};

constexpr MenuItem RenameOrMoveItems[] = {
    {.label = TextRename, .command = 'r'},
    {.label = TextMove, .command = 'm'},
};

// A small pulldown in the middle of the screen; its command, or 0 after Escape. The
// highlighted item is kept in currentItem from one use to the next.
int runCentredChoice(std::span<const MenuItem> items, int& currentItem, int innerWidth) {
  PulldownMenu menu{.currentItem = currentItem, .items = items};
  menu.x = std::max((screenColumns() - innerWidth - 2) / 2, 1);
  menu.y = std::max(screenRows() / 2 - 2, 1);
  int command = 0;
  const int result = runPulldown(menu, command);
  currentItem = menu.currentItem;
  return result == MenuChosen ? command : 0;
}

const FileNode* cursorNode(const LoopContext& loop) {
  const Panel* panel = loop.current.panel;
  if (panel == nullptr || panel->cursor == NoNode || !isLiveNode(panel->list, panel->cursor))
    return nullptr;
  return &panel->list.nodes[panel->cursor];
}

bool hasSelection(const LoopContext& loop) {
  return loop.current.panel != nullptr && loop.current.panel->selectedCount > 0;
}

// The first word of a configured command names a program that can be run.
bool configuredProgramUsable(std::string_view command) {
  const std::size_t start = command.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  const std::size_t end = command.find(' ', start);
  const std::string_view program =
      command.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  return findExecutable(program, currentDirectory());
}

}  // namespace

std::span<const CommanderTranslation> commanderTranslations() { return CommanderTable; }

const CommanderTranslation* findCommanderTranslation(KeyCode key) {
  for (const CommanderTranslation& entry : CommanderTable)
    if (entry.key == key) return &entry;
  return nullptr;
}

bool isArchiveName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string extension = foldCase(name.substr(dot + 1));
  for (std::string_view known : {"zip", "lha", "lzh", "zoo", "arj"})
    if (extension == known) return true;
  return false;
}

CommandId translateCommander(LoopContext& loop, KeyCode key) {
  const CommanderTranslation* entry = findCommanderTranslation(key);
  const bool hidden = programState().panelsHidden;
  if (entry == nullptr) {
    const int letter = altLetter(key);
    if (letter >= 'A' && letter <= 'Z') {
      loop.locateText = std::string(1, static_cast<char>(letter - 'A' + 'a'));
      return CmdLocateNext;
    }
    return key;
  }
  switch (entry->action) {
    case A::Give:
      return entry->command;
    case A::ClearLineOr:
      if (clearCommandLine(loop)) return 0;
      return entry->command;
    case A::GiveEither:
      return hasSelection(loop) ? entry->selectedCommand : entry->command;
    case A::EnterKey: {
      if (commandLineReady(loop)) return CmdExecuteCommandLine;
      if (hidden) return 0;
      const FileNode* node = cursorNode(loop);
      if (node == nullptr || node->entry.isDirectory()) return key::Enter;
      return isArchiveName(node->entry.name) ? CmdOpenArchiveKey : 'q';
    }
    case A::InsertKey: {
      const FileNode* node = cursorNode(loop);
      return node != nullptr && node->entry.isDirectory() ? '!' : key::Enter;
    }
    case A::RenameOrMove: {
      const CommandId choice =
          runCentredChoice(RenameOrMoveItems, commandsState().renameOrMoveItem, 8);
      if (choice == 'm' && hasSelection(loop)) return CmdMoveSelected;
      return choice;
    }
    case A::ToggleWindowLayout: {
      ProgramState& state = programState();
      state.windowLayoutChoice =
          state.windowLayoutChoice == LayoutSingleList ? LayoutTwoLists : LayoutSingleList;
      return entry->command;
    }
    case A::PrintChoice: {
      const int choice = askActualOrSelected();
      loop.formChosen = true;
      return choice == ChoiceActualFile    ? CmdPrint
             : choice == ChoiceSelectFiles ? CmdPrintSelected
                                           : 0;
    }
    case A::HistoryStep:
      commandLineHistory(loop, entry->selectedCommand);
      return 0;
    case A::CursorOrHistory:
      if (!hidden) return entry->command;
      commandLineHistory(loop, entry->selectedCommand);
      return 0;
    case A::AppendName:
      if (!hidden) appendNameToCommandLine(loop);
      return 0;
    case A::StateWindow:
      return toggleStateWindow(loop) ? 0 : entry->command;
    case A::AllWindows:
      toggleAllWindows(loop);
      return 0;
    case A::BigSmall:
      programState().smallWindows = !programState().smallWindows;
      return entry->command;
  }
  return key;
}

KeyCode menuCodeAsCommanderKey(CommandId code) {
  switch (code) {
    case CmdMenuWindowOnOff:
      return key::fkey(1, key::ModCtrl);
    case CmdMenuWindowBigSmall:
      return key::ctrl('Q');
    case CmdMenuAllWindows:
      return key::ctrl('O');
    default:
      return code;
  }
}

std::span<const EitherForm> eitherForms() { return EitherTable; }

const EitherForm* findEitherForm(CommandId code) {
  for (const EitherForm& form : EitherTable)
    if (form.code == code) return &form;
  return nullptr;
}

int askActualOrSelected() {
  return runCentredChoice(ActualOrSelectedItems, commandsState().actualOrSelectedItem,
                          static_cast<int>(TextSelectFiles.size()) - 1);
}

CommandId resolveEither(LoopContext& loop, CommandId code) {
  const EitherForm* form = findEitherForm(code);
  if (form == nullptr) return code;
  if (!hasSelection(loop)) return form->single;
  const int choice = askActualOrSelected();
  return choice == ChoiceActualFile    ? form->single
         : choice == ChoiceSelectFiles ? form->selected
                                       : 0;
}

CommandId externalFallback(CommandId code) {
  const SetupBlock& block = setupBlock();
  if (code == 'e' || code == 'E' || code == CmdEditSelected) {
    if (configuredProgramUsable(block.editorCommand.text())) return code;
    return code == CmdEditSelected ? CmdInternalEditorSelected : 'f';
  }
  if (code == 'v' || code == 'V' || code == CmdViewerSelected) {
    if (configuredProgramUsable(block.viewerCommand.text())) return code;
    return code == CmdViewerSelected ? CmdInternalViewerSelected : 'z';
  }
  return code;
}

char ctrlLetterDrive(KeyCode code) {
  if (code >= key::ctrl('A') && code <= key::ctrl('Z'))
    return static_cast<char>('A' + (code - key::ctrl('A')));
  return 0;
}

CommandId foldLetter(CommandId code) {
  return code >= 'A' && code <= 'Z' ? code - 'A' + 'a' : code;
}

}  // namespace corvane
