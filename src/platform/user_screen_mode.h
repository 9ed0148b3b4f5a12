// The user's screen with one row of the program's (the command line) projected onto it, as
// each back end shows it in front of its console (platform/session.h): the modes it passes
// through and what a write of the program's image means in each.
#pragma once

#include "platform/screen.h"

namespace corvane {

enum class UserScreenMode {
  Off,            // not in use: everything goes to the console
  UserScreen,     // the user's screen with the watched row
  Running,        // a command runs on the user's screen
  ProgramScreen,  // brought back by a visible change: everything goes to the console
};

enum class UserScreenWrite {
  Console,        // the console shows it
  Nothing,        // nothing shows it (a command has the console; only quiet rows changed)
  ProgramScreen,  // a visible change: the program's screen back, whole
  Row,            // the watched row is written again
};

// What writing the rectangle (inclusive, 0-based) of image means in mode, when shown is the
// picture the user's screen stands for, row the watched row and rows from firstQuietRow on
// are not watched. Any change to another row is visible, as is a change of size.
UserScreenWrite userScreenWrite(UserScreenMode mode, const ScreenImage& shown,
                                const ScreenImage& image, int left, int top, int right,
                                int bottom, int row, int firstQuietRow);

}  // namespace corvane
