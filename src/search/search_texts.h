// Every text the search and compare commands show.
#pragma once

#include <string_view>

namespace corvane {

// File find, directory size, recursive command.
constexpr int FoundPathChars = 45;
constexpr const char* FormatFoundTotal = "%d Files found, total size %llu Bytes";
constexpr std::string_view TextSizeTitle = " Calculating directorysize !        ";
constexpr std::string_view TextSearchPrompt = "Search :";
constexpr int SearchPromptWidth = 35;
constexpr int SearchPatternMaxLength = 80;
constexpr int CommandMaxLength = 160;
constexpr const char* FormatRecursiveCommand = "%s %s";
constexpr const char* FormatUnreadableNote = "\n? %s";

// Global list.
constexpr std::string_view TextGlobalList = "Global List";

// Text search.
constexpr std::string_view TextSearchingTitle = "Searching :";
constexpr std::string_view TextTreeSearchTitle = " Textsearch ";
constexpr std::string_view TextDirectoryLabel = "Directory  : ";
constexpr std::string_view TextRecursiveLabel = "Recursive ";
constexpr std::string_view TextShowMatchLabel = "Show match ?";
constexpr int PathMaxLength = 260;

// Compare.
constexpr std::string_view TextComparing = " Comparing ....";
constexpr std::string_view TextBinaryComparison = " Binary comparison ";
constexpr std::string_view TextOutputTo = "Output to :";
constexpr std::string_view TextConsoleOutput = "CON";
constexpr int OutputMaxLength = 260;

}  // namespace corvane
