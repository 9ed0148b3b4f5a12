// The texts of the setup menu's dialogs: program paths, colours, idle time, printer port,
// clock, preferences, command-window labels, function keys, directories and the user menus.
// German texts are code page 437 bytes (0x81 u-umlaut, 0x84 a-umlaut, 0x94 o-umlaut, 0x9A
// U-umlaut), shown through the code page's table.
#pragma once

#include <array>
#include <string_view>

namespace corvane {

// " ^Programs": the five program commands and the associations file.
constexpr std::string_view TitlePrograms = "^Programs";
constexpr std::string_view TextProgramEditor = " ^Editor";
constexpr std::string_view TextProgramViewer = " ^View";
constexpr std::string_view TextProgramWordProcessor = " ^Wordprocessing";
constexpr std::string_view TextProgramHexEditor = " ^Hex-Editor";
constexpr std::string_view TextProgramFileDifferences = " ^File Differences";
constexpr std::string_view TextProgramAssociations = " E^xtension commands (.pre)";
constexpr std::string_view PromptEditor = "Editor :";
constexpr std::string_view PromptViewer = "View   :";
constexpr std::string_view PromptWordProcessor = "Wordprocessing :";
constexpr std::string_view PromptHexEditor = "Hex-Editor :";
constexpr std::string_view PromptFileDifferences = "File Differences :";
// The editor for a definitions file when there is no internal one and none is configured.
constexpr std::string_view FallbackEditorCommand = "${VISUAL:-${EDITOR:-vi}}";

// " ^Colors".
constexpr std::string_view TitleColor = "^Color";
// A switch's (or a colour slot's) number and its label.
struct SwitchLabel {
  int number;
  std::string_view label;
};
constexpr SwitchLabel ColorSlotLabels[] = {
    {0, "^Message window"},    {1, "E^xecutable files"}, {2, "^Main window"},
    {3, "M^ain window frame"}, {4, "^Question window"},  {6, "^Error window"},
    {7, "^Pulldown frame"},    {8, "P^ulldown"},         {9, "^Act. filecursor"},
    {10, "^Select files"},     {11, "S^elect direct."},  {12, "^Normalcolor"},
    {13, "^Info window"},      {15, "^Hotkey"},          {16, "Pu^lldown line"},
    {17, "^Directories"},      {18, "^Tree window"},     {19, "Tree ^frame"},
    {20, "^Lineeditor"},       {21, "^Background"},
};
constexpr std::string_view TextDefaultColors = "^Default-colors";
constexpr std::string_view TextMonochromeColors = "M^onochrome-colors";

// " Da^rk screen" and " Prin^ter ".
constexpr std::string_view PromptIdleTime = "Time (min) :";
constexpr std::string_view TextIllegalTime = "Illegal time";
constexpr std::string_view PromptPrinterPort = "Printer Port LPT :";

// " C^lock display".
constexpr std::string_view TitleClock = " Clock display ";
constexpr std::string_view TextClockOn = "Clock on";
constexpr std::string_view TextClock24Hours = "24 hours display";
constexpr std::string_view TextClockCentre = "Position in centre";
constexpr std::string_view TextClockSeconds = "With seconds";

// " ^Confirmations": the preferences in the order the form shows them.
constexpr std::string_view TitleSeveralSettings = " Several Settings ";
constexpr SwitchLabel SeveralSettings[] = {
    {0, " Confirmation before deleting files/directories"},
    {1, " Confirmation before ending the program"},
    {2, " Confirmation before creating a directory"},
    {5, " Confirmation before overwriting existing files"},
    {6, " Refresh tree automatic without question"},
    {4, " Show readonly message on editorstart"},
    {11, " Confirmation before deleting multiple files"},
    {8, " Confirmation before deleting subdirectories"},
    {12, " Refresh filelist after command"},
    {3, " Wait after command execution on a key"},
    {7, " Create backup files in editor (*.bak)"},
    {13, " Show the pulldown in first line"},
    {14, " Delete also readonly files"},
    {16, " Overwrite readonly files"},
    {15, " Return to previous directories on startup"},
    {17, " Copy file attributes with files "},
    {18, " Show also hidden files"},
    {19, " Ignore file size during file compare "},
};

// " ^Preferences": the profiles and the user-defined one's form, each switch that of the
// command-window entry it names.
constexpr std::string_view TextProfileUserDefined = "^Userdefined";
constexpr std::string_view TitleCommandWindowSwitches = " Kommanodofenster parametrieren ";
constexpr SwitchLabel CommandWindowSwitches[] = {
    {20, "Autoview              (*)"},  {22, "Anzeigeform      (SH_F03)"},
    {23, "Maske              (mas^K)"}, {25, "Sortieren             (#)"},
    {27, "Laufwerke          (CTR^L)"}, {0, "Attribute           (^Att)"},
    {4, "Interner Editor     (^Fed)"},  {5, "Goto                 (^Go)"},
    {6, "Find Text          (f^Ind)"},  {7, "Move               (^Move)"},
    {8, "Inverse Selektion   (i^Nv)"},  {9, "Kommando            (c^Om)"},
    {10, "Quickstart          (^Qck)"}, {11, "Rename              (^Ren)"},
    {12, "Selektion           (^Sel)"}, {13, "Verzeichnisbaum    (^Tree)"},
    {14, "Deselektieren     (^Unsel)"}, {15, "View               (^View)"},
    {16, "Textverarbeitung   (^Word)"}, {17, "Ausf\x81hren           (e^Xe]"},
};

// " ^Function keys" and " ^Directories".
constexpr std::string_view TitleFunctionKeys = " Define Function Keys ";
constexpr std::string_view TextComment = "Comment :";
constexpr std::array<std::string_view, 6> FunctionKeyLabels = {
    "F05       : ", "F06       : ", "F07       : ", "F08       : ", "F09       : ", "F10       : "};
constexpr std::string_view TextNextFunctionKeys = "Next Functionkeys";
constexpr const char* FormatFunctionKeyPageShown = "Page %d of 3";
constexpr std::string_view TitleDirectories = " Define Directories ";
constexpr std::array<std::string_view, 10> DirectoryLabels = {
    "CTRL-F01  : ", "CTRL-F02  : ", "CTRL-F03  : ", "CTRL-F04  : ", "CTRL-F05  : ",
    "CTRL-F06  : ", "CTRL-F07  : ", "CTRL-F08  : ", "CTRL-F09  : ", "CTRL-F10  : "};
// "." on the panels.
constexpr std::string_view TitleChangeDirectory = " Change Directory ";
constexpr const char* FormatDirectoryItem = " ^%c  %s";

// " ^Define userpulldown": a menu file in the editor, or the entry form.
constexpr std::string_view TextEditMenuFile = " ^Edit a menu file (*.dat)";
constexpr std::string_view TextMenuEntryForm = " Anwendermen\x81 ^parametrieren";
constexpr std::string_view TitleMenuEntryForm = " Anwendermen\x81 parametrieren ";
constexpr std::string_view TextMenuTitle =
    "\x9A"
    "berschrift   : ";
constexpr std::string_view TextMenuX = "X-Position    : ";
constexpr std::string_view TextMenuY = "Y-Position    : ";
constexpr std::string_view TextMenuWidth = "Minimalbreite : ";
constexpr std::string_view TextMenuEntryNumber = "Eintrag Nr    : ";
constexpr std::string_view TextMenuDescription = "Beschreibung  : ";
constexpr std::string_view TextMenuSwap = "Programm auslagern   ? ";
constexpr std::string_view TextMenuWindow = "Im Fenster ausf\x81hren ? ";
constexpr std::string_view TextMenuCursor = "Cursor anschalten    ? ";
constexpr std::string_view TextMenuWait = "Nach Befehl warten   ? ";
constexpr std::string_view TextMenuParameter = "Parameter einlesen   ? ";
constexpr std::string_view TextMenuCommand = "Befehl : ";
constexpr std::string_view TextMenuSave = "Eintrag sichern ";
constexpr std::string_view TextMenuDelete = "Eintrag l\x94schen ";
constexpr std::string_view TextMenuNext =
    "N\x84"
    "chster Eintrag";

}  // namespace corvane
