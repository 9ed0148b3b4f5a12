#include "platform/user_screen_mode.h"

#include <algorithm>

namespace corvane {
namespace {

bool changedOutsideRow(const ScreenImage& before, const ScreenImage& now, int left, int top,
                       int right, int bottom, int skipRow, int firstQuietRow) {
  if (before.columns != now.columns || before.rows != now.rows) return true;
  bottom = std::min({bottom, firstQuietRow - 1, now.rows - 1});
  for (int row = std::max(top, 0); row <= bottom; ++row) {
    if (row == skipRow) continue;
    for (int column = std::max(left, 0); column <= right && column < now.columns; ++column)
      if (!(now.at(column, row) == before.at(column, row))) return true;
  }
  return false;
}

}  // namespace

UserScreenWrite userScreenWrite(UserScreenMode mode, const ScreenImage& shown,
                                const ScreenImage& image, int left, int top, int right,
                                int bottom, int row, int firstQuietRow) {
  switch (mode) {
    case UserScreenMode::Off:
    case UserScreenMode::ProgramScreen:
      return UserScreenWrite::Console;
    case UserScreenMode::Running:
      return UserScreenWrite::Nothing;
    case UserScreenMode::UserScreen:
      break;
  }
  if (changedOutsideRow(shown, image, left, top, right, bottom, row, firstQuietRow))
    return UserScreenWrite::ProgramScreen;
  return row >= top && row <= bottom ? UserScreenWrite::Row : UserScreenWrite::Nothing;
}

}  // namespace corvane
