#include "config/setup_path.h"

#include <gtest/gtest.h>

#include "config/config_test_files.h"
#include "config/previous_directories.h"
#include "platform/drives.h"

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

TEST(SetupPathTest, SetupDirectoriesAreTriedInTheOrderOfTheEnvironment) {
  struct Case {
    const char *cs, *programDir;
    bool holdsSetup;
    const char *xdg, *home, *tmp, *temp, *expected;
  } const cases[] = {
      {"/cfg;/other", "/opt/cv", true, "/x", "/h", "/t", "/u", "/cfg /opt/cv /x/corvane+ /t /u"},
      {"conf", "/opt/cv", false, nullptr, "/h", nullptr, nullptr, "/work/conf /h/.config/corvane+"},
      {".", "", true, "rel", "", "t;/v", nullptr, "/work/. /work/t"},
      {"", "/usr/bin", false, nullptr, nullptr, "", "/u", "/u"},
      {nullptr, "/usr/bin", false, nullptr, nullptr, nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    SetupEnvironment env;
    env.cs = c.cs, env.xdgConfigHome = c.xdg, env.home = c.home, env.tmp = c.tmp, env.temp = c.temp;
    env.workingDirectory = "/work";
    env.programDirectory = c.programDir;
    env.programDirectoryHoldsSetup = c.holdsSetup;
    std::string shown;
    for (const SetupDirectoryCandidate& candidate : setupDirectoryCandidates(env))
      shown += (shown.empty() ? "" : " ") + candidate.directory + (candidate.create ? "+" : "");
    EXPECT_EQ(shown, c.expected);
  }
}

using SetupLocationTest = testing::TempDirTest;

// The first usable directory wins: one that exists, or the per-user one made when missing;
// a missing CS directory is never made; with nothing usable there is no setup file.
TEST_F(SetupLocationTest, TheFirstUsableDirectoryHoldsTheSetupFile) {
  std::filesystem::create_directory(dir_ / "here");
  const std::string here = hostPath("here"), missing = hostPath("missing"),
                    made = hostPath("config/corvane");
  EXPECT_EQ(locateSetupFile({{missing, false}, {made, true}, {here, false}}, "/usr/bin/corvane"),
            toProgramPath(made + "/corvane.SET"));
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_TRUE(std::filesystem::is_directory(made));
  EXPECT_EQ(locateSetupFile({{missing, false}, {here, false}}, "cv"),
            toProgramPath(here + "/cv.SET"));
  // A directory no drive holds, or too deep for a path, does not serve either.
  initDriveMap(("C=" + here).c_str());
  EXPECT_EQ(locateSetupFile({{made, false}, {missing, false}}, "cv"), "");
  initDriveMap(nullptr);
  const std::string deep = here + "/" + std::string(250, 'd');
  std::filesystem::create_directory(deep);
  EXPECT_EQ(locateSetupFile({{deep, false}}, "cv"), "");
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
      {here, "", here, ""},                                    // one panel
      {"Q:\\nowhere", "relative", ".\\", ".\\"},               // drive not ready, no drive
      {spaced + " ", here + "\t", spaced + " ", here + "\t"},  // blanks belong to the name
      {"C:\\a\nC:\\b", here, "", here},  // a line break cannot shift the lines
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

  std::string text = here + "\r\n" + std::string(5000, 'C') + "\n";
  writeBytes(hostPath("x.__S"), testing::Bytes(text.begin(), text.end()));
  PreviousDirectories dirs = readPreviousDirectories(programPath("x.__S"));
  EXPECT_EQ(dirs.panel1, here);
  EXPECT_EQ(dirs.panel2, "");  // longer than any path

  EXPECT_FALSE(writePreviousDirectories(programPath("no-dir") + "\\x.__S", here, here));
}

}  // namespace
}  // namespace corvane
