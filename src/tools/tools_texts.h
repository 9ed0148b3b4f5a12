// Every text split, build and printing show.
#pragma once

#include <string_view>

namespace corvane {

// Split.
constexpr std::string_view TextSplitTitle = " Define File Split ";
constexpr std::string_view TextSplitFile = "File        : ";
constexpr std::string_view TextSplitSize = "Size        : ";
constexpr std::string_view TextSplitDestination = "Destination : ";
constexpr std::string_view TextSplitFit = "Fit to Disk ? : ";
constexpr std::string_view TextSplitSizePreset = "1450000";
constexpr std::string_view TextSplitDestinationPreset = ".\\";
constexpr std::string_view TextIllegalSize = "Illegal size";
constexpr const char* FormatEnterDisk = "Enter disk in drive %c !";
constexpr const char* FormatSplitSource = "%-30s";
constexpr const char* FormatSplitPiece = ">> %-13s";
constexpr std::string_view TextSplitWriteError = "Write Error";
constexpr const char* FormatNameNotKept =
    " The name '%s' cannot be kept in a split file \n (at most 254 bytes, no ':') ";

// Build.
constexpr std::string_view TextBuildTitle = "BUILD";
constexpr std::string_view TextBuildFile = "File        : ";
constexpr std::string_view TextBuildDestination = "Destination : ";
constexpr const char* FormatSourceFileError = " Source file error '%s' ! ";
constexpr const char* FormatBuildTarget = "%-50s\n\n";
constexpr const char* FormatRestoring = "Restoring %s\nFinal size %lld Bytes";
constexpr const char* FormatEnterPieceDisk = " Enter disk with file '%s' in drive '%c'";
constexpr const char* FormatBuildShort =
    "Error ,\n%lld Bytes written, expected size : %lld Bytes,File %s";

// Both: bytes done of all.
constexpr const char* FormatBytesDone = "%lld of %lld Bytes";

// Printing.
constexpr const char* FormatPrintQuestion = "Print '%s' ? ";
constexpr std::string_view TextPrinting = " Printing... \n Canchel with ESC ";

}  // namespace corvane
