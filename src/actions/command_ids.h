// Command codes. A command is a key code of the console input (keyboard.h) or a code of 4096
// and above that only menu items and key translations produce. Every layout's keys, the menu
// items, the bar labels and the mouse zones end up as one of these.
#pragma once

#include "platform/keycodes.h"

namespace corvane {

using CommandId = int;

// Codes that exist only as commands.
inline constexpr CommandId CmdCopyWithSubdirectories = 4098;
inline constexpr CommandId CmdSplitFile = 4099;
inline constexpr CommandId CmdBuildFile = 4100;
inline constexpr CommandId CmdShell = 4101;
inline constexpr CommandId CmdFileFind = 4102;
inline constexpr CommandId CmdAbout = 4103;
inline constexpr CommandId CmdCompareFiles = 4104;
inline constexpr CommandId CmdFileDifferences = 4105;
inline constexpr CommandId CmdTextSearchRecursive = 4106;
inline constexpr CommandId CmdCommandRecursive = 4107;
// Menu items that mean the file under the cursor or the selected files (resolved by the loop).
inline constexpr CommandId CmdAttributeEither = 4108;
inline constexpr CommandId CmdEditEither = 4109;
inline constexpr CommandId CmdCopyEither = 4110;
inline constexpr CommandId CmdDeleteEither = 4111;
inline constexpr CommandId CmdMoveEither = 4112;
inline constexpr CommandId CmdTextSearchEither = 4113;
inline constexpr CommandId CmdWindowOnOff = 4114;
inline constexpr CommandId CmdMove = 4115;
inline constexpr CommandId CmdWindowBigSmall = 4116;
inline constexpr CommandId CmdPrint = 4117;  // also the menu item that means either form
inline constexpr CommandId CmdPrintSelected = 4118;
inline constexpr CommandId CmdExecuteCommandLine = 4120;
inline constexpr CommandId CmdSelectByPattern = 4130;
inline constexpr CommandId CmdOpenArchive = 4131;
inline constexpr CommandId CmdCompress = 4133;
inline constexpr CommandId CmdCompressSelected = 4134;  // also the menu item, either form
inline constexpr CommandId CmdLocateNext = 4135;
inline constexpr CommandId CmdCompareDirectories = 4136;
inline constexpr CommandId CmdDriveInformation = 4137;
inline constexpr CommandId CmdWordProcessingEither = 4144;
inline constexpr CommandId CmdExecuteEither = 4145;
inline constexpr CommandId CmdDecompress = 4146;
inline constexpr CommandId CmdCompareDirectoriesBinary = 4147;
inline constexpr CommandId CmdDisplayShort = 4148;
inline constexpr CommandId CmdDisplayFull = 4149;
inline constexpr CommandId CmdTree = 4150;
inline constexpr CommandId CmdAutoview = 4151;
inline constexpr CommandId CmdDriveSelection = 4153;
// Menu items turned into COMMANDER keys whatever the layout.
inline constexpr CommandId CmdMenuWindowOnOff = 4160;
inline constexpr CommandId CmdMenuWindowBigSmall = 4161;
inline constexpr CommandId CmdMenuAllWindows = 4162;
inline constexpr CommandId CmdPanelMask = 4163;
inline constexpr CommandId CmdRefreshBoth = 4164;
inline constexpr CommandId CmdSortName = 4165;
inline constexpr CommandId CmdSortSize = 4166;
inline constexpr CommandId CmdSortDate = 4167;
inline constexpr CommandId CmdSortMode = 4168;
inline constexpr CommandId CmdSortExtension = 4169;
inline constexpr CommandId CmdSortUnsorted = 4176;
inline constexpr CommandId CmdDisplayLong = 4177;
inline constexpr CommandId CmdRedrawAfterState = 4178;
inline constexpr CommandId CmdGoto = 4179;
inline constexpr CommandId CmdShowUnselected = 4180;
inline constexpr CommandId CmdShowSelected = 4181;

// Codes that are keys as well.
inline constexpr CommandId CmdQuit = key::Escape;
inline constexpr CommandId CmdWordProcessing = 16;  // Ctrl-P as a plain control character
inline constexpr CommandId CmdModifierChange = key::ModifierEvent;              // 256
inline constexpr CommandId CmdIdleRefresh = key::IdleEvent;                     // 1911
inline constexpr CommandId CmdRoot = key::CtrlBackspace;                        // 1151
inline constexpr CommandId CmdDirectorySize = key::F2;                          // 316
inline constexpr CommandId CmdRefresh = key::F3;                                // 317
inline constexpr CommandId CmdNextFileList = key::F4;                           // 318
inline constexpr CommandId CmdDisplayModeDialog = key::fkey(3, key::ModShift);  // 573
// The menu codes of "all directory sizes" and "make directory" are 572 and 575, one above
// the key codes of Shift-F1 (571) and Shift-F4 (574); the table takes both.
inline constexpr CommandId CmdAllDirectorySizes = 572;
inline constexpr CommandId CmdMakeDirectory = 575;
inline constexpr CommandId CmdAllDirectorySizesKey = key::fkey(1, key::ModShift);  // 571
inline constexpr CommandId CmdMakeDirectoryKey = key::fkey(4, key::ModShift);      // 574
inline constexpr CommandId CmdNextFunctionKeyPage = key::Ins;                      // 338
inline constexpr CommandId CmdCompressKey = key::fkey(5, key::ModAlt);             // 2111
inline constexpr CommandId CmdDecompressKey = key::fkey(6, key::ModAlt);           // 2112
inline constexpr CommandId CmdUserPulldown = key::fkey(7, key::ModAlt);            // 2113
inline constexpr CommandId CmdCommandHistory = key::fkey(8, key::ModAlt);          // 2114
inline constexpr CommandId CmdStateWindow = key::alt('Q');                         // 2064
inline constexpr CommandId CmdWordProcessingSelected = key::alt('W');              // 2065
inline constexpr CommandId CmdEditSelected = key::alt('E');                        // 2066
inline constexpr CommandId CmdInternalViewerSelected = key::alt('Z');              // 2069
inline constexpr CommandId CmdTextSearchSelected = key::alt('I');                  // 2071
inline constexpr CommandId CmdHexEditorSelected = key::alt('H');                   // 2083
inline constexpr CommandId CmdOpenArchiveKey = key::alt('O');                      // 2072
inline constexpr CommandId CmdPrintSelectedKey = key::alt('P');                    // 2073
inline constexpr CommandId CmdAttributeSelected = key::alt('A');                   // 2078
inline constexpr CommandId CmdDeleteSelected = key::alt('D');                      // 2080
inline constexpr CommandId CmdInternalEditorSelected = key::alt('F');              // 2081
inline constexpr CommandId CmdLocateNextKey = key::alt('G');                       // 2082
inline constexpr CommandId CmdWriteFilelist = key::alt('Y');                       // 2092
inline constexpr CommandId CmdExecuteSelected = key::alt('X');                     // 2093
inline constexpr CommandId CmdCopySelected = key::alt('C');                        // 2094
inline constexpr CommandId CmdViewerSelected = key::alt('V');                      // 2095
inline constexpr CommandId CmdAltN = key::alt('N');                                // 2097
inline constexpr CommandId CmdMoveSelected = key::alt('M');                        // 2098

static_assert(CmdRoot == 1151 && CmdDisplayModeDialog == 573 && CmdNextFunctionKeyPage == 338);
static_assert(CmdAllDirectorySizesKey == 571 && CmdMakeDirectoryKey == 574);
static_assert(CmdCompressKey == 2111 && CmdUserPulldown == 2113 && CmdCommandHistory == 2114);
static_assert(CmdStateWindow == 2064 && CmdInternalViewerSelected == 2069);
static_assert(CmdOpenArchiveKey == 2072 && CmdWriteFilelist == 2092 && CmdAltN == 2097);
static_assert(CmdMoveSelected == 2098 && CmdCopySelected == 2094 && CmdLocateNextKey == 2082);
static_assert(CmdHexEditorSelected == 2083);

// Results of a command handler besides going on with the next pass.
inline constexpr int LoopContinue = 0;
inline constexpr int LoopEnd = 27;        // Esc or Quit
inline constexpr int LoopRebuild = 170;   // rebuild the screen and run the loop again
inline constexpr int LoopUserMenu = 187;  // the user menu, then the same as LoopRebuild

}  // namespace corvane
