#include "syntax/keywords.h"

#include "config/definition_lines.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "platform/paths.h"
#include "platform/textf.h"
#include "syntax/syntax_state.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

constexpr int TypeLimit = 255;
constexpr std::string_view BatchExtensions[] = {"BAT", "CMD", "sys"};
constexpr std::string_view CommentExtensions[] = {"C", "H", "HPP", "HXX", "CPP", "CXX"};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The type after the ',': decimal digits after blanks; -1 when there are none or the value
// lies outside 0 to 255.
int typeNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  int value = 0;
  const std::size_t first = at;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > TypeLimit) return -1;
  }
  return at == first ? -1 : value;
}

bool extensionIn(std::string_view extension, std::span<const std::string_view> list) {
  for (std::string_view known : list)
    if (sameName(extension, known)) return true;
  return false;
}

}  // namespace

KeywordSet::KeywordSet() { indexKeywords(*this); }

void indexKeywords(KeywordSet& set) {
  set.isDelimiter.fill(false);
  for (char c : set.delimiters) set.isDelimiter[static_cast<unsigned char>(c)] = true;
  set.isStop = set.isDelimiter;
  for (const std::string* marker : {&set.commentStart, &set.lineComment})
    if (!marker->empty()) set.isStop[static_cast<unsigned char>(marker->front())] = true;
  for (auto& list : set.byFirstByte) list.clear();
  for (std::size_t i = 0; i < set.entries.size(); ++i) {
    auto first = static_cast<unsigned char>(set.entries[i].text.front());
    if (set.batchMode) first = foldAscii(first);
    set.byFirstByte[first].push_back(static_cast<std::uint16_t>(i));
  }
}

void addKeywordLine(KeywordSet& set, std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && isBlank(line[at])) ++at;
  if (at == line.size()) return;
  const std::size_t start = at;
  if (line[at] == ',') ++at;  // a comma as the keyword's first character
  while (at < line.size() && !isBlank(line[at]) && line[at] != ',') ++at;
  const std::string_view word = line.substr(start, at - start);
  while (at < line.size() && isBlank(line[at])) ++at;
  if (at == line.size() || line[at] != ',') return;
  const int type = typeNumber(line.substr(at + 1));
  if (type < 0) return;
  if (static_cast<int>(set.entries.size()) >= KeywordLimit) {
    set.maximumPassed = true;
    return;
  }
  set.entries.push_back(KeywordEntry{std::string(word), type});
  if (word.size() == 1 && set.delimiters.size() < DelimiterLimit) set.delimiters += word;
  if (type == KeywordCommentStart) set.commentStart = word;
  if (type == KeywordLineComment) set.lineComment = word;
  if (type == KeywordCommentEnd) set.commentEnd = word;
}

void applyExtensionModes(KeywordSet& set, std::string_view fileName) {
  const std::string_view extension = lastExtensionOf(fileName);
  set.batchMode = !extension.empty() && extensionIn(extension, BatchExtensions);
  set.commentMode = !extension.empty() && extensionIn(extension, CommentExtensions) &&
                    !set.commentStart.empty() && !set.commentEnd.empty();
}

KeywordSet readKeywordFile(std::string_view path, std::string_view fileName) {
  KeywordSet set;
  const std::string_view extension = lastExtensionOf(fileName);
  FileHandle file;
  if (!extension.empty() && !path.empty() && openRegularFile(path, file)) {
    bool inSection = false;
    DefinitionLine line;
    while (readDefinitionLine(file.get(), KeywordLineLimit, line)) {
      if (line.hasNul) continue;
      if (!inSection) {
        inSection = opensSection(line.text) && sectionApplies(line.text.substr(2), extension);
        continue;
      }
      if (endsSection(line.text)) break;
      addKeywordLine(set, line.text);
    }
  }
  applyExtensionModes(set, fileName);
  indexKeywords(set);
  return set;
}

std::string keywordFilePath() {
  const std::string& setupPath = loadedSetupPath();
  return setupPath.empty() ? std::string() : siblingPath(setupPath, KeywordExtension);
}

void loadKeywords(std::string_view fileName) {
  SyntaxState& state = syntaxState();
  const std::string path = keywordFilePath();
  std::optional<KeywordFileStamp> stamp;
  if (FindRecord record; !path.empty() && findEntry(path, record))
    stamp = KeywordFileStamp{path,         std::string(lastExtensionOf(fileName)),
                             record.size,  record.device,
                             record.inode, record.date,
                             record.time};
  const bool cached = stamp && stamp == state.cachedStamp;
  if (!cached) {
    state.cachedSet = std::make_shared<const KeywordSet>(readKeywordFile(path, fileName));
    state.cachedStamp = stamp;
  }
  state.keywords = state.cachedSet;
  state.loaded = true;
  state.loadedFor = std::string(fileName);
  if (!cached && state.keywords->maximumPassed)
    messageBox(textf(FormatKeywordMaximum, KeywordLimit));
}

void freeKeywords() {
  SyntaxState& state = syntaxState();
  state.keywords = std::make_shared<const KeywordSet>();
  state.loaded = false;
  state.loadedFor.clear();
}

const KeywordSet& keywords() { return *syntaxState().keywords; }

}  // namespace corvane
