// The drive information window (every drive with label, free and total space and current
// directory) and the drive selection bar.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// The line of one drive letter (either case) as the window shows it, with its line feed:
// "[%c:],'%12s',F:%10s,T:%10s,[%s]\n" with the label ("NOTREADY" and zero sizes for a drive
// that cannot be read) and the drive's current directory, blank when it is not ready, cut
// to "~" and its last 22 cells when longer than 23. Runs the ready test, which makes a ready
// drive current: callers restore the current directory.
std::string driveInformationLine(char letter);
// The lines of every existing drive, A to Z; the current directory is as it was afterwards.
std::vector<std::string> driveInformationLines();

// The " Drive Information " window: the lines of every drive, the current directory
// restored, then "Press any key !" until a key other than the modifier and idle events.
void driveInformation();

// The drive selection bar: a one-line window of 53 cells at (column, row), 1-based, with the
// letters of the existing drives at its columns 2, 4, 6 ... (each clickable). A letter A to
// Z in either case of an existing drive makes that drive's current directory current and
// ends with the upper-case letter (also when the drive turns out not to be ready: the
// caller's ready test reports that); Escape ends with 0; all other keys are ignored. The
// caller's mouse zones are back afterwards.
int selectDrive(int column = 13, int row = 4);

// The drive letters selectDrive offers, in order.
std::string existingDriveLetters();

}  // namespace corvane
