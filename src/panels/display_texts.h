// Every text the panel display, the State window, the list file, the file-selection dialog
// and the drive windows show or write.
#pragma once

#include <string_view>

namespace corvane {

// Long display fields.
constexpr std::string_view TextDirectoryField = "   <DIR>";
constexpr std::string_view TextDirectoryNarrow = " <D>";
constexpr std::string_view TextDirectoryInfo = "     <DIR>";
constexpr const char* FormatSizeField = "%8llu";
// Date and time of the long display: day, month, year, hour, minute (European), or month,
// day, year, hour, minute with "a" up to 12:59 and "p" from 13:00 on.
constexpr const char* FormatDateEuropean = " %02d.%02d.%02d %02d:%02d ";
constexpr const char* FormatDateAm = " %02d-%02d-%02d %02d:%02da";
constexpr const char* FormatDatePm = " %02d-%02d-%02d %02d:%02dp";
// The same in the list file.
constexpr const char* FormatListDateEuropean = "  %02d.%02d.%02d  %02d:%02d  ";
constexpr const char* FormatListDateAm = "  %02d-%02d-%02d  %02d:%02da ";
constexpr const char* FormatListDatePm = "  %02d-%02d-%02d  %02d:%02dp ";
constexpr std::string_view AttributeLetters = "HSRA";

// Compare marks in the order they are tested: long display text, short display column
// character (code page 437), list file character.
struct CompareMarkText {
  unsigned bit;
  std::string_view longText;
  unsigned char shortChar;
  char listChar;
};
constexpr CompareMarkText CompareMarkTexts[] = {
    {0x0100, " OLD", 0x19, 'O'}, {0x0200, " NEW", 0x18, 'N'}, {0x0400, " ---", '-', '-'},
    {0x0800, " <<<", '<', '<'},  {0x1000, " >>>", '>', '>'},  {0x8000, " !!!", '!', '!'},
};
constexpr std::string_view TextNoCompareMark = "    ";

// Cursor marks of the short display (code page 437).
constexpr unsigned char CursorMarkDirectory = '+';
constexpr unsigned char CursorMarkFile = 0x11;
constexpr unsigned char CursorMarkAlternative = '#';

// Info area of the single file list.
constexpr std::string_view InfoLabels[] = {"TOTAL  FILES", " TOTAL  SIZE", "SELECT FILES",
                                           "SELECT  SIZE", "  FILESIZE",   "  DISKFREE"};
constexpr const char* FormatInfoValue = "%12s";
constexpr const char* FormatNestingLevel = "[%d]";
// Info lines of the other layouts.
constexpr const char* FormatInfoSize = "%10s";
constexpr const char* FormatInfoPair = "%6s/%-6s";
constexpr const char* FormatInfoDateEuropean = "%02d.%02d.%02d %02d:%02d";
constexpr const char* FormatInfoDateAm = "%02d-%02d-%02d %02d:%02da";
constexpr const char* FormatInfoDatePm = "%02d-%02d-%02d %02d:%02dp";

// State window.
constexpr std::string_view TextStateTitle = " State  ";
// The banner's second row; the first holds the product title.
constexpr std::string_view TextStateBanner = "  two-panel file manager";
constexpr const char* FormatStateCounts = " %d Files  , %d Directories   ";
constexpr std::string_view TextStateTotalSize = " Bytes total size ";
constexpr const char* FormatStateDirectory = " in %s";
constexpr const char* FormatStateFreeOnDrive = " Free on drive     %c:  ";
constexpr std::string_view TextStateDriveName = " Drivename          :  ";
constexpr std::string_view TextStateFileSystem = " Filesystem         :  ";
constexpr std::string_view TextStateFreeMemory = " Free Memory ";
// File-system names by class 0..6; above 6 "UNKNOWN".
constexpr std::string_view FileSystemNames[] = {"    ", "FAT",     "HPFS", "NFS",
                                                "CDFS", "NETWARE", "VFAT"};
constexpr std::string_view TextFileSystemUnknown = "UNKNOWN";

// Write filelist.
constexpr std::string_view TextListFilePrompt = " Filename : ";
constexpr std::string_view TextListFileName = "_CV_.LST";
constexpr const char* FormatListName = "\n%s";  // the name, padded to ListNameCells cells
constexpr int ListNameCells = 15;
constexpr int ListPathCells = 25;  // full paths of the global list in a long display
constexpr const char* FormatListFileOpenError = "File open error %s \n";

// File-selection dialog.
constexpr std::string_view TextFileDialogKeys =
    " <TAB for filename> <SPACE> <Mas^k> <CTR^L-Key> <ESC>";
constexpr std::string_view TextMaskPrompt = "Mask :";

// Drive windows.
// A drive that is needed cannot be read.
constexpr std::string_view TextDriveNotReady = "Drive not ready";
constexpr std::string_view TextDriveInformationTitle = " Drive Information ";
constexpr const char* FormatDriveInformationLine = "[%c:],'%12s',F:%10s,T:%10s,[%s]\n";

}  // namespace corvane
