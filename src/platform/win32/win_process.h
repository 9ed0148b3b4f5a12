// Starting the command interpreter on Windows, shared by commands and printer ports.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The command line that has the command interpreter (COMSPEC) run commandLine as it stands:
// "/s /c" strips the first and the last double quote of what follows and runs the rest,
// whatever quotes it holds; "/v:off" keeps "!" literal even where the registry turns delayed
// expansion on.
std::wstring interpreterLine(std::string_view commandLine);

}  // namespace corvane
