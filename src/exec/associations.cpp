#include "exec/associations.h"

#include <cstdio>

#include "config/definition_lines.h"
#include "config/setup_block.h"
#include "config/setup_path.h"
#include "exec/exec_texts.h"
#include "exec/shell_words.h"
#include "panels/mask.h"
#include "platform/charset.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/textf.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

constexpr char CommentMark = '#';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads one line without its line end (LF or CR LF), keeping at most AssociationLineLimit
// bytes cut before a character that would be split; the rest of a longer line is skipped,
// so that it is never read as a line of its own. False at the end of the file.
bool readAssociationLine(std::FILE* file, std::string& line) {
  line.clear();
  bool any = false;
  for (int ch; (ch = std::getc(file)) != EOF;) {
    any = true;
    if (ch == '\n') break;
    if (line.size() <= AssociationLineLimit) line.push_back(static_cast<char>(ch));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > AssociationLineLimit) {
    std::size_t end = 0;
    while (end < line.size()) {
      char32_t codePoint;
      const std::size_t next = end + decodeChar(line, end, codePoint);
      if (next > AssociationLineLimit) break;
      end = next;
    }
    line.resize(end);
  }
  return any;
}

}  // namespace

std::string associationsFilePath() {
  std::string_view setupPath = setupBlock().setupPath.text();
  if (setupPath.empty()) return std::string(AssociationsFallbackPath);
  return siblingPath(setupPath, AssociationsExtension);
}

int findAssociation(std::string_view fileName, std::string& command) {
  return findAssociationIn(associationsFilePath(), fileName, command);
}

int findAssociationIn(std::string_view associationsPath, std::string_view fileName,
                      std::string& command) {
  FileHandle file = openFile(associationsPath, "rb");
  if (!file) return AssociationNoFile;
  const std::string_view extension = lastExtensionOf(fileName);
  std::string line;
  for (int counted = 0;
       counted < AssociationLinesConsidered && readAssociationLine(file.get(), line);) {
    std::string_view text = trimBlanks(line);
    if (text.empty() || text.front() == CommentMark) continue;
    ++counted;
    std::size_t maskEnd = 0;
    while (maskEnd < text.size() && !isBlank(text[maskEnd])) ++maskEnd;
    if (!maskMatches(foldCase(text.substr(0, maskEnd)), extension)) continue;
    command = trimBlanks(text.substr(maskEnd));
    return AssociationFound;
  }
  return AssociationNone;
}

int checkCommand(std::string_view command) {
  const std::string word = firstShellWord(command);
  if (findExecutable(word, currentDirectory())) return 0;
  messageBox(textf(exec_text::NotExecutableFormat, word.c_str()));
  return 1;
}

}  // namespace corvane
