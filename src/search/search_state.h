// The mutable state of the search and compare commands, in one record: what one run of the
// selected-files loop's compare and file-differences operations gathers between its
// preparation, its files and its end. Only the main thread touches it. Tests start from
// resetSearchState().
#pragma once

#include <string>
#include <vector>

#include "panels/panel.h"
#include "search/compare.h"

namespace corvane {

struct SearchState {
  // Compare with a destination (4104): the destination's files, looked up by name.
  Panel destination;
  NameIndex destinationIndex;
  // File differences (4105): the output ("CON" for the terminal) and the commands of the
  // files handled so far, run together at the end.
  std::string output;
  std::vector<std::string> commands;
  // The text scan's block, kept from file to file (a tree search opens thousands).
  std::vector<unsigned char> scanBuffer;
};

SearchState& searchState();
void resetSearchState();

}  // namespace corvane
