// The archiver definitions file: which section applies, what a section stores, every kind of
// bad line reported once and skipped; the shipped file; archive types by extension.
#include "config/archiver_defs.h"

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "support/headless_fixture.h"
#include "support/shipped_data.h"
#include "support/temp_tree.h"

namespace corvane::testing {
namespace {

class ArchiverDefsTest : public HeadlessTest {
 protected:
  ArchiverDefsTest() { initDriveMap(("T=" + tree_.root()).c_str()); }
  ~ArchiverDefsTest() override { initDriveMap(nullptr); }

  // Reads the definitions for an archive name from a file holding text.
  ArchiverDefs read(std::string_view text, std::string_view archive) {
    tree_.writeFile("defs.ASE", text);
    ArchiverDefs defs;
    problems_.clear();
    EXPECT_TRUE(readArchiverDefs("T:\\defs.ASE", archive, defs, problems_));
    return defs;
  }

  TempTree tree_;
  std::vector<std::string> problems_;
};

constexpr std::string_view TwoSections =
    "# comment\n"
    "\n"
    "F> zip, JAR\n"
    "  zip\n"
    "unzip\n"
    "   \t# indented comment\n"
    "-q\n"
    "F> lzh lha\n"
    "lha\n";

TEST_F(ArchiverDefsTest, TheSectionOfTheExtensionApplies) {
  struct Case {
    std::string_view archive;
    bool found;
    std::string_view packer;
  };
  const Case cases[] = {
      {"C:\\x\\pack.zip", true, "zip"},
      {"PACK.Jar", true, "zip"},
      {"dir.zip\\old.LHA", true, "lha"},
      {"pack.z", false, ""},  // not part of a word
      {"README", false, ""},
      {"pack.ar", false, ""},
  };
  for (const Case& c : cases) {
    const ArchiverDefs defs = read(TwoSections, c.archive);
    EXPECT_EQ(defs.found, c.found) << c.archive;
    EXPECT_EQ(defs[ArchiverPacker], c.packer) << c.archive;
    EXPECT_TRUE(problems_.empty()) << c.archive << ": " << problems_.front();
  }
  const ArchiverDefs zip = read(TwoSections, "a.zip");
  EXPECT_EQ(zip.count, 3) << "the section ends at the next F> line";
  EXPECT_EQ(zip[ArchiverUnpacker], "unzip");
  EXPECT_EQ(zip[ArchiverAddOptions], "-q");
}

TEST_F(ArchiverDefsTest, BadLinesAreReportedOnceAndSkipped) {
  std::string text = "x> before any section\nF> zip\n";
  for (int i = 1; i <= 10; ++i) text += "line" + std::to_string(i) + "\n";
  ArchiverDefs defs = read(text, "a.zip");
  EXPECT_EQ(defs.count, 8);
  EXPECT_EQ(defs.definitions[7], "line8");
  ASSERT_EQ(problems_.size(), 2u);
  EXPECT_EQ(problems_[0], "Error in line 1, 'x> before any section'");
  EXPECT_EQ(problems_[1], "Maximum 8 Definitions");

  // A line over 199 bytes is one error, never the start of a second line; options over 49
  // bytes leave their place empty, so the later definitions keep their meaning.
  const std::string longLine(250, 'z');
  const std::string longOption(50, 'o');
  defs = read("F> zip\nzip\n" + longLine + "\n-q\n" + longOption + "\n-o\n", "a.zip");
  ASSERT_EQ(problems_.size(), 2u);
  EXPECT_EQ(problems_[0].rfind("Error in line 3, 'zzz", 0), 0u) << problems_[0];
  EXPECT_EQ(problems_[1].rfind("Error in line 5, 'ooo", 0), 0u) << problems_[1];
  EXPECT_EQ(defs[ArchiverUnpacker], "-q");
  EXPECT_EQ(defs[ArchiverAddOptions], "");
  EXPECT_EQ(defs[ArchiverDeleteOptions], "-o");

  // A zero byte cannot reach a command line; CR LF line ends are read as lines.
  defs = read(std::string("F> zip\r\nzip\r\nun\0zip\r\n-q\r\n", 25), "a.zip");
  ASSERT_EQ(problems_.size(), 1u);
  EXPECT_EQ(problems_[0].rfind("Error in line 3, 'un", 0), 0u);
  EXPECT_EQ(defs[ArchiverPacker], "zip");
  EXPECT_EQ(defs[ArchiverUnpacker], "-q");

  std::vector<std::string> missing;
  EXPECT_FALSE(readArchiverDefs("T:\\none.ASE", "a.zip", defs, missing));
  EXPECT_EQ(missing, std::vector<std::string>{"File T:\\none.ASE fehlt"});
  EXPECT_FALSE(defs.found);
}

TEST_F(ArchiverDefsTest, TheShippedFilesLoadSilently) {
  const std::string text = testing::shippedDataFile("corvane.ASE");
  for (std::string_view archive : {"a.zip", "a.jar", "a.lzh", "a.lha", "a.arj", "a.zoo"}) {
    const ArchiverDefs defs = read(text, archive);
    EXPECT_TRUE(problems_.empty()) << archive << ": " << problems_.front();
    EXPECT_TRUE(defs.found) << archive;
    EXPECT_EQ(defs.count, 6) << archive;
    EXPECT_FALSE(defs[ArchiverExtractOptions].empty()) << archive << " cannot be unpacked";
  }
  // Windows packs and unpacks ZIP with the system's tar.
  const ArchiverDefs defs = read(testing::shippedDataFile("win32/corvane.ASE"), "a.ZIP");
  EXPECT_TRUE(problems_.empty()) << problems_.front();
  ASSERT_TRUE(defs.found);
  EXPECT_EQ(defs.count, 6);
  EXPECT_EQ(defs[ArchiverExtractOptions], "-xf");
  EXPECT_EQ(defs[ArchiverPacker], "tar");
}

TEST_F(ArchiverDefsTest, ArchiveTypeByExtension) {
  struct Case {
    std::string_view name;
    int type;
    bool message;
  };
  const Case cases[] = {{"FILE.ZIP", ArchiveZip, false},
                        {"FILE.Lzh", ArchiveLzh, false},
                        {"a.lha", ArchiveLzh, false},
                        {"x.zoo", ArchiveZoo, false},
                        {"C:\\a.b\\x.ARJ", ArchiveArj, false},
                        {"README", ArchiveNone, false},
                        {"C:\\a.zip\\README", ArchiveNone, false},
                        {"FILE.TXT", ArchiveNone, true}};
  for (const Case& c : cases) {
    int reads = 0;
    console_.onInputExhausted = [&](HeadlessConsole& console) {
      ++reads;
      EXPECT_NE(console.shownRow(15).find("Archive type unknown"), std::string::npos);
      console.pushKey(key::Escape);
    };
    EXPECT_EQ(archiveTypeOf(c.name), c.type) << c.name;
    EXPECT_EQ(reads, c.message ? 1 : 0) << c.name;
  }
  EXPECT_EQ(formatDosTime((9 << 11) | (5 << 5)), "09:05");
  EXPECT_EQ(formatDosDate((44 << 9) | (2 << 5) | 29), "29.02.2024");
}

}  // namespace
}  // namespace corvane::testing
