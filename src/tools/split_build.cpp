#include "tools/split_build.h"

#include <algorithm>
#include <cerrno>
#include <span>
#include <vector>

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_texts.h"
#include "ui/paced_drawing.h"
#include "platform/charset.h"
#include "platform/drives.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/replace_file.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "tools/split_header.h"
#include "tools/tools_texts.h"
#include "ui/allocation.h"
#include "ui/boxes.h"
#include "ui/file_failure.h"
#include "ui/form.h"
#include "ui/window.h"

namespace corvane {
namespace {

// What one call of the file system copies: the speed of the system's own copy, and Esc
// answered within about 0.1 s.
constexpr std::size_t BlockBytes = std::size_t{1} << 20;
constexpr int SizeFieldLength = 20;
constexpr int PathFieldLength = static_cast<int>(MaxPath);

constexpr int FormColumn = 8, FormRow = 6, FormWidth = 60, FormValueColumn = 17;
constexpr int ProgressColumn = 10, ProgressRow = 9, ProgressLeast = 54;

bool spaceFailure(FileResult result) { return result.error == ENOSPC || result.error == EDQUOT; }

bool removableDrive(std::string_view path) {
  const char letter = driveLetterOf(path);
  return letter == 'A' || letter == 'B';
}

int reportDiskFull(std::string_view path) {
  const char letter = driveLetterOf(path);
  messageBox(textf(FormatDiskFull, letter != 0 ? letter : '?'));
  return SplitFailed;
}

int reportWriteFailure(std::string_view text, std::string_view path, FileResult reason) {
  return spaceFailure(reason) ? reportDiskFull(path) : reportFailure(text, reason, SplitFailed);
}

bool cancelAsked() { return escapePressed() && askCancelOperation(); }

// The window that shows how far a split or a build got: its lines of text and, below them,
// the bytes done of all. Drawn at most every 40 ms.
class ToolProgress {
 public:
  // text: the lines, separated by line feeds.
  explicit ToolProgress(std::string_view text) {
    for (std::size_t start = 0;;) {
      const std::size_t feed = text.find('\n', start);
      lines_.emplace_back(text.substr(start, feed - start));
      if (feed == std::string_view::npos) break;
      start = feed + 1;
    }
    int width = ProgressLeast;
    for (const std::string& line : lines_)
      width = std::max(width, static_cast<int>(textChars(line)) + 4);
    width = std::min(width, screenColumns() - ProgressColumn - 1);
    const ColorAttr attr = color(ColorInfoWindow);
    const int height = static_cast<int>(lines_.size()) + 3;
    if (openWindow(window_, ProgressColumn, ProgressRow, width, height, attr, attr,
                   WindowClear | WindowShadow | WindowSingle) != 0)
      return;
    for (std::size_t i = 0; i < lines_.size(); ++i) line(static_cast<int>(i), lines_[i]);
    flush_.show(window_.get(), true);
  }
  ~ToolProgress() { freeWindow(window_); }
  ToolProgress(const ToolProgress&) = delete;
  ToolProgress& operator=(const ToolProgress&) = delete;

  // Line index (from 0) shows text.
  void line(int index, std::string_view text) {
    if (!window_) return;
    CurrentWindowScope scope(*window_);
    writeText(text, windowLastColumn(*window_) - 2, 2, index + 1, WritePad);
  }

  void advance(std::uint64_t done, std::uint64_t total, bool force) {
    if (!window_ || (!force && !flush_.due())) return;
    {
      DrawingHold hold;
      line(static_cast<int>(lines_.size()) + 0,
           textf(FormatBytesDone, static_cast<long long>(done), static_cast<long long>(total)));
    }
    flush_.show(window_.get(), true);
  }

 private:
  std::vector<std::string> lines_;
  WindowHandle window_;
  PacedFlush flush_;
};

// Why a copy of bytes stopped.
enum class CopyStop { None, Read, Write, Short, Cancel };

struct BlockCopy {
  CopyStop stop = CopyStop::None;
  FileResult reason;
};

// Copies count bytes from offset of a file (its facts as opened) to target of another, in
// blocks by the file system's own copy (holes stay holes), polling Esc after each; done grows
// by what arrived.
BlockCopy copyBlocks(std::FILE* from, const FileFacts& facts, std::uint64_t offset,
                     std::uint64_t count, std::FILE* to, std::uint64_t target,
                     std::span<char> buffer, std::uint64_t& done, std::uint64_t total,
                     ToolProgress& progress) {
  CopyChannel channel{from, to, buffer, false, facts.allocated < facts.size};
  channel.targetShift = static_cast<std::int64_t>(target) - static_cast<std::int64_t>(offset);
  std::uint64_t copied = 0;
  while (copied < count) {
    const std::uint64_t want = std::min<std::uint64_t>(BlockBytes, count - copied);
    const RangeCopy range = copyRange(channel, offset + copied, want);
    copied += range.copied;
    done += range.copied;
    progress.advance(done, total, false);
    if (!range.readFailure) return {CopyStop::Read, range.readFailure};
    if (!range.writeFailure) return {CopyStop::Write, range.writeFailure};
    if (range.copied < want) return {CopyStop::Short, fileFailure(EIO)};
    if (cancelAsked()) return {CopyStop::Cancel, fileFailure(ECANCELED)};
  }
  return {};
}

// The entry named path itself, or one whose name differs from it only in case in the same
// directory; false when there is none.
bool findPieceEntry(const std::string& path, std::string& found) {
  FindRecord record;
  if (findEntry(path, record) && (record.attribute & AttrDirectory) == 0) {
    found = path;
    return true;
  }
  const std::string directory = parentPath(path);
  const std::string_view name = baseName(path);
  bool matched = false;
  if (findFirst(joinPath(directory, "*.*"), 0, record) == 0) {
    do {
      if ((record.attribute & AttrDirectory) == 0 && sameName(record.name, name)) {
        found = joinPath(directory, record.name);
        matched = true;
        break;
      }
    } while (findNext(record) == 0);
  }
  findClose(record);
  return matched;
}

// Writes a file through writer (given the open file): created in place (a new file whose
// writing fails is removed), or, throughTemporary, written beside it and renamed over the
// name only once complete (an old file stays as it was on any failure). writer returns
// SplitDone or reports its own failure and returns SplitFailed; a failure after it (closing,
// renaming) is reported here with failureText.
template <typename Writer>
int writeWhole(const std::string& path, bool throughTemporary, std::string_view failureText,
               Writer writer) {
  if (!throughTemporary) {
    FileHandle out;
    if (FileResult r = createNewFile(path, out); !r)
      return reportFileFailure(FormatFileOpenError, path, r, SplitFailed);
    int result = writer(out.get());
    const FileResult closed = closeWrittenFile(out);
    if (result == SplitDone && !closed) result = reportWriteFailure(failureText, path, closed);
    if (result != SplitDone) (void)deleteFile(path);
    return result;
  }
  int result = SplitDone;
  bool wrote = false;
  const FileResult replaced = replaceFile(path, [&](FileSink& sink) {
    wrote = true;
    result = writer(sink.stream());
    return result == SplitDone;
  });
  if (replaced || result != SplitDone) return result;
  if (!wrote) return reportFileFailure(FormatFileOpenError, path, replaced, SplitFailed);
  return reportWriteFailure(failureText, path, replaced);
}

// Whether an existing file may be written over: preference 5 asks (All stops asking for
// the rest of the operation).
bool mayReplace(std::string_view source, const std::string& path, bool& askAgain) {
  if (!askAgain) return true;
  const int answer = confirmOverwrite(source, path, ConfirmIfExists, false);
  if (answer == AnswerAll) askAgain = false;
  return answer == AnswerAll || answer == AnswerYes || answer == AnswerNone;
}

class Splitter {
 public:
  Splitter(const SplitRequest& request, std::span<char> buffer)
      : request_(request), buffer_(buffer) {}

  int run(std::string_view path) {
    source_ = fullPath(path);
    if (source_.empty())
      return reportFileFailure(FormatFileOpenError, path, fileFailure(ENAMETOOLONG), SplitFailed);
    if (FileResult r = openRegularFile(source_, in_); !r)
      return reportFileFailure(FormatFileOpenError, source_, r, SplitFailed);
    if (FileResult r = openFileFacts(in_.get(), facts_); !r)
      return reportFileFailure(FormatFileOpenError, source_, r, SplitFailed);
    const SplitHeader header{std::string(baseName(source_)), facts_.size};
    if (!encodeSplitHeader(header, headerBytes_)) {
      messageBox(textf(FormatNameNotKept, header.name.c_str()));
      return SplitFailed;
    }
    directory_ = fullPath(request_.destination);
    if (directory_.empty())
      return reportFileFailure(FormatFileOpenError, request_.destination,
                               fileFailure(ENAMETOOLONG), SplitFailed);
    const std::string stem(nameWithoutExtension(header.name));
    if (const std::string piece = pieceAtSource(stem); !piece.empty()) {
      messageBox(textf(FormatIdentical, piece.c_str()));
      return SplitFailed;
    }
    ToolProgress progress(textf(FormatSplitSource, source_.c_str()) + "\n");
    askAgain_ = preference(5) != 0;
    std::uint64_t number = 0;
    do {
      const std::string piece = joinPath(directory_, pieceName(stem, number));
      progress.line(1, textf(FormatSplitPiece, std::string(baseName(piece)).c_str()));
      if (const int r = writePiece(piece, number, progress); r != SplitDone) return r;
      ++number;
    } while (done_ < facts_.size);
    progress.advance(done_, facts_.size, true);
    return SplitDone;
  }

 private:
  // The piece that would be the source itself (DATA.001 split into its own directory), "" when
  // none would be: known before anything is written.
  std::string pieceAtSource(const std::string& stem) const {
    const std::string_view name = baseName(source_);
    const std::string_view digits = name.substr(std::min(name.size(), stem.size() + 1));
    if (digits.size() < 3 || digits.size() > 16 || name.size() <= stem.size() ||
        name[stem.size()] != '.')
      return {};
    std::uint64_t number = 0;
    for (char c : digits) {
      const int value = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (value < 0) return {};
      number = number * 16 + static_cast<std::uint64_t>(value);
    }
    const std::string piece = joinPath(directory_, pieceName(stem, number));
    return sameFile(piece, source_) ? piece : std::string();
  }

  // The bytes piece number holds at most, header included: the size asked for, within the
  // free space (raised to it with fitToDisk). 0 when the disk has no room.
  std::uint64_t pieceLimit() const {
    std::uint64_t limit = request_.pieceSize;
    std::uint64_t free = 0;
    if (freeSpaceOf(directory_, free) && (limit > free || request_.fitToDisk)) limit = free;
    return limit;
  }

  int writePiece(const std::string& piece, std::uint64_t number, ToolProgress& progress) {
    if (piece.size() > MaxPath)
      return reportFileFailure(FormatFileOpenError, piece, fileFailure(ENAMETOOLONG), SplitFailed);
    if (removableDrive(directory_) &&
        messageBox(textf(FormatEnterDisk, driveLetterOf(directory_))) == key::Escape)
      return SplitFailed;
    if (sameFile(piece, source_)) {
      messageBox(textf(FormatIdentical, piece.c_str()));
      return SplitFailed;
    }
    const std::uint64_t overhead = number == 0 ? SplitHeaderSize : 0;
    const std::uint64_t limit = pieceLimit();
    if (limit <= overhead) return reportDiskFull(directory_);
    const std::uint64_t count = std::min(limit - overhead, facts_.size - done_);
    FindRecord existing;
    const bool exists = static_cast<bool>(findEntry(piece, existing));
    if (exists && (existing.attribute & AttrDirectory) != 0)
      return reportFileFailure(FormatFileOpenError, piece, fileFailure(EISDIR), SplitFailed);
    if (exists && !mayReplace(source_, piece, askAgain_)) return SplitFailed;
    const std::uint64_t start = done_;
    const int result = writeWhole(piece, exists, TextSplitWriteError, [&](std::FILE* out) {
      done_ = start;
      return fillPiece(out, piece, overhead, count, progress);
    });
    if (result != SplitDone) done_ = start;
    return result;
  }

  // The header (piece 000) and count bytes of the source from where the split stands.
  int fillPiece(std::FILE* out, const std::string& piece, std::uint64_t overhead,
                std::uint64_t count, ToolProgress& progress) {
    if (overhead != 0 && std::fwrite(headerBytes_.data(), 1, headerBytes_.size(), out) !=
                             headerBytes_.size())
      return reportWriteFailure(TextSplitWriteError, piece, fileFailure(errno != 0 ? errno : EIO));
    const BlockCopy copy = copyBlocks(in_.get(), facts_, done_, count, out, overhead, buffer_,
                                      done_, facts_.size, progress);
    switch (copy.stop) {
      case CopyStop::None:
        break;
      case CopyStop::Cancel:
        return SplitFailed;
      case CopyStop::Read:
      case CopyStop::Short:
        return reportFailure(TextReadError, copy.reason, SplitFailed);
      case CopyStop::Write:
        return reportWriteFailure(TextSplitWriteError, piece, copy.reason);
    }
    // A hole at the end of the range is not written: the length says where the piece ends.
    if (FileResult r = setFileLength(out, overhead + count); !r)
      return reportWriteFailure(TextSplitWriteError, piece, r);
    return SplitDone;
  }

  const SplitRequest& request_;
  std::span<char> buffer_;
  std::string source_, directory_;
  FileHandle in_;
  FileFacts facts_;
  SplitHeaderBytes headerBytes_{};
  std::uint64_t done_ = 0;  // bytes of the source in finished pieces (and the one being written)
  bool askAgain_ = true;
};

class Builder {
 public:
  explicit Builder(std::span<char> buffer) : buffer_(buffer) {}

  int run(std::string_view given, std::string_view destination) {
    const std::string named = fullPath(given);
    if (named.empty())
      return reportFileFailure(FormatFileOpenError, given, fileFailure(ENAMETOOLONG), SplitFailed);
    directory_ = parentPath(named);
    stem_ = std::string(nameWithoutExtension(baseName(named)));
    removable_ = removableDrive(named);
    std::string first = joinPath(directory_, pieceName(stem_, 0));
    (void)findPieceEntry(first, first);
    FileHandle piece;
    if (FileResult r = openRegularFile(first, piece); !r)
      return reportFileFailure(FormatFileOpenError, first, r, SplitFailed);
    char bytes[SplitHeaderSize];
    std::size_t got = 0;
    if (FileResult r = readFileAt(piece.get(), 0, bytes, sizeof bytes, got); !r)
      return reportFailure(TextReadError, r, SplitFailed);
    if (!decodeSplitHeader(std::string_view(bytes, got), header_)) {
      messageBox(textf(FormatSourceFileError, first.c_str()));
      return SplitFailed;
    }
    if (FileResult r = openFileFacts(piece.get(), firstFacts_); !r)
      return reportFileFailure(FormatFileOpenError, first, r, SplitFailed);

    const std::string into = fullPath(destination.empty() ? std::string_view(".") : destination);
    target_ = into.empty() ? std::string() : joinPath(into, header_.name);
    if (target_.empty() || target_.size() > MaxPath)
      return reportFileFailure(FormatFileOpenError, joinPath(destination, header_.name),
                               fileFailure(ENAMETOOLONG), SplitFailed);
    if (sameFile(first, target_)) return identical();
    FindRecord existing;
    const bool exists = static_cast<bool>(findEntry(target_, existing));
    if (exists && (existing.attribute & AttrDirectory) != 0)
      return reportFileFailure(FormatFileOpenError, target_, fileFailure(EISDIR), SplitFailed);
    bool askAgain = preference(5) != 0;
    if (exists && !mayReplace(first, target_, askAgain)) return SplitFailed;

    ToolProgress progress(textf(FormatBuildTarget, target_.c_str()) +
                          textf(FormatRestoring, target_.c_str(),
                                static_cast<long long>(header_.size)));
    read_.push_back(first);
    const int result = writeWhole(target_, true, TextWriteError, [&](std::FILE* out) {
      return copyPieces(out, std::move(piece), progress);
    });
    if (result != SplitDone) return result;
    progress.advance(written_, header_.size, true);
    if (!removable_)
      for (const std::string& path : read_) (void)deleteFile(path);
    return SplitDone;
  }

 private:
  int identical() {
    messageBox(textf(FormatIdentical, target_.c_str()));
    return SplitFailed;
  }

  int shortfall() {
    messageBox(textf(FormatBuildShort, static_cast<long long>(written_),
                     static_cast<long long>(header_.size), target_.c_str()));
    return SplitFailed;
  }

  // The piece after the last one read, opened; false when it cannot be had (on A: and B:
  // the disk holding it is asked for until it is there or Esc).
  bool openNext(std::uint64_t number, FileHandle& piece, std::string& path) {
    const std::string wanted = joinPath(directory_, pieceName(stem_, number));
    while (!findPieceEntry(wanted, path)) {
      if (!removable_) return false;
      if (messageBox(textf(FormatEnterPieceDisk, std::string(baseName(wanted)).c_str(),
                           driveLetterOf(wanted))) == key::Escape)
        return false;
    }
    return static_cast<bool>(openRegularFile(path, piece));
  }

  // Every piece's data into the target, in order, until the header's size is written.
  int copyPieces(std::FILE* out, FileHandle piece, ToolProgress& progress) {
    std::uint64_t offset = SplitHeaderSize;
    FileFacts facts = firstFacts_;
    for (std::uint64_t number = 0;;) {
      const std::uint64_t have = facts.size > offset ? facts.size - offset : 0;
      const std::uint64_t count = std::min(have, header_.size - written_);
      const BlockCopy copy = copyBlocks(piece.get(), facts, offset, count, out, written_, buffer_,
                                        written_, header_.size, progress);
      switch (copy.stop) {
        case CopyStop::None:
          break;
        case CopyStop::Cancel:
          return SplitFailed;
        case CopyStop::Read:
          return reportFailure(TextReadError, copy.reason, SplitFailed);
        case CopyStop::Short:
          return shortfall();
        case CopyStop::Write:
          return reportWriteFailure(TextWriteError, target_, copy.reason);
      }
      if (written_ == header_.size) break;
      std::string path;
      if (!openNext(++number, piece, path) || !openFileFacts(piece.get(), facts)) return shortfall();
      if (sameFile(path, target_)) return identical();
      read_.push_back(path);
      offset = 0;
    }
    if (FileResult r = setFileLength(out, header_.size); !r)
      return reportWriteFailure(TextWriteError, target_, r);
    FileFacts current;
    if (FileResult r = openFileFacts(out, current); !r)
      return reportWriteFailure(TextWriteError, target_, r);
    (void)carryFileFacts(out, current, firstFacts_, true, false);
    return SplitDone;
  }

  std::span<char> buffer_;
  std::string directory_, stem_, target_;
  bool removable_ = false;
  SplitHeader header_;
  FileFacts firstFacts_;
  std::vector<std::string> read_;  // the pieces read, deleted once the target is in place
  std::uint64_t written_ = 0;
};

// The form's buffers (a form edits strings in place).
struct SplitForm {
  std::string fileLabel, size = std::string(TextSplitSizePreset),
                         destination = std::string(TextSplitDestinationPreset);
  std::uint16_t fit = 0;
};

}  // namespace

bool parseSplitSize(std::string_view text, std::uint64_t& size) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  if (value <= SplitHeaderSize) return false;
  size = value;
  return true;
}

std::string firstPieceOf(std::string_view path) {
  return joinPath(parentPath(path), pieceName(nameWithoutExtension(baseName(path)), 0));
}

int splitFile(std::string_view path, const SplitRequest& request) {
  const ZeroedBlock block = allocateZeroed(BlockBytes);
  if (!block) return SplitFailed;
  return Splitter(request, {reinterpret_cast<char*>(block.get()), BlockBytes}).run(path);
}

int buildFile(std::string_view piece, std::string_view destination) {
  const ZeroedBlock block = allocateZeroed(BlockBytes);
  if (!block) return SplitFailed;
  return Builder({reinterpret_cast<char*>(block.get()), BlockBytes}).run(piece, destination);
}

int splitFileCommand(CommandContext& context, CommandId) {
  const FileNode* node = cursorEntry(context);
  Panel& panel = context.currentPanel();
  if (node == nullptr || node->entry.isDirectory() || panel.archiveType != 0) {
    rejectBeep();
    return LoopContinue;
  }
  const std::string path = entryPath(panel, panel.cursor);
  SplitForm form;
  form.fileLabel = std::string(TextSplitFile) + node->entry.name;
  const FormItem items[] = {
      {.label = form.fileLabel, .type = FormStatic},
      {.label = TextSplitSize, .type = FormNumber, .text = &form.size, .maxLength = SizeFieldLength},
      {.label = TextSplitDestination,
       .type = FormText,
       .text = &form.destination,
       .maxLength = PathFieldLength},
      {.label = TextSplitFit, .type = FormSwitch, .flag = &form.fit},
  };
  const FormDescriptor descriptor{.x = FormColumn,
                                  .y = FormRow,
                                  .width = FormWidth,
                                  .valueColumn = FormValueColumn,
                                  .title = TextSplitTitle,
                                  .items = items};
  SplitRequest request;
  for (;;) {
    if (runForm(descriptor) != FormAccepted) return LoopContinue;
    if (parseSplitSize(form.size, request.pieceSize)) break;
    messageBox(TextIllegalSize);
  }
  request.destination = form.destination;
  request.fitToDisk = form.fit != 0;
  (void)splitFile(path, request);
  const std::string directory = fullPath(request.destination);
  requestPanelsReread(context, directory.empty() ? panel.currentDirectory : directory);
  return LoopContinue;
}

int buildFileCommand(CommandContext& context, CommandId) {
  const FileNode* node = cursorEntry(context);
  Panel& panel = context.currentPanel();
  std::string file, destination;
  if (node != nullptr && !node->entry.isDirectory() && panel.archiveType == 0)
    file = entryPath(panel, panel.cursor);
  const FormItem items[] = {
      {.label = TextBuildFile, .type = FormText, .text = &file, .maxLength = PathFieldLength},
      {.label = TextBuildDestination,
       .type = FormText,
       .text = &destination,
       .maxLength = PathFieldLength},
  };
  const FormDescriptor descriptor{.x = FormColumn,
                                  .y = FormRow,
                                  .width = FormWidth,
                                  .valueColumn = FormValueColumn,
                                  .title = TextBuildTitle,
                                  .items = items};
  if (runForm(descriptor) != FormAccepted) return LoopContinue;
  const std::size_t end = destination.find_last_not_of(' ');
  destination.erase(end == std::string::npos ? 0 : end + 1);
  if (destination.empty()) destination = panel.currentDirectory;
  (void)buildFile(file, destination);
  // The pieces' directory lost them, the destination gained the file.
  requestPanelsReread(context, parentPath(fullPath(file)));
  requestPanelsReread(context, fullPath(destination));
  return LoopContinue;
}

}  // namespace corvane
