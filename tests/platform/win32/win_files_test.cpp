// The Win32 back end against the real file system (under Wine in CI): drives, find records,
// file calls, replacing, the tree walk and processes. Known differences of Wine are not
// asserted: the archive bit, read-only files opened by root, case-only renames, 8.3 names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/cmd_words.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "platform/host_directories.h"
#include "platform/host_entry.h"
#include "platform/paths.h"
#include "platform/printer_port.h"
#include "platform/process.h"
#include "platform/replace_file.h"
#include "platform/temporary_directory.h"
#include "platform/tree_walk.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

// A fresh directory under the temporary directory, removed with its contents at the end.
class WinTreeTest : public ::testing::Test {
 protected:
  WinTreeTest() {
    initDriveMap(nullptr);
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, base);
    root_ = toProgramPath(utf8Of(base) + "corvane-test-" + std::to_string(GetCurrentProcessId()) +
                          "-" + std::to_string(counter_++));
    EXPECT_TRUE(makeDirectory(root_)) << root_;
  }
  ~WinTreeTest() override { removeAll(root_); }

  std::string path(std::string_view relative) const { return joinPath(root_, relative); }

  void write(std::string_view relative, std::string_view content) const {
    FileHandle file = openFile(path(relative), "wb");
    ASSERT_TRUE(file) << relative;
    std::fwrite(content.data(), 1, content.size(), file.get());
  }

  std::string read(std::string_view relative) const {
    FileHandle file;
    if (!openRegularFile(path(relative), file)) return "<missing>";
    std::string content;
    char buffer[256];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get()))
      content.append(buffer, n);
    return content;
  }

  static void removeAll(const std::string& dir) {
    FindRecord record;
    for (int r = findFirst(joinPath(dir, "*"), 0, record); r == 0; r = findNext(record)) {
      if (record.name == "." || record.name == "..") continue;
      const std::string entry = joinPath(dir, record.name);
      (void)setAttributes(entry, 0);
      if ((record.attribute & AttrDirectory) != 0 && !record.isLink) {
        removeAll(entry);
      } else {
        (void)deleteFile(entry);
      }
    }
    findClose(record);
    (void)removeDirectory(dir);
  }

  std::string root_;
  static inline int counter_ = 0;
};

TEST(WinTimeTest, FileTimesCarrySecondsAndNanosecondsBothWays) {
  struct Case {
    std::int64_t seconds, nanoseconds;
  };
  // Before 1970 the seconds round down and the nanoseconds stay positive.
  const Case cases[] = {{0, 0}, {1600000000, 123456700}, {-1, 999999900}, {-86400, 100}};
  for (const Case& c : cases) {
    const FILETIME file = fileTimeOfTime(static_cast<std::time_t>(c.seconds), c.nanoseconds);
    std::int64_t nanoseconds = -1;
    EXPECT_EQ(timeOfFileTime(file, &nanoseconds), c.seconds) << c.seconds;
    EXPECT_EQ(nanoseconds, c.nanoseconds) << c.seconds;
  }
}

TEST(WinDrivesTest, ProgramPathsAreHostPathsOnRealDrives) {
  initDriveMap("D=/tmp");  // no drive map on Windows: the system's letters
  EXPECT_TRUE(driveMapped('C'));
  EXPECT_TRUE(driveAccessible('c'));
  EXPECT_EQ(driveHostRoot('C'), "C:\\");
  EXPECT_EQ(toProgramPath("c:/windows/../users"), "C:\\users");
  EXPECT_EQ(toProgramPath("\\\\?\\C:\\x\\y"), "C:\\x\\y");
  EXPECT_EQ(toProgramPath("relative\\name"), "");
  EXPECT_EQ(toHostPath("C:\\a\\.\\b"), "C:\\a\\b");
  char unmapped = 0;
  for (char letter = 'Z'; letter >= 'D' && unmapped == 0; --letter)
    if (!driveMapped(letter)) unmapped = letter;
  ASSERT_NE(unmapped, 0);
  EXPECT_EQ(fullPath(std::string(1, unmapped) + ":\\x"), "");
  EXPECT_FALSE(setCurrentDrive(unmapped));
}

TEST_F(WinTreeTest, EachDriveKeepsItsCurrentDirectory) {
  ASSERT_TRUE(changeDirectory(root_));
  EXPECT_EQ(currentDirectory('C'), root_);
  EXPECT_EQ(fullPath(std::string(1, root_[0]) + ":sub"), joinPath(root_, "sub"));
  EXPECT_FALSE(changeDirectory(path("missing")));
  EXPECT_EQ(currentDirectory(), root_);
  ASSERT_TRUE(setCurrentDrive('Z'));
  EXPECT_EQ(currentDrive(), 'Z');
  EXPECT_EQ(currentDirectory(root_[0]), root_);
  ASSERT_TRUE(setCurrentDrive(root_[0]));
}

TEST_F(WinTreeTest, FindDeliversAttributesSizesTimesAndDotsFirst) {
  ASSERT_TRUE(makeDirectory(path("dir")));
  write("dir\\data.txt", "12345");
  write("dir\\hidden.txt", "");
  write("dir\\keep.bin", std::string(70000, 'x'));
  ASSERT_TRUE(setAttributes(path("dir\\hidden.txt"), AttrHidden | AttrSystem));
  ASSERT_TRUE(setAttributes(path("dir\\keep.bin"), AttrReadOnly));
  ASSERT_TRUE(makeDirectory(path("dir\\sub")));
  std::time_t when = 0;
  const std::uint16_t date = (2021 - 1980) << 9 | 7 << 5 | 14, time = 13 << 11 | 45 << 5 | 10;
  ASSERT_TRUE(unpackDosDateTime(date, time, when));
  ASSERT_TRUE(setFileTime(path("dir\\data.txt"), date, time));

  std::vector<FindRecord> found;
  FindRecord record;
  for (int r = findFirst(path("dir\\*.*"), 0, record); r == 0; r = findNext(record)) {
    FindRecord copy;
    copy.name = record.name, copy.attribute = record.attribute, copy.size = record.size;
    copy.date = record.date, copy.time = record.time;
    found.push_back(std::move(copy));
  }
  ASSERT_EQ(found.size(), 6u);
  EXPECT_EQ(found[0].name, ".");
  EXPECT_EQ(found[1].name, "..");
  auto named = [&](std::string_view name) -> const FindRecord& {
    for (const FindRecord& r : found)
      if (r.name == name) return r;
    static FindRecord none;
    ADD_FAILURE() << "not found: " << name;
    return none;
  };
  EXPECT_EQ(named("data.txt").size, 5u);
  EXPECT_EQ(named("data.txt").date, date);
  EXPECT_EQ(named("data.txt").time, time);
  EXPECT_EQ(named("hidden.txt").attribute & (AttrHidden | AttrSystem), AttrHidden | AttrSystem);
  EXPECT_EQ(named("keep.bin").attribute & AttrReadOnly, AttrReadOnly);
  EXPECT_EQ(named("keep.bin").size, 70000u);
  EXPECT_EQ(named("sub").attribute & AttrDirectory, AttrDirectory);
  EXPECT_EQ(named("sub").size, 0u);

  EXPECT_EQ(findFirst(path("dir\\*.txt"), 0, record), 0);
  EXPECT_EQ(findNext(record), 0);
  EXPECT_EQ(findNext(record), 1);
  EXPECT_EQ(findFirst(path("missing\\*"), 0, record), 1);
  EXPECT_TRUE(record.failure.missing());
  // A name looked up literally, and its identity the same under another case.
  FindRecord one, other;
  ASSERT_TRUE(findEntry(path("dir\\DATA.TXT"), one));
  ASSERT_TRUE(findEntry(path("dir\\data.txt"), other));
  EXPECT_EQ(one.size, 5u);
  EXPECT_EQ(one.inode, other.inode);
  ASSERT_TRUE(findEntry(path("dir\\hidden.txt"), other));
  EXPECT_NE(one.inode, other.inode);
}

// A listing and a lookup of one entry agree on its identity (the file index) and its 8.3
// name. The form of an alternate name is the volume's (Wine hashes it): only that a long
// name's one is an 8.3 name other than the long one.
TEST_F(WinTreeTest, ListingsAndLookupsAgreeOnIdentityAndAlternateName) {
  write("a rather long name.text", "x");
  write("plain.txt", "y");
  ASSERT_TRUE(makeDirectory(path("sub directory")));
  struct Listed {
    std::string name, shortName;
    std::uint64_t device, inode;
  };
  std::vector<Listed> listed;
  FindRecord record;
  for (int r = findFirst(path("*"), 0, record); r == 0; r = findNext(record))
    listed.push_back({record.name, record.shortName, record.device, record.inode});
  ASSERT_EQ(listed.size(), 5u);
  for (const auto& [name, shortName, device, inode] : listed) {
    SCOPED_TRACE(name);
    FindRecord one;
    ASSERT_TRUE(findEntry(path(name), one));
    EXPECT_EQ(one.device, device);
    EXPECT_EQ(one.inode, inode);
    if (name == "." || name == ".." || name == "plain.txt") {  // the last is 8.3 already
      EXPECT_EQ(shortName, "");
      continue;
    }
    EXPECT_EQ(one.shortName, shortName);
    if (shortName.empty()) continue;
    EXPECT_NE(shortName, name);
    const std::size_t dot = shortName.find('.');
    EXPECT_LE(dot == std::string::npos ? shortName.size() : dot, 8u);
    EXPECT_LE(shortName.size(), 12u);
    EXPECT_EQ(shortName.find(' '), std::string::npos);
  }
  FindRecord root;
  ASSERT_TRUE(findEntry("C:\\", root));
  EXPECT_EQ(root.shortName, "");
}

// The environment as the system keeps it, in UTF-16: a user name with an umlaut in TMP (or
// APPDATA) arrives as UTF-8, not as the ANSI code page's bytes.
TEST_F(WinTreeTest, EnvironmentValuesArriveAsUtf8) {
  const std::string directory = toHostPath(path("j\xC3\xBCrgen"));
  ASSERT_TRUE(ensureHostDirectory(directory));
  const std::string saved = environmentValue("TMP");
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", wideOf(directory).c_str()));
  EXPECT_EQ(environmentValue("TMP"), directory);
  EXPECT_EQ(temporaryHostDirectory(), directory);
  SetEnvironmentVariableW(L"TMP", saved.empty() ? nullptr : wideOf(saved).c_str());
  EXPECT_EQ(environmentValue("CORVANE_NOT_SET_ANYWHERE"), "");
}

// A program kept in a folder of its own keeps its setup beside itself, also before the
// first one is written.
TEST_F(WinTreeTest, AWritableProgramDirectoryKeepsTheSetup) {
  EXPECT_TRUE(programDirectoryKeepsSetup(toHostPath(root_), "corvane.SET"));
  EXPECT_FALSE(programDirectoryKeepsSetup(toHostPath(path("missing")), "corvane.SET"));
  write("file", "");
  EXPECT_FALSE(programDirectoryKeepsSetup(toHostPath(path("file")), "corvane.SET"));
}

TEST_F(WinTreeTest, RenamesNeverReplaceUnlessAskedAndReadOnlyProtects) {
  write("a.txt", "new");
  write("b.txt", "old");
  EXPECT_EQ(renameFile(path("a.txt"), path("b.txt")).error, EEXIST);
  EXPECT_EQ(read("b.txt"), "old");
  EXPECT_TRUE(renameOver(path("a.txt"), path("b.txt")));
  EXPECT_EQ(read("b.txt"), "new");
  EXPECT_FALSE(fileExists(path("a.txt")));

  ASSERT_TRUE(setAttributes(path("b.txt"), AttrReadOnly));
  EXPECT_TRUE(deleteFile(path("b.txt")).accessDenied());
  FileHandle writing;
  EXPECT_TRUE(openFile(path("b.txt"), "wb", writing).accessDenied());
  EXPECT_EQ(replaceFile(path("b.txt"), "lost").error, EACCES);
  EXPECT_EQ(read("b.txt"), "new");
  ASSERT_TRUE(setAttributes(path("b.txt"), 0));
  EXPECT_TRUE(deleteFile(path("b.txt")));
  EXPECT_FALSE(fileExists(path("b.txt")));

  ASSERT_TRUE(makeDirectory(path("d")));
  EXPECT_EQ(deleteFile(path("d")).error, EISDIR);
  EXPECT_TRUE(removeDirectory(path("d")));
  EXPECT_FALSE(removeDirectory("C:\\"));
}

TEST_F(WinTreeTest, NamesWindowsRefusesAreReportedAndNothingIsWritten) {
  const char* names[] = {"CON",   "nul.txt", "Lpt1", "com9.log", "a:b",  "what?",
                         "star*", "pipe|x",  "dot.", "blank ",   "less<"};
  for (const char* name : names) {
    FileHandle file;
    EXPECT_EQ(openFile(path(name), "wb", file).error, FileErrorBadName) << name;
    EXPECT_FALSE(file) << name;
    EXPECT_EQ(makeDirectory(path(name)).error, FileErrorBadName) << name;
    EXPECT_EQ(createNewFile(path(name), file).error, FileErrorBadName) << name;
    EXPECT_EQ(replaceFile(path(name), "x").error, FileErrorBadName) << name;
  }
  write("plain.txt", "p");
  EXPECT_EQ(renameFile(path("plain.txt"), path("aux")).error, FileErrorBadName);
  EXPECT_EQ(read("plain.txt"), "p");
  // Nothing arrived under another name (the device, or the name without its dot or blank).
  std::vector<std::string> names_found;
  FindRecord record;
  for (int r = findFirst(path("*"), 0, record); r == 0; r = findNext(record))
    names_found.push_back(record.name);
  EXPECT_EQ(names_found, (std::vector<std::string>{".", "..", "plain.txt"}));
  EXPECT_FALSE(fileErrorText(fileFailure(FileErrorBadName)).empty());
}

TEST_F(WinTreeTest, PathsPastTheSystemsShortLimitStillWork) {
  // CreateDirectoryW takes 248 characters without the long-path form; the program's own
  // limit is 260.
  std::string deep = root_;
  while (deep.size() < 240) deep = joinPath(deep, "0123456789abcdef");
  ASSERT_TRUE(ensureHostDirectory(toHostPath(deep)));
  const std::string longer = joinPath(deep, std::string(254 - deep.size(), 'd'));
  ASSERT_GT(longer.size(), 248u);
  ASSERT_TRUE(makeDirectory(longer)) << longer.size();
  const std::string file = joinPath(longer, "f");
  ASSERT_LE(file.size(), MaxPath);
  EXPECT_TRUE(replaceFile(file, "deep"));
  FindRecord record;
  ASSERT_TRUE(findEntry(file, record));
  EXPECT_EQ(record.size, 4u);
  EXPECT_EQ(fullPath(joinPath(file, std::string(20, 'x'))), "");  // past the program's limit
}

TEST_F(WinTreeTest, ReplaceKeepsTheOldFileUntilTheNewIsWholeAndKeepsItsAttributes) {
  write("r.txt", "before");
  ASSERT_TRUE(setAttributes(path("r.txt"), AttrHidden));
  EXPECT_EQ(
      replaceFile(path("r.txt"), [](FileSink& sink) { return sink.write("half") && false; }).error,
      ECANCELED);
  EXPECT_EQ(read("r.txt"), "before");
  ReplaceBackup backup;
  const std::string backupPath = path("r.bak");
  backup.path = backupPath;
  EXPECT_TRUE(replaceFile(
      path("r.txt"), [](FileSink& sink) { return sink.write("after"); }, backup));
  EXPECT_TRUE(backup.kept);
  EXPECT_EQ(read("r.txt"), "after");
  EXPECT_EQ(read("r.bak"), "before");
  EXPECT_EQ(getAttributes(path("r.txt")) & AttrHidden, AttrHidden);
  std::vector<std::string> names;
  FindRecord record;
  for (int r = findFirst(path("*"), 0, record); r == 0; r = findNext(record))
    names.push_back(record.name);
  EXPECT_EQ(names.size(), 4u) << "a temporary was left";
}

TEST_F(WinTreeTest, NewFilesCopiesAndTheirFacts) {
  write("src.bin", std::string(100000, 's'));
  FileHandle out;
  ASSERT_TRUE(createNewFile(path("dst.bin"), out));
  FileHandle again;
  EXPECT_EQ(createNewFile(path("dst.bin"), again).error, EEXIST);
  FileHandle in;
  ASSERT_TRUE(openRegularFile(path("src.bin"), in));
  char buffer[4096];
  CopyChannel channel{in.get(), out.get(), buffer};
  const RangeCopy copied = copyRange(channel, 0, 200000);
  EXPECT_EQ(copied.copied, 100000u);
  EXPECT_TRUE(copied.readFailure && copied.writeFailure);
  FileFacts source;
  ASSERT_TRUE(entryFacts(path("src.bin"), source));
  source.modifiedSeconds = 1600000000, source.modifiedNanoseconds = 0;
  FileFacts now;
  ASSERT_TRUE(openFileFacts(out.get(), now));
  EXPECT_TRUE(carryFileFacts(out.get(), now, source, true, false));
  EXPECT_TRUE(closeWrittenFile(out));
  FileFacts written;
  ASSERT_TRUE(entryFacts(path("dst.bin"), written));
  EXPECT_EQ(written.size, 100000u);
  EXPECT_EQ(written.modifiedSeconds, 1600000000);
  EXPECT_EQ(written.kind, FileKind::Regular);
  std::uint64_t free = 0;
  EXPECT_TRUE(freeSpaceOf(root_, free));
  EXPECT_GT(free, 0u);
  FileHandle directory;
  EXPECT_EQ(openRegularFile(root_, directory).error, FileErrorNotRegular);
}

// Splitting copies a range of the whole to the start of a piece (a negative shift); building
// copies each piece to its place in the whole (a positive one).
TEST_F(WinTreeTest, ShiftedRangesLandAtTheShiftedOffset) {
  std::string whole(30000, '\0');
  for (std::size_t i = 0; i < whole.size(); ++i) whole[i] = static_cast<char>('a' + i % 23);
  write("whole.bin", whole);
  struct Case {
    std::uint64_t offset, length;
    std::int64_t shift;
  };
  const Case cases[] = {{10000, 9000, -10000}, {0, 7000, 12345}, {25000, 5000, -24999}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shift);
    (void)deleteFile(path("piece.bin"));
    FileHandle in, out;
    ASSERT_TRUE(openRegularFile(path("whole.bin"), in));
    ASSERT_TRUE(createNewFile(path("piece.bin"), out));
    char buffer[4096];
    CopyChannel channel{in.get(), out.get(), buffer};
    channel.targetShift = c.shift;
    const RangeCopy copied = copyRange(channel, c.offset, c.length);
    EXPECT_EQ(copied.copied, c.length);
    ASSERT_TRUE(closeWrittenFile(out));
    in.reset();
    const std::string piece = read("piece.bin");
    const std::size_t at = static_cast<std::size_t>(static_cast<std::int64_t>(c.offset) + c.shift);
    ASSERT_EQ(piece.size(), at + c.length);
    EXPECT_EQ(piece.substr(0, at), std::string(at, '\0'));
    EXPECT_EQ(piece.substr(at), whole.substr(c.offset, c.length));
  }
}

struct Walked : TreeWalkVisitor {
  std::vector<std::string> seen;
  int visit(TreeWalkEntry& entry) override {
    seen.push_back(std::string(entry.name()) + (entry.isDirectory() ? "/" : ""));
    return entry.name() == "skip" ? TreeWalkSkip : TreeWalkContinue;
  }
  int leaveDirectory(TreeWalkEntry& entry) override {
    seen.push_back("<" + std::string(entry.name()));
    return TreeWalkContinue;
  }
};

TEST_F(WinTreeTest, TheTreeWalkTakesFilesFirstAndLeavesSkippedDirectories) {
  ASSERT_TRUE(makeDirectory(path("a")));
  ASSERT_TRUE(makeDirectory(path("skip")));
  write("a\\x", "1");
  write("skip\\hidden", "2");
  write("z", "3");
  Walked walked;
  EXPECT_EQ(walkDirectoryTree(root_, walked, {TreeWalkOrder::FilesFirst, false}), TreeWalkContinue);
  EXPECT_EQ(walked.seen, (std::vector<std::string>{"z", "a/", "x", "<a", "skip/"}));
}

// What the walk tells of an entry, its path and record made when asked (also on leaving a
// directory), is what a find of that path tells.
TEST_F(WinTreeTest, WalkedEntriesHaveThePathsAndRecordsOfAFind) {
  ASSERT_TRUE(makeDirectory(path("d")));
  ASSERT_TRUE(makeDirectory(path("d\\e")));
  write("d\\e\\f.txt", "12345");
  write("top.bin", std::string(700, 't'));
  struct Recorder : TreeWalkVisitor {
    std::vector<std::pair<std::string, FindRecord>> met;
    int visit(TreeWalkEntry& entry) override { return take(entry, entry.depth() != 2); }
    int leaveDirectory(TreeWalkEntry& entry) override { return take(entry, true); }
    // Details first or path first, so that neither depends on the other having been made.
    int take(TreeWalkEntry& entry, bool detailsFirst) {
      const FindRecord* details = detailsFirst ? entry.details() : nullptr;
      std::string at = entry.path();
      if (!detailsFirst) details = entry.details();
      FindRecord copy;
      if (details != nullptr) {
        copy.name = details->name, copy.attribute = details->attribute, copy.size = details->size;
        copy.device = details->device, copy.inode = details->inode;
      }
      met.emplace_back(std::move(at), std::move(copy));
      return TreeWalkContinue;
    }
  } recorder;
  EXPECT_EQ(walkDirectoryTree(root_, recorder), TreeWalkContinue);
  std::vector<std::string> paths;
  for (const auto& [at, record] : recorder.met) {
    paths.push_back(at.substr(root_.size()));
    FindRecord found;
    ASSERT_TRUE(findEntry(at, found, 0)) << at;
    EXPECT_EQ(record.name, found.name) << at;
    EXPECT_EQ(record.attribute & AttrDirectory, found.attribute & AttrDirectory) << at;
    EXPECT_EQ(record.size, found.size) << at;
    EXPECT_EQ(record.inode, found.inode) << at;
    EXPECT_EQ(record.device, found.device) << at;
  }
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{"\\d", "\\d", "\\d\\e", "\\d\\e", "\\d\\e\\f.txt",
                                             "\\top.bin"}));
}

TEST_F(WinTreeTest, CommandsRunThroughTheInterpreterInTheirDirectory) {
  EXPECT_EQ(runShellCommand("exit 3", ""), 3);
  EXPECT_EQ(runShellCommand("cd > where.txt", root_), 0);
  EXPECT_EQ(read("where.txt").substr(0, root_.size()), root_);
  CommandStartFailure failure;
  EXPECT_EQ(runShellCommand("exit 0", path("missing"), &failure), -1);
  EXPECT_TRUE(failure.directory);
  EXPECT_TRUE(findExecutable("cmd", ""));
  EXPECT_FALSE(findExecutable("no-such-program-here", ""));
}

// A helper program built beside this test.
std::string helperProgram(std::string_view name) {
  wchar_t self[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::string path = utf8Of(std::wstring_view(self, length));
  return path.substr(0, path.find_last_of('\\') + 1) + std::string(name);
}

void setVariable(const wchar_t* name, const std::string& value) {
  ASSERT_TRUE(SetEnvironmentVariableW(name, value.empty() ? nullptr : wideOf(value).c_str()));
}

// "|command" ports: the printed bytes reach the command's standard input; a status other
// than 0, a command that stops reading, one that takes nothing and an interpreter that does
// not start are failures, and none of them blocks the program.
TEST_F(WinTreeTest, PrintingToACommandGivesItTheBytesAndReportsFailures) {
  setVariable(L"CORVANE_LPT4", "|more > " + cmdWordAt("more > ", toHostPath(path("copy.txt"))));
  {
    PrinterPort printer;
    ASSERT_TRUE(printer.open(4));
    EXPECT_TRUE(printer.write("first line\r\nsecond line\r\n", {}));
    EXPECT_TRUE(printer.close({}));
    EXPECT_EQ(printer.exitStatus(), 0);
  }
  const std::string copied = read("copy.txt");
  EXPECT_NE(copied.find("first line"), std::string::npos) << copied;
  EXPECT_NE(copied.find("second line"), std::string::npos) << copied;

  setVariable(L"CORVANE_LPT4", "|exit 3");
  {
    PrinterPort printer;
    ASSERT_TRUE(printer.open(4));
    FileResult written;
    const std::string block(65536, 'x');
    for (int i = 0; i < 200 && written; ++i) written = printer.write(block, [] { return true; });
    EXPECT_EQ(written.error, EPIPE);
    EXPECT_EQ(printer.close({}).error, EIO);
    EXPECT_EQ(printer.exitStatus(), 3);
  }

  // A command given up ends with what it started: the helper, held past the port's end,
  // never gets to leave its mark.
  const std::string mark = toHostPath(path("held-to-the-end"));
  setVariable(L"CORVANE_LPT4", "|" + cmdWordAt("", helperProgram("stdin_hold.exe")) + " 4000 " +
                                   cmdWordAt("", mark));
  const DWORD start = GetTickCount();
  {
    const std::string block(1 << 20, 'x');
    PrinterPort printer;
    ASSERT_TRUE(printer.open(4));
    int asked = 0;
    EXPECT_EQ(printer.write(block, [&] { return ++asked < 3; }).error, ECANCELED);
    EXPECT_EQ(asked, 3);
    printer.setTimeout(3 * PrinterPollStepMs);
    EXPECT_EQ(printer.write(block, [] { return true; }).error, ETIMEDOUT);
  }
  EXPECT_LT(GetTickCount() - start, 3800u) << "the port waited for the held command";
  Sleep(4500 - std::min<DWORD>(GetTickCount() - start, 4500));
  EXPECT_EQ(GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES)
      << "the command's program outlived the port";

  // The same when the end of the port is waited for and given up, the port still open.
  for (const bool cancel : {false, true}) {
    SCOPED_TRACE(cancel ? "cancelled" : "timed out");
    const std::string late = toHostPath(path(cancel ? "cancelled-close" : "timed-out-close"));
    setVariable(L"CORVANE_LPT4", "|" + cmdWordAt("", helperProgram("stdin_hold.exe")) + " 1500 " +
                                     cmdWordAt("", late));
    PrinterPort printer;
    ASSERT_TRUE(printer.open(4));
    printer.setTimeout(3 * PrinterPollStepMs);
    EXPECT_EQ(printer.close([cancel] { return !cancel; }).error, cancel ? ECANCELED : ETIMEDOUT);
    Sleep(2500);
    EXPECT_EQ(GetFileAttributesA(late.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the command outlived its close";
  }

  const std::string comspec = environmentValue("COMSPEC");
  setVariable(L"COMSPEC", "C:\\no\\such\\interpreter.exe");
  {
    PrinterPort printer;
    EXPECT_FALSE(printer.open(4));
  }
  setVariable(L"COMSPEC", comspec);
  setVariable(L"CORVANE_LPT4", "");
}

// Names full of what cmd.exe gives meaning to, each run through the real cmd.exe to a program
// that reports its arguments: it must receive exactly the name, and nothing else may run (the
// directory holds its report and nothing more). Both as a word of its own and inside a quote
// the line leaves open.
TEST_F(WinTreeTest, NamesReachTheProgramThroughCmdExactlyAndRunNothing) {
  const std::string helper = helperProgram("argv_echo.exe");
  ASSERT_TRUE(SetEnvironmentVariableW(L"CORVANE_PROBE", L"EXPANDED"));
  const std::vector<std::string> names = {
      "a b",
      "a&echo INJECTED>x",
      "p|echo INJECTED>x",
      "l<r",
      "g >x",
      "c^d",
      "(paren) ^^",
      "100%",
      "%PATH%",
      "%CORVANE_PROBE%",
      "x%CORVANE_PROBE%y%CORVANE_PROBE%z",
      "!CORVANE_PROBE!",
      "semi;colon",
      "comma,eq=",
      "tail\\",
      "blank tail\\",
      "a\\%b\\",
      "\xC3\xBCn\xC3\xAF c",
      "&",
      "",
  };

  const std::string program = cmdWordAt("", helper);
  // A double quote cannot reach a program inside a word, but it must not run anything either.
  for (const std::string name : {"q\"&echo INJECTED>x", "\"\"&echo INJECTED>x&\""}) {
    std::string line = program + " ";
    line += cmdWordAt(line, name);
    SCOPED_TRACE(line);
    EXPECT_EQ(runShellCommand(line, root_), 0);
    EXPECT_EQ(read("x"), "<missing>");
    (void)deleteFile(path("args.out"));
  }
  // A "^" the line ends in escapes nothing of the name.
  {
    const std::string line = program + " ^" + cmdWordAt(program + " ^", "&echo INJECTED>x");
    SCOPED_TRACE(line);
    EXPECT_EQ(runShellCommand(line, root_), 0);
    EXPECT_EQ(read("x"), "<missing>");
    (void)deleteFile(path("args.out"));
  }
  for (const std::string& name : names) {
    struct Case {
      std::string line;
      std::string expected;
    };
    std::string open = program + " \"pre ";
    open += cmdWordAt(open, name, " post\"") + " post\"";
    std::string plain = program + " ";
    plain += cmdWordAt(plain, name);
    // Right before the closing quote of a template ("%1" of a root directory).
    std::string closing = program + " \"";
    closing += cmdWordAt(closing, name, "\"") + "\"";
    for (const Case& c :
         {Case{plain, name}, Case{open, "pre " + name + " post"}, Case{closing, name}}) {
      if (c.expected.empty()) continue;  // an empty word is no argument
      SCOPED_TRACE(c.line);
      EXPECT_TRUE(scanCmdText(c.line).separators.empty());
      EXPECT_EQ(runShellCommand(c.line, root_), 0);
      EXPECT_EQ(read("args.out"), c.expected + "\n");
      std::vector<std::string> left;
      FindRecord record;
      for (int r = findFirst(joinPath(root_, "*"), 0, record); r == 0; r = findNext(record))
        if (record.name != "." && record.name != "..") left.push_back(record.name);
      findClose(record);
      EXPECT_EQ(left, std::vector<std::string>{"args.out"});
      (void)deleteFile(path("args.out"));
    }
  }
  SetEnvironmentVariableW(L"CORVANE_PROBE", nullptr);
}

}  // namespace
}  // namespace corvane
