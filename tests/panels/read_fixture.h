// A headless console plus a temporary tree mapped as drive T:, for the reader tests.
#pragma once

#include <string>

#include "panels/panel.h"
#include "platform/drives.h"
#include "support/headless_fixture.h"
#include "support/temp_tree.h"

namespace corvane::testing {

class ReadTest : public HeadlessTest {
 protected:
  ReadTest() { initDriveMap(("T=" + tree_.root()).c_str()); }
  ~ReadTest() override { initDriveMap(nullptr); }

  // A panel on a directory of T: ("T:\sub"), not yet read.
  static Panel panelOn(std::string directory, std::string mask = "*.*") {
    Panel p;
    p.currentDirectory = std::move(directory);
    p.mask = std::move(mask);
    return p;
  }

  // Whether any text row of the screen image holds text.
  bool screenShows(std::string_view text) const {
    for (int row = 0; row < screenRows(); ++row)
      if (imageRow(row).find(text) != std::string::npos) return true;
    return false;
  }

  TempTree tree_;
};

}  // namespace corvane::testing
