// Every text the internal editor shows, in one place.
#pragma once

#include <string_view>

namespace corvane::edit_text {

// The line above the first line of every file: 17 and 15 double horizontal lines around the
// title, and a blank.
constexpr std::string_view TopOfFile = "═════════════════ TOP OF FILE ═══════════════ ";

// Loading.
constexpr const char* FileOpenError = "File open error %s \n";
constexpr const char* ReadOnlyFormat = " File '%s' is readonly ! ";
constexpr std::string_view ReadingFile = " Reading File.........   ";
constexpr const char* LinesSplitFormat = " %ld lines longer than 2000 characters were split ! ";
// The recovery copy's name (it lies beside the file).
constexpr const char* RecoveryFoundFormat =
    " Unsaved changes of an earlier session are\n in %s beside this file ! ";

// Saving, writing and printing.
constexpr std::string_view FilenamePrompt = " Filename : ";
constexpr const char* BackupErrorFormat = "Backupfile Error %s -> %s";
constexpr std::string_view AccessDenied = "File Open Error, Access denied";
constexpr std::string_view WritingFile = " Writing File.........   ";
constexpr std::string_view WriteError = " Write error ! ";
constexpr std::string_view ChangedOnDisk = " File changed on disk, overwrite ? ";
constexpr std::string_view Printing = " Printing... \n Canchel with ESC ";
constexpr std::string_view ThrowAwayChanges = " Throw away changes ? ";

// The loop.
constexpr const char* StatusFormat = "Line %-5ld Row %-3d  %s";
constexpr std::string_view Insert = "INSERT";
constexpr std::string_view Replace = "REPLACE";
constexpr std::string_view GotoPrompt = "Goto line :";
constexpr const char* HelpCommandFormat = "_cvhelp %s";
constexpr std::string_view KeepScreenMarker = "~NSWP";
constexpr std::string_view JoinError = "Join Error";

// Blocks.
constexpr std::string_view MarkRequired = "Mark required !";
constexpr std::string_view BlockInOtherFile = "Block already marked in other File";
constexpr std::string_view SourceDestinationConflict = " Source-Destination conflict ";
constexpr std::string_view DeleteInOtherFile = "Block delete in another file not allowed !";

// Menu bar titles and the pulldowns.
constexpr std::string_view TitleFile = "^File ";
constexpr std::string_view TitleBlock = " ^Block ";
constexpr std::string_view TitleLine = " L^ine ";
constexpr std::string_view TitleSearch = " ^Search ";

constexpr std::string_view ItemSave = " ^Save      ";
constexpr std::string_view ItemSaveExit = " Save+e^xit ";
constexpr std::string_view ItemRename = " ^Rename    ";
constexpr std::string_view ItemLoad = " ^Load      ";
constexpr std::string_view ItemNextFile = " ^Next file ";
constexpr std::string_view ItemPreviousFile = " ^Previous file ";
constexpr std::string_view ItemCommandMode = " ^Command mode  ";
constexpr std::string_view ItemEditedFiles = " Edited ^files ";
constexpr std::string_view ItemPrint = " ^Print";
constexpr std::string_view ItemKeywords = " ^Keywords ";
constexpr std::string_view ItemHelpWord = " ^Help on current word        [CTRL_F1] ";
constexpr std::string_view ItemEditInLine = " ^Edit file in line           [CTRL_Y] ";
constexpr std::string_view ItemShell = " S^hell";
constexpr std::string_view ItemExit = " ^Exit      ";

constexpr std::string_view ItemCopy = " ^Copy      ";
constexpr std::string_view ItemDelete = " ^Delete    ";
constexpr std::string_view ItemMove = " ^Move      ";
constexpr std::string_view ItemMark = " ^Mark      ";
constexpr std::string_view ItemUnmark = " ^Unmark    ";
constexpr std::string_view ItemWrite = " ^Write     ";

constexpr std::string_view ItemSearchSensitive = " ^Search (Sensitiv)";
constexpr std::string_view ItemSearchIgnore = " S^earch (Ignore)  ";
constexpr std::string_view ItemSearchAgain = " Search ^again     ";
constexpr std::string_view ItemSearchBracket = " Search ^bracket   ";
constexpr std::string_view ItemSearchWord = " Search ^current word  [CTRL_W]";

constexpr std::string_view ItemDeleteLine = " ^Delete line          [CTRL_BS] ";
constexpr std::string_view ItemGotoLine = " ^Go to line       ";
constexpr std::string_view ItemExecuteLine = " ^Execute line as command     [ALT_X] ";
constexpr std::string_view ItemPasteScreen = " ^Paste screenpuffer";

// The function-key bars of the COMMANDER layout (the Alt bar ends in "Näch").
constexpr std::string_view BarPlain =
    " ^1Help   ^2Save   ^3Mark  ^4Unmark^5Copy  ^6Move    ^7Search ^8Delete  ^9Pulldown^1^0Quit";
constexpr std::string_view BarAlt =
    " ^1       ^2SaveQui^3Load  ^4      ^5      ^6GoLine  ^7SeIgnor^8PrintBlo^9        ^1^0Näch";
constexpr std::string_view BarCtrl =
    " ^1       ^2       ^3Pickli^4      ^5      ^6        ^7MatchPa^8Print   ^9        ^1^0Vori";

}  // namespace corvane::edit_text
