#include "panels/panel_create.h"

#include "panels/mask.h"
#include "platform/drives.h"

namespace corvane {

std::unique_ptr<Panel> createPanel(std::string_view startPath, ScreenLayout layout,
                                   const ReadOptions& options) {
  auto panel = std::make_unique<Panel>();
  if (!startPath.empty()) changeDirectory(startPath);
  panel->layout = layout;
  panel->currentDirectory = currentDirectory();
  panel->mask = std::string(MaskAll);
  (void)readDirectory(*panel, options);
  return panel;
}

}  // namespace corvane
