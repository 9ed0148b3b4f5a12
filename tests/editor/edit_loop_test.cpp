#include "editor/edit_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "editor/edit_commands.h"
#include "editor/edit_screen.h"
#include "editor/editor_entry.h"
#include "editor_fixture.h"
#include "platform/textf.h"
#include "support/follow_resizes.h"
#include "ui/line_input.h"

namespace corvane {
namespace {

using testing::EditorTest;

// Keys for the editor and what must hold once it has taken them and waits for more.
struct Step {
  std::vector<KeyCode> keys;
  std::function<void(EditedFile&)> check;
};

class EditLoopTest : public EditorTest {
 protected:
  // Edits T:\name through the steps; afterwards every file is left (changes thrown away).
  int run(const std::string& name, std::vector<Step> steps) {
    std::size_t next = 0;
    bool checked = false;
    script([&, steps](HeadlessConsole& c) {
      if (next > 0 && !checked && steps[next - 1].check) {
        SCOPED_TRACE(textf("step %zu", next - 1));
        steps[next - 1].check(*editorState().current);
      }
      if (next == steps.size()) {
        checked = true;
        return false;
      }
      for (KeyCode code : steps[next].keys) c.pushKey(code);
      ++next;
      return true;
    });
    return editFile("T:\\" + name);
  }

  static std::string numbered(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += textf("line %d\n", i);
    return text;
  }

  std::string screenText() const {
    std::string text;
    for (int row = 0; row < screenRows(); ++row) text += imageRow(row) + "\n";
    return text;
  }
};

std::vector<KeyCode> times(int n, KeyCode code) { return std::vector<KeyCode>(n, code); }
std::vector<KeyCode> operator+(std::vector<KeyCode> a, const std::vector<KeyCode>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(EditLoopTest, TabsEnterAndThePlaceOfTheCursor) {
  tree_.writeFile("f", "abcdefgh\n    abc def\n");
  run("f",
      {
          // Tab at column 5 inserts 3 blanks; Shift-Tab from 12 goes to 8, from 3 to 0.
          {times(5, key::Right) + std::vector<KeyCode>{key::Tab},
           [](EditedFile& f) {
             EXPECT_EQ(f.currentLine->view(), "abcde   fgh");
             EXPECT_EQ(f.cursorColumn, 8);
           }},
          {times(4, key::Right) + std::vector<KeyCode>{key::ShiftTab},
           [](EditedFile& f) { EXPECT_EQ(f.cursorColumn, 8); }},
          {{key::Home, key::Right, key::Right, key::Right, key::ShiftTab},
           [](EditedFile& f) { EXPECT_EQ(f.cursorColumn, 0); }},
          // Enter on the "d" of "    abc def": the new line keeps the indentation.
          {std::vector<KeyCode>{key::Down} + times(8, key::Right) +
               std::vector<KeyCode>{key::Enter},
           [](EditedFile& f) {
             EXPECT_EQ(linesOf(f), (std::vector<std::string>{"abcde   fgh", "    abc", "    def"}));
             EXPECT_EQ(f.lineNumber, 3);
             EXPECT_EQ(f.cursorColumn, 4);
           }},
          // The cursor may stand past the end; typing there pads the line.
          {{key::End, key::Right, key::Right, 'x', key::Up},
           [](EditedFile& f) {
             EXPECT_EQ(lineAt(f, 3)->view(), "    def  x");
             EXPECT_EQ(f.cursorColumn, 10);
           }},
          // Passing over lines changes nothing: the modified flag comes from a change.
          {{key::Up, key::Down}, [](EditedFile& f) { EXPECT_EQ(f.modified, 1); }},
      });
  tree_.writeFile("g", "one\ntwo\n");
  run("g", {{{key::Down, key::End, key::Up, key::Right, key::Down},
             [](EditedFile& f) { EXPECT_EQ(f.modified, 0); }}});
}

// Enter inside the indentation of a full line: the indentation and the rest would pass the
// limit, so the rest loses its leading blanks.
TEST_F(EditLoopTest, EnterNeverMakesALineTooLong) {
  EditedFile file;
  EditLine* line = insertLineAfter(file, file.firstLine(), "    " + std::string(1996, 'x'));
  file.currentLine = line, file.lineNumber = 1, file.cursorColumn = 2;
  enterLine(file, true, 20);
  EXPECT_EQ(linesOf(file), (std::vector<std::string>{"", "    " + std::string(1996, 'x')}));
  EXPECT_EQ(file.cursorColumn, 4);
  EXPECT_EQ(file.lineNumber, 2);
}

TEST_F(EditLoopTest, InsertStateIsTheEditorsOwnAcrossTheSaveDialog) {
  tree_.writeFile("f", "abc\n");
  run("f",
      {
          {{'1', key::F2, key::Enter},  // save: the dialog turns the shared insert off
           [](EditedFile& f) { EXPECT_EQ(f.modified, 0); }},
          {{'2', key::Down}, [](EditedFile& f) { EXPECT_EQ(linesOf(f)[0], "12abc"); }},
          // Ins switches to REPLACE, which the status shows.
          {{key::Ins, 'X', key::Down},
           [this](EditedFile& f) {
             EXPECT_EQ(linesOf(f)[0], "12Xbc");
             EXPECT_NE(imageRow(24).find("REPLACE"), std::string::npos);
           }},
          // Ctrl-F9 brings the line back as the field found it.
          {{'Y', 'Z', 0x0443, key::Down}, [](EditedFile& f) { EXPECT_EQ(linesOf(f)[0], "12Xbc"); }},
      });
  EXPECT_EQ(tree_.readFile("f"), "1abc\n");
}

TEST_F(EditLoopTest, TheBlockOfLines) {
  tree_.writeFile("f", numbered(12));
  const auto atLine = [](long n) {
    std::vector<KeyCode> keys{key::CtrlHome};
    return keys + times(static_cast<int>(n - 1), key::Down);
  };
  run("f",
      {
          // Mark line 10, then line 5: the block is 5 to 10.
          {atLine(10) + std::vector<KeyCode>{key::alt('L')} + atLine(5) +
               std::vector<KeyCode>{key::alt('L')},
           [](EditedFile& f) {
             EXPECT_EQ(f.blockStart->view(), "line 5");
             EXPECT_EQ(f.blockEnd->view(), "line 10");
             long flagged = 0;
             for (const EditLine* l = f.sentinel.next; l; l = l->next) flagged += l->inBlock();
             EXPECT_EQ(flagged, 6);
           }},
          // Copying into the block itself is refused.
          {atLine(7) + std::vector<KeyCode>{key::alt('C'), key::Enter},
           [this](EditedFile& f) { EXPECT_EQ(f.lineCount, 12); }},
          // Moving it after line 12, then deleting it.
          {atLine(12) + std::vector<KeyCode>{key::alt('M')},
           [](EditedFile& f) {
             EXPECT_EQ(f.lineCount, 12);
             EXPECT_EQ(lineAt(f, 5)->view(), "line 11");
             EXPECT_EQ(lineAt(f, 7)->view(), "line 5");
             EXPECT_EQ(f.blockStart, nullptr);
             EXPECT_EQ(f.lineNumber, 6);
             EXPECT_EQ(f.currentLine->view(), "line 12");
           }},
          {atLine(2) + std::vector<KeyCode>{key::alt('L'), key::Down, key::alt('L'), key::alt('D')},
           [](EditedFile& f) {
             EXPECT_EQ(f.lineCount, 10);
             EXPECT_EQ(f.currentLine->view(), "line 1");
             EXPECT_EQ(f.lineNumber, 1);
           }},
          // A one-line block whose line goes is forgotten.
          {{key::alt('L'), key::CtrlBackspace, key::alt('C'), key::Enter},
           [](EditedFile& f) {
             EXPECT_EQ(f.blockStart, nullptr);
             EXPECT_EQ(f.lineCount, 9);
           }},
      });
}

TEST_F(EditLoopTest, SeveralFilesOneBlock) {
  tree_.writeFile("a", "a1\na2\n");
  tree_.writeFile("b", "b1\nb2\nb3\n");
  const auto files = [] { return editorState().files.size(); };
  run("a", {
               // F6 loads b by name; its second line is marked; back to a.
               {{key::F6, 'T', ':', '\\', 'b', key::Enter, key::Down, key::alt('L'), key::F10},
                [&](EditedFile& f) {
                  EXPECT_EQ(files(), 2u);
                  EXPECT_EQ(f.name, "T:\\a");
                  ASSERT_NE(blockOwner(), nullptr);
                  EXPECT_EQ(blockOwner()->name, "T:\\b");
                }},
               // Moved from b after a's first line; b's cursor leaves the block upwards.
               {{key::alt('M')},
                [](EditedFile& f) {
                  EXPECT_EQ(linesOf(f), (std::vector<std::string>{"a1", "b2", "a2"}));
                  EditedFile& b = *editorState().files[1];
                  EXPECT_EQ(linesOf(b), (std::vector<std::string>{"b1", "b3"}));
                  EXPECT_EQ(b.currentLine->view(), "b1");
                  EXPECT_EQ(b.lineNumber, 1);
                  EXPECT_EQ(b.modified, 1);
                  EXPECT_EQ(blockOwner(), nullptr);
                }},
               // A block in b, then b left: the block goes with it.
               {{key::F10, key::alt('L'), key::F3, 'y'},
                [&](EditedFile& f) {
                  EXPECT_EQ(files(), 1u);
                  EXPECT_EQ(f.name, "T:\\a");
                  EXPECT_EQ(blockOwner(), nullptr);
                }},
               {{key::alt('C'), key::Enter}, [](EditedFile& f) { EXPECT_EQ(f.lineCount, 3); }},
           });
}

// Files come back by the list of those saved last (F5) and by a name in the text (Ctrl+Y).
TEST_F(EditLoopTest, FilesOpenFromTheStateListAndFromTheText) {
  tree_.writeFile("a", "see c.txt here\n");
  tree_.writeFile("b", "b\n");
  tree_.writeFile("c.txt", "c\n");
  const auto current = [](EditedFile& f) { return f.name; };
  run("a", {
               {{key::F2, key::Enter, key::F6, 'T', ':', '\\', 'b', key::Enter, key::F2, key::Enter,
                 key::F3},
                [&](EditedFile& f) {
                  EXPECT_EQ(current(f), "T:\\a");
                  EXPECT_EQ(editorState().files.size(), 1u);
                }},
               {{key::F5, key::Enter},  // the newest first: b
                [&](EditedFile& f) { EXPECT_EQ(current(f), "T:\\b"); }},
               {{key::F10, key::Right, key::Right, key::Right, key::Right, key::ctrl('Y')},
                [&](EditedFile& f) {
                  EXPECT_EQ(current(f), "T:\\c.txt");
                  EXPECT_EQ(editorState().files.size(), 3u);
                }},
           });
}

TEST_F(EditLoopTest, CommandModeGoesToALine) {
  tree_.writeFile("f", numbered(150));
  run("f", {{{key::Escape, '1', '2', '0', key::Enter},
             [](EditedFile& f) {
               EXPECT_EQ(f.lineNumber, 120);
               EXPECT_EQ(f.currentLine->view(), "line 120");
               EXPECT_FALSE(editorState().commandMode);
             }},
            {{key::CtrlEnd}, [](EditedFile& f) { EXPECT_EQ(f.lineNumber, 150); }}});
}

TEST_F(EditLoopTest, TheScreenFollowsAResize) {
  testing::followResizes();
  tree_.writeFile("f", numbered(40));
  run("f", {{{key::CtrlEnd},
             [this](EditedFile& f) {
               EXPECT_EQ(f.cursorRow, 23);
               console_.pushResize(100, 30);
             }},
            {{'x'}, [this](EditedFile& f) {
               EXPECT_EQ(textRows(), 28);
               EXPECT_EQ(f.cursorRow, 23);
               EXPECT_NE(imageRow(29).find("Line 40"), std::string::npos);
               EXPECT_EQ(imageText(0, 23, 6), "xline ");
             }}});
}

// Random keys over two files, one with lines near the limit: after every key the lists are
// whole, no line passes 2000 bytes, the flags say what the texts and the block are, and the
// line number is that of the current line.
TEST_F(EditLoopTest, RandomKeysKeepTheBuffersWhole) {
  tree_.writeFile("a", "/* x */\n" + std::string(1995, 'L') + "\n\tindented\nshort\n");
  tree_.writeFile("b", numbered(30));
  const KeyCode keys[] = {'a',           ' ',           0x82 /* e acute */,
                          '/',           '*',           key::Enter,
                          key::Tab,      key::ShiftTab, key::Backspace,
                          key::Del,      key::Left,     key::Right,
                          key::Up,       key::Down,     key::Home,
                          key::End,      key::PgUp,     key::PgDn,
                          key::CtrlHome, key::CtrlEnd,  key::CtrlBackspace,
                          KeyEditorJoin, key::alt('L'), key::alt('U'),
                          key::alt('C'), key::alt('M'), key::alt('D'),
                          key::Ins,      key::F10,      key::ctrl('E'),
                          0x023B /* upper case */};
  std::mt19937 random(99);
  int remaining = 3000;
  console_.pushKeys({key::F6, 'T', ':', '\\', 'b', key::Enter});
  script([&](HeadlessConsole& c) {
    const EditedFile* owner = nullptr;
    for (const auto& file : editorState().files) {
      long count = 0;
      const EditLine* last = &file->sentinel;
      bool inBlock = false;
      for (const EditLine* line = file->sentinel.next; line != nullptr; line = line->next) {
        ++count;
        EXPECT_EQ(line->previous, last);
        last = line;
        EXPECT_LE(line->length, MaxLineBytes);
        EXPECT_EQ(line->flags & ~LineInBlock, commentFlags(line->view()));
        if (line == file->blockStart) inBlock = true;
        EXPECT_EQ(line->inBlock(), inBlock);
        if (line == file->blockEnd) inBlock = false;
      }
      EXPECT_EQ(count, file->lineCount);
      EXPECT_EQ(last, file->lastLine);
      EXPECT_EQ(lineNumberOf(file->currentLine), file->lineNumber);
      EXPECT_FALSE(inBlock);  // the block's end was reached
      if (file->blockStart != nullptr) {
        EXPECT_EQ(owner, nullptr);  // one block among all files
        owner = file.get();
      }
    }
    if (remaining <= 0 || ::testing::Test::HasFailure()) return false;
    --remaining;
    c.pushKey(keys[random() % std::size(keys)]);
    return true;
  });
  editFile("T:\\a");
  EXPECT_TRUE(editorState().files.empty());
}

}  // namespace
}  // namespace corvane
