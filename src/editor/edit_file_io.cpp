#include "editor/edit_file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "config/setup_block.h"
#include "editor/cursor_state.h"
#include "editor/edit_texts.h"
#include "editor/overwrite.h"
#include "panels/read_texts.h"
#include "platform/charset.h"
#include "platform/console.h"
#include "platform/drives.h"
#include "platform/file_copy.h"
#include "platform/find.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/printer_port.h"
#include "platform/system_info.h"
#include "platform/textf.h"
#include "ui/allocation.h"
#include "ui/boxes.h"
#include "ui/file_failure.h"
#include "ui/input_dialog.h"

namespace corvane {
namespace {

// Memory a loaded file takes at most, per byte of the file (its bytes, the line records and
// the lines whose text differs from what was read).
constexpr std::uint64_t LoadMemoryFactor = 3;
constexpr std::size_t WriteChunk = 256 * 1024;

constexpr int FileNameShown = 45;
constexpr int FileNameMaxLength = static_cast<int>(MaxPath);
constexpr int FileNameDialogColumn = 10;
constexpr int FileNameDialogRow = 10;

constexpr std::string_view PrintLineEnd = "\r\n";

std::string_view lineEndBytes(LineEnding end) {
  switch (end) {
    case LineEnding::Lf:
      return "\n";
    case LineEnding::CrLf:
      return "\r\n";
    case LineEnding::Cr:
      return "\r";
    case LineEnding::None:
    case LineEnding::Continued:
      break;
  }
  return {};
}

void trimTrailingBlanks(std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
}

// Builds the lines of one line of the file (its line end already taken off).
class LineBuilder {
 public:
  LineBuilder(EditedFile& file, long& splitLines) : file_(file), splitLines_(splitLines) {}

  bool add(std::string_view raw, LineEnding end) {
    const bool plain = raw.size() <= MaxLineBytes && (raw.empty() || raw.back() != ' ') &&
                       std::memchr(raw.data(), '\t', raw.size()) == nullptr;
    if (plain) return store(raw, raw, end, false);
    return addPrepared(raw, end);
  }

 private:
  // The slow way: TABs expanded, split at the limit, trailing blanks removed.
  bool addPrepared(std::string_view raw, LineEnding end) {
    std::string piece;
    std::size_t pieceStart = 0;
    int column = 0;
    bool split = false;
    for (std::size_t pos = 0; pos < raw.size();) {
      std::size_t taken = 1;
      std::size_t adds = 0;
      if (raw[pos] == '\t') {
        adds = static_cast<std::size_t>(TabStop - column % TabStop);
      } else {
        char32_t ch;
        taken = decodeChar(raw, pos, ch);
        adds = taken;
      }
      if (piece.size() + adds > MaxLineBytes) {
        if (!store(piece, raw.substr(pieceStart, pos - pieceStart), LineEnding::Continued,
                   pieceStart == 0 && raw.front() == '\t'))
          return false;
        piece.clear();
        pieceStart = pos;
        column = 0;
        split = true;
        if (raw[pos] == '\t') adds = TabStop;
      }
      if (raw[pos] == '\t') {
        piece.append(adds, ' ');
        column += static_cast<int>(adds);
      } else {
        piece.append(raw.substr(pos, taken));
        ++column;
      }
      pos += taken;
    }
    if (split) ++splitLines_;
    trimTrailingBlanks(piece);
    return store(piece, raw.substr(pieceStart), end,
                 pieceStart == 0 && !raw.empty() && raw.front() == '\t');
  }

  // A line after the last one: text as shown, original as read (in the load buffer).
  bool store(std::string_view text, std::string_view original, LineEnding end, bool tabIndented) {
    EditLine* line = file_.store.make();
    if (line == nullptr) return false;
    if (text.data() == original.data() && text.size() == original.size()) {
      file_.store.borrowText(*line, original.data(), original.size());
    } else if (!file_.store.setText(*line, text)) {
      file_.store.release(line);
      return false;
    }
    line->original = original.data();
    line->originalLength = static_cast<std::uint32_t>(original.size());
    line->lineEnd = end;
    line->tabIndented = tabIndented;
    line->previous = file_.lastLine;
    file_.lastLine->next = line;
    file_.lastLine = line;
    ++file_.lineCount;
    // New lines take the line end of the first line that has one.
    if (!endDecided_ &&
        (end == LineEnding::Lf || end == LineEnding::CrLf || end == LineEnding::Cr)) {
      file_.defaultLineEnd = end;
      endDecided_ = true;
    }
    return true;
  }

  EditedFile& file_;
  long& splitLines_;
  bool endDecided_ = false;
};

bool askCancel() {
  if (!hasConsole() || escapePending() == 0) return false;
  checkKey();  // takes the Esc
  return question(QuestionDefaultNo, TextCancelOperation) == QuestionYes;
}

// Leading blanks as TABs of 8 columns, the rest as blanks.
void appendWithTabs(std::string& out, std::string_view text) {
  const std::size_t blanks = static_cast<std::size_t>(indentationOf(text));
  out.append(blanks / TabStop, '\t');
  out.append(blanks % TabStop, ' ');
  out.append(text.substr(blanks));
}

// Empties the gathered bytes into the sink.
bool flushTo(FileSink& sink, std::string& gathered) {
  const bool ok = sink.write(gathered);
  gathered.clear();
  return ok;
}

// Shows a failed write: access denied as the open error, anything else as a write error, both
// with the system's reason.
void reportWriteFailure(std::string_view path, FileResult result) {
  if (result.error == ECANCELED) return;
  const std::string format(result.accessDenied() ? edit_text::AccessDenied : edit_text::WriteError);
  reportFileFailure(format.c_str(), path, result, 0);
}

DiskStamp stampOf(std::FILE* file) {
  FileFacts facts;
  if (!openFileFacts(file, facts)) return DiskStamp{.present = true};  // cannot be told
  return {true, facts.size, facts.modifiedSeconds, facts.modifiedNanoseconds};
}

// The file under the name now (through a link: the file it points to).
DiskStamp stampOnDisk(std::string_view name) {
  FileHandle handle;
  const FileResult opened = openRegularFile(name, handle);
  if (!opened) return opened.missing() ? DiskStamp{} : DiskStamp{.present = true};
  return stampOf(handle.get());
}

std::string portDescription(const PrinterTarget& target) {
  return target.port + " (" + (target.command ? "|" : "") + target.destination + ")";
}

}  // namespace

int splitIntoLines(EditedFile& file, const std::function<bool()>& cancelled, long& splitLines) {
  splitLines = 0;
  file.defaultLineEnd = LineEnding::Lf;
  LineBuilder builder(file, splitLines);
  const char* bytes = file.loadBuffer.get();
  const std::size_t size = file.loadBytes;
  long sincePoll = 0;
  for (std::size_t pos = 0; pos < size;) {
    const void* found = std::memchr(bytes + pos, '\n', size - pos);
    const std::size_t stop = found != nullptr ? static_cast<const char*>(found) - bytes : size;
    std::string_view raw(bytes + pos, stop - pos);
    LineEnding end = found != nullptr ? LineEnding::Lf : LineEnding::None;
    if (!raw.empty() && raw.back() == '\r') {
      raw.remove_suffix(1);
      end = found != nullptr ? LineEnding::CrLf : LineEnding::Cr;
    }
    if (!builder.add(raw, end)) return LoadFailed;
    pos = found != nullptr ? stop + 1 : size;
    if (++sincePoll == LoadPollLines) {
      sincePoll = 0;
      if (cancelled && cancelled()) return LoadCancelled;
    }
  }
  return LoadDone;
}

bool writeLines(FileSink& sink, const EditedFile& file, const EditLine* first,
                const EditLine* last) {
  std::string gathered;
  gathered.reserve(WriteChunk + 2 * MaxLineBytes + 2);
  const std::string_view defaultEnd = lineEndBytes(file.defaultLineEnd);
  for (const EditLine* line = first; line != nullptr; line = line->next) {
    if (line->isSentinel()) continue;
    if (line->unchanged())
      gathered.append(line->original, line->originalLength);
    else if (line->tabIndented)
      appendWithTabs(gathered, line->view());
    else
      gathered.append(line->view());
    if (line->lineEnd == LineEnding::None ||
        (line->lineEnd == LineEnding::Continued && line == last))
      gathered.append(defaultEnd);
    else
      gathered.append(lineEndBytes(line->lineEnd));
    if (gathered.size() >= WriteChunk && !flushTo(sink, gathered)) return false;
    if (line == last) break;
  }
  return flushTo(sink, gathered);
}

std::string backupName(std::string_view name) {
  const std::size_t separator = name.find_last_of("\\/:");
  const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
  const std::size_t dot = name.rfind('.');
  std::string backup(name);
  if (dot != std::string_view::npos && dot > nameStart) backup.resize(dot);
  backup += ".BAK";
  return backup;
}

int readEditFile(std::string_view name, EditedFile& file) {
  file.name = std::string(name);
  FileHandle handle;
  if (FileResult opened = openRegularFile(name, handle); !opened) {
    if (opened.missing()) {
      file.diskStamp = DiskStamp{};
      return LoadDone;  // a new file
    }
    return reportFileFailure(edit_text::FileOpenError, name, opened, LoadFailed);
  }
  FileFacts facts;
  if (FileResult known = openFileFacts(handle.get(), facts); !known)
    return reportFileFailure(edit_text::FileOpenError, name, known, LoadFailed);
  file.diskStamp = {true, facts.size, facts.modifiedSeconds, facts.modifiedNanoseconds};
  if (const int attributes = getAttributes(name);
      preference(4) != 0 && hasConsole() && attributes >= 0 && (attributes & AttrReadOnly) != 0)
    messageBox(textf(edit_text::ReadOnlyFormat, file.name.c_str()));
  const std::uint64_t size = facts.size;
  std::uint64_t freeBytes = 0;
  int load = 0;
  if (memoryStatus(freeBytes, load) && size > freeBytes / LoadMemoryFactor) {
    reportOutOfMemory(static_cast<std::size_t>(std::min<std::uint64_t>(size, SIZE_MAX)),
                      AllocationKind::Allocate);
    return LoadFailed;
  }

  WindowHandle note;
  if (hasConsole()) (void)openInfoWindow(note, edit_text::ReadingFile);
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + 1]);
  if (!buffer) {
    if (note) closeInfoWindow(note);
    reportOutOfMemory(static_cast<std::size_t>(size + 1), AllocationKind::Allocate);
    return LoadFailed;
  }
  std::size_t got = std::fread(buffer.get(), 1, size, handle.get());
  // A file that grew while it was read is read to its end.
  std::string rest;
  for (char chunk[65536]; got == size;) {
    const std::size_t more = std::fread(chunk, 1, sizeof chunk, handle.get());
    if (more == 0) break;
    rest.append(chunk, more);
  }
  const bool readFailed = std::ferror(handle.get()) != 0 || got < size;
  const int readError = errno;
  if (!rest.empty() && !readFailed) {
    std::unique_ptr<char[]> whole(new (std::nothrow) char[got + rest.size()]);
    if (!whole) {
      if (note) closeInfoWindow(note);
      reportOutOfMemory(got + rest.size(), AllocationKind::Allocate);
      return LoadFailed;
    }
    std::memcpy(whole.get(), buffer.get(), got);
    std::memcpy(whole.get() + got, rest.data(), rest.size());
    buffer = std::move(whole);
    got += rest.size();
  }
  if (readFailed) {
    if (note) closeInfoWindow(note);
    return reportFileFailure(edit_text::FileOpenError, name,
                             fileFailure(readError != 0 ? readError : EIO), LoadFailed);
  }
  file.loadBuffer = std::move(buffer);
  file.loadBytes = got;
  long splitLines = 0;
  const int result = splitIntoLines(file, askCancel, splitLines);
  if (note) closeInfoWindow(note);
  if (result == LoadFailed) reportOutOfMemory(got, AllocationKind::Allocate);
  if (result != LoadDone) return result;
  file.currentLine = file.lineCount > 0 ? file.firstLine()->next : file.firstLine();
  file.lineNumber = file.lineCount > 0 ? 1 : 0;
  file.cursorRow = file.lineCount > 0 ? 2 : 1;
  if (splitLines > 0 && hasConsole()) messageBox(textf(edit_text::LinesSplitFormat, splitLines));
  return LoadDone;
}

std::string askFileName(std::string_view preset) {
  std::string text(preset);
  const int width = FileNameShown + static_cast<int>(edit_text::FilenamePrompt.size()) + 4;
  if (inputDialog(text, edit_text::FilenamePrompt, FileNameDialogColumn, FileNameDialogRow, width,
                  FileNameMaxLength) != key::Enter)
    return {};
  trimTrailingBlanks(text);
  if (text.empty()) return {};
  // A host path ("/...") names the host's file.
  std::string path = text.front() == '/' ? toProgramPath(text) : fullPath(text);
  if (path.empty()) messageBox(edit_text::AccessDenied);
  return path;
}

int saveEditFile(EditedFile& file) {
  const std::string name = askFileName(file.name);
  if (name.empty()) return SaveFailed;
  const bool sameName = name == file.name;
  if (!sameName && fileExists(name)) {
    if (!confirmReplaceExisting(file.name, name)) return SaveFailed;
  } else if (sameName && !(stampOnDisk(name) == file.diskStamp) &&
             question(QuestionDefaultNo, edit_text::ChangedOnDisk) != QuestionYes) {
    return SaveFailed;
  }

  std::string backup;
  if (preference(7) != 0) {
    backup = backupName(name);
    if (backup == name) backup.clear();  // saving X.BAK keeps no backup of itself
  }
  ReplaceBackup keep;
  keep.path = backup;
  WindowHandle note;
  if (hasConsole()) (void)openInfoWindow(note, edit_text::WritingFile);
  const FileResult written = replaceFile(
      name, [&](FileSink& sink) { return writeLines(sink, file, file.firstLine(), nullptr); },
      keep);
  if (note) closeInfoWindow(note);
  if (!keep.result)
    messageBox(textf(edit_text::BackupErrorFormat, name.c_str(), backup.c_str()) + "\n" +
               fileErrorText(keep.result));
  if (!written) {
    reportWriteFailure(name, written);
    return SaveFailed;
  }
  file.name = name;
  file.modified = 0;
  file.diskStamp = stampOnDisk(file.name);
  saveCursorState(file);
  return SaveDone;
}

int writeBlock(const EditedFile& blockFile) {
  if (blockFile.blockStart == nullptr) {
    messageBox(edit_text::MarkRequired);
    return key::Escape;
  }
  const std::string name = askFileName({});
  if (name.empty()) return key::Escape;
  if (fileExists(name) && !confirmReplaceExisting(blockFile.name, name)) return key::Escape;
  WindowHandle note;
  if (hasConsole()) (void)openInfoWindow(note, edit_text::WritingFile);
  const FileResult written = replaceFile(name, [&](FileSink& sink) {
    return writeLines(sink, blockFile, blockFile.blockStart, blockFile.blockEnd);
  });
  if (note) closeInfoWindow(note);
  if (!written) {
    reportWriteFailure(name, written);
    return key::Escape;
  }
  return key::Enter;
}

int printLines(const EditLine* first, const EditLine* last) {
  int number = setupBlock().printerPort.get();
  if (number <= 0 || number > PrinterPortCount) number = 1;
  PrinterPort port;
  if (FileResult opened = port.open(number); !opened)
    return reportFileFailure(edit_text::FileOpenError, portDescription(port.target()), opened,
                             key::Escape);
  WindowHandle note;
  if (hasConsole()) (void)openInfoWindow(note, edit_text::Printing);
  bool cancelled = false;
  const PrinterWait keepWaiting = [&] {
    cancelled = cancelled || askCancel();
    return !cancelled;
  };
  FileResult result;
  std::string text;
  for (const EditLine* line = first; line != nullptr && result; line = line->next) {
    if (!line->isSentinel()) {
      text.assign(line->view());
      text.append(PrintLineEnd);
      result = port.write(text, keepWaiting);
      if (result && askCancel()) result = fileFailure(ECANCELED);
    }
    if (line == last) break;
  }
  const FileResult closed = port.close(keepWaiting);
  if (result) result = closed;
  if (note) closeInfoWindow(note);
  if (result) return key::Enter;
  if (result.error != ECANCELED) messageBox(edit_text::WriteError);
  return key::Escape;
}

}  // namespace corvane
