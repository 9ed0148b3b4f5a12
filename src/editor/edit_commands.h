// The editor's commands on its files: cursor movement, line operations, the block and the
// chain of edited files. The loop (edit_loop.h) dispatches keys to them; each works on the
// records and leaves the drawing to the loop.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/edit_buffer.h"

namespace corvane {

// Cursor movement. rows is the height of the text window; the cursor's window row stays
// within it and never above the row that shows the first line under the sentinel.
void moveLines(EditedFile& file, long delta, int rows);  // Up, Down: scrolling at the edges
void pageLines(EditedFile& file, long delta, int rows);  // Page Up, Page Down
void goToLine(EditedFile& file, long number, int rows);  // 1 .. last; the column stays
void goToWindowTop(EditedFile& file);                    // Home
void clampView(EditedFile& file, int rows);

// Marks the file modified; a memory shortage is reported (the change was not made) and false.
bool noteChange(EditedFile& file, bool changed);

// The field's text stored as the current line's text (trailing blanks do not count as a
// change); false when memory was short.
bool storeLineText(EditedFile& file, std::string_view text);

// Enter: with insert, splits the line at the cursor (the new line indented as the old one,
// inside the block when the old line is); otherwise moves to the next line. The cursor goes
// to the indentation column.
void enterLine(EditedFile& file, bool insert, int rows);
// Tab and Shift-Tab: to the next (previous) multiple of 8; with insert, Tab inserts blanks
// up to it.
void tabForward(EditedFile& file, bool insert);
void tabBack(EditedFile& file);
// Ctrl-Backspace: the current line goes; the next one becomes current (the previous one at
// the end). Block ends on it move inward; a block of that line alone is forgotten.
void deleteCurrentLine(EditedFile& file, int rows);
// Alt-J: the current line padded to the cursor column and the next line without its leading
// blanks; "Join Error" when that passes 2000 bytes.
void joinLines(EditedFile& file);
// The lines of text inserted after the current line (Paste screenpuffer).
void insertLinesAfterCurrent(EditedFile& file, const std::vector<std::string>& lines);

// The word under the cursor: the characters around it up to a blank or one of "\"'<>()[]{},;|=".
// Empty when the cursor is on such a character or past the line's end.
std::string wordAtCursor(const EditedFile& file);

// The block (one among all files). Each shows its own message when it cannot act.
void markBlock(EditedFile& file);
void unmarkBlock();
void copyBlock(EditedFile& file);
void moveBlock(EditedFile& file, int rows);
void deleteBlock(EditedFile& file, int rows);
// A line about to go: the block's ends on it move inward, a block of that line alone is
// forgotten.
void lineLeavesBlock(EditedFile& file, EditLine* line);

// The chain of edited files.
// Loads a file into the chain (or makes it current when it is there already) and puts its
// cursor where the state file says. LoadDone, LoadCancelled or LoadFailed.
int loadIntoChain(std::string_view name, int rows);
void switchFile(int step);  // +1 next, -1 previous, wrapping
// F3: a modified file asks " Throw away changes ? " first. True when the file went.
bool exitFile(EditedFile& file);
void renameEditedFile(EditedFile& file);
// F5: the recently saved files of the state file in the file-selection dialog.
void chooseEditedFile(int rows);

}  // namespace corvane
