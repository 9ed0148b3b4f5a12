#include "panels/read_dialogs.h"

#include "panels/read_texts.h"
#include "platform/console.h"
#include "platform/keyboard.h"
#include "ui/boxes.h"

namespace corvane {

ReadingNote::ReadingNote(bool show) {
  if (show && hasConsole()) (void)openInfoWindow(window_, TextReadingDirectory);
}

ReadingNote::~ReadingNote() {
  if (window_) closeInfoWindow(window_);
}

bool CancelPoll::cancelled() {
  if (calls_++ % EscapePollStride != 0) return false;
  if (!hasConsole() || escapePending() == 0) return false;
  checkKey();  // takes the Esc
  return question(QuestionDefaultNo, TextCancelOperation) == QuestionYes;
}

void reportAccessError() {
  if (hasConsole()) messageBox(TextAccessError);
}

void showTimedNote(std::string_view text) {
  if (hasConsole()) timedNote(text);
}

void reportNoFilesFound() {
  if (hasConsole()) messageBox(TextNoFilesFound);
}

}  // namespace corvane
