#include "editor/edit_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "editor/edit_texts.h"
#include "platform/charset.h"

namespace corvane {
namespace {

constexpr std::size_t LinesPerChunk = 1024;

}  // namespace

LineStore::~LineStore() {
  for (auto& chunk : chunks_)
    for (std::size_t i = 0; i < LinesPerChunk; ++i) freeText(chunk[i]);
}

EditLine* LineStore::make() {
  if (free_ != nullptr) {
    EditLine* line = free_;
    free_ = line->next;
    *line = EditLine{};
    return line;
  }
  if (chunks_.empty() || usedInLastChunk_ == LinesPerChunk) {
    std::unique_ptr<EditLine[]> chunk(new (std::nothrow) EditLine[LinesPerChunk]);
    if (!chunk) return nullptr;
    chunks_.push_back(std::move(chunk));
    usedInLastChunk_ = 0;
    bytesHeld_ += LinesPerChunk * sizeof(EditLine);
  }
  return &chunks_.back()[usedInLastChunk_++];
}

void LineStore::freeText(EditLine& line) {
  if (line.ownsText) {
    std::free(const_cast<char*>(line.text));
    bytesHeld_ -= line.length;
  }
  line.ownsText = false;
  line.text = nullptr;
  line.length = 0;
}

void LineStore::release(EditLine* line) {
  freeText(*line);
  *line = EditLine{};
  line->next = free_;
  free_ = line;
}

bool LineStore::setText(EditLine& line, std::string_view text) {
  char* copy = nullptr;
  if (!text.empty()) {
    copy = static_cast<char*>(std::malloc(text.size()));
    if (copy == nullptr) return false;
    std::memcpy(copy, text.data(), text.size());
  }
  freeText(line);
  line.text = copy;
  line.length = static_cast<std::uint32_t>(text.size());
  line.ownsText = copy != nullptr;
  if (line.ownsText) bytesHeld_ += text.size();
  line.flags = static_cast<std::uint8_t>((line.flags & LineInBlock) | commentFlags(text));
  return true;
}

void LineStore::borrowText(EditLine& line, const char* text, std::size_t length) {
  freeText(line);
  line.text = text;
  line.length = static_cast<std::uint32_t>(length);
  line.flags = static_cast<std::uint8_t>((line.flags & LineInBlock) |
                                         commentFlags(std::string_view(text, length)));
}

std::uint8_t commentFlags(std::string_view text) {
  std::uint8_t flags = 0;
  if (text.find("/*") != std::string_view::npos) flags |= LineCommentStart;
  if (text.find("*/") != std::string_view::npos) flags |= LineCommentEnd;
  return flags;
}

EditedFile::EditedFile() {
  sentinel.text = edit_text::TopOfFile.data();
  sentinel.length = static_cast<std::uint32_t>(edit_text::TopOfFile.size());
}

EditedFile::~EditedFile() = default;

EditLine* insertLineAfter(EditedFile& file, EditLine* after, std::string_view text) {
  EditLine* line = file.store.make();
  if (line == nullptr) return nullptr;
  if (!file.store.setText(*line, text)) {
    file.store.release(line);
    return nullptr;
  }
  line->lineEnd = file.defaultLineEnd;
  line->previous = after;
  line->next = after->next;
  if (after->next != nullptr) after->next->previous = line;
  after->next = line;
  if (file.lastLine == after) file.lastLine = line;
  ++file.lineCount;
  return line;
}

void removeLine(EditedFile& file, EditLine* line) {
  if (line == nullptr || line->isSentinel()) return;
  line->previous->next = line->next;
  if (line->next != nullptr) line->next->previous = line->previous;
  if (file.lastLine == line) file.lastLine = line->previous;
  --file.lineCount;
  file.store.release(line);
}

bool replaceLineText(EditedFile& file, EditLine& line, std::string_view text) {
  if (line.isSentinel() || line.view() == text) return true;
  if (!file.store.setText(line, text)) return false;
  line.original = nullptr;
  line.originalLength = 0;
  return true;
}

EditLine* lineAt(EditedFile& file, long n) {
  if (n <= 0) return file.firstLine();
  if (n >= file.lineCount) return file.lastLine;
  // Start from whichever known line is nearest.
  EditLine* line = file.firstLine();
  long at = 0;
  const long fromCurrent = n - file.lineNumber;
  if (std::labs(fromCurrent) < n) line = file.currentLine, at = file.lineNumber;
  if (file.lineCount - n < std::labs(n - at)) line = file.lastLine, at = file.lineCount;
  for (; at < n; ++at) line = line->next;
  for (; at > n; --at) line = line->previous;
  return line;
}

long lineNumberOf(const EditLine* line) {
  long n = 0;
  for (; line != nullptr && !line->isSentinel(); line = line->previous) ++n;
  return n;
}

int textColumns(std::string_view text) { return static_cast<int>(textChars(text)); }

std::string paddedTo(std::string_view text, int columns) {
  std::string padded(text);
  const int have = textColumns(text);
  if (have < columns) padded.append(static_cast<std::size_t>(columns - have), ' ');
  return padded;
}

int indentationOf(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return static_cast<int>(first == std::string_view::npos ? text.size() : first);
}

}  // namespace corvane
