// Lines of the plain-text definitions files beside the setup file (archivers, user menus):
// read one at a time without their line end, with a limit a line must keep to.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace corvane {

struct DefinitionLine {
  std::string text;      // without LF or CR LF; at most limit bytes
  int number = 0;        // counted from 1
  bool tooLong = false;  // longer than the limit: text holds its start only
  bool hasNul = false;   // holds a zero byte (no command or name can carry one)
};

// Reads the next line into line (the number counts on). A line longer than limit is read
// to its end and flagged, never split into a second line. False at the end of the file.
bool readDefinitionLine(std::FILE* file, std::size_t limit, DefinitionLine& line);

// Blanks and tabs removed at the start, and at both ends.
std::string_view skipBlanks(std::string_view text);
std::string_view trimDefinition(std::string_view text);

// A line that holds nothing to read: blank, or a "#" as its first non-blank character.
bool isCommentOrBlank(std::string_view text);

// A line as a message shows it: at most ShownLineBytes bytes (cut at a character), "..."
// after a cut.
constexpr std::size_t ShownLineBytes = 60;
std::string shownLine(std::string_view text);

// Sections of a definitions file, one per group of file extensions.
// The extension of the last component of a name: after its last dot, "" when none.
std::string_view lastExtensionOf(std::string_view name);
// A line that opens a section: "F>" at its start, the list of extensions after it.
bool opensSection(std::string_view line);
// A line that ends a section: its first ">" stands directly after an "F".
bool endsSection(std::string_view line);
// Whether the extension equals a whole word of a section's list (words are runs of ASCII
// letters and digits; letters compare in any case).
bool sectionApplies(std::string_view list, std::string_view extension);

}  // namespace corvane
