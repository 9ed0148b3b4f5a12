// The command line of the COMMANDER layout: one text (shared by every loop, nested ones too)
// edited on the bottom row behind the current directory as its prompt, with the shared input
// history to step through. Every key of that layout is read through it: characters and the
// plain editing keys change the line, every other key ends the edit and goes to the loop.
#pragma once

#include <string>
#include <string_view>

#include "commands/command_history_browse.h"
#include "platform/keyboard.h"
#include "ui/window.h"

namespace corvane {

// The line's buffer holds 261 characters, 260 of them usable.
inline constexpr int CommandLineMaxLength = 260;
// A long prompt is cut so that the field keeps at least this many cells.
inline constexpr int CommandLineMinFieldCells = 20;

struct CommandLine {
  std::string text;
  int cursor = 0;  // characters from the start of the text
  HistoryBrowse history;
};
CommandLine& commandLine();
// Empty line, no history position (start of a run; tests).
void resetCommandLine();

// The prompt for a directory in a row of width cells: the directory and ">", cut at the left
// behind "..." when it would leave the field fewer than CommandLineMinFieldCells cells.
std::string commandPrompt(std::string_view directory, int width);

// Draws the prompt and the line on the first row of window.
void drawCommandLine(ScreenWindow& window, std::string_view directory);
// The zone of the field behind the prompt: a click there places the cursor.
MouseZone commandLineZone(const ScreenWindow& window, std::string_view directory);

// Reads the next key through the command line on the first row of window (line input in
// command mode, no type-over, the cursor where it was left). Returns the key that ended the
// edit. A click elsewhere leaves the line's cursor where it was.
KeyCode readCommandLineKey(ScreenWindow& window, std::string_view directory);

// Removes the line's trailing blanks; true when text is left.
bool trimCommandLine();

// The line taken for executing: trailing blanks removed, added to the history as its newest
// entry (the browse position there, the just-executed flag set), the line cleared. "" (and
// nothing else done) when only blanks were left.
std::string takeCommandLine();

// A step through the history: the entry's text replaces the line, the cursor at its end.
// The rejection beep and false when the history is empty.
bool stepCommandLineHistory(HistoryDirection direction);
// The " Select text " window over the history; the chosen entry replaces the line.
void pickCommandLineFromHistory();
// Appends a blank and a word; the rejection beep and false when the line would pass its
// maximum length.
bool appendToCommandLine(std::string_view word);

}  // namespace corvane
