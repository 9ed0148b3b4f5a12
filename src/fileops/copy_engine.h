// The copy engine: copies the files a source name or mask yields, with a progress window,
// the overwrite question, the source's time and permissions carried over, missing
// destination directories made, and every failure reported with its result. A copy that
// fails or is cancelled never leaves a target that looks whole, and an existing target is
// replaced only once its new content is complete (replace_file.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// CopyFlags.
enum CopyFlag : int {
  CopyToDirectory = 0x01,         // the destination is a directory: the found name is added
  CopySingleFile = 0x02,          // passed by the single-file copy command; no effect
  CopyKeepProgressWindow = 0x04,  // the progress window stays open for the next call
  CopyQuiet = 0x20,               // no progress window
  CopyContinueWording = 0x40,     // the one-line " FILE EXISTS : ... Continue execution ?"
  CopySharedAnswer = 0x80,        // the overwrite question starts from and stores SharedAnswer
  // The source is one file named literally, even with ";", "<", "?" or "*" in its name (a
  // name from a list or a walk); without it such a source is a typed pattern.
  CopyLiteralName = 0x100,
  // The destination's directory was just made by the caller (a tree walk's mirror): nothing
  // is in it, so the target is not looked up (one that appeared meanwhile is not replaced:
  // its creation fails), and the source, named literally, is taken for a regular file until
  // opening it says otherwise.
  CopyIntoNewDirectory = 0x200,
};

// CopyResult.
enum CopyResult : int {
  CopyDone = 0,          // copied, or nothing matched
  CopyOpenFailed = 1,    // the source cannot be found or opened
  CopyCreateFailed = 2,  // the destination cannot be created or opened
  CopyWriteFailed = 3,
  CopyIdentical = 4,   // source and destination are the same file
  CopyReadFailed = 5,  // a read failed, or the source ended before its recorded size
  CopyPathFailed = 6,  // a full path cannot be formed
  CopyDiskFull = 7,
  CopyCancelled = 8,
};

// OverwriteAnswer; a CopyResult too when it stopped a file.
enum OverwriteAnswer : int {
  AnswerNone = 0,  // not asked
  AnswerSkip = 0x1000,
  AnswerAll = 0x1001,
  AnswerCancel = 0x1002,
  AnswerNo = 0x1003,
  AnswerYes = 0x1004,
};

// Modes of confirmOverwrite.
constexpr int ConfirmIfExists = 1;  // ask only when the destination exists
constexpr int ConfirmAlways = 2;    // ask for every file

// The same-file test: the two paths name one file (equal full paths, or the same device and
// inode: hard links, two drive letters on one directory, a linked directory, names differing
// in case where the file system folds case). Paths that do not exist are compared by text.
bool sameFile(std::string_view first, std::string_view second);

// Asks whether to copy source onto destination (destination empty: none given) and returns
// the OverwriteAnswer: ConfirmIfExists asks only when the destination exists, ConfirmAlways
// for every file, any other mode gives AnswerNone without asking. The questions that report
// an existing file are preceded by a 2000 Hz beep; continueWording takes the one-line
// " FILE EXISTS : ... Continue execution ?". Letters: S Skip, A All, C Cancel, J or Y Yes,
// N No; Esc and anything else Cancel.
[[nodiscard]] int confirmOverwrite(std::string_view source, std::string_view destination, int mode,
                                   bool continueWording);

// Copies every file the source name or mask yields to destination (CopyFlag bits) and
// returns the CopyResult of the last file handled; it stops at the first file whose result is
// not CopyDone, AnswerSkip or AnswerNo. A source with ";", "<", "?" or "*" in its last
// name is a mask over its directory (the current directory when it has none); any other names
// one entry. Directories are passed by; a symbolic link is copied as a link, a FIFO made anew,
// a device or socket reported. Each failure is reported once in a message box.
[[nodiscard]] int copyFiles(std::string_view source, std::string_view destination, int flags);

// The 8.3 form of a long name: verylongname.txt gives verylong.txt, my.long.name.txt
// gives my_long_.txt, longfilename gives longfile.nam, abc.defghij gives abc.def.
std::string toShortName(std::string_view longName);
// Whether a name must be shortened for a volume that holds 8.3 names only.
bool needsShortName(std::string_view name);

// The progress window a CopyKeepProgressWindow call left open, closed.
void closeCopyProgress();

// Polls the keyboard without waiting (which also lets the clock show): true when Esc was
// pressed (keys typed before it are dropped).
bool escapePressed();
// " Cancel operation ? ": true when answered "Y".
bool askCancelOperation();
// "Enter a new Disk in drive %c:  ? " for a destination on A: or B:, true when answered "Y";
// false at once for any other drive.
bool askNewDisk(std::string_view destination);

// A text cut to n characters from the left: longer ones become "~" and their last n - 1.
std::string shortenedLeft(std::string_view text, std::size_t n);

}  // namespace corvane
