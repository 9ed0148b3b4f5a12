// The product's name as the program shows it.
#pragma once

#include <string_view>

namespace corvane {

// Title window, screen saver, about box.
constexpr std::string_view ProductTitle = "NT-Corvane 2.2";
// Printed below the user's screen at exit, and in the about box.
constexpr std::string_view ProductTitleLine =
    "NT-Corvane 2.2 - two-panel file manager for terminals";
// The terminal's window title.
constexpr std::string_view WindowTitle = "NT-Corvane 2.2";

}  // namespace corvane
