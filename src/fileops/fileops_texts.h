// Every text the file operations show.
#pragma once

#include <string_view>

namespace corvane {

// Destination dialog, make directory, create path.
constexpr std::string_view TextDestination = "Destination :";
constexpr std::string_view TextCreatePathPrompt = "Create path :";
constexpr std::string_view TextAccessCritical = "Access kritisch";
constexpr const char* FormatErrorInName = "\nError in name %s";
constexpr const char* FormatCreatePathQuestion = "Create path '%s' ? ";
constexpr const char* FormatDirectoryExists = "\nDirectory %s exists ";
constexpr const char* FormatCriticalCreating = "\nCritical error creating directory %s";
constexpr const char* FormatErrorCreating = "\nError creating directory %s";

// Copy engine.
constexpr const char* FormatFileOpenError = "File open error %s \n";
constexpr std::string_view TextWriteError = " Write error ! ";
constexpr const char* FormatIdentical = "Source and Destination are identical !\n%s";
constexpr std::string_view TextReadError = "Read error";
constexpr const char* FormatDiskFull = " Disk %c: full !";
constexpr const char* FormatReadonly = " File '%s' is readonly ! ";
constexpr std::string_view TextOverwriteButtons =
    "   < ^Skip >   < ^All >   < ^Cancel >   <^Yes >   < ^No   >";
constexpr const char* FormatCopyFileQuestion = " Copy File : %-30s %lld %02d.%02d.%02d %02d:%02d ?";
constexpr const char* FormatFileExistsContinue =
    " FILE EXISTS : %-30s %lld %02d.%02d.%02d %02d:%02d\n Continue execution ?";
constexpr const char* FormatFileExistsCopy =
    " FILE EXISTS !, Copy file ? \n\n Source : %-35s %lld %02d.%02d.%02d %02d:%02d\n"
    " Dest.  : %-35s %lld %02d.%02d.%02d %02d:%02d";
constexpr const char* FormatProgressFile = "Source: %-30s  %-12lld Bytes\n Dest  : %-60s";
constexpr const char* FormatRetry = "Retry %d";
constexpr const char* FormatNewDisk = "Enter a new Disk in drive %c:  ? ";
constexpr const char* FormatExtractError = "Error extracting file %s ";

// Copy, move and delete commands.
constexpr std::string_view TextNewName = "New name :";
constexpr std::string_view TextMask = "Mask :";
constexpr std::string_view TextCopySubdirectories = " Copy with subdirectories ? ";
constexpr std::string_view TextGenerateDirectories = "Generate Directories ?";
constexpr std::string_view TextCyclicalCopy = "Cyclical copy not possibel ! ";
constexpr const char* FormatCyclicalPaths = "%s -> %s";
constexpr const char* FormatMoveError = "MOVE ERROR %s -> %s\n R:%d,E:%s";
constexpr const char* FormatFileNotDeleted = "\nError : File %s not deleted !";
constexpr const char* FormatDirectoryNotDeleted = "\nError : Dir  %s not deleted !";
constexpr const char* FormatSubmove = "Submove %s -> %s";
constexpr const char* FormatRenamePrompt = " Rename File : %-13s\n New Name    : ";
constexpr const char* FormatRenameError = "Rename Error  %s -> %s ";
constexpr const char* FormatDeleteQuestion = " Delete ' %s ' ? ";
constexpr std::string_view TextAllSelectedFiles = "all selected Files";
constexpr const char* FormatDeleteBelow = " Delete all directories below '%s' ? ";
constexpr const char* FormatDeleteAttention =
    " ATTENTION, ALL FILES AND DIRECTORIES BELOW '%s' WILL BE DELETED !";
constexpr const char* FormatFilesDeleted = " %d Files deleted ";
constexpr const char* FormatDirectoriesDeleted = " %d Directories deleted ! ";
constexpr const char* FormatDeleteSummary = "%d Files and %d Directories deleted !";
constexpr std::string_view TextContinue = " Continue ? ";

// Titles of the selected-files loop's status line.
constexpr std::string_view TextCopyTitle = "Copy ";
constexpr std::string_view TextMoveTitle = "Move ";
constexpr std::string_view TextDeleteTitle = "Delete ";

}  // namespace corvane
