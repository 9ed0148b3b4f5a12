#include "commands/command_table.h"

#include <algorithm>
#include <array>

#include "archives/archive_commands.h"
#include "archives/archive_operations.h"
#include "archives/archive_panel.h"
#include "commands/command_window.h"
#include "commands/definition_commands.h"
#include "commands/external_commands.h"
#include "commands/key_translation.h"
#include "commands/panel_commands.h"
#include "commands/selected_files.h"
#include "editor/editor_entry.h"
#include "exec/user_menu.h"
#include "fileops/copy_commands.h"
#include "fileops/delete_files.h"
#include "fileops/file_commands.h"
#include "fileops/make_directory.h"
#include "fileops/move_files.h"
#include "platform/textf.h"
#include "search/compare.h"
#include "search/file_search.h"
#include "search/walk_actions.h"
#include "tools/print_file.h"
#include "tools/split_build.h"
#include "tools/tools_texts.h"
#include "tree/tree_commands.h"
#include "ui/boxes.h"
#include "viewer/viewer_commands.h"

namespace corvane {
namespace {

// "f": in an archive panel the editor gets the member's extracted copy, removed afterwards
// (changes to it stay outside the archive).
int editEntryCommand(CommandContext& context, CommandId code) {
  if (context.currentPanel().archiveType == 0) return editFileCommand(context, code);
  std::string extracted;
  if (!extractCursorMember(context, extracted)) return LoopContinue;
  (void)editFile(extracted);
  releaseExtracted(extracted);
  context.reread = RereadRedraw;
  return LoopContinue;
}

// "p": in an archive panel the member's extracted copy is printed, after the question about
// the member, and removed afterwards.
int printEntryCommand(CommandContext& context, CommandId code) {
  Panel& panel = context.currentPanel();
  if (panel.archiveType == 0) return printCommand(context, code);
  const FileNode* node = cursorEntry(context);
  if (node == nullptr || node->entry.isDirectory()) {
    rejectBeep();
    return LoopContinue;
  }
  if (question(QuestionDefaultNo, textf(FormatPrintQuestion, node->entry.name.c_str())) !=
      QuestionYes)
    return LoopContinue;
  std::string extracted;
  if (!extractCursorMember(context, extracted)) return LoopContinue;
  (void)printFile(extracted);
  releaseExtracted(extracted);
  context.reread = RereadRedraw;
  return LoopContinue;
}

constexpr CommandEntry Table[] = {
    // Cursor and directories.
    {key::Up, cursorCommand},
    {key::Down, cursorCommand},
    {key::Home, cursorCommand},
    {key::End, cursorCommand},
    {key::Left, cursorCommand},
    {key::PgUp, cursorCommand},
    {key::Right, cursorCommand},
    {key::PgDn, cursorCommand},
    {key::Enter, enterCommand},
    {key::Backspace, parentCommand},
    {CmdRoot, rootCommand},
    {'!', toggleCommand},
    // Display.
    {key::Space, displayCycleCommand},
    {CmdDisplayModeDialog, displayDialogCommand},
    {CmdDisplayShort, displayModeCommand},
    {CmdDisplayFull, displayModeCommand},
    {CmdDisplayLong, displayModeCommand},
    {'*', autoviewCommand},
    {CmdAutoview, autoviewCommand},
    // Selection, masks and order.
    {'-', invertCommand},
    {'u', unselectCommand},
    {'s', selectCommand},
    {'n', selectCommand},
    {CmdSelectByPattern, selectCommand},
    {'$', showFilesCommand},
    {CmdShowUnselected, showFilesCommand},
    {'&', showFilesCommand},
    {CmdShowSelected, showFilesCommand},
    {'#', sortDialogCommand},
    {CmdSortName, sortCommand},
    {CmdSortSize, sortCommand},
    {CmdSortDate, sortCommand},
    {CmdSortExtension, sortCommand},
    {CmdSortUnsorted, sortCommand},
    {CmdSortMode, sortCommand},
    {'k', maskCommand},
    {CmdPanelMask, maskCommand},
    // Reading, drives, places.
    {CmdRefresh, refreshCommand},
    {CmdRefreshBoth, refreshCommand},
    {'l', driveCommand},
    {CmdDriveSelection, driveCommand},
    {'g', gotoCommand},
    {CmdGoto, gotoCommand},
    {CmdLocateNextKey, locateNextCommand},
    {CmdLocateNext, locateNextCommand},
    {'.', changeDirectoryListCommand},
    {key::fkey(1, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(2, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(3, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(4, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(5, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(6, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(7, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(8, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(9, key::ModCtrl), definedDirectoryCommand},
    {key::fkey(10, key::ModCtrl), definedDirectoryCommand},
    {CmdDirectorySize, partCommand<directorySizeCommand>},
    {CmdAllDirectorySizes, partCommand<directorySizeCommand>},
    {CmdAllDirectorySizesKey, partCommand<directorySizeCommand>},
    {CmdNextFileList, nextFileListCommand},
    {CmdMakeDirectory, partCommand<makeDirectoryCommand>},
    {CmdMakeDirectoryKey, partCommand<makeDirectoryCommand>},
    // File commands.
    {'a', partCommand<fileDetailsCommand>},
    {CmdAttributeSelected, selectedFilesCommand},
    {'c', partCommand<copyCommand>},
    {CmdCopySelected, selectedFilesCommand},
    {CmdCopyWithSubdirectories, partCommand<copyCommand>},
    {'m', partCommand<moveCommand>},
    {CmdMoveSelected, selectedFilesCommand},
    {CmdMove, partCommand<moveCommand>},
    {'r', partCommand<renameCommand>},
    {'d', partCommand<deleteCommand>},
    {key::Del, partCommand<deleteCommand>},
    {CmdDeleteSelected, selectedFilesCommand},
    {'v', configuredProgramCommand},
    {'e', configuredProgramCommand},
    {'w', configuredProgramCommand},
    {CmdWordProcessing, configuredProgramCommand},
    {key::ctrl('P'), configuredProgramCommand},
    {CmdViewerSelected, selectedFilesCommand},
    {CmdEditSelected, selectedFilesCommand},
    {CmdWordProcessingSelected, selectedFilesCommand},
    {CmdHexEditorSelected, selectedFilesCommand},
    {'z', partCommand<viewEntryCommand>},
    {CmdInternalViewerSelected, selectedFilesCommand},
    {'h', partCommand<viewEntryCommand>},
    {'f', partCommand<editEntryCommand>},
    {CmdInternalEditorSelected, selectedFilesCommand},
    {'i', partCommand<searchTextCommand>},
    {CmdTextSearchSelected, selectedFilesCommand},
    {'q', runByExtensionCommand},
    {'x', executeFileCommand},
    {CmdExecuteSelected, selectedFilesCommand},
    {'o', commandInputCommand},
    {CmdExecuteCommandLine, executeCommandLine},
    {CmdCommandHistory, commandHistory},
    {CmdUserPulldown, partCommand<userPulldownCommand>},
    {CmdShell, shellCommand},
    {'t', partCommand<directoryTreeCommand>},
    {CmdTree, partCommand<directoryTreeCommand>},
    {'p', partCommand<printEntryCommand>},
    {CmdPrint, partCommand<printEntryCommand>},
    {CmdPrintSelected, selectedFilesCommand},
    {CmdPrintSelectedKey, selectedFilesCommand},
    {CmdWriteFilelist, writeFilelistCommand},
    {CmdOpenArchiveKey, partCommand<openArchiveCommand>},
    {CmdOpenArchive, partCommand<openArchiveCommand>},
    {CmdCompress, partCommand<compressCommand>},
    {CmdCompressSelected, selectedFilesCommand},
    {CmdDecompress, partCommand<decompressCommand>},
    {CmdDecompressKey, partCommand<decompressCommand>},
    {CmdCompareDirectories, partCommand<compareDirectoriesCommand>},
    {CmdCompareDirectoriesBinary, partCommand<compareDirectoriesCommand>},
    {CmdFileFind, partCommand<globalListCommand>},
    {CmdCommandRecursive, partCommand<commandRecursiveCommand>},
    {CmdTextSearchRecursive, partCommand<treeSearchCommand>},
    {CmdCompareFiles, selectedFilesCommand},
    {CmdFileDifferences, selectedFilesCommand},
    {CmdSplitFile, partCommand<splitFileCommand>},
    {CmdBuildFile, partCommand<buildFileCommand>},
    {'?', driveInformationCommand},
    {CmdDriveInformation, driveInformationCommand},
    {CmdAbout, aboutCommand},
    // Function keys and windows.
    {CmdNextFunctionKeyPage, functionKeyPageCommand},
    {key::F5, functionKeyCommand},
    {key::F6, functionKeyCommand},
    {key::F7, functionKeyCommand},
    {key::F8, functionKeyCommand},
    {key::F9, functionKeyCommand},
    {key::F10, functionKeyCommand},
    {CmdStateWindow, stateWindowCommand},
    {CmdWindowOnOff, windowOnOffCommand},
    {CmdWindowBigSmall, windowBigSmallCommand},
    {'/', userMenuCommand},
    {CmdQuit, quitCommand},
    {CmdRedrawAfterState, redrawCommand},
    {CmdIdleRefresh, idleRefreshCommand},
    {CmdModifierChange, modifierCommand},
};

constexpr CommandId RefusedInArchive[] = {'r',
                                          'm',
                                          CmdMove,
                                          CmdMoveSelected,
                                          CmdMakeDirectory,
                                          CmdMakeDirectoryKey,
                                          'a',
                                          CmdAttributeSelected,
                                          'x',
                                          CmdExecuteSelected,
                                          CmdCompress,
                                          CmdCompressSelected,
                                          'k',
                                          CmdPanelMask,
                                          'l',
                                          CmdDriveSelection,
                                          'g',
                                          CmdGoto,
                                          '.',
                                          key::fkey(1, key::ModCtrl),
                                          key::fkey(2, key::ModCtrl),
                                          key::fkey(3, key::ModCtrl),
                                          key::fkey(4, key::ModCtrl),
                                          key::fkey(5, key::ModCtrl),
                                          key::fkey(6, key::ModCtrl),
                                          key::fkey(7, key::ModCtrl),
                                          key::fkey(8, key::ModCtrl),
                                          key::fkey(9, key::ModCtrl),
                                          key::fkey(10, key::ModCtrl),
                                          CmdDirectorySize,
                                          CmdAllDirectorySizes,
                                          CmdAllDirectorySizesKey,
                                          't',
                                          CmdTree,
                                          CmdSplitFile,
                                          CmdBuildFile,
                                          CmdCompareDirectories,
                                          CmdCompareDirectoriesBinary,
                                          CmdCommandRecursive,
                                          CmdTextSearchRecursive,
                                          CmdFileFind,
                                          CmdCopyWithSubdirectories};

// Sorted by code once, so a lookup is a binary search.
const std::array<CommandEntry, std::size(Table)>& sortedTable() {
  static const auto sorted = [] {
    std::array<CommandEntry, std::size(Table)> copy{};
    std::copy(std::begin(Table), std::end(Table), copy.begin());
    std::sort(copy.begin(), copy.end(),
              [](const CommandEntry& a, const CommandEntry& b) { return a.code < b.code; });
    return copy;
  }();
  return sorted;
}

}  // namespace

std::span<const CommandEntry> commandTable() { return Table; }

bool refusedInArchive(CommandId code) {
  code = foldLetter(code);
  if (std::find(std::begin(RefusedInArchive), std::end(RefusedInArchive), code) !=
      std::end(RefusedInArchive))
    return true;
  // A Ctrl letter without a command of its own changes the drive.
  return ctrlLetterDrive(code) != 0 && findCommand(code) == nullptr;
}

CommandHandler findCommand(CommandId code) {
  code = foldLetter(code);
  const auto& table = sortedTable();
  auto it = std::lower_bound(table.begin(), table.end(), code,
                             [](const CommandEntry& e, CommandId c) { return e.code < c; });
  return it != table.end() && it->code == code ? it->handler : nullptr;
}

}  // namespace corvane
