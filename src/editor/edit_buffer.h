// The editor's text buffer: each edited file is a doubly linked list of lines behind a
// sentinel line, with the cursor, the window position and the marked block of that file.
//
// A line's text is bytes (shown as UTF-8), at most MaxLineBytes of them. A line read from a
// file keeps the bytes it was read with until its text changes, so that saving writes every
// unchanged line exactly as it came; lines whose prepared text equals what was read point
// into the file's load buffer instead of holding a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

constexpr std::size_t MaxLineBytes = 2000;
constexpr int TabStop = 8;

enum LineFlag : std::uint8_t {
  LineInBlock = 0x02,
  LineCommentEnd = 0x40,    // the text holds "*/"
  LineCommentStart = 0x80,  // the text holds "/*"
};

// How a line ended in its file.
enum class LineEnding : std::uint8_t {
  None,  // the last line of a file without a final line end
  Lf,
  CrLf,
  Cr,         // a final CR without LF
  Continued,  // a piece of a line longer than the limit: the next line goes on with it
};

struct EditLine {
  EditLine* next = nullptr;      // none after the last line
  EditLine* previous = nullptr;  // none only for the sentinel
  const char* text = nullptr;
  // The bytes the line was read with, line end excluded; none once its text changed, and
  // for lines made in the editor.
  const char* original = nullptr;
  std::uint32_t length = 0;
  std::uint32_t originalLength = 0;
  std::uint8_t flags = 0;  // LineFlag bits
  LineEnding lineEnd = LineEnding::Lf;
  bool ownsText = false;
  // It began with a TAB when read: once changed, its leading blanks are written as TABs.
  bool tabIndented = false;

  std::string_view view() const { return {text, length}; }
  bool isSentinel() const { return previous == nullptr; }
  bool unchanged() const { return original != nullptr; }
  bool inBlock() const { return (flags & LineInBlock) != 0; }
};

// The line records of one file and the texts they own. Records are allocated in chunks and
// reused; every record goes with the store.
class LineStore {
 public:
  LineStore() = default;
  ~LineStore();
  LineStore(const LineStore&) = delete;
  LineStore& operator=(const LineStore&) = delete;

  // A fresh record, nullptr when memory is short.
  EditLine* make();
  // Frees the record and the text it owns.
  void release(EditLine* line);
  // Gives the line a copy of text (the comment flags follow it, the block flag stays); false
  // when memory is short (the line is unchanged then).
  bool setText(EditLine& line, std::string_view text);
  // Points the line at text it does not own (the load buffer, a constant).
  void borrowText(EditLine& line, const char* text, std::size_t length);
  // Bytes held for texts and records (the load buffer not counted).
  std::size_t bytesHeld() const { return bytesHeld_; }

 private:
  void freeText(EditLine& line);

  std::vector<std::unique_ptr<EditLine[]>> chunks_;
  std::size_t usedInLastChunk_ = 0;
  EditLine* free_ = nullptr;
  std::size_t bytesHeld_ = 0;
};

// The comment flags of a text.
std::uint8_t commentFlags(std::string_view text);

// What a file on disk was like when it was read or written: told apart by its size and its
// exact last-write time.
struct DiskStamp {
  bool present = false;
  std::uint64_t size = 0;
  std::int64_t seconds = 0, nanoseconds = 0;
  bool operator==(const DiskStamp&) const = default;
};

struct EditedFile {
  LineStore store;
  // The file's bytes as read; unchanged lines point into it. Lives as long as the file.
  std::unique_ptr<char[]> loadBuffer;
  std::size_t loadBytes = 0;

  EditLine sentinel;  // firstLine
  EditLine* lastLine = &sentinel;
  EditLine* currentLine = &sentinel;
  std::string name;  // full program path
  int modified = 0;
  int cursorColumn = 0;  // column of the cursor in the line (characters), from 0
  int cursorRow = 1;     // window row of the cursor, from 1
  int leftColumn = 0;    // first text column shown
  EditLine* blockStart = nullptr;
  EditLine* blockEnd = nullptr;
  long lineNumber = 0;  // of the current line; the sentinel is 0
  long lineCount = 0;   // text lines
  // The line end of new lines: the first line's as read (LF for a new file).
  LineEnding defaultLineEnd = LineEnding::Lf;
  // The file on disk as last read or written.
  DiskStamp diskStamp;

  EditedFile();
  ~EditedFile();
  EditedFile(const EditedFile&) = delete;
  EditedFile& operator=(const EditedFile&) = delete;

  EditLine* firstLine() { return &sentinel; }
  const EditLine* firstLine() const { return &sentinel; }
};

// A new line after `after` holding a copy of text; nullptr when memory is short.
EditLine* insertLineAfter(EditedFile& file, EditLine* after, std::string_view text);
// Unlinks and frees a text line (never the sentinel). The caller moves whatever pointed at it.
void removeLine(EditedFile& file, EditLine* line);
// Gives the line a new text; a text equal to the old one changes nothing. Returns false when
// memory is short. The line counts as changed afterwards (written from its text).
bool replaceLineText(EditedFile& file, EditLine& line, std::string_view text);

// The line with number n (0 is the sentinel; beyond the last gives the last), walked from
// the nearest of the start, the current line and the end.
EditLine* lineAt(EditedFile& file, long n);
// The number of a line, counted back to the sentinel.
long lineNumberOf(const EditLine* line);

// Characters (columns) of a text, as the line input counts them.
int textColumns(std::string_view text);
// The text padded with blanks to at least `columns` characters.
std::string paddedTo(std::string_view text, int columns);
// The number of leading blanks.
int indentationOf(std::string_view text);

}  // namespace corvane
