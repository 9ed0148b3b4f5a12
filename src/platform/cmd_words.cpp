#include "platform/cmd_words.h"

namespace corvane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Bytes that mean nothing to cmd.exe outside quotes (nor to the C runtime's argument reader).
bool safeForCmd(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x80) return true;  // part of a UTF-8 character
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("_-.\\/:+@~#$'[]{}").find(c) != std::string_view::npos;
}

// The text between double quotes. A "%" is written outside them (closed before, opened again
// after); a double quote of the text becomes a closing and an opening one, which leaves the
// quote open for the rest (the quote itself is lost: see cmdWordProblem); every run of
// backslashes before a quote we write, or before the one that follows (quoteFollows), is
// doubled, so that the C runtime does not read the quote as escaped.
std::string quotedBody(std::string_view text, bool closeAtEnd, bool quoteFollows) {
  std::string out;
  std::size_t backslashes = 0;
  const auto closeQuote = [&out, &backslashes] {
    out.append(backslashes, '\\');
    out += '"';
    backslashes = 0;
  };
  for (char c : text) {
    if (c == '%' || c == '"') {
      closeQuote();
      if (c == '%') out += c;
      out += '"';
      continue;
    }
    out += c;
    backslashes = c == '\\' ? backslashes + 1 : 0;
  }
  if (closeAtEnd) {
    closeQuote();
  } else if (quoteFollows) {
    out.append(backslashes, '\\');
  }
  return out;
}

}  // namespace

CmdScan scanCmdText(std::string_view text) {
  CmdScan scan;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (scan.inQuote) {
      if (c == '"') scan.inQuote = false;
    } else if (c == '^') {
      if (i + 1 < text.size()) {
        ++i;
      } else {
        scan.caretPending = true;
      }
    } else if (c == '"') {
      scan.inQuote = true;
    } else if (c == ';') {
      scan.separators.push_back(i);
    }
  }
  return scan;
}

std::string cmdWordAt(std::string_view before, std::string_view text, std::string_view after) {
  const CmdScan scan = scanCmdText(before);
  const bool quoteFollows = after.starts_with('"');
  if (scan.inQuote) return quotedBody(text, false, quoteFollows);
  bool safe = true;
  for (char c : text) safe = safe && safeForCmd(c);
  if (safe) {
    std::string out(text);
    const std::size_t last = text.find_last_not_of('\\');
    if (quoteFollows) out.append(last == std::string_view::npos ? text.size() : text.size() - last - 1, '\\');
    return out;
  }
  // A "^" before would make our opening quote literal: it escapes a blank instead. (A caret
  // of ours would not do: not every cmd.exe reads "^^" as one.)
  std::string out = scan.caretPending ? " \"" : "\"";
  out += quotedBody(text, true, quoteFollows);
  return out;
}

CmdWordProblem cmdWordProblem(std::string_view text, bool readAgain) {
  for (char c : text) {
    if (c == '"') return CmdWordProblem::Quote;
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return CmdWordProblem::Control;
  }
  if (readAgain && text.find('%') != std::string_view::npos) return CmdWordProblem::Percent;
  return CmdWordProblem::None;
}

std::string unquoteCmdText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool inQuote = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::size_t run = 0;
    while (text.substr(i + run).starts_with('\\')) ++run;
    if (run > 0 && run % 2 == 0 && text.substr(i + run).starts_with('"')) {
      // Doubled before a quote, as cmdWordAt writes them for the C runtime.
      out.append(run / 2, '\\');
      i += run - 1;
    } else if (c == '"') {
      inQuote = !inQuote;
    } else if (!inQuote && c == '^' && i + 1 < text.size()) {
      out += text[++i];
    } else {
      out += c;
    }
  }
  return out;
}

std::string firstCmdWord(std::string_view text, std::size_t* restOffset) {
  std::size_t begin = 0;
  while (begin < text.size() && isBlank(text[begin])) ++begin;
  std::size_t end = begin;
  bool inQuote = false;
  for (; end < text.size(); ++end) {
    const char c = text[end];
    if (c == '"') {
      inQuote = !inQuote;
    } else if (!inQuote && c == '^' && end + 1 < text.size()) {
      ++end;
    } else if (!inQuote && isBlank(c)) {
      break;
    }
  }
  if (restOffset != nullptr) *restOffset = end;
  return unquoteCmdText(text.substr(begin, end - begin));
}

}  // namespace corvane
