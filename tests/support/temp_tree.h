// Temporary directory trees on disk for tests that touch files, and a fixture that maps one
// as drive T: so that nothing depends on what lies under "/".
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::testing {

class TempTree {
 public:
  TempTree();   // a fresh directory under $TMPDIR (or /tmp)
  ~TempTree();  // removes it with everything in it, also entries left without permissions
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& root() const { return root_; }
  // root + "/" + relative (host path); root itself for "".
  std::string host(std::string_view relative) const;

  // Each reports a failure to the running test and returns false when the host refuses.
  bool makeDir(std::string_view relative) const;
  bool writeFile(std::string_view relative, std::string_view content = {}) const;
  bool makeSymlink(std::string_view relative, std::string_view target) const;
  // Sets the modification time to the given local date and time.
  bool setLocalMtime(std::string_view relative, int year, int month, int day, int hour, int minute,
                     int second) const;
  std::string readFile(std::string_view relative) const;
  bool exists(std::string_view relative) const;  // any kind of entry, links not followed

 private:
  std::string root_;
};

// Maps a fresh TempTree as T: (and makes T: current); C: stays "/". The map goes back to
// C: alone at the end.
class TempDriveTest : public ::testing::Test {
 protected:
  TempDriveTest();
  ~TempDriveTest() override;

  TempTree tree_;
};

}  // namespace corvane::testing
