#include "syntax/line_colours.h"

#include <algorithm>

#include "platform/charset.h"
#include "platform/screen.h"
#include "syntax/syntax_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr std::uint8_t TypePaints[] = {13, 11, 10, 14, 15, 12};  // types 0 to 5
constexpr std::uint8_t OtherTypePaint = 14;

bool sameBytes(std::string_view text, std::size_t at, std::string_view word, bool fold) {
  if (word.size() > text.size() - at) return false;
  if (!fold) return text.compare(at, word.size(), word) == 0;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (foldAscii(static_cast<unsigned char>(text[at + i])) !=
        foldAscii(static_cast<unsigned char>(word[i])))
      return false;
  return true;
}

// Where marker next occurs in text from from on (npos when it does not).
std::size_t findMarker(std::string_view text, std::string_view marker, std::size_t from,
                       bool fold) {
  if (marker.empty()) return std::string_view::npos;
  if (!fold) return text.find(marker, from);
  for (std::size_t at = from; at + marker.size() <= text.size(); ++at)
    if (sameBytes(text, at, marker, true)) return at;
  return std::string_view::npos;
}

// The first keyword of the set that matches at at, or nullptr.
const KeywordEntry* keywordAt(const KeywordSet& set, std::string_view text, std::size_t at) {
  auto first = static_cast<unsigned char>(text[at]);
  if (set.batchMode) first = foldAscii(first);
  for (const std::uint16_t index : set.byFirstByte[first]) {
    const KeywordEntry& entry = set.entries[index];
    if (!sameBytes(text, at, entry.text, set.batchMode)) continue;
    const std::size_t after = at + entry.text.size();
    const bool marker = entry.type == KeywordCommentStart || entry.type == KeywordLineComment;
    if (entry.text.size() > 1 && !marker && after < text.size() &&
        !set.isDelimiter[static_cast<unsigned char>(text[after])])
      continue;
    return &entry;
  }
  return nullptr;
}

void flushRow(const ScreenWindow& window, int row) {
  flushCells(windowScreenColumn(window, 1), windowScreenRow(window, row), windowLastColumn(window));
}

ColorAttr attrOf(std::uint8_t paint, ColorAttr normal) {
  if (paint == PaintPlain) return normal;
  if (paint == PaintHit) return color(ColorPulldown);
  return static_cast<ColorAttr>((normal & 0xF0) | paint);
}

}  // namespace

std::uint8_t paintOfType(int type) {
  if (type >= 0 && type < static_cast<int>(std::size(TypePaints)))
    return TypePaints[static_cast<std::size_t>(type)];
  if (type == KeywordSearchHit) return PaintHit;
  if (type >= KeywordCommentStart && type <= KeywordCommentEnd) return PaintPlain;
  return OtherTypePaint;
}

void paintLine(const KeywordSet& set, std::string_view text, bool& inComment,
               std::vector<std::uint8_t>& paint) {
  const std::size_t n = text.size();
  paint.assign(n, PaintPlain);
  bool comment = set.commentMode && inComment;
  std::size_t p = 0;
  if (comment) {
    const std::size_t end = findMarker(text, set.commentEnd, 0, set.batchMode);
    p = end == std::string_view::npos ? n : end + set.commentEnd.size();
    comment = end == std::string_view::npos;
  }
  while (p < n) {
    const auto byte = static_cast<unsigned char>(text[p]);
    if (byte == ' ') {
      ++p;
      continue;
    }
    if (const KeywordEntry* entry = keywordAt(set, text, p)) {
      const std::size_t after = p + entry->text.size();
      if (entry->type == KeywordCommentStart) {
        // Comments keep the line's colour: only the place where the comment ends matters.
        const std::size_t end = findMarker(text, set.commentEnd, after, set.batchMode);
        comment = end == std::string_view::npos;
        p = comment ? n : end + set.commentEnd.size();
      } else if (entry->type == KeywordLineComment) {
        p = n;
      } else {
        if (entry->type == KeywordCommentEnd) comment = false;
        std::fill(paint.begin() + static_cast<std::ptrdiff_t>(p),
                  paint.begin() + static_cast<std::ptrdiff_t>(after), paintOfType(entry->type));
        p = after;
      }
      continue;
    }
    // No keyword here: on after a delimiter, else to the next place a word can start.
    ++p;
    if (set.isDelimiter[byte]) continue;
    while (p < n && !set.isStop[static_cast<unsigned char>(text[p])]) ++p;
  }
  inComment = set.commentMode && comment;
}

void paintHits(const TextFinder& finder, std::string_view text, std::vector<std::uint8_t>& paint) {
  if (finder.size() == 0) return;
  for (std::size_t at = finder.find(text, 0); at != std::string_view::npos;
       at = finder.find(text, at + 1))
    std::fill(paint.begin() + static_cast<std::ptrdiff_t>(at),
              paint.begin() + static_cast<std::ptrdiff_t>(at + finder.size()), PaintHit);
}

CommentVerdict commentVerdict(const KeywordSet& set, std::string_view text, bool holdsStart,
                              bool holdsEnd) {
  if (!set.commentMode) return CommentVerdict::Outside;
  // The line flags speak of "/*" and "*/"; other markers are looked for in the text.
  const bool flagsTell = set.commentStart == "/*" && set.commentEnd == "*/";
  std::string_view rest = text;
  bool passedEnd = false;
  if (holdsEnd || !flagsTell) {
    const std::size_t end = text.rfind(set.commentEnd);
    if (end != std::string_view::npos) {
      rest = text.substr(end + set.commentEnd.size());
      passedEnd = true;
    }
  }
  if (holdsStart || !flagsTell) {
    const std::size_t start = rest.find(set.commentStart);
    if (start != std::string_view::npos) {
      const bool lineComment =
          !set.lineComment.empty() &&
          rest.substr(0, start).find(set.lineComment) != std::string_view::npos;
      return lineComment ? CommentVerdict::Outside : CommentVerdict::Inside;
    }
  }
  return passedEnd ? CommentVerdict::Outside : CommentVerdict::Unknown;
}

void setHighlight(std::string_view pattern, bool folded) {
  SyntaxState& state = syntaxState();
  state.highlightFinder = TextFinder(pattern, folded);
}

void drawColouredLine(std::string_view text, int row, int firstColumn, const LineLook& look,
                      bool& inComment) {
  SyntaxState& state = syntaxState();
  std::vector<std::uint8_t>& paint = state.paint;
  paintLine(*state.keywords, text, inComment, paint);
  ScreenWindow* window = currentWindow();
  if (window == nullptr || row < 1 || row > windowLastRow(*window)) return;
  const int width = windowLastColumn(*window);
  if (width <= 0) return;
  if (look.plain)
    std::fill(paint.begin(), paint.end(), PaintPlain);
  else
    paintHits(state.highlightFinder, text, paint);

  // The first character shown.
  std::size_t pos = 0;
  int column = 0, cut = 0;  // cut: cells of a wide character left of the edge
  while (pos < text.size() && column < firstColumn) {
    char32_t ch;
    const std::size_t length = decodeChar(text, pos, ch);
    const int step = look.unit == ColumnUnit::Cells ? charCells(ch) : 1;
    if (column + step > firstColumn) cut = column + step - firstColumn;
    column += step;
    if (cut == 0)
      pos += length;
    else
      break;
  }

  const bool held = holdLevel() != 0;
  if (!held) raiseHold(1);
  const ColorAttr saved = window->textColor;
  int cell = 1;
  auto write = [&](std::string_view part, ColorAttr attr) {
    if (cell > width || part.empty()) return;
    window->textColor = attr;
    writeText(part, width - cell, cell, row);
    cell += textCells(part);
  };
  if (cut > 0) {
    const ColorAttr attr = attrOf(paint[pos], look.normal);
    write(std::string(static_cast<std::size_t>(cut), ' '), attr);
    char32_t ch;
    pos += decodeChar(text, pos, ch);
  }
  while (pos < text.size() && cell <= width) {
    // One run of bytes of the same colour, whole characters.
    const std::uint8_t kind = paint[pos];
    std::size_t end = pos;
    while (end < text.size() && paint[end] == kind) {
      char32_t ch;
      end += decodeChar(text, end, ch);
    }
    write(text.substr(pos, end - pos), attrOf(kind, look.normal));
    pos = end;
  }
  window->textColor = look.normal;
  if (cell <= width) writeText({}, width - cell, cell, row, WritePad);
  window->textColor = saved;
  if (!held && lowerHold(1) == 0) flushRow(*window, row);
}

std::string delimitedWordAt(const KeywordSet& set, std::string_view text, std::size_t at) {
  auto delimiter = [&](std::size_t i) {
    return set.isDelimiter[static_cast<unsigned char>(text[i])];
  };
  if (at >= text.size() || delimiter(at)) return {};
  std::size_t begin = at, end = at;
  while (begin > 0 && !delimiter(begin - 1)) --begin;
  while (end < text.size() && !delimiter(end)) ++end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace corvane
