// The archiver definitions file beside the setup file (extension ".ASE"): for each kind of
// archive, the programs that pack and unpack it and their options; and the archive type a
// file's extension gives.
//
// Format (lines of at most ArchiverLineLimit bytes):
//   - blank lines and lines whose first non-blank character is "#" are skipped;
//   - "F>" at the start of a line opens a section for the extensions listed after it
//     ("F> zip jar"); the list is split at every character that is not a letter or digit,
//     and a section applies when the archive's extension (after the last ".") equals one of
//     its words, without regard to case;
//   - before the section that applies, a line with ">" as its second character and no "F"
//     before it is an error;
//   - inside that section every further line, without its leading blanks, is the next
//     definition, in the order of ArchiverDefinition; the section ends at the next line whose
//     first ">" follows an "F".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The definitions of a section, in order. A definition "-" names no program.
enum ArchiverDefinition : int {
  ArchiverPacker = 0,          // program that packs (runs with 2, 3 or 5 as its options)
  ArchiverUnpacker = 1,        // program that unpacks (runs with 4)
  ArchiverAddOptions = 2,      // packer options that add files
  ArchiverDeleteOptions = 3,   // packer options that delete members
  ArchiverExtractOptions = 4,  // unpacker options that extract (all members when none named)
  ArchiverAddTreeOptions = 5,  // packer options that add directories with their contents
  // 6 and 7 are read and kept; nothing uses them.
};
constexpr int ArchiverDefinitionCount = 8;
// The most bytes a definition holds: the two programs, and each set of options.
constexpr std::size_t ArchiverProgramLimit = 259;
constexpr std::size_t ArchiverOptionLimit = 49;
constexpr std::size_t ArchiverLineLimit = 199;

struct ArchiverDefs {
  std::array<std::string, ArchiverDefinitionCount> definitions;
  int count = 0;       // definition lines taken (an over-long one leaves its place empty)
  bool found = false;  // a section applies to the archive
  const std::string& operator[](ArchiverDefinition which) const {
    return definitions[static_cast<std::size_t>(which)];
  }
};

// Messages of the reader.
constexpr const char* FormatArchiverLineError = "Error in line %d, '%s'";
constexpr const char* FormatArchiverMaximum = "Maximum %d Definitions";
constexpr const char* FormatArchiverFileMissing = "File %s fehlt";

// Reads the definitions for an archive from a definitions file (a program path) without
// showing anything: every problem is added to problems as the text of its message, in the
// order found (a bad line once, the maximum once, a missing file). Returns false when the
// file could not be read (it is missing, or not a regular file).
bool readArchiverDefs(std::string_view definitionsPath, std::string_view archiveName,
                      ArchiverDefs& defs, std::vector<std::string>& problems);

// The definitions for an archive from the file beside the setup file, each problem shown in
// a message box. Empty definitions when there is no setup file or no applying section.
ArchiverDefs loadArchiverDefs(std::string_view archiveName);
// The definitions file beside the setup file ("" without a setup file).
std::string archiverDefsPath();

// Archive types by extension.
enum ArchiveType : int {
  ArchiveNone = 0,
  ArchiveZip = 1,
  ArchiveLzh = 2,
  ArchiveZoo = 3,
  ArchiveArj = 4,
};
constexpr std::string_view TextArchiveTypeUnknown = "Archive type unknown ";
// ".zip" 1, ".lha" and ".lzh" 2, ".zoo" 3, ".arj" 4, any case. A name without extension is
// 0; any other extension is 0 after "Archive type unknown ".
int archiveTypeOf(std::string_view fileName);
// The same without the message: 0 for every other name.
int archiveTypeByExtension(std::string_view fileName);

// DOS time and date as the file details show them: "%2.2d:%02d" (hours, minutes) and
// "%2.2d.%02d.%4d" (day, month, year).
std::string formatDosTime(std::uint16_t time);
std::string formatDosDate(std::uint16_t date);

}  // namespace corvane
