// What the readers show and ask while they work: the reading note, the access error, the
// cancel question on Esc, timed notes.
#pragma once

#include <string_view>

#include "ui/window.h"

namespace corvane {

// Shows " Reading directory   " while it lives, when asked to.
class ReadingNote {
 public:
  explicit ReadingNote(bool show);
  ~ReadingNote();
  ReadingNote(const ReadingNote&) = delete;
  ReadingNote& operator=(const ReadingNote&) = delete;

 private:
  WindowHandle window_;
};

// Polls the keyboard for Esc every EscapePollStride calls (the poll costs a system call on a
// terminal, one per name would double the cost of reading a large directory). On Esc asks
// " Cancel operation ? ": true when the answer is "Y".
class CancelPoll {
 public:
  static constexpr int EscapePollStride = 64;
  bool cancelled();

 private:
  int calls_ = 0;
};

void reportAccessError();
// Shown for 320 ms without waiting for a key.
void showTimedNote(std::string_view text);
void reportNoFilesFound();

}  // namespace corvane
