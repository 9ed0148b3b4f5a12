#include "exec/shell_words.h"

namespace corvane {
namespace {

// Characters the interpreter gives no meaning to in a word.
constexpr std::string_view SafePunctuation = "_-.,/+:@";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool safeForShell(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x80) return true;  // part of a UTF-8 character: no meaning to the shell
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return SafePunctuation.find(c) != std::string_view::npos;
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string quoteForShell(std::string_view text) {
  bool safe = true;
  for (char c : text) safe = safe && safeForShell(c);
  if (safe) return std::string(text);
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\"'\"'";
    } else {
      out += c;
    }
  }
  out += '\'';
  return out;
}

std::string unquoteShellText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char quote = 0;
  for (char c : text) {
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else {
        out += c;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else {
      out += c;
    }
  }
  return out;
}

std::string firstShellWord(std::string_view text, std::size_t* restOffset) {
  std::size_t begin = 0;
  while (begin < text.size() && isBlank(text[begin])) ++begin;
  std::size_t end = begin;
  char quote = 0;
  for (; end < text.size(); ++end) {
    char c = text[end];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (isBlank(c)) {
      break;
    }
  }
  if (restOffset != nullptr) *restOffset = end;
  return unquoteShellText(text.substr(begin, end - begin));
}

}  // namespace corvane
