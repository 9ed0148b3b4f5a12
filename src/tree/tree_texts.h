// Every text the directory tree shows or writes.
#pragma once

#include <string_view>

namespace corvane {

// Scanning.
constexpr std::string_view TextReadingTree = " Reading directory tree";
constexpr const char* FormatReadingDirectoryNumber = " Reading directory nr. %d";
constexpr const char* FormatCantChange = "Cant change to %s";

// The cache and the tree text file.
constexpr const char* FormatTreeFileOpenError = "File open error %s \n";
constexpr std::string_view TextTreeFilePrompt = " Filename : ";
constexpr std::string_view TextTreeTextFileName = "_cv_.tre";
constexpr const char* FormatTreeCacheName = "CS_%c.TRE";
// The host directory the drive letter stood for when the cache was written, beside it.
constexpr const char* FormatTreeMapName = "CS_%c.MAP";

// The window.
constexpr std::string_view TextDirectoryAccessError = " Directory access error ";
constexpr const char* FormatReadTreeQuestion = " %s, Read Tree  ? ";
constexpr const char* FormatTreeSearch = "Search: %-15s";
constexpr std::string_view TextTreeHelpLine =
    "CTRL_^A-^Z  ^a-^z  F2=Make F3=Read F4=Search Cursor PAGE \u2191\u2193 DEL RET ESC + - *";
constexpr std::string_view TreeKeyBarText =
    " ^1Help   ^2       ^3Read  ^4Search^5Expand^6Collaps ^7MkDir  ^8Delete  ^9PullDn  ^1^0    ";
constexpr std::string_view TextDirnamePrompt = "Dirname :";
// The host's root holds the system itself: its subdirectories are never deleted from here.
constexpr std::string_view TextHostRootNotDeleted =
    " The directories below the system's root are not deleted ";

}  // namespace corvane
