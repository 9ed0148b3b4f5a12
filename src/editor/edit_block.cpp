// The marked block: a range of whole lines in one of the edited files.
#include "editor/edit_commands.h"
#include "editor/edit_texts.h"
#include "editor/editor_state.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

void setBlockFlags(EditedFile& file, bool on) {
  for (EditLine* line = file.blockStart; line != nullptr; line = line->next) {
    if (on)
      line->flags |= LineInBlock;
    else
      line->flags &= static_cast<std::uint8_t>(~LineInBlock);
    if (line == file.blockEnd) break;
  }
}

void forgetBlock(EditedFile& file) {
  setBlockFlags(file, false);
  file.blockStart = file.blockEnd = nullptr;
}

// The block to copy or move, or nullptr after "Mark required !" or " Source-Destination
// conflict " (the cursor's line lies inside it).
EditedFile* blockToCopy(const EditedFile& destination) {
  EditedFile* owner = blockOwner();
  if (owner == nullptr) {
    messageBox(edit_text::MarkRequired);
    return nullptr;
  }
  if (owner == &destination && destination.currentLine->inBlock()) {
    messageBox(edit_text::SourceDestinationConflict);
    return nullptr;
  }
  return owner;
}

// Copies of the block's lines after the destination's current line. Within one file a copy
// keeps the bytes its line was read with; into another file it is written from its text with
// that file's line end. False when memory ran short (the lines copied so far stay).
bool insertCopies(EditedFile& destination, const EditedFile& source) {
  const bool sameFile = &destination == &source;
  EditLine* after = destination.currentLine;
  for (const EditLine* line = source.blockStart; line != nullptr; line = line->next) {
    EditLine* copy = insertLineAfter(destination, after, line->view());
    if (copy == nullptr) return false;
    copy->flags = static_cast<std::uint8_t>(copy->flags & ~LineInBlock);
    copy->tabIndented = line->tabIndented;
    if (sameFile) {
      copy->original = line->original;
      copy->originalLength = line->originalLength;
      copy->lineEnd = line->lineEnd;
    }
    if (copy->lineEnd == LineEnding::Continued || copy->lineEnd == LineEnding::None)
      copy->lineEnd = destination.defaultLineEnd;
    destination.modified = 1;
    after = copy;
    if (line == source.blockEnd) break;
  }
  return true;
}

// The source file's cursor leaves the block before its lines go: to the line before it, or
// after it when the block begins at the first line.
void cursorOutOfBlock(EditedFile& file) {
  if (!file.currentLine->inBlock()) return;
  file.currentLine = !file.blockStart->previous->isSentinel() || file.blockEnd->next == nullptr
                         ? file.blockStart->previous
                         : file.blockEnd->next;
}

// Frees the block's lines; the current line's number is counted again.
void removeBlockLines(EditedFile& file, int rows) {
  cursorOutOfBlock(file);
  EditLine* line = file.blockStart;
  EditLine* const end = file.blockEnd;
  file.blockStart = file.blockEnd = nullptr;
  while (line != nullptr) {
    EditLine* next = line->next;
    const bool last = line == end;
    removeLine(file, line);
    if (last) break;
    line = next;
  }
  file.lineNumber = lineNumberOf(file.currentLine);
  file.modified = 1;
  clampView(file, rows);
}

}  // namespace

void lineLeavesBlock(EditedFile& file, EditLine* line) {
  if (!line->inBlock() || file.blockStart == nullptr) return;
  if (file.blockStart == line && file.blockEnd == line) {
    forgetBlock(file);
  } else if (file.blockStart == line) {
    file.blockStart = line->next;
  } else if (file.blockEnd == line) {
    file.blockEnd = line->previous;
  }
}

void markBlock(EditedFile& file) {
  EditedFile* owner = blockOwner();
  if (owner != nullptr && owner != &file) {
    messageBox(edit_text::BlockInOtherFile);
    return;
  }
  EditLine* current = file.currentLine;
  if (current->isSentinel()) return;
  if (owner == nullptr) {
    file.blockStart = file.blockEnd = current;
    current->flags |= LineInBlock;
    return;
  }
  setBlockFlags(file, false);
  if (file.lineNumber > lineNumberOf(file.blockStart))
    file.blockEnd = current;
  else
    file.blockStart = current;
  if (lineNumberOf(file.blockStart) > lineNumberOf(file.blockEnd))
    std::swap(file.blockStart, file.blockEnd);
  setBlockFlags(file, true);
}

void unmarkBlock() {
  if (EditedFile* owner = blockOwner()) forgetBlock(*owner);
}

void copyBlock(EditedFile& file) {
  EditedFile* source = blockToCopy(file);
  if (source != nullptr) noteChange(file, insertCopies(file, *source));
}

void moveBlock(EditedFile& file, int rows) {
  EditedFile* source = blockToCopy(file);
  if (source == nullptr) return;
  if (!insertCopies(file, *source)) {
    noteChange(file, false);  // the source stays whole
    return;
  }
  removeBlockLines(*source, rows);
  if (source != &file) clampView(file, rows);
}

void deleteBlock(EditedFile& file, int rows) {
  EditedFile* owner = blockOwner();
  if (owner == nullptr) {
    messageBox(edit_text::MarkRequired);
    return;
  }
  if (owner != &file) {
    messageBox(edit_text::DeleteInOtherFile);
    return;
  }
  removeBlockLines(file, rows);
}

}  // namespace corvane
