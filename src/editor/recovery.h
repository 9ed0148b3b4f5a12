// Recovery copies: when the program is ended from outside (SIGHUP, SIGTERM) while edited
// files are modified, each goes to a file of its own beside it before the program ends.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The recovery copy of a file is its name followed by this (further copies by a number).
constexpr std::string_view RecoverySuffix = ".RECOVER";

// Writes every modified file of the chain to the first free name of NAME.RECOVER,
// NAME.RECOVER2 ... NAME.RECOVER9 (the file itself is never touched). Returns how many
// copies were written.
int writeRecoveryCopies();

}  // namespace corvane
