// Directory and file compare: every file of one list looked up by name in another and the
// result written into its mark word (Mark* compare bits, shown as " OLD", " NEW", " ---",
// " <<<", " >>>", " !!!"), by time stamp and size or by contents. Every difference also
// selects the file. A compare replaces the compare bits of an earlier one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "actions/command_context.h"
#include "actions/selected_files.h"
#include "panels/file_list.h"

namespace corvane {

// The files of a list by name: a counterpart is the file of exactly the same name, else one
// whose name differs only in the case of A-Z ("Makefile" and "makefile" both listed are two
// files). Directories and ".." are not files.
class NameIndex {
 public:
  NameIndex() = default;
  explicit NameIndex(const FileList& list);
  NodeId find(std::string_view name) const;

 private:
  std::unordered_map<std::string, NodeId> exact_;
  std::unordered_map<std::string, NodeId> folded_;
};

// How the contents of two files compare.
enum class ContentComparison { Equal, Differ, FirstOpenFailed, SecondOpenFailed, ReadFailed };

// Reads both files (regular files only) in blocks of 32768 bytes up to the first difference
// in length or bytes; never loads a whole file.
ContentComparison compareContents(std::string_view first, std::string_view second);

// compareContents with its failures reported ("File open error %s \n", "Read error"): true
// when the contents differ or could not be compared.
bool filesDiffer(std::string_view first, std::string_view second);

// The compare bits of a file a against its counterpart b by time stamp and size: 0 when size,
// date and time are equal (or date and time are, with ignoreSize), else MarkSelected and one
// of NEW (b older), OLD (b newer), ">>>" (a larger), "<<<".
std::uint32_t stampDifference(const FileEntry& a, const FileEntry& b, bool ignoreSize);

// Marks the files of first against second (full directories of each given for the contents):
// no counterpart " ---"; binary: " !!!" or equal; else the time-stamp rule. Directories and
// ".." keep their marks. takeMarks: the binary second pass, which copies each counterpart's
// mark word instead of reading the contents again. Esc asks " Cancel operation ? "; false
// when "Y" stopped it.
bool markDifferences(FileList& first, std::string_view firstDirectory, const FileList& second,
                     std::string_view secondDirectory, bool binary, bool takeMarks);

// 4136 and 4147 (binary): the two panels of the two-list layout compared both ways; nothing
// elsewhere.
int compareDirectoriesCommand(CommandContext& context, CommandId code);

// Operation 10 (4104): the selected files against the files of the same name in a
// destination directory, after " Binary comparison ".
int prepareCompareFiles(SelectedFilesRun& run);
int compareSelectedFile(SelectedFilesRun& run, SelectedFile& file);
void finishCompareFiles(SelectedFilesRun& run);

// Operation 11 (4105): the configured "File Differences :" program on each selected entry
// and its namesake in the destination, its output to the terminal ("CON") or appended to a
// file, in order.
int prepareFileDifferences(SelectedFilesRun& run);
int fileDifferencesFor(SelectedFilesRun& run, SelectedFile& file);
void finishFileDifferences(SelectedFilesRun& run);

}  // namespace corvane
