// Creating a panel for a start path and reading its directory.
#pragma once

#include <memory>
#include <string_view>

#include "panels/directory_read.h"
#include "panels/panel.h"

namespace corvane {

// A new panel with the given layout: when startPath names an existing directory it becomes
// the current directory first (otherwise the current directory stays as it is); the panel
// takes the current directory, the mask "*.*", and its directory is read.
std::unique_ptr<Panel> createPanel(std::string_view startPath, ScreenLayout layout,
                                   const ReadOptions& options);

}  // namespace corvane
