#include "config/definition_lines.h"

#include "platform/charset.h"

namespace corvane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

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

}  // namespace corvane
