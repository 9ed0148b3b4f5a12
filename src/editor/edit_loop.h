// The editor's loop: the current line edited in place by the line field, every key the field
// hands back dispatched to the editor's commands, until the last edited file is left.
#pragma once

#include "editor/edit_buffer.h"
#include "platform/keycodes.h"

namespace corvane {

// Runs the editor starting with start, which is in the chain (editorState().files). With
// restore the cursor of start is put where the state file says. Returns 1 when a file was
// saved during the call, else 0. The editor's screen is put back when it ends.
int runEditor(EditedFile& start, bool restore);

// The COMMANDER layout's keys as the editor's key table takes them (F3 marks, F10 and Esc
// leave the file, ...); other keys come back unchanged.
KeyCode translateCommanderKey(KeyCode code);

}  // namespace corvane
