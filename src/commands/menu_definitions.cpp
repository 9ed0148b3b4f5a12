#include "commands/menu_definitions.h"

#include "actions/command_ids.h"
#include "commands/commands_state.h"
#include "commands/loop_texts.h"
#include "commands/setup_dialogs.h"

namespace corvane {
namespace {

constexpr MenuItem item(std::string_view label, int help, CommandId command) {
  return MenuItem{.label = label, .helpContext = help, .command = command};
}
constexpr MenuItem setupItem(std::string_view label, int help, SetupDialog dialog) {
  return MenuItem{.label = label,
                  .handler = setupMenuItem,
                  .data = &SetupDefinitions[dialog],
                  .helpContext = help};
}

// " Wi^ndow", both sets.
constexpr MenuItem WindowItems[] = {
    item(" ^Short", 20, CmdDisplayShort),
    item(" ^Full", 21, CmdDisplayFull),
    item(" ^Long", 22, CmdDisplayLong),
    item(" ^Tree", 23, CmdTree),
    item(" ^Autoview", 24, CmdAutoview),
    menuSeparator(),
    item(" ^Name                  CTRL-F3", 25, CmdSortName),
    item(" ^Extension             CTRL-F4", 26, CmdSortExtension),
    item(" ^Date                  CTRL-F5", 27, CmdSortDate),
    item(" ^Size                  CTRL-F6", 28, CmdSortSize),
    item(" ^Unsorted              CTRL-F7", 29, CmdSortUnsorted),
    item(" ^Mode                  ", 30, CmdSortMode),
    menuSeparator(),
    item(" ^Refresh list           CTRL-R", 31, CmdRefreshBoth),
    item(" ^Mask ", 32, CmdPanelMask),
    item(" ^Drive                 ALT-F1", 33, CmdDriveSelection),
    item(" ^Window on/off         CTRL-F1", 34, CmdMenuWindowOnOff),
    item(" Window  ^big/small     CTRL-Q", 35, CmdMenuWindowBigSmall),
    item(" A^ll windows off/on    CTRL-O", 36, CmdMenuAllWindows),
};

// Items shared by the " ^File" menus.
constexpr MenuItem FileAttribute = item(" ^Attribute", 61, CmdAttributeEither);
constexpr MenuItem FileEdit = item(" ^Edit", 72, CmdEditEither);
constexpr MenuItem FileFind = item(" ^Filefind ", 402, CmdFileFind);
constexpr MenuItem FileCopy = item(" ^Copy", 62, CmdCopyEither);
constexpr MenuItem FileCopySubdirectories =
    item(" C^opy with subdir.", 73, CmdCopyWithSubdirectories);
constexpr MenuItem FileDelete = item(" ^Delete", 63, CmdDeleteEither);
constexpr MenuItem FileMove = item(" ^Move", 71, CmdMoveEither);
constexpr MenuItem FileRename = item(" ^Rename", 68, 'r');
constexpr MenuItem FilePrint = item(" ^Print", 82, CmdPrint);
constexpr MenuItem FileTextSearch = item(" ^Text search ", 64, CmdTextSearchEither);
constexpr MenuItem FileExecute = item(" E^xecute", 86, CmdExecuteEither);
constexpr MenuItem FileHexview = item(" ^Hexview", 80, 'h');
constexpr MenuItem FileSelect = item(" Se^lect", 83, CmdSelectByPattern);
constexpr MenuItem FileWordProcessing = item(" ^Wordprocessing", 85, CmdWordProcessing);
constexpr MenuItem FileGoto = item(" ^Goto .. ", 86, CmdGoto);
constexpr MenuItem FileShell = item(" ^Shell", 50, CmdShell);
constexpr MenuItem FileAbout = item(" A^bout CORVANESHELL", 51, CmdAbout);
constexpr MenuItem FileQuit = item(" ^Quit CORVANESHELL", 60, CmdQuit);

constexpr MenuItem FileItems[] = {
    FileAttribute,   FileEdit,    FileFind,        FileCopy,           FileCopySubdirectories,
    FileDelete,      FileMove,    FileRename,      FilePrint,          FileTextSearch,
    FileExecute,     FileHexview, FileSelect,      FileWordProcessing, FileGoto,
    menuSeparator(), FileShell,   menuSeparator(), FileAbout,          FileQuit,
};

constexpr MenuItem CommanderFileItems[] = {
    FileAttribute, FileEdit,        FileCopy,
    FileDelete,    FileMove,        FileRename,
    FilePrint,     FileTextSearch,  item(" File mas^k", 66, 'k'),
    FileShell,     FileHexview,     FileSelect,
    FileExecute,   FileGoto,        menuSeparator(),
    FileAbout,     menuSeparator(), FileQuit,
};

// " Di^rectory", both sets.
constexpr MenuItem DirectoryItems[] = {
    item(" ^Directory size   ", 74, CmdDirectorySize),
    item(" ^All directory sizes ", 76, CmdAllDirectorySizes),
    item(" ^Refresh directory", 75, CmdRefresh),
    item(" ^Change display mode ", 79, CmdDisplayModeDialog),
    item(" ^Next file list       ", 77, CmdNextFileList),
    item(" ^Make directory      ", 78, CmdMakeDirectory),
    item(" C^ompare directories", 84, CmdCompareDirectories),
    item(" Com^pare directories binary", 84, CmdCompareDirectoriesBinary),
};

// Items shared by the " ^Special " menus.
constexpr MenuItem SpecialCommandRecursive = item(" Command ^recursive", 404, CmdCommandRecursive);
constexpr MenuItem SpecialTextSearchRecursive =
    item(" ^Text search recursive", 405, CmdTextSearchRecursive);
constexpr MenuItem SpecialWriteFilelist = item(" ^Write filelist ", 408, CmdWriteFilelist);
constexpr MenuItem SpecialUserPulldown = item(" ^User pulldown  ", 409, CmdUserPulldown);
constexpr MenuItem SpecialOpenArchive = item(" Open a^rchive   ", 410, CmdOpenArchive);
constexpr MenuItem SpecialCompress = item(" C^ompress files      ALT_F5", 411, CmdCompressSelected);
constexpr MenuItem SpecialDecompress = item(" Deco^mpress files    ALT_F6", 414, CmdDecompress);
constexpr MenuItem SpecialShowUnselected =
    item(" Show unselected files in window ", 415, CmdShowUnselected);
constexpr MenuItem SpecialShowSelected =
    item(" Show selected files in window ", 416, CmdShowSelected);
constexpr MenuItem SpecialDriveInformation =
    item(" ^Driveinformationon      ?", 412, CmdDriveInformation);

constexpr MenuItem SpecialItems[] = {
    item(" ^Compare files", 400, CmdCompareFiles),
    item(" ^File differences ", 401, CmdFileDifferences),
    SpecialCommandRecursive,
    SpecialTextSearchRecursive,
    item(" ^Split file", 406, CmdSplitFile),
    item(" ^Build file", 407, CmdBuildFile),
    menuSeparator(),
    SpecialWriteFilelist,
    SpecialUserPulldown,
    menuSeparator(),
    SpecialOpenArchive,
    SpecialCompress,
    SpecialDecompress,
    menuSeparator(),
    SpecialShowUnselected,
    SpecialShowSelected,
    menuSeparator(),
    SpecialDriveInformation,
};

// Setup items shared with the COMMANDER " ^Special " menu.
constexpr MenuItem SetupDisplayModeItem = setupItem(" Display ^mode", 114, SetupDisplayMode);
constexpr MenuItem SetupPreferencesItem = setupItem(" ^Preferences", 113, SetupPreferences);
constexpr MenuItem SetupUserPulldownItem =
    setupItem(" ^Define userpulldown", 52, SetupUserPulldown);

constexpr MenuItem CommanderSpecialItems[] = {
    FileFind,
    FileCopySubdirectories,
    item(" Auto^view", 81, '*'),
    SetupDisplayModeItem,
    SpecialCommandRecursive,
    SpecialTextSearchRecursive,
    SetupPreferencesItem,
    SetupUserPulldownItem,
    SpecialWriteFilelist,
    SpecialUserPulldown,
    menuSeparator(),
    SpecialOpenArchive,
    SpecialCompress,
    SpecialDecompress,
    SpecialDriveInformation,
    menuSeparator(),
    SpecialShowUnselected,
    SpecialShowSelected,
};

// " Se^tup", both sets.
constexpr MenuItem SetupItems[] = {
    setupItem(" ^Programs", 124, SetupPrograms),
    menuSeparator(),
    setupItem(" ^Colors", 107, SetupColors),
    setupItem(" S^ort", 109, SetupSort),
    setupItem(" Da^rk screen", 110, SetupDarkScreen),
    SetupPreferencesItem,
    SetupUserPulldownItem,
    setupItem(" ^Function keys", 112, SetupFunctionKeys),
    SetupDisplayModeItem,
    setupItem(" C^lock display", 114, SetupClock),
    setupItem(" ^Directories", 115, SetupDirectories),
    setupItem(" File displa^y", 117, SetupFileDisplay),
    setupItem(" Video^mode ", 118, SetupVideoMode),
    setupItem(" Prin^ter ", 119, SetupPrinter),
    setupItem(" Em^ulation", 120, SetupEmulation),
    setupItem(" Arc^hiver", 121, SetupArchiver),
    setupItem(" ^Confirmations", 123, SetupConfirmations),
    menuSeparator(),
    setupItem(" ^Save setup ", 108, SetupSave),
};

static_assert(std::size(WindowItems) <= MaxPulldownItems &&
              std::size(FileItems) <= MaxPulldownItems);
static_assert(std::size(SpecialItems) <= MaxPulldownItems &&
              std::size(SetupItems) <= MaxPulldownItems);
static_assert(std::size(CommanderFileItems) <= MaxPulldownItems);
static_assert(std::size(CommanderSpecialItems) <= MaxPulldownItems);

// A fresh set of the five pulldowns over the given item tables (each set keeps its own
// highlighted entries).
std::unique_ptr<MenuBarSet> makeMenuBarSet(std::span<const MenuItem> fileItems,
                                           std::span<const MenuItem> specialItems) {
  auto set = std::make_unique<MenuBarSet>();
  set->menus = {PulldownMenu{.title = TitleWindow, .items = WindowItems},
                PulldownMenu{.title = TitleFile, .items = fileItems},
                PulldownMenu{.title = TitleDirectory, .items = DirectoryItems},
                PulldownMenu{.title = TitleSpecial, .items = specialItems},
                PulldownMenu{.title = TitleSetup, .items = SetupItems}};
  for (std::size_t i = 0; i < set->menus.size(); ++i) set->entries[i] = &set->menus[i];
  set->bar.menus = set->entries;
  return set;
}

MenuBarSet& menuBarSetFor(KeyboardLayout layout) {
  CommandsState& state = commandsState();
  if (layout == KeyboardCommander) {
    if (!state.commanderBar)
      state.commanderBar = makeMenuBarSet(CommanderFileItems, CommanderSpecialItems);
    return *state.commanderBar;
  }
  if (!state.corvaneBar) state.corvaneBar = makeMenuBarSet(FileItems, SpecialItems);
  return *state.corvaneBar;
}

}  // namespace

MenuBar& menuBarFor(KeyboardLayout layout) { return menuBarSetFor(layout).bar; }

std::span<PulldownMenu* const> menusOf(KeyboardLayout layout) {
  return menuBarSetFor(layout).entries;
}

}  // namespace corvane
