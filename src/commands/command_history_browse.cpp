#include "commands/command_history_browse.h"

#include <algorithm>

namespace corvane {

int stepHistory(HistoryBrowse& browse, int count, HistoryDirection direction) {
  if (count <= 0) return -1;
  const int newest = count - 1;
  int& position = browse.position;
  if (direction == HistoryDirection::Forward) {
    if (browse.justExecuted) {
      position = newest;
    } else {
      position = position < 0 || position >= newest ? 0 : position + 1;
    }
  } else {
    position = position <= 0 ? newest : std::min(position, count) - 1;
  }
  browse.justExecuted = false;
  return position;
}

void noteExecuted(HistoryBrowse& browse, int count) {
  browse.position = count - 1;
  browse.justExecuted = true;
}

}  // namespace corvane
