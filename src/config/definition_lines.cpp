#include "config/definition_lines.h"

#include "platform/charset.h"
#include "platform/paths.h"

namespace corvane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

constexpr char SectionLetter = 'F';
constexpr char SectionMark = '>';

bool isWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

bool readDefinitionLine(std::FILE* file, std::size_t limit, DefinitionLine& line) {
  line.text.clear();
  line.tooLong = false;
  line.hasNul = false;
  bool any = false;
  std::size_t length = 0;  // bytes of the line, also beyond what is kept
  for (int c; (c = std::getc(file)) != EOF;) {
    any = true;
    if (c == '\n') break;
    if (c == '\0') line.hasNul = true;
    // One byte more than the limit is kept: it may be the CR of a CR LF.
    if (length <= limit) line.text.push_back(static_cast<char>(c));
    ++length;
  }
  if (!any) return false;
  ++line.number;
  if (!line.text.empty() && line.text.back() == '\r' && length == line.text.size()) {
    line.text.pop_back();
    --length;
  }
  if (length > limit) {
    line.tooLong = true;
    line.text.resize(fittingPrefix(line.text, limit));
  }
  return true;
}

std::string_view skipBlanks(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  return text.substr(start);
}

std::string_view trimDefinition(std::string_view text) {
  text = skipBlanks(text);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isCommentOrBlank(std::string_view text) {
  text = skipBlanks(text);
  return text.empty() || text.front() == '#';
}

std::string shownLine(std::string_view text) {
  if (text.size() <= ShownLineBytes) return std::string(text);
  std::string shown(text.substr(0, fittingPrefix(text, ShownLineBytes)));
  shown += "...";
  return shown;
}

std::string_view lastExtensionOf(std::string_view name) {
  const std::size_t separator = name.find_last_of("\\/");
  if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool opensSection(std::string_view line) {
  return line.size() >= 2 && line[0] == SectionLetter && line[1] == SectionMark;
}

bool endsSection(std::string_view line) {
  const std::size_t mark = line.find(SectionMark);
  return mark != std::string_view::npos && mark > 0 && line[mark - 1] == SectionLetter;
}

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

}  // namespace corvane
