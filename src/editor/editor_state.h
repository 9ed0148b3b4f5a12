// The mutable state of the internal editor, in one record: the chain of edited files, the
// view state of the running editor, its windows and the remembered choices of its menus.
// Only the main thread touches it. Tests start from resetEditorState().
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/edit_buffer.h"
#include "platform/keycodes.h"
#include "platform/screen.h"
#include "platform/signals.h"
#include "ui/key_bar.h"
#include "ui/pulldown.h"
#include "ui/window.h"

namespace corvane {

// The comment state carried from the end of one drawn row to the start of the next.
struct RowState {
  bool inComment = false;
};

// The editor's windows: the top row, the text window and the bottom row.
struct EditorScreen {
  WindowHandle top, text, bottom;
  FunctionKeyBar keyBar;
  bool commander = false;  // the COMMANDER layout: status on top, function keys below
  // The screen took a new size while the line field ran: it ends and starts again.
  bool resized = false;
  int fieldCursor = 0;  // the field's cursor as last drawn (it may stand past the text)
  const std::string* fieldText = nullptr;  // the current line's text while the field runs
  std::vector<RowState> rowStates;         // the state at the start of each text row (from row 1)
};

struct EditorMenuState {
  PulldownMenu file, block, line, search;
  int currentEntry = 0;
};

struct EditorState {
  std::vector<std::unique_ptr<EditedFile>> files;  // the chain, in load order
  EditedFile* current = nullptr;
  bool running = false;
  bool insert = true;  // INSERT, else REPLACE
  bool commandMode = false;
  KeyCode lastKey = 0;
  std::string commandLine;  // command mode's line
  int saves = 0;            // successful saves in the running editor
  SavedScreen before;       // the screen as it was when the editor opened
  EditorScreen screen;
  EditorMenuState menus;
  SignalRequestHooks outerHooks;  // what the editor's end hook hands on to
};

EditorState& editorState();
void resetEditorState();

// The edited file with this name, or nullptr.
EditedFile* findEditedFile(std::string_view name);
// The file holding the block, or nullptr.
EditedFile* blockOwner();
// Removes a file from the chain (its lines with it); the block goes when it held it. The
// current file becomes the next one, or the previous one when it was the last.
void dropEditedFile(EditedFile& file);

}  // namespace corvane
