// What a key means before it is dispatched: the COMMANDER translation, the menu items that
// become COMMANDER keys, the choice between the file under the cursor and the selected
// files, and the fall-back from the configured external editor and viewer to the internal
// ones.
#pragma once

#include <span>

#include "actions/command_ids.h"
#include "commands/loop_state.h"

namespace corvane {

enum class CommanderAction {
  Give,                // the command
  ClearLineOr,         // clears the command line when it holds text, else the command
  GiveEither,          // the command, or selectedCommand when files are selected
  EnterKey,            // the command line, an archive, run by extension, or Enter on a directory
  InsertKey,           // Enter on a file (toggle), "!" on a directory
  RenameOrMove,        // the "^Rename" / "^Move" pulldown
  ToggleWindowLayout,  // one list / two lists, then the command
  PrintChoice,         // the " ^Actual File " / " ^Select Files " pulldown: 4117 or 4118
  HistoryStep,         // the command line's history (selectedCommand 1 forward, -1 back)
  CursorOrHistory,     // Up and Down: the history while the panels are hidden
  AppendName,          // the name under the cursor to the command line
  StateWindow,         // toggles the State window; closing gives the command
  AllWindows,          // hides or shows the panels; no command
  BigSmall,            // toggles the arrangement, then the command
};

struct CommanderTranslation {
  KeyCode key = 0;
  CommanderAction action = CommanderAction::Give;
  CommandId command = 0;
  CommandId selectedCommand = 0;
};

// The COMMANDER translation table; keys not in it keep their code, except Alt with a letter,
// which becomes a locate (4135) by that letter.
std::span<const CommanderTranslation> commanderTranslations();
// The entry of a key, nullptr when it has none.
const CommanderTranslation* findCommanderTranslation(KeyCode key);

// Translates a key of the COMMANDER layout (and the three menu codes, already turned into
// their keys). Returns the command, or 0 for none (the key did its work).
CommandId translateCommander(LoopContext& loop, KeyCode key);

// The menu items Window on/off, Window big/small and All windows off/on as the COMMANDER keys
// Ctrl-F1, Ctrl-Q and Ctrl-O; other codes unchanged.
KeyCode menuCodeAsCommanderKey(CommandId code);

// Whether an archive name's last extension is zip, lha, lzh, zoo or arj (any case).
bool isArchiveName(std::string_view name);

// Menu codes with a form for the file under the cursor and one for the selected files.
struct EitherForm {
  CommandId code = 0;
  CommandId single = 0;
  CommandId selected = 0;
};
std::span<const EitherForm> eitherForms();
const EitherForm* findEitherForm(CommandId code);
// Resolves such a code: without selected files the single form; with some, the pulldown
// " ^Actual File " / " ^Select Files " asks (0 after Escape). Other codes unchanged.
CommandId resolveEither(LoopContext& loop, CommandId code);
// The pulldown alone: 1 for the actual file, 2 for the selected files, 0 after Escape.
int askActualOrSelected();
inline constexpr int ChoiceActualFile = 1;
inline constexpr int ChoiceSelectFiles = 2;

// "e", "E" and Alt-E fall back to the internal editor ("f", Alt-F) and "v", Alt-V to the
// internal viewer ("z", code 2069) when the configured program is empty or does not exist.
CommandId externalFallback(CommandId code);

// The drive letter of Ctrl with a letter A..Z (0x0401..0x041A), else 0.
char ctrlLetterDrive(KeyCode code);

// Letters of the command table work in upper and lower case: A..Z become a..z.
CommandId foldLetter(CommandId code);

}  // namespace corvane
