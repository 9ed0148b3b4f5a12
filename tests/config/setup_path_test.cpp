#include "config/setup_path.h"

#include <gtest/gtest.h>

#include "config/config_test_files.h"
#include "config/previous_directories.h"

namespace corvane {
namespace {

TEST(SetupPathTest, SiblingPathReplacesTheExtensionOfTheName) {
  struct Case {
    const char* setup;
    const char* extension;
    const char* expected;
  } const cases[] = {
      {"C:\\home\\ann\\corvane.SET", ".__S", "C:\\home\\ann\\corvane.__S"},
      {"C:\\home\\ann\\corvane.SET", "._C_", "C:\\home\\ann\\corvane._C_"},
      {"C:\\home\\ann\\corvane.SET", "pre", "C:\\home\\ann\\corvane.pre"},
      {"C:\\DIR.X\\CV", ".hlp", "C:\\DIR.X\\CV.hlp"},      // a dot in a directory
      {"C:\\a\\.corvane", ".EST", "C:\\a\\.corvane.EST"},  // a leading dot is the name
      {"/home/ann/cv.old.SET", ".COL", "/home/ann/cv.old.COL"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(siblingPath(c.setup, c.extension), c.expected) << c.setup << " " << c.extension;
  EXPECT_EQ(besideSetup("C:\\home\\ann\\corvane.SET", "CS.TRE"), "C:\\home\\ann\\CS.TRE");
}

TEST(SetupPathTest, SetupFileLocationFollowsTheEnvironment) {
  struct Case {
    const char *cs, *programDir;
    bool writable;
    const char *xdg, *home, *tmp, *temp, *program, *expected;
  } const cases[] = {
      {"/cfg;/other", "/opt/cv", true, "/x", "/h", "/t", "/u", "corvane", "/cfg/corvane.SET"},
      {"/cfg/", "/opt/cv", true, nullptr, nullptr, nullptr, nullptr, "/opt/cv/corvane",
       "/cfg/corvane.SET"},
      {"", "/opt/cv", true, "/x", "/h", nullptr, nullptr, "/opt/cv/corvane", "/opt/cv/corvane.SET"},
      {nullptr, "/opt/cv", true, nullptr, "/h", nullptr, nullptr, "/opt/cv/CV.EXE",
       "/opt/cv/CV.SET"},
      {nullptr, "/usr/bin", false, "/x", "/h", "/t", nullptr, "corvane", "/x/corvane/corvane.SET"},
      {nullptr, "/usr/bin", false, "rel", "/h", "/t", nullptr, "corvane",
       "/h/.config/corvane/corvane.SET"},
      {nullptr, "/usr/bin", false, "", "", "/t;/v", "/u", "corvane", "/t/corvane.SET"},
      {nullptr, "/usr/bin", false, nullptr, nullptr, "", "/u", "corvane", "/u/corvane.SET"},
      {nullptr, "/usr/bin", false, nullptr, nullptr, nullptr, nullptr, "/usr/bin/corvane",
       "/usr/bin/corvane.SET"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(
        setupFilePath(c.cs, c.programDir, c.writable, c.xdg, c.home, c.tmp, c.temp, c.program),
        c.expected)
        << "expected " << c.expected;
}

using PreviousDirectoriesTest = testing::TempDirTest;

TEST_F(PreviousDirectoriesTest, RoundTripAndUnreadyDrives) {
  const std::string file = programPath("corvane.__S");
  const std::string here = programPath("");
  const std::string spaced = programPath("with blank");
  struct Case {
    std::string panel1, panel2, read1, read2;
  } const cases[] = {
      {here, spaced, here, spaced},
      {here, "", here, ""},                       // one panel
      {"Q:\\nowhere", "relative", ".\\", ".\\"},  // drive not ready, no drive
      {"C:\\a\nC:\\b", here, "", here},           // a line break cannot shift the lines
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(writePreviousDirectories(file, c.panel1, c.panel2));
    PreviousDirectories dirs = readPreviousDirectories(file);
    EXPECT_EQ(dirs.panel1, c.read1) << c.panel1;
    EXPECT_EQ(dirs.panel2, c.read2) << c.panel2;
  }
  // The last case wrote an empty line and then the second path.
  EXPECT_EQ(readBytes(hostPath("corvane.__S")).size(), here.size() + 2);
}

TEST_F(PreviousDirectoriesTest, MissingOrForeignFilesGiveNothingUnsafe) {
  PreviousDirectories missing = readPreviousDirectories(programPath("none.__S"));
  EXPECT_EQ(missing.panel1, "");
  EXPECT_EQ(missing.panel2, "");

  const std::string here = programPath("");
  writeBytes(hostPath("x.__S"), {});
  EXPECT_EQ(readPreviousDirectories(programPath("x.__S")).panel1, "");

  std::string text = "  " + here + " \r\n" + std::string(5000, 'C') + "\n";
  writeBytes(hostPath("x.__S"), testing::Bytes(text.begin(), text.end()));
  PreviousDirectories dirs = readPreviousDirectories(programPath("x.__S"));
  EXPECT_EQ(dirs.panel1, here);
  EXPECT_EQ(dirs.panel2, "");  // longer than any path

  EXPECT_FALSE(writePreviousDirectories(programPath("no-dir") + "\\x.__S", here, here));
}

}  // namespace
}  // namespace corvane
