#include "viewer/viewer_state.h"

#include <memory>

#include "platform/keycodes.h"
#include "viewer/viewer_texts.h"

namespace corvane {
namespace {

// The items give the viewer's own keys back.
constexpr MenuItem FileItems[] = {
    {.label = ViewerHexItem, .command = 'h'},          {.label = ViewerAsciiItem, .command = 'a'},
    {.label = ViewerPrintItem, .command = '*'},        {.label = ViewerWrapItem, .command = 'w'},
    {.label = ViewerExitItem, .command = key::Escape},
};
constexpr MenuItem PositionItems[] = {
    {.label = ViewerTopItem, .command = key::Home},
    {.label = ViewerEndItem, .command = key::End},
};

std::unique_ptr<ViewerState>& stateRecord() {
  static std::unique_ptr<ViewerState> state = std::make_unique<ViewerState>();
  return state;
}

}  // namespace

ViewerState::ViewerState() {
  menus[0].title = ViewerFileMenuTitle;
  menus[0].items = FileItems;
  menus[1].title = ViewerPositionMenuTitle;
  menus[1].items = PositionItems;
  entries = {&menus[0], &menus[1]};
  bar.menus = entries;
}

ViewerState& viewerState() { return *stateRecord(); }

void resetViewerState() { stateRecord() = std::make_unique<ViewerState>(); }

}  // namespace corvane
