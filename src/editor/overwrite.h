// The question before a file of the editor is written over another existing file (saving
// under another name, writing the block).
#pragma once

#include <string_view>

namespace corvane {

// True when the existing file at destination may be replaced by what comes from source
// (the name of the edited file).
bool confirmReplaceExisting(std::string_view source, std::string_view destination);

}  // namespace corvane
