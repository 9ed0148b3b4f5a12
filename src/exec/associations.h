// Extension associations: the text file beside the setup file (extension ".pre") that names
// a command for each kind of file, and the check that a configured program exists.
//
// Format: one association per line, at most AssociationLineLimit characters (the rest of a
// longer line is not read). Blank lines and lines whose first non-blank character is "#"
// are skipped. Any other line holds a mask (its first word, up to a blank or tab) and a
// command (the rest, blanks removed at both ends; it may be empty). The mask, lower-cased,
// is matched with the panel mask rules against the file's extension: the text after the
// last dot of its name, empty when there is none. The first matching line wins; only the
// first AssociationLinesConsidered lines that are not skipped are looked at.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

constexpr std::string_view AssociationsFallbackPath = "C:\\CV.pre";
constexpr std::size_t AssociationLineLimit = 300;
constexpr int AssociationLinesConsidered = 39;

// Results of findAssociation.
constexpr int AssociationFound = 1;
constexpr int AssociationNone = 0;
constexpr int AssociationNoFile = -1;

// The associations file: named like the setup file (as stored in the setup block) with the
// extension ".pre", AssociationsFallbackPath when there is no setup file.
std::string associationsFilePath();

// The command of the first matching line: AssociationFound with command set,
// AssociationNone when no line matches, AssociationNoFile when the file cannot be opened.
int findAssociation(std::string_view fileName, std::string& command);
// The same over a given associations file (a program path).
int findAssociationIn(std::string_view associationsPath, std::string_view fileName,
                      std::string& command);

// 0 when the first word of the command names an executable file (a word without "/" is
// looked up on PATH, as the interpreter does; a relative one is taken from the current
// directory); otherwise shows "Command '%s' not executable,\nPlease check the syntax !"
// with the word and returns 1.
int checkCommand(std::string_view command);

}  // namespace corvane
