// The commands of the command loop that run external programs: run by extension ("q"), the
// shell (4101), the user-defined function keys, and the preset of the "Command :" input
// ("o"). Each returns whether the caller should re-read its panels afterwards
// (preference 12, " Refresh filelist after command"); none redraws anything itself.
#pragma once

#include <string>
#include <string_view>

#include "platform/keycodes.h"

namespace corvane {

// Runs the file by the associations of its extension: "Extension not defined" when no line
// matches (or there is no associations file); an association of exactly "[CSEDIT]" or
// "[CSVIEW]" opens the internal editor or viewer on the file (the rejection beep while none
// is registered); any other runs as a command line with the file name appended to a template
// without "%", waiting after the last command.
bool runByExtension(std::string_view fileName);

// The command interpreter (commandInterpreter()) with screen saving, waiting and clearing.
void runShell();

// Function-key pages 1 to 3 with F5 to F10 each name a record of the setup block.
constexpr int FunctionKeyPageCount = 3;
constexpr int FunctionKeysPerPage = 6;
// The setup block's record index of a key on a page; -1 for page 0, a page above 3 or a key
// other than F5 to F10.
int functionKeyIndex(int page, KeyCode functionKey);
// Runs the user-defined command of F5 to F10 on page 1 to 3 for the file under the cursor
// (the template as it stands, waiting after the last command). An empty command runs
// nothing; false then, and for a key or page without a record.
bool runFunctionKeyCommand(int page, KeyCode functionKey, std::string_view fileName);

// The preset of the "Command :" input for the file under the cursor: its association
// expanded for it when one exists (and expands), otherwise the file name as a command word.
std::string commandPreset(std::string_view fileName);

}  // namespace corvane
