// Stepping through the input history from the command line. The history is the shared one of
// the line input, oldest entry first. Ctrl-E goes forward (towards the newest, from the
// newest round to the oldest), Ctrl-X back (from the oldest round to the newest); right after
// a command line was executed, Ctrl-E takes the newest entry - the line just executed.
#pragma once

namespace corvane {

enum class HistoryDirection { Forward, Back };

struct HistoryBrowse {
  int position = -1;          // the entry last copied into the command line; -1 none yet
  bool justExecuted = false;  // a command line was executed since the last step
};

// The index of the entry a step takes among count entries (-1 when there are none); the
// browse state moves there and the just-executed flag is cleared. A position left beyond the
// end by entries removed meanwhile counts as the newest.
int stepHistory(HistoryBrowse& browse, int count, HistoryDirection direction);

// A command line was executed and added to the count entries as the newest.
void noteExecuted(HistoryBrowse& browse, int count);

}  // namespace corvane
