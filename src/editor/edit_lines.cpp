// Cursor movement and the commands on lines.
#include <algorithm>

#include "editor/edit_commands.h"
#include "editor/edit_texts.h"
#include "platform/charset.h"
#include "platform/screen.h"
#include "ui/allocation.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

constexpr std::string_view WordDelimiters = " \t\"'<>()[]{},;|=";

std::string_view withoutTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return text.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

std::string_view withoutLeadingBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// Byte offset of a column (the text's end for a column past it).
std::size_t offsetOfColumn(std::string_view text, int column) {
  return std::min(charOffset(text, static_cast<std::size_t>(std::max(column, 0))), text.size());
}

// A real line end is kept by the first half of a split line; a missing one becomes the
// file's.
LineEnding endOfFirstHalf(const EditedFile& file, LineEnding end) {
  return end == LineEnding::Lf || end == LineEnding::CrLf || end == LineEnding::Cr
             ? end
             : file.defaultLineEnd;
}

void stepForward(EditedFile& file, long steps) {
  for (; steps > 0 && file.currentLine->next != nullptr; --steps) {
    file.currentLine = file.currentLine->next;
    ++file.lineNumber;
  }
}

void stepBack(EditedFile& file, long steps) {
  for (; steps > 0 && file.lineNumber > 1; --steps) {
    file.currentLine = file.currentLine->previous;
    --file.lineNumber;
  }
}

}  // namespace

void clampView(EditedFile& file, int rows) {
  const long highest = std::max<long>(1, std::min<long>(rows, file.lineNumber + 1));
  file.cursorRow = static_cast<int>(std::clamp<long>(file.cursorRow, 1, highest));
  file.cursorColumn = std::clamp(file.cursorColumn, 0, static_cast<int>(MaxLineBytes));
}

void moveLines(EditedFile& file, long delta, int rows) {
  const long before = file.lineNumber;
  if (delta > 0) stepForward(file, delta);
  if (delta < 0) stepBack(file, -delta);
  const long moved = file.lineNumber - before;
  file.cursorRow = static_cast<int>(std::clamp<long>(file.cursorRow + moved, 1, rows));
  // Up on the first line brings the line above it into view.
  if (delta < 0 && moved == 0 && file.lineNumber == 1) file.cursorRow = std::min(2, rows);
  clampView(file, rows);
}

void pageLines(EditedFile& file, long delta, int rows) {
  if (delta > 0) stepForward(file, delta);
  if (delta < 0) stepBack(file, -delta);
  clampView(file, rows);
}

void goToLine(EditedFile& file, long number, int rows) {
  if (file.lineCount == 0) return;
  number = std::clamp<long>(number, 1, file.lineCount);
  file.currentLine = lineAt(file, number);
  file.lineNumber = number;
  clampView(file, rows);
}

void goToWindowTop(EditedFile& file) {
  const long top = std::max<long>(file.lineNumber - (file.cursorRow - 1), 1);
  if (file.lineCount == 0) return;
  file.cursorRow -= static_cast<int>(file.lineNumber - top);
  stepBack(file, file.lineNumber - top);
  file.cursorColumn = 0;
}

bool noteChange(EditedFile& file, bool changed) {
  if (changed) {
    file.modified = 1;
    return true;
  }
  reportOutOfMemory(MaxLineBytes, AllocationKind::Allocate);
  return false;
}

bool storeLineText(EditedFile& file, std::string_view text) {
  EditLine& line = *file.currentLine;
  if (line.isSentinel()) return true;
  const std::string_view trimmed = withoutTrailingBlanks(text);
  if (trimmed == withoutTrailingBlanks(line.view())) return true;  // passing over it
  return noteChange(file, replaceLineText(file, line, trimmed));
}

void enterLine(EditedFile& file, bool insert, int rows) {
  EditLine* line = file.currentLine;
  const std::string_view text = line->isSentinel() ? std::string_view() : line->view();
  const int indent = line->isSentinel() ? 0 : indentationOf(text);
  if (!insert) {
    if (line->next == nullptr) return;
    moveLines(file, 1, rows);
    file.cursorColumn = indent;
    return;
  }
  if (line->isSentinel()) {
    // An empty file gets its first line.
    if (!noteChange(file, insertLineAfter(file, line, {}) != nullptr)) return;
    moveLines(file, 1, rows);
    file.cursorColumn = 0;
    return;
  }
  const std::size_t at = offsetOfColumn(text, file.cursorColumn);
  const std::string head(withoutTrailingBlanks(text.substr(0, at)));
  const std::string_view rest = text.substr(at);
  std::string tail(static_cast<std::size_t>(indent), ' ');
  tail += rest;
  if (tail.size() > MaxLineBytes)
    tail.replace(static_cast<std::size_t>(indent), rest.size(), withoutLeadingBlanks(rest));
  EditLine* added = insertLineAfter(file, line, tail);
  if (!noteChange(file, added != nullptr)) return;
  added->lineEnd = line->lineEnd;
  added->tabIndented = line->tabIndented;
  if (!replaceLineText(file, *line, head)) {
    removeLine(file, added);
    noteChange(file, false);
    return;
  }
  line->lineEnd = endOfFirstHalf(file, line->lineEnd);
  if (line->inBlock()) {
    added->flags |= LineInBlock;
    if (file.blockEnd == line) file.blockEnd = added;
  }
  moveLines(file, 1, rows);
  file.cursorColumn = indent;
}

void tabForward(EditedFile& file, bool insert) {
  const int column = file.cursorColumn;
  const int next = std::min((column / TabStop + 1) * TabStop, static_cast<int>(MaxLineBytes));
  EditLine& line = *file.currentLine;
  if (insert && !line.isSentinel() && next > column) {
    std::string text = paddedTo(line.view(), column);
    text.insert(offsetOfColumn(text, column), static_cast<std::size_t>(next - column), ' ');
    const std::string_view kept = withoutTrailingBlanks(text);
    if (kept.size() > MaxLineBytes) {
      rejectBeep();
      return;
    }
    if (kept != line.view() && !noteChange(file, replaceLineText(file, line, kept))) return;
  }
  file.cursorColumn = next;
}

void tabBack(EditedFile& file) {
  const int column = file.cursorColumn;
  file.cursorColumn = column > 0 ? (column - 1) / TabStop * TabStop : 0;
}

void deleteCurrentLine(EditedFile& file, int rows) {
  EditLine* line = file.currentLine;
  if (line->isSentinel()) return;
  lineLeavesBlock(file, line);
  if (line->next != nullptr) {
    file.currentLine = line->next;
  } else {
    file.currentLine = line->previous;
    --file.lineNumber;
    --file.cursorRow;
  }
  removeLine(file, line);
  file.modified = 1;
  clampView(file, rows);
}

void joinLines(EditedFile& file) {
  EditLine* line = file.currentLine;
  EditLine* next = line->next;
  if (line->isSentinel() || next == nullptr) return;
  std::string joined = paddedTo(withoutTrailingBlanks(line->view()), file.cursorColumn);
  joined += withoutLeadingBlanks(next->view());
  if (joined.size() > MaxLineBytes || !replaceLineText(file, *line, joined)) {
    messageBox(edit_text::JoinError);
    return;
  }
  line->lineEnd = next->lineEnd;
  lineLeavesBlock(file, next);
  removeLine(file, next);
  file.modified = 1;
}

void insertLinesAfterCurrent(EditedFile& file, const std::vector<std::string>& lines) {
  EditLine* after = file.currentLine;
  for (const std::string& text : lines) {
    after = insertLineAfter(file, after, text);
    if (!noteChange(file, after != nullptr)) return;
  }
}

std::string wordAtCursor(const EditedFile& file) {
  if (file.currentLine->isSentinel()) return {};
  const std::string_view text = file.currentLine->view();
  const std::size_t at = offsetOfColumn(text, file.cursorColumn);
  if (at >= text.size() || WordDelimiters.find(text[at]) != std::string_view::npos) return {};
  std::size_t begin = at, end = at;
  while (begin > 0 && WordDelimiters.find(text[begin - 1]) == std::string_view::npos) --begin;
  while (end < text.size() && WordDelimiters.find(text[end]) == std::string_view::npos) ++end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace corvane
