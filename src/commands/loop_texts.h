// Every text the command loop, its menus and the setup dialogs show.
#pragma once

#include <string_view>

#include "panels/display_texts.h"  // TextDriveNotReady, shown by the tree window too

namespace corvane {

// The loop.
constexpr std::string_view TextExitQuestion = " Exit CORVANESHELL ? ";
constexpr std::string_view TextSaveSetupQuestion = " Setup data altered, save it ?";
constexpr std::string_view TextActualFile = " ^Actual File ";
constexpr std::string_view TextSelectFiles = " ^Select Files ";
constexpr std::string_view TextRename = "^Rename";
constexpr std::string_view TextMove = "^Move";
constexpr std::string_view TextGotoPrompt = "Goto :";
constexpr const char* FormatNestedTitle = "%s Nr. %d";
constexpr std::string_view TextNestedFiles = " Files ";
constexpr const char* FormatCommandPrompt = "%s>";
constexpr const char* FormatPathTooLong = " The path would be longer than %d characters ";
// A panel's directory went or may not be read: the nearest one above it is shown instead.
constexpr const char* FormatDirectoryUnreadable = "Directory %s\ncannot be read, back to %s";

// Function-key pages.
constexpr const char* FormatFunctionKeyPage =
    "Function key  %d:  F5       F6       F7       F8       F9       F10    Insert";
constexpr int FunctionKeyLabelColumns[] = {18, 27, 36, 45, 54, 63};

// Menu titles.
constexpr std::string_view TitleWindow = " Wi^ndow";
constexpr std::string_view TitleFile = " ^File";
constexpr std::string_view TitleDirectory = " Di^rectory";
constexpr std::string_view TitleSpecial = " ^Special ";
constexpr std::string_view TitleSetup = " Se^tup";

// Selection dialogs of the setup menu.
constexpr std::string_view TitleSortmode = "^Sortmode";
constexpr std::string_view TitleUserprofile = "^Userprofile";
constexpr std::string_view TextSortAlphabetic = "^Alphabetic";
constexpr std::string_view TextSortSize = "^Size";
constexpr std::string_view TextSortDate = "^Date";
constexpr std::string_view TextSortExtension = "^Extension";
constexpr std::string_view TextSortMode = "^Mode ";
constexpr std::string_view TextSortUnsorted = "^Unsorted";
constexpr std::string_view TextProfileBeginner = "^Beginner";
constexpr std::string_view TextProfileAdvanced = "^Advanced";
constexpr std::string_view TextProfileProfessional = "^Professionel";
constexpr std::string_view TextSingleFilelist = "^Single filelist";
constexpr std::string_view TextFilelistAndTree = "^Filelist and directorytree";
constexpr std::string_view TextTwoFilelists = "^Two filelists";
constexpr std::string_view TextWithCommandWindow = "^With command window";
constexpr std::string_view TextWithoutCommandWindow = "Without command window";
constexpr std::string_view TextShortFileDisplay = "^Short file display";
constexpr std::string_view TextLongWithAttributes = "^Long file display with attributes";
constexpr std::string_view TextLongWithoutAttributes = "Long ^file display without attributes";
constexpr std::string_view TextScreen80x25 = " 80 * 25";
constexpr std::string_view TextScreen80x50 = " 80 * 50";
constexpr std::string_view TextScreen80x60 = " 80 * 60";
constexpr std::string_view TextLayoutCorvane = "^CORVANE";
constexpr std::string_view TextLayoutCommander = "^COMMANDER";
constexpr std::string_view TextLayoutXtree = "^XTREE";

// The selected-files loop.
constexpr std::string_view TextNoFilesSelected = " No files selected ! ";
constexpr std::string_view TextWithConfirmation = " With confirmation ? ";
constexpr const char* FormatSelectedCount = "%d/%d : ";
constexpr std::string_view TextAttributeTitle = "Attribute ";
constexpr std::string_view TextEditTitle = "Edit ";
constexpr std::string_view TextPrintTitle = "Print ";
constexpr std::string_view TextViewTitle = "View ";

}  // namespace corvane
