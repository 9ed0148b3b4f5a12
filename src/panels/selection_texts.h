// Every text the selection commands show.
#pragma once

#include <string_view>

namespace corvane {

constexpr std::string_view TextSelectTitle = "Select :";
constexpr std::string_view TextInverseSelectTitle = "Inverse Select :";
constexpr std::string_view TextAddSelection = "Add Selection ?";
constexpr std::string_view TextPanelMaskPrompt = "Mask :";

}  // namespace corvane
