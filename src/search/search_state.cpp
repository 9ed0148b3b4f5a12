#include "search/search_state.h"

namespace corvane {

SearchState& searchState() {
  static SearchState state;
  return state;
}

void resetSearchState() {
  SearchState& state = searchState();
  freePanel(state.destination);
  state.destination = Panel{};
  state.destinationIndex = NameIndex{};
  state.output.clear();
  state.commands.clear();
  state.scanBuffer = {};
}

}  // namespace corvane
