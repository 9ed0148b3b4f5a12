// Running commands: the built-in commands the program carries out itself, and everything
// else through the command interpreter while the program's screen is put aside.
//
// A command that fails, does not exist or is killed brings the program back with its screen
// intact; the interpreter reports such failures on the normal screen and the program adds no
// message of its own. An interrupt key during a command goes to the command only.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "exec/command_template.h"

namespace corvane {

// How a command meets the program's screen: Console gives the terminal back (and can clear
// the normal screen first; its key prompt is on the normal screen); KeepScreen never clears
// and asks for the key in a small window once the program's screen is back.
enum class ScreenVariant { Console, KeepScreen };

// Built-in commands, recognised after blanks are removed at both ends:
//   "cd " and a path: changes drive and directory (a path that
//       begins with "/" is a host path);
//   "X:" alone: makes drive X: current;
//   "[CSEDIT] name", "[CSVIEW] name": the internal editor or viewer on the file.
// A built-in that cannot be carried out (no such directory or drive, no editor or viewer
// registered) gives the rejection beep. They are the editor's and viewer's to register.
using FileHook = void (*)(std::string_view fileName);
struct InternalProgramHooks {
  FileHook editFile = nullptr;  // "[CSEDIT] name"
  FileHook viewFile = nullptr;  // "[CSVIEW] name"
};
void setInternalProgramHooks(const InternalProgramHooks& hooks);
const InternalProgramHooks& internalProgramHooks();

// What the Console variant does on the user's normal screen. The defaults are the
// platform's (platform/process.h); tests put recorders in.
struct NormalScreenOps {
  void (*clear)();
  void (*write)(std::string_view text);
  void (*waitKey)(std::string_view prompt);
  // Whether Esc was typed on the normal screen since the last look (keys typed meanwhile are
  // used up); nullptr: never.
  bool (*escapeTyped)() = nullptr;
};
void setNormalScreenOps(const NormalScreenOps& ops);
// The platform's functions back.
void resetNormalScreenOps();
NormalScreenOps platformNormalScreenOps();

// Results of the runners: the exit status of an external command (as runShellCommand gives
// it; callers do not examine it), or for a built-in BuiltinDone or BuiltinRefused.
constexpr int BuiltinDone = 0;
constexpr int BuiltinRefused = 1;

// Runs one command (Console variant). External commands: the program's screen saved when
// saveScreen, the terminal given back, the normal screen cleared when clearScreen, a new
// line, the command run in the current directory, a new line; with wait and preference 3
// "Press any key !" on the normal screen and one key; then the program's screen back as it
// was and pending input dropped. An empty command does nothing.
int runCommand(std::string_view command, bool saveScreen, bool wait, bool clearScreen);
// The KeepScreen variant: the same without clearing; the key prompt (wait and preference 3)
// is a small "Press any key !" window after the screen is back.
int runCommandKeepScreen(std::string_view command, bool saveScreen, bool wait);

// Runs commands one after another with the terminal given back once for all of them (a
// recursive command over a whole tree): external commands run in the current directory
// on the normal screen, a built-in one (an internal program) with the program's screen
// back for it. A command killed by the interrupt key ends the batch; Esc typed while a
// command ran brings the program's screen back with " Cancel operation ? " before the next
// one (Y ends the batch). With wait and
// preference 3 "Press any key !" follows the last one. Returns how many commands ran.
std::size_t runCommandBatch(std::span<const std::string> commands, bool wait);

// The "Command :" line across the screen, half-way down, for up to maxLength characters;
// false unless it was ended with Enter. Blanks at the end are dropped.
bool askCommandLine(std::string& line, int maxLength);

// Runs a command line: nothing when it starts with "0"; otherwise each command of
// splitCommandLine (cut only where the interpreter ends a command) is expanded with the file name
// (expandCommand with append and quoting) and run in the variant, the screen saved; wait applies to
// the last command only, prepare clears the normal screen before the first (Console variant). An
// expansion error shows "ERROR" and stops; a parameter input left without Enter stops silently.
// Returns ExpandDone, ExpandError or the key that left the parameter input.
int runCommandLine(std::string_view line, std::string_view fileName, ScreenVariant variant,
                   bool append, bool wait, bool prepare, NameQuoting quoting = NameQuoting::Shell);

}  // namespace corvane
