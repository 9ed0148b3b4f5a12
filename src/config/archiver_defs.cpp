#include "config/archiver_defs.h"

#include <algorithm>

#include "config/definition_lines.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/textf.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

constexpr char SectionLetter = 'F';
constexpr char KeywordMark = '>';

// The extension of the last component of a name: after its last dot, "" when none.
std::string_view extensionOf(std::string_view name) {
  const std::size_t separator = name.find_last_of("\\/");
  if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool isWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether the extension equals a word of a section's list.
bool sectionApplies(std::string_view list, std::string_view extension) {
  if (extension.empty()) return false;
  for (std::size_t i = 0; i < list.size();) {
    if (!isWordCharacter(list[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < list.size() && isWordCharacter(list[end])) ++end;
    if (sameName(list.substr(i, end - i), extension)) return true;
    i = end;
  }
  return false;
}

bool opensSection(std::string_view line) {
  return line.size() >= 2 && line[0] == SectionLetter && line[1] == KeywordMark;
}

bool endsSection(std::string_view line) {
  const std::size_t mark = line.find(KeywordMark);
  return mark != std::string_view::npos && mark > 0 && line[mark - 1] == SectionLetter;
}

bool isKeywordError(std::string_view line) {
  return line.size() >= 2 && line[1] == KeywordMark && line[0] != SectionLetter;
}

std::string lineError(const DefinitionLine& line) {
  return textf(FormatArchiverLineError, line.number, shownLine(line.text).c_str());
}

std::size_t limitOf(int definition) {
  return definition <= ArchiverUnpacker ? ArchiverProgramLimit : ArchiverOptionLimit;
}

}  // namespace

bool readArchiverDefs(std::string_view definitionsPath, std::string_view archiveName,
                      ArchiverDefs& defs, std::vector<std::string>& problems) {
  defs = ArchiverDefs{};
  FileHandle file;
  if (!openRegularFile(definitionsPath, file)) {
    problems.push_back(textf(FormatArchiverFileMissing, std::string(definitionsPath).c_str()));
    return false;
  }
  const std::string_view extension = extensionOf(archiveName);
  bool inSection = false, maximumShown = false;
  DefinitionLine line;
  while (readDefinitionLine(file.get(), ArchiverLineLimit, line)) {
    if (line.tooLong || line.hasNul) {
      problems.push_back(lineError(line));
      continue;
    }
    if (isCommentOrBlank(line.text)) continue;
    if (inSection) {
      if (endsSection(line.text)) break;  // one section is read
      const int index = defs.count++;
      if (index >= ArchiverDefinitionCount) {
        if (!maximumShown)
          problems.push_back(textf(FormatArchiverMaximum, ArchiverDefinitionCount));
        maximumShown = true;
        continue;
      }
      const std::string_view text = skipBlanks(line.text);
      if (text.size() > limitOf(index)) {
        problems.push_back(lineError(line));  // its place stays empty
        continue;
      }
      defs.definitions[static_cast<std::size_t>(index)] = trimDefinition(text);
    } else if (opensSection(line.text)) {
      inSection = defs.found = sectionApplies(line.text.substr(2), extension);
    } else if (isKeywordError(line.text)) {
      problems.push_back(lineError(line));
    }
  }
  defs.count = std::min(defs.count, ArchiverDefinitionCount);
  return true;
}

std::string archiverDefsPath() {
  const std::string& setupPath = loadedSetupPath();
  return setupPath.empty() ? std::string() : siblingPath(setupPath, ArchiverDefinitionsExtension);
}

ArchiverDefs loadArchiverDefs(std::string_view archiveName) {
  ArchiverDefs defs;
  std::vector<std::string> problems;
  const std::string path = archiverDefsPath();
  if (path.empty()) {
    messageBox(textf(FormatArchiverFileMissing, std::string(ArchiverDefinitionsExtension).c_str()));
    return defs;
  }
  readArchiverDefs(path, archiveName, defs, problems);
  for (const std::string& problem : problems) messageBox(problem);
  return defs;
}

int archiveTypeByExtension(std::string_view fileName) {
  const std::string_view extension = extensionOf(fileName);
  struct Known {
    std::string_view extension;
    ArchiveType type;
  };
  static constexpr Known Types[] = {{"zip", ArchiveZip},
                                    {"lha", ArchiveLzh},
                                    {"lzh", ArchiveLzh},
                                    {"zoo", ArchiveZoo},
                                    {"arj", ArchiveArj}};
  for (const Known& known : Types)
    if (sameName(extension, known.extension)) return known.type;
  return ArchiveNone;
}

int archiveTypeOf(std::string_view fileName) {
  if (extensionOf(fileName).empty()) return ArchiveNone;
  const int type = archiveTypeByExtension(fileName);
  if (type == ArchiveNone) messageBox(TextArchiveTypeUnknown);
  return type;
}

std::string formatDosTime(std::uint16_t time) {
  return textf("%2.2d:%02d", time >> 11, (time >> 5) & 0x3F);
}

std::string formatDosDate(std::uint16_t date) {
  return textf("%2.2d.%02d.%4d", date & 0x1F, (date >> 5) & 0x0F, 1980 + (date >> 9));
}

}  // namespace corvane
