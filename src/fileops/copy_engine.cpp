#include "fileops/copy_engine.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "config/setup_block.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "fileops/make_directory.h"
#include "ui/paced_drawing.h"
#include "panels/mask.h"
#include "panels/read_texts.h"
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
#include "ui/boxes.h"
#include "ui/file_failure.h"
#include "ui/window.h"

namespace corvane {
namespace {

// The unit of the progress bar.
constexpr std::uint64_t BarBlock = 61440;
// What one call of the file system copies: large enough for the copy to run at the speed of
// the system's own copy, small enough for Esc to be answered within about 0.1 s on slow
// media.
constexpr std::uint64_t ChunkBytes = 1 << 20;
constexpr int ReadRetries = 100;
constexpr int BeepFrequency = 2000;
constexpr int BeepTicks = 3;  // 165 ms
// The progress window.
constexpr int ProgressColumn = 5, ProgressRow = 15, ProgressWidth = 70, ProgressHeight = 6;
constexpr int InteriorCells = ProgressWidth - 2;
constexpr int BarRow = 3, BarColumn = 2, BarCells = 66, SteppedLastColumn = 65;
constexpr int RetryColumn = 50;
constexpr std::size_t SourceShown = 30, DestinationShown = 55, QuestionDestinationShown = 35;
constexpr char32_t LightShade = 0xB0, MediumShade = 0xB1;  // code page 437
// The attribute bits a user sets (kept beside the file by the platform).
constexpr int UserAttributeMask = AttrHidden | AttrSystem | AttrArchive;

struct DosStamp {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0;
};

// Date and time as the questions show them (a two-digit year).
DosStamp stampOf(std::uint16_t date, std::uint16_t time) {
  return {date & 31, (date >> 5) & 15, ((date >> 9) + 80) % 100, time >> 11, (time >> 5) & 63};
}

// FileCopy's answer when a target taken for missing exists: the file is tried again with
// the target looked at.
constexpr int RetryLookingUp = -1;

bool spaceFailure(FileResult result) { return result.error == ENOSPC || result.error == EDQUOT; }

// A message and the system's reason below it.
void reportWithReason(std::string_view text, FileResult reason) {
  std::string shown(text);
  const std::string why = fileErrorText(reason);
  if (!why.empty()) shown += "\n" + why;
  messageBox(shown);
}

int reportDiskFull(std::string_view destination) {
  const char letter = driveLetterOf(destination);
  messageBox(textf(FormatDiskFull, letter != 0 ? letter : '?'));
  return CopyDiskFull;
}

std::string glyphs(char32_t ch, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) appendUtf8(text, cp437ToUnicode(static_cast<std::uint8_t>(ch)));
  return text;
}

// The progress window of the state: the file line, the bar and the retry count.
class Progress {
 public:
  explicit Progress(bool quiet) : quiet_(quiet) {}

  // Shows the window (opened on the first file of the call) and, when the screen is due for
  // it, the file's line and an empty bar. The texts must live until the file is done.
  void beginFile(std::string_view source, std::uint64_t size, std::string_view destination) {
    if (quiet_) return;
    FileopsState& state = fileopsState();
    if (!opened_) {
      opened_ = true;
      before_ = currentWindow();
      if (state.progressWindow && before_ == state.progressWindow.get()) before_ = nullptr;
      const ColorAttr attr = color(ColorInfoWindow);
      if (openWindow(state.progressWindow, ProgressColumn, ProgressRow, ProgressWidth,
                     ProgressHeight, attr, attr, WindowClear | WindowShadow | WindowSingle) != 0)
        return;
      activated_ = currentWindow() == state.progressWindow.get();  // opening made it current
    }
    if (!state.progressWindow) return;
    source_ = source;
    destination_ = destination;
    size_ = size;
    blocks_ = size / BarBlock;
    stepped_ = 4 * blocks_ + 2 <= static_cast<std::uint64_t>(ProgressWidth);
    lineShown_ = false;
    if (due()) drawLine();
  }

  // The bar after done bytes of the file.
  void advance(std::uint64_t done) {
    if (quiet_ || !fileopsState().progressWindow) return;
    if (!lineShown_) {
      if (!due()) return;
      drawLine();
    }
    int cells;
    if (stepped_) {
      cells = static_cast<int>(std::min<std::uint64_t>(done / BarBlock, blocks_));
      cells = std::min(2 * cells, SteppedLastColumn + 1 - BarColumn);
    } else {
      const double share =
          size_ == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(size_);
      cells = std::min(static_cast<int>(std::lround(share * 100 * 0.68)), BarCells);
    }
    if (cells <= drawn_) return;
    {
      DrawingHold hold;
      activate();
      writeText(glyphs(MediumShade, cells), cells - 1, BarColumn, BarRow);
    }
    drawn_ = cells;
    show(false);
  }

  void retry(int count) {
    if (quiet_ || !fileopsState().progressWindow) return;
    activate();
    writeText(textf(FormatRetry, count), 11, RetryColumn, 1);
  }

  // Before a question or a message: the window with the file's line.
  void showNow() {
    if (quiet_ || !fileopsState().progressWindow) return;
    if (!lineShown_ && !source_.empty()) drawLine();
    show(true);
  }

  // The end of the call: closed, or (kept) the window current before the call current again.
  void end(bool keep) {
    source_ = destination_ = {};
    if (quiet_ || !opened_) return;
    FileopsState& state = fileopsState();
    if (!keep) {
      freeWindow(state.progressWindow);
      return;
    }
    show(false);
    if (activated_ && before_ != nullptr && before_->visible) activateWindow(*before_);
  }

 private:
  static void show(bool force) {
    FileopsState& state = fileopsState();
    state.progressFlush.show(state.progressWindow.get(), force);
  }
  static bool due() { return fileopsState().progressFlush.due(); }

  // The window current for drawing into it.
  void activate() {
    ScreenWindow* window = fileopsState().progressWindow.get();
    if (currentWindow() == window) return;
    activateWindow(*window);
    activated_ = true;
  }

  // The file's line and its empty bar (light shade pairs for the stepped bar).
  void drawLine() {
    {
      DrawingHold hold;
      activate();
      const std::string line = textf(
          FormatProgressFile, shortenedLeft(source_, SourceShown).c_str(),
          static_cast<long long>(size_), shortenedLeft(destination_, DestinationShown).c_str());
      const std::size_t feed = line.find('\n');
      writeText(std::string_view(line).substr(0, feed), InteriorCells - 2, 2, 1, WritePad);
      writeText(std::string_view(line).substr(feed + 1), InteriorCells - 1, 1, 2, WritePad);
      writeText("", InteriorCells - 1, 1, BarRow, WritePad);
      if (stepped_) {
        const int pairs = static_cast<int>(std::min<std::uint64_t>(2 * blocks_ + 2, BarCells / 2));
        writeText(glyphs(LightShade, 2 * pairs), 2 * pairs - 1, BarColumn, BarRow);
      }
    }
    drawn_ = 0;
    lineShown_ = true;
    show(true);
  }

  bool quiet_;
  bool opened_ = false;
  ScreenWindow* before_ = nullptr;
  bool activated_ = false;                 // the window was made current to be drawn into
  std::string_view source_, destination_;  // of the file being copied
  std::uint64_t size_ = 0, blocks_ = 0;
  bool stepped_ = true;
  bool lineShown_ = false;
  int drawn_ = 0;
};

std::span<char> copyBuffer() {
  FileopsState& state = fileopsState();
  if (!state.copyBuffer) state.copyBuffer = std::make_unique<char[]>(ChunkBytes);
  return {state.copyBuffer.get(), ChunkBytes};
}

// The name limit of the file system holding a directory, kept for the last directory asked.
int nameLimitCached(const std::string& directory) {
  FileopsState& state = fileopsState();
  if (state.limitDirectory != directory || state.nameLimit == 0) {
    state.limitDirectory = directory;
    state.nameLimit = nameLimitOf(directory);
  }
  return state.nameLimit;
}

constexpr int ShortNameLimit = 12;

// The destination's last name shortened where its file system holds 8.3 names only and the
// source's does not.
std::string shortenedForVolume(const std::string& source, const std::string& destination) {
  const std::string_view name = baseName(destination);
  if (!needsShortName(name)) return destination;
  const std::string directory = parentPath(destination);
  if (nameLimitCached(directory) > ShortNameLimit ||
      nameLimitOf(parentPath(source)) <= ShortNameLimit)
    return destination;
  return joinPath(directory, toShortName(name));
}

// The nearest existing directory at or above path ("" when none).
std::string nearestDirectory(std::string directory) {
  while (!directory.empty() && !directoryExists(directory)) {
    if (isDriveRoot(directory)) return {};
    directory = parentPath(directory);
  }
  return directory;
}

// Free space is asked again once this little is left by the running operation's account.
constexpr std::uint64_t SpaceMargin = std::uint64_t{64} << 20;

// The bytes free on the file system holding directory. Within an operation the last answer
// is kept and counted down by what was copied while plenty is left.
bool freeSpaceFor(const std::string& directory, std::uint64_t size, std::uint64_t& free) {
  FileopsState& state = fileopsState();
  if (state.operationDepth > 0 && state.spaceDirectory == directory &&
      state.spaceFree > size + SpaceMargin) {
    free = state.spaceFree;
    return true;
  }
  if (!freeSpaceOf(directory, free)) return false;
  state.spaceDirectory = directory;
  state.spaceFree = free;
  return true;
}

void countSpaceUsed(std::uint64_t size) {
  FileopsState& state = fileopsState();
  state.spaceFree -= std::min(state.spaceFree, size);
}

int answerOfLetter(int letter) {
  switch (letter) {
    case 'S':
      return AnswerSkip;
    case 'A':
      return AnswerAll;
    case 'J':
    case 'Y':
      return AnswerYes;
    case 'N':
      return AnswerNo;
    default:
      return AnswerCancel;
  }
}

// One file copied from a full source path to a full destination path.
class FileCopy {
 public:
  FileCopy(const std::string& source, const std::string& destination, Progress& progress)
      : source_(source), destination_(destination), progress_(progress) {}

  // facts: the source itself (tentative: assumed regular, not looked up); exists and target:
  // what is at the destination now.
  int run(const FileFacts& facts, bool tentative, bool exists, const FindRecord& target) {
    tentative_ = tentative;
    if (exists && (target.attribute & AttrDirectory) != 0)
      return reportFileFailure(FormatFileOpenError, destination_, fileFailure(EISDIR),
                               CopyCreateFailed);
    switch (facts.kind) {
      case FileKind::Regular:
        return copyRegular(exists, target);
      case FileKind::SymbolicLink:
      case FileKind::Fifo:
        return makeSpecial(facts, exists);
      case FileKind::Directory:
        return CopyDone;  // passed by
      default:
        return reportFileFailure(FormatFileOpenError, source_, fileFailure(FileErrorNotRegular),
                                 CopyOpenFailed);
    }
  }

 private:
  // The destination's directory, made with its parents when missing. The last one found
  // within an operation is not looked up again.
  bool makeParent() {
    FileopsState& state = fileopsState();
    const std::string parent = parentPath(destination_);
    if (state.operationDepth > 0 && parent == state.existingDirectory) return true;
    std::string path = parent;
    if (!directoryExists(parent) && createPath(path) != 0) return false;
    state.existingDirectory = parent;
    return true;
  }

  // A link made anew as a link, a FIFO as a FIFO (never opened: it would wait for a writer).
  int makeSpecial(const FileFacts& facts, bool exists) {
    if (!makeParent())
      return reportFileFailure(FormatFileOpenError, destination_, fileFailure(ENOENT),
                               CopyCreateFailed);
    const FileResult made = facts.kind == FileKind::SymbolicLink
                                ? makeSymbolicLink(destination_, facts.linkTarget, exists)
                                : makeFifo(destination_, facts.mode, exists);
    if (!made) return reportFileFailure(FormatFileOpenError, destination_, made, CopyCreateFailed);
    (void)carryFileFacts(destination_, facts, preference(17) == 0, preference(17) != 0);
    return CopyDone;
  }

  // A read-only existing target: asked about (switch 16 off) and made writable. False when
  // it stays read-only.
  bool makeTargetWritable(int attributes) {
    if (preference(16) == 0) {
      progress_.showNow();
      const int letter =
          buttonBox(TextOverwriteButtons, textf(FormatReadonly, destination_.c_str()));
      if (letter != 'A' && letter != 'J' && letter != 'Y') return false;
    }
    return static_cast<bool>(setAttributes(destination_, attributes & ~AttrReadOnly));
  }

  int copyRegular(bool exists, const FindRecord& target) {
    FileHandle source;
    if (FileResult r = openRegularFile(source_, source, LinkPolicy::Refuse); !r) {
      // Not a regular file after all (a link, a FIFO): what it is decides.
      FileFacts facts;
      if (tentative_ && (r.error == FileErrorNotRegular || r.error == ELOOP) &&
          entryFacts(source_, facts) && facts.kind != FileKind::Regular)
        return run(facts, false, exists, target);
      return reportFileFailure(FormatFileOpenError, source_, r, CopyOpenFailed);
    }
    if (FileResult r = openFileFacts(source.get(), facts_); !r)
      return reportFileFailure(FormatFileOpenError, source_, r, CopyOpenFailed);
    size_ = facts_.size;
    keepAttributes_ = preference(17) != 0;
    const int userBits = keepAttributes_ ? userAttributes(source_) & UserAttributeMask : 0;

    // Free space, from the file system that will hold the copy (equal is full).
    int result = CopyDone;
    std::uint64_t free = 0;
    const std::string parent = parentPath(destination_);
    const std::string holder =
        parent == fileopsState().existingDirectory ? parent : nearestDirectory(parent);
    if (!holder.empty() && freeSpaceFor(holder, size_, free)) {
      const std::uint64_t old = exists ? target.size : 0;
      if (free + old <= size_) {
        progress_.showNow();
        result = reportDiskFull(destination_);
      }
    }
    const bool parentMade = makeParent();
    if (result != CopyDone) return result;
    if (!parentMade)
      return reportFileFailure(FormatFileOpenError, destination_, fileFailure(ENOENT),
                               CopyCreateFailed);
    if (exists && (target.attribute & AttrReadOnly) != 0 &&
        !makeTargetWritable(getAttributes(destination_)))
      return reportFileFailure(FormatFileOpenError, destination_, fileFailure(EACCES),
                               CopyCreateFailed);

    channel_ = CopyChannel{source.get(), nullptr, copyBuffer(), false, facts_.allocated < size_};
    result = exists ? replaceTarget() : writeNewTarget();
    if (result != CopyDone) return result;
    countSpaceUsed(size_);
    if (userBits != 0) {
      const int readOnly = (facts_.mode & 0200) == 0 ? AttrReadOnly : 0;
      (void)setAttributes(destination_, userBits | readOnly);
    }
    noteWrittenTarget(written_.device, written_.inode);
    return CopyDone;
  }

  // A new target: written in place and removed again when anything fails.
  int writeNewTarget() {
    FileHandle out;
    if (FileResult r = createNewFile(destination_, out); !r) {
      if (tentative_ && r.error == EEXIST) return RetryLookingUp;
      return reportFileFailure(FormatFileOpenError, destination_, r, CopyCreateFailed);
    }
    int result = writeContent(out.get());
    if (const FileResult closed = closeWrittenFile(out); !closed && result == CopyDone) {
      progress_.showNow();
      result = spaceFailure(closed) ? reportDiskFull(destination_) : writeFailed(closed);
    }
    if (result != CopyDone) (void)deleteFile(destination_);
    return result;
  }

  // An existing target: replaced whole once the copy is complete, else left as it was.
  int replaceTarget() {
    int result = CopyDone;
    bool wrote = false;
    const FileResult replaced = replaceFile(destination_, [&](FileSink& sink) {
      wrote = true;
      result = writeContent(sink.stream());
      return result == CopyDone;
    });
    if (replaced || result != CopyDone) return result;
    progress_.showNow();
    if (!wrote)
      return reportFileFailure(FormatFileOpenError, destination_, replaced, CopyCreateFailed);
    return spaceFailure(replaced) ? reportDiskFull(destination_) : writeFailed(replaced);
  }

  int writeFailed(FileResult reason) {
    reportWithReason(TextWriteError, reason);
    return CopyWriteFailed;
  }

  int readFailed(FileResult reason) {
    reportWithReason(TextReadError, reason);
    return CopyReadFailed;
  }

  // The block loop: the recorded size copied chunk by chunk, the bar moving, Esc polled.
  // Once it is all there, the copy gets the source's time and permissions (nothing is
  // written to it afterwards).
  int writeContent(std::FILE* out) {
    channel_.to = out;
    progress_.beginFile(source_, size_, destination_);
    std::uint64_t done = 0;
    int retries = 0;
    while (done < size_) {
      const std::uint64_t want = std::min(ChunkBytes, size_ - done);
      const RangeCopy copied = copyRange(channel_, done, want);
      done += copied.copied;
      progress_.advance(done);
      if (!copied.readFailure) {
        progress_.showNow();
        return readFailed(copied.readFailure);
      }
      if (!copied.writeFailure) {
        progress_.showNow();
        return spaceFailure(copied.writeFailure) ? reportDiskFull(destination_)
                                                 : writeFailed(copied.writeFailure);
      }
      if (copied.copied < want) {
        // The source ended before its recorded size: asked again a few times.
        if (++retries > ReadRetries) {
          progress_.showNow();
          return readFailed(fileFailure(EIO));
        }
        progress_.retry(retries);
        continue;
      }
      if (escapePressed()) {
        progress_.showNow();
        if (askCancelOperation()) {
          fileopsState().cancelRequested = true;
          return CopyCancelled;
        }
      }
    }
    if (FileResult r = openFileFacts(out, written_); !r) return writeFailed(r);
    if (written_.size != size_) {  // a hole at the end of the source
      if (FileResult r = setFileLength(out, size_); !r)
        return spaceFailure(r) ? reportDiskFull(destination_) : writeFailed(r);
    }
    (void)carryFileFacts(out, written_, facts_, !keepAttributes_, keepAttributes_);
    return CopyDone;
  }

  const std::string& source_;
  const std::string& destination_;
  Progress& progress_;
  CopyChannel channel_;
  FileFacts facts_;  // the source as opened
  bool tentative_ = false;
  std::uint64_t size_ = 0;
  bool keepAttributes_ = false;
  FileFacts written_;
};

bool isPattern(std::string_view name) { return name.find_first_of(";<?*") != std::string::npos; }

}  // namespace

std::string shortenedLeft(std::string_view text, std::size_t n) {
  const std::size_t chars = textChars(text);
  if (chars <= n || n == 0) return std::string(text);
  return "~" + std::string(text.substr(charOffset(text, chars - (n - 1))));
}

bool escapePressed() {
  if (escapePending() == 0) {
    (void)checkKey();
    return false;
  }
  for (KeyCode key = checkKey(); key != 0; key = checkKey())
    if (key == key::Escape) return true;
  return false;
}

bool askCancelOperation() {
  return question(QuestionDefaultNo, TextCancelOperation) == QuestionYes;
}

bool askNewDisk(std::string_view destination) {
  const char letter = driveLetterOf(destination);
  if (letter != 'A' && letter != 'B') return false;
  return question(QuestionDefaultNo, textf(FormatNewDisk, letter)) == QuestionYes;
}

bool sameFile(std::string_view first, std::string_view second) {
  const std::string a = fullPath(first), b = fullPath(second);
  if (!a.empty() && a == b) return true;
  if (a.empty() || b.empty()) return false;
  FindRecord one, other;
  if (!findEntry(a, one) || !findEntry(b, other)) return false;
  return one.device == other.device && one.inode == other.inode;
}

int confirmOverwrite(std::string_view source, std::string_view destination, int mode,
                     bool continueWording) {
  if (mode != ConfirmIfExists && mode != ConfirmAlways) return AnswerNone;
  FindRecord from, to;
  const bool sourceFound = static_cast<bool>(findEntry(source, from));
  const bool destinationGiven = !destination.empty();
  const bool destinationFound = destinationGiven && static_cast<bool>(findEntry(destination, to));
  const std::string sourceName(baseName(source));
  const DosStamp s = stampOf(from.date, from.time);
  const auto sourceSize = static_cast<long long>(from.size);
  std::string text;
  bool exists = true;
  if (destinationGiven && !destinationFound) {
    if (mode == ConfirmIfExists) return AnswerNone;
    exists = false;
    text = textf(continueWording ? FormatFileExistsContinue : FormatCopyFileQuestion,
                 sourceName.c_str(), sourceSize, s.day, s.month, s.year, s.hour, s.minute);
  } else if (sourceFound) {
    if (continueWording || !destinationGiven) {
      text = textf(FormatFileExistsContinue, sourceName.c_str(), sourceSize, s.day, s.month, s.year,
                   s.hour, s.minute);
    } else {
      const DosStamp d = stampOf(to.date, to.time);
      text = textf(FormatFileExistsCopy, sourceName.c_str(), sourceSize, s.day, s.month, s.year,
                   s.hour, s.minute, shortenedLeft(destination, QuestionDestinationShown).c_str(),
                   static_cast<long long>(to.size), d.day, d.month, d.year, d.hour, d.minute);
    }
  } else if (destinationFound) {
    const DosStamp d = stampOf(to.date, to.time);
    text = textf(FormatFileExistsContinue, std::string(baseName(destination)).c_str(),
                 static_cast<long long>(to.size), d.day, d.month, d.year, d.hour, d.minute);
  } else {
    return AnswerNone;
  }
  if (exists) beep(BeepFrequency, BeepTicks);
  return answerOfLetter(buttonBox(TextOverwriteButtons, text));
}

bool needsShortName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return name.size() > 8;
  return name.size() - dot > 4 || dot >= 8 || name.find('.') != dot;
}

std::string toShortName(std::string_view longName) {
  std::string out;
  const std::size_t lastDot = longName.rfind('.');
  int count = 0;
  bool dotWritten = false;
  for (std::size_t i = 0; i < longName.size() && count < 12;) {
    if (count == 8 && !dotWritten) {
      out += '.';
      count = 9;
      dotWritten = true;
      if (lastDot != std::string_view::npos && lastDot >= i) {
        i = lastDot + 1;
        continue;
      }
    }
    const char c = longName[i];
    if (c == ' ') {
      out += '_';
      ++count;
    } else if (c == '.') {
      if (i == lastDot && !dotWritten) {
        out += '.';
        count = 9;
        dotWritten = true;
      } else {
        out += '_';
        ++count;
      }
    } else if (c != '/') {
      out += c;
      ++count;
    }
    ++i;
  }
  return out;
}

void closeCopyProgress() { freeWindow(fileopsState().progressWindow); }

int copyFiles(std::string_view source, std::string_view destination, int flags) {
  FileopsState& state = fileopsState();
  Progress progress((flags & CopyQuiet) != 0);
  const bool literal = (flags & CopyLiteralName) != 0 || !isPattern(baseName(source));

  // The files the source names: the one entry, or those of its directory the mask takes.
  const std::string search = fullPath(source);
  if (search.empty())
    return reportFileFailure(FormatFileOpenError, source, fileFailure(ENAMETOOLONG),
                             CopyOpenFailed);
  const std::string directory = parentPath(search);
  const CompiledMask mask = compileMask(literal ? std::string_view() : baseName(search));
  FindRecord record;
  FileFacts facts;
  // A source named literally, looked up as the entry itself (its identity that of what a
  // link points to).
  const auto lookUp = [&](const std::string& path) {
    const FileResult r = entryFacts(path, facts);
    if (!r) return r;
    record.device = facts.device;
    record.inode = facts.inode;
    if (facts.kind == FileKind::SymbolicLink) (void)findEntry(path, record);
    return r;
  };
  const bool fresh = literal && (flags & CopyIntoNewDirectory) != 0;
  if (literal) {
    record.name = baseName(search);
    if (FileResult r = fresh ? fileSuccess() : lookUp(search); !r)
      return reportFileFailure(FormatFileOpenError, search, r, CopyOpenFailed);
  } else if (findFirst(joinPath(directory, "*.*"), 0, record) != 0) {
    return reportFileFailure(FormatFileOpenError, search, record.failure, CopyOpenFailed);
  }

  int answer = (flags & CopySharedAnswer) != 0 ? state.sharedAnswer : AnswerNone;
  // One file, from and to full paths; with unseen the source is not looked up and the target
  // taken for missing.
  const auto copyOne = [&](const std::string& from, const std::string& to, bool unseen) {
    // The same file: the same full path, or the same device and inode (the record describes
    // what a link points to, as the destination's record does).
    FindRecord existing;
    const bool exists = !unseen && static_cast<bool>(findEntry(to, existing));
    if (from == to ||
        (exists && existing.device == record.device && existing.inode == record.inode)) {
      progress.showNow();
      messageBox(textf(FormatIdentical, from.c_str()));
      return static_cast<int>(CopyIdentical);
    }
    if (answer != AnswerAll && answer != AnswerYes) {
      const bool writtenBefore =
          exists && state.writtenTargets.contains({existing.device, existing.inode});
      if (preference(5) != 0 || writtenBefore) {
        // Asked only about a target that exists.
        if (exists) progress.showNow();
        answer =
            exists ? confirmOverwrite(from, to, ConfirmIfExists, (flags & CopyContinueWording) != 0)
                   : AnswerNone;
        if ((flags & CopySharedAnswer) != 0) state.sharedAnswer = answer;
      }
    }
    if (answer == AnswerSkip || answer == AnswerCancel || answer == AnswerNo) return answer;
    return FileCopy(from, to, progress).run(facts, unseen, exists, existing);
  };

  int result = CopyDone;
  do {
    const std::string name = record.name;
    if (!literal) {
      if (name == "." || name == ".." || !maskMatches(mask, name)) continue;
      if ((record.attribute & AttrDirectory) != 0 && !record.isLink) continue;
    }
    const std::string from = literal ? search : joinPath(directory, name);
    if (!literal) {
      if (FileResult r = entryFacts(from, facts); !r) {
        result = reportFileFailure(FormatFileOpenError, from, r, CopyOpenFailed);
        break;
      }
    }
    if (facts.kind == FileKind::Directory) continue;
    std::string to =
        (flags & CopyToDirectory) != 0 ? joinPath(destination, name) : std::string(destination);
    to = fullPath(to);
    if (to.empty() || to.size() > MaxPath) {
      result = reportFileFailure(FormatFileOpenError, destination, fileFailure(ENAMETOOLONG),
                                 CopyPathFailed);
      break;
    }
    to = shortenedForVolume(from, to);
    result = copyOne(from, to, fresh);
    if (result == RetryLookingUp) {
      // Something is at the target after all (a name that differs only in case, where the
      // file system folds case): looked at and asked about as always.
      if (FileResult r = lookUp(from); !r) {
        result = reportFileFailure(FormatFileOpenError, from, r, CopyOpenFailed);
        break;
      }
      result = copyOne(from, to, false);
    }
  } while ((result == CopyDone || result == AnswerSkip || result == AnswerNo) && !literal &&
           findNext(record) == 0);
  findClose(record);
  progress.end((flags & CopyKeepProgressWindow) != 0);
  return result;
}

}  // namespace corvane
