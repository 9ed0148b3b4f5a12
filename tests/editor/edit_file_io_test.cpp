#include "editor/edit_file_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "editor/cursor_state.h"
#include "editor_fixture.h"
#include "platform/file_system.h"

namespace corvane {
namespace {

using testing::EditorTest;

// Writes the whole file as the editor saves it, without a dialog.
FileResult writeAll(const EditedFile& file, std::string_view path) {
  return replaceFile(
      path, [&](FileSink& sink) { return writeLines(sink, file, file.firstLine(), nullptr); });
}

// A random file of the shapes that need care: every line end, TABs, trailing blanks, NUL,
// bytes that are no UTF-8, lines over the limit (also by their TABs), a missing final end.
std::string randomContent(std::mt19937& random) {
  static const char* const pieces[] = {"\n",   "\r\n", "\r",       "\t", "  ", "word", "\0",
                                       "\xff", "\xc3", "\xc3\xa4", "/*", "*/", "x "};
  std::string content;
  const int count = static_cast<int>(random() % 200);
  for (int i = 0; i < count; ++i) {
    const std::size_t which = random() % (std::size(pieces) + 2);
    if (which == std::size(pieces)) {
      content.append(1500 + random() % 3000, 'L');  // a long line
    } else if (which == std::size(pieces) + 1) {
      content.append(300, '\t');  // 2400 columns of TABs
    } else {
      const char* piece = pieces[which];
      content.append(piece, which == 6 ? 1 : std::char_traits<char>::length(piece));
    }
  }
  return content;
}

// What a save writes for a file read unchanged: the same bytes, a missing final line end
// added (the first line end of the file, LF when there is none).
std::string savedForm(const std::string& content) {
  if (content.empty() || content.back() == '\n' || content.back() == '\r') return content;
  const std::size_t lf = content.find('\n');
  if (lf == std::string::npos) return content + "\n";
  return content + (lf > 0 && content[lf - 1] == '\r' ? "\r\n" : "\n");
}

TEST_F(EditorTest, ReadAndSaveGiveTheBytesBackButForTheFinalLineEnd) {
  console_.onInputExhausted = [](HeadlessConsole& c) { c.pushKey(key::Enter); };  // notes
  std::mt19937 random(20240518);
  for (int round = 0; round < 60; ++round) {
    const std::string content = randomContent(random);
    tree_.writeFile("in", content);
    EditedFile file;
    ASSERT_EQ(read("in", file), LoadDone) << round;
    // Every line within the limit, every flag as its text says.
    for (const EditLine* line = file.sentinel.next; line != nullptr; line = line->next) {
      ASSERT_LE(line->length, MaxLineBytes) << round;
      ASSERT_EQ(line->flags, commentFlags(line->view())) << round;
    }
    ASSERT_TRUE(writeAll(file, "T:\\out")) << round;
    ASSERT_TRUE(tree_.readFile("out") == savedForm(content)) << round;

    // One line changed: only its bytes differ.
    if (file.lineCount == 0) continue;
    EditLine* line = lineAt(file, 1 + static_cast<long>(random() % file.lineCount));
    if (line->tabIndented) continue;
    const std::size_t at = static_cast<std::size_t>(line->original - file.loadBuffer.get());
    std::string expected = content;
    expected.replace(at, line->originalLength, "changed");
    ASSERT_TRUE(replaceLineText(file, *line, "changed"));
    ASSERT_TRUE(writeAll(file, "T:\\out")) << round;
    ASSERT_TRUE(tree_.readFile("out") == savedForm(expected)) << round;
  }
}

TEST_F(EditorTest, LinesAreShownWithTabsExpandedBlanksTrimmedAndLongOnesSplit) {
  tree_.writeFile("f", "a\tb  \n" + std::string(4500, 'x') + "\r\n\tkey:\tvalue\r\nlast\r");
  EditedFile file;
  console_.pushKey(key::Enter);  // " 1 lines longer than 2000 characters were split ! "
  ASSERT_EQ(read("f", file), LoadDone);
  EXPECT_TRUE(linesOf(file) ==
              (std::vector<std::string>{"a       b", std::string(2000, 'x'), std::string(2000, 'x'),
                                        std::string(500, 'x'), "        key:    value", "last"}));
  EXPECT_EQ(file.defaultLineEnd, LineEnding::Lf);
  EXPECT_EQ(file.lastLine->lineEnd, LineEnding::Cr);
  EXPECT_EQ(file.lineNumber, 1);

  // A changed line that began with a TAB writes its indentation as TABs again; the others
  // keep their bytes.
  EditLine* tabbed = lineAt(file, 5);
  ASSERT_TRUE(replaceLineText(file, *tabbed, "          key: other"));
  ASSERT_TRUE(writeAll(file, "T:\\f"));
  EXPECT_TRUE(tree_.readFile("f") ==
              "a\tb  \n" + std::string(4500, 'x') + "\r\n\t  key: other\r\nlast\r");
}

TEST_F(EditorTest, FilesThatCannotBeReadAreRefusedAndMissingOnesAreNew) {
  tree_.makeDir("dir");
  ASSERT_EQ(mkfifo(tree_.host("fifo").c_str(), 0644), 0);
  for (const char* name : {"dir", "fifo"}) {
    EditedFile file;
    console_.pushKey(key::Enter);  // closes "File open error"
    EXPECT_EQ(read(name, file), LoadFailed) << name;
    EXPECT_TRUE(console_.input.empty()) << name;
  }
  EditedFile fresh;
  EXPECT_EQ(read("new.txt", fresh), LoadDone);
  EXPECT_EQ(fresh.lineCount, 0);
  EXPECT_FALSE(fresh.diskStamp.present);
}

TEST_F(EditorTest, BackupNames) {
  struct Case {
    const char* name;
    const char* backup;
  } cases[] = {
      {"C:\\TEST.C", "C:\\TEST.BAK"},
      {"C:\\README", "C:\\README.BAK"},
      {"C:\\DIR.X\\FILE", "C:\\DIR.X\\FILE.BAK"},
      {"T:\\.bashrc", "T:\\.bashrc.BAK"},
      {"T:\\a.b.c", "T:\\a.b.BAK"},
      {"T:\\X.BAK", "T:\\X.BAK"},
  };
  for (const Case& c : cases) EXPECT_EQ(backupName(c.name), c.backup) << c.name;
}

TEST_F(EditorTest, SaveKeepsABackupTheLinkAndTheModeAndTheCursorState) {
  tree_.makeDir("real");
  tree_.writeFile("real/notes.txt", "old\n");
  ASSERT_EQ(chmod(tree_.host("real/notes.txt").c_str(), 0640), 0);
  tree_.makeSymlink("notes.txt", "real/notes.txt");
  EditedFile file;
  ASSERT_EQ(read("notes.txt", file), LoadDone);
  ASSERT_TRUE(replaceLineText(file, *file.currentLine, "new"));
  file.modified = 1;
  file.cursorColumn = 2;
  console_.pushKey(key::Enter);  // the name as it stands
  EXPECT_EQ(saveEditFile(file), SaveDone);
  EXPECT_EQ(file.modified, 0);
  struct stat st {};
  ASSERT_EQ(lstat(tree_.host("notes.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(tree_.host("real/notes.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(tree_.readFile("real/notes.txt"), "new\n");
  EXPECT_EQ(tree_.readFile("notes.BAK"), "old\n");
  ASSERT_EQ(readCursorRecords().size(), 1u);
  EXPECT_EQ(readCursorRecords()[0].column, 2);

  // X.BAK keeps no backup of itself.
  tree_.writeFile("X.BAK", "x\n");
  EditedFile backup;
  ASSERT_EQ(read("X.BAK", backup), LoadDone);
  console_.pushKey(key::Enter);
  EXPECT_EQ(saveEditFile(backup), SaveDone);
  EXPECT_EQ(tree_.readFile("X.BAK"), "x\n");
}

TEST_F(EditorTest, AFileChangedOnDiskIsNotOverwrittenUnasked) {
  tree_.writeFile("f", "mine\n");
  EditedFile file;
  ASSERT_EQ(read("f", file), LoadDone);
  file.modified = 1;
  tree_.writeFile("f", "someone else's longer text\n");
  console_.pushKeys({key::Enter, 'n'});  // the name, then No
  EXPECT_EQ(saveEditFile(file), SaveFailed);
  EXPECT_EQ(tree_.readFile("f"), "someone else's longer text\n");
  EXPECT_EQ(file.modified, 1);
  console_.pushKeys({key::Enter, 'y'});
  EXPECT_EQ(saveEditFile(file), SaveDone);
  EXPECT_EQ(tree_.readFile("f"), "mine\n");
}

TEST_F(EditorTest, SavingOverAnotherFileAsksFirst) {
  tree_.writeFile("a", "mine\n");
  tree_.writeFile("other", "theirs\n");
  EditedFile file;
  ASSERT_EQ(read("a", file), LoadDone);
  file.modified = 1;
  for (const KeyCode answer : {KeyCode{'n'}, KeyCode{'y'}}) {
    console_.pushText("T:\\other");  // typed over the preset name
    console_.pushKeys({key::Enter, answer});
    EXPECT_EQ(saveEditFile(file), answer == 'y' ? SaveDone : SaveFailed);
    EXPECT_TRUE(console_.input.empty());
  }
  EXPECT_EQ(file.name, "T:\\other");
  EXPECT_EQ(tree_.readFile("other"), "mine\n");
  EXPECT_EQ(tree_.readFile("other.BAK"), "theirs\n");
  EXPECT_EQ(tree_.readFile("a"), "mine\n");
}

// A write that fails half way (a file size limit) leaves the file and its backup as they
// were, says so and keeps the file modified; the same in place (a second hard link).
TEST_F(EditorTest, AFailedSaveChangesNothingOnDisk) {
  for (const bool inPlace : {false, true}) {
    const std::string old(1000, 'o');
    tree_.writeFile("f", old + "\n");
    tree_.writeFile("f.BAK", "older backup");
    if (inPlace) {
      ASSERT_EQ(link(tree_.host("f").c_str(), tree_.host("g").c_str()), 0);
    }
    const pid_t child = fork();
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit {
        4096, 4096
      };
      setrlimit(RLIMIT_FSIZE, &limit);
      EditedFile file;
      int failed = read("f", file) != LoadDone;
      for (int i = 0; i < 20; ++i) insertLineAfter(file, file.firstLine(), std::string(900, 'n'));
      file.modified = 1;
      std::string shown;
      console_.pushKey(key::Enter);
      console_.onInputExhausted = [&](HeadlessConsole& c) {
        for (int row = 0; row < 25; ++row) shown += imageRow(row);
        c.pushKey(key::Enter);
      };
      failed += saveEditFile(file) != SaveFailed;
      failed += file.modified != 1;
      failed += shown.find("Write error !") == std::string::npos;
      _exit(failed);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << inPlace;
    EXPECT_TRUE(tree_.readFile("f") == old + "\n") << inPlace;
    EXPECT_EQ(tree_.readFile("f.BAK"), "older backup") << inPlace;
    unlink(tree_.host("g").c_str());
  }
}

}  // namespace
}  // namespace corvane
