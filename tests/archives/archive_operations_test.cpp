// The archive panel and its operations with the packaged archivers and the shipped
// definitions, on a temporary tree mapped as T:.
#include "archives/archive_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "archive_fixtures.h"
#include "archives/archive_panel.h"
#include "archives/archive_texts.h"
#include "archives/archives_state.h"
#include "config/archiver_defs.h"
#include "config/config_state.h"
#include "config/setup_block.h"
#include "exec/run_command.h"
#include "fileops/fileops_state.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"
#include "support/scoped_env.h"
#include "support/shipped_data.h"
#include "support/temp_tree.h"
#include "ui/ui_state.h"

namespace corvane {
namespace {

using testing::runIn;

class ArchiveOperationsTest : public testing::HeadlessTest {
 protected:
  ArchiveOperationsTest() {
    initDriveMap(("T=" + tree_.root()).c_str());
    setCurrentDrive('T');
    setSetupDefaults(setupBlock());
    setupBlock().preferences[3].set(0);  // no key prompt after the archivers
    resetKeyReader();
    resetUiState();
    resetConfigState();
    resetFileopsState();
    resetArchivesState();
    setNormalScreenOps({[] {}, [](std::string_view) {}, [](std::string_view) {}});
    // Every box is looked at and closed with Enter.
    console_.onInputExhausted = [this](HeadlessConsole& console) {
      std::string screen;
      for (int row = 0; row < console.rows; ++row) screen += console.shownRow(row) + "\n";
      boxes_.push_back(screen);
      console.pushKey(key::Enter);
    };
    tree_.writeFile("corvane.ASE", testing::shippedDataFile("corvane.ASE"));
    configState().loadedPath = "T:\\corvane.SET";

    tree_.makeDir("src");
    tree_.makeDir("src/sub");
    tree_.writeFile("src/c.txt", "top c\n");
    tree_.writeFile("src/sub/c.txt", "sub c\n");
    tree_.writeFile("src/x[1].txt", "one\n");
    tree_.writeFile("src/x1.txt", "two\n");
    tree_.makeDir("tmp");
  }
  ~ArchiveOperationsTest() override {
    resetArchivesState();
    resetNormalScreenOps();
    resetConfigState();
    resetUiState();
    initDriveMap(nullptr);
  }

  // An archive panel on T:\<archive>, read.
  Panel& open(const std::string& archive, int type) {
    panel_.currentDirectory = "T:\\";
    panel_.mask = "T:\\" + archive + "/*.*";
    panel_.archiveType = type;
    panel_.nameCase = 1;
    (void)readArchiveDirectory(panel_, SortMode::Name, true);
    return panel_;
  }
  std::string listed() const {
    std::string out;
    for (NodeId id : chain(panel_.list)) {
      const FileEntry& e = panel_.list.nodes[id].entry;
      out += e.name + (e.isDirectory() ? "/ " : " ");
    }
    return out;
  }
  bool sawBox(std::string_view text) const {
    for (const std::string& screen : boxes_)
      if (screen.find(text) != std::string::npos) return true;
    return false;
  }
  // The extracted copy's bytes (and the copy released), "" when extraction failed.
  std::string extract(std::string_view name) {
    std::string copy;
    if (!extractFromArchive(panel_, name, copy)) return {};
    const std::string host = toHostPath(copy);
    EXPECT_TRUE(host.starts_with(tree_.root() + "/")) << host;  // TMP lies in the tree
    const std::string bytes = tree_.readFile(std::string_view(host).substr(tree_.root().size() + 1));
    releaseExtracted(copy);
    EXPECT_FALSE(std::filesystem::exists(host)) << "the copy stays after its release";
    return bytes;
  }

  testing::TempTree tree_;
  testing::ScopedEnv tmp_{"TMP", nullptr}, temp_{"TEMP", nullptr}, tmpdir_{"TMPDIR", nullptr};
  Panel panel_;
  std::vector<std::string> boxes_;
};

TEST_F(ArchiveOperationsTest, ZipMembersViewedByTheirExactNameAndDeleted) {
  REQUIRE_PROGRAM("zip");
  REQUIRE_PROGRAM("unzip");
  ASSERT_TRUE(runIn(tree_.host("src"), "zip -q -r ../t.zip ."));
  setenv("TMP", tree_.host("tmp").c_str(), 1);
  open("t.zip", ArchiveZip);
  EXPECT_EQ(listed(), "../ sub/ c.txt x1.txt x[1].txt ");
  EXPECT_EQ(extract("x[1].txt"), "one\n");
  EXPECT_EQ(extract("c.txt"), "top c\n");

  panel_.mask = "T:\\t.zip/sub/*.*";
  (void)readArchiveDirectory(panel_, SortMode::Name, true);
  EXPECT_EQ(listed(), "../ c.txt ");
  EXPECT_EQ(extract("c.txt"), "sub c\n");
  EXPECT_TRUE(deleteFromArchive(panel_, "c.txt"));  // sub/c.txt only

  open("t.zip", ArchiveZip);
  EXPECT_EQ(listed(), "../ sub/ c.txt x1.txt x[1].txt ");
  EXPECT_TRUE(deleteFromArchive(panel_, "x[1].txt"));
  open("t.zip", ArchiveZip);
  EXPECT_EQ(listed(), "../ sub/ c.txt x1.txt ");
  EXPECT_EQ(extract("x1.txt"), "two\n");
  // A member that is not there is neither extracted nor deleted.
  EXPECT_EQ(extract("x[1].txt"), "");
  EXPECT_FALSE(deleteFromArchive(panel_, "x[1].txt"));
  EXPECT_TRUE(std::filesystem::is_empty(tree_.host("tmp")));
}

TEST_F(ArchiveOperationsTest, ArjLzhAndZooMembersThroughTheShippedDefinitions) {
  setenv("TMP", tree_.host("tmp").c_str(), 1);
  if (testing::haveProgram("arj")) {
    ASSERT_TRUE(runIn(tree_.host("src"), "arj a -r -a1 -y ../t.arj '*'"));
    open("t.arj", ArchiveArj);
    EXPECT_EQ(listed(), "../ sub/ c.txt x1.txt x[1].txt ");
    EXPECT_EQ(extract("x[1].txt"), "one\n");
    EXPECT_TRUE(deleteFromArchive(panel_, "c.txt"));  // without "-p" arj takes sub/c.txt too
    panel_.mask = "T:\\t.arj/sub/*.*";
    (void)readArchiveDirectory(panel_, SortMode::Name, true);
    EXPECT_EQ(listed(), "../ c.txt ");
    EXPECT_EQ(extract("c.txt"), "sub c\n");
  }
  if (testing::haveProgram("lhasa")) {
    ASSERT_TRUE(tree_.writeFile("t.lzh",
        testing::lzhArchive({{1, "", "x[1].txt", "one\n"}, {2, "sub", "c.txt", "sub c\n"}})));
    open("t.lzh", ArchiveLzh);
    EXPECT_EQ(extract("x[1].txt"), "one\n");
    boxes_.clear();
    EXPECT_FALSE(deleteFromArchive(panel_, "x[1].txt"));  // no LZH packer is packaged
    EXPECT_TRUE(sawBox("No program in the archiver definitions"));
    open("t.lzh", ArchiveLzh);
    EXPECT_EQ(listed(), "../ sub/ x[1].txt ");
  }
  if (testing::haveProgram("unar")) {
    ASSERT_TRUE(tree_.writeFile("t.zoo",
        testing::zooArchive({{"-x", "", "dash\n"}, {"c.txt", "sub", "zc\n"}})));
    open("t.zoo", ArchiveZoo);
    EXPECT_EQ(extract("-x"), "dash\n");
    panel_.mask = "T:\\t.zoo/sub/*.*";
    EXPECT_EQ(extract("c.txt"), "zc\n");
    boxes_.clear();
    EXPECT_FALSE(deleteFromArchive(panel_, "c.txt"));
    EXPECT_TRUE(sawBox("No program in the archiver definitions"));
  }
  EXPECT_TRUE(std::filesystem::is_empty(tree_.host("tmp")));
}

TEST_F(ArchiveOperationsTest, PackedAndUnpackedWhole) {
  REQUIRE_PROGRAM("zip");
  REQUIRE_PROGRAM("unzip");
  const std::string files[] = {"c.txt", "x[1].txt"};
  const std::string directories[] = {"sub"};
  ASSERT_TRUE(changeDirectory("T:\\src"));
  ASSERT_TRUE(packIntoArchive("..\\p.zip", "T:\\src", files, directories));
  tree_.makeDir("out");
  ASSERT_TRUE(unpackArchive("T:\\p.zip", ArchiveZip, false, "T:\\out"));
  EXPECT_EQ(tree_.readFile("out/x[1].txt"), "one\n");
  EXPECT_EQ(tree_.readFile("out/sub/c.txt"), "sub c\n");
  EXPECT_FALSE(std::filesystem::exists(tree_.host("out/x1.txt")));

  // A name the packer cannot be given exactly stops the whole run before it starts.
  const std::string odd[] = {"c.txt", "!list"};
  EXPECT_FALSE(packIntoArchive("..\\q.arj", "T:\\src", odd, {}));
  EXPECT_TRUE(sawBox("cannot be given to arj exactly"));
  EXPECT_FALSE(std::filesystem::exists(tree_.host("q.arj")));
}

// Members whose names lead outside, or through a link, are listed under clean names and
// never written: not extracted, and the archive holding them is not unpacked.
TEST_F(ArchiveOperationsTest, HostileArchivesWriteNothingOutside) {
  REQUIRE_PROGRAM("unzip");
  setenv("TMP", tree_.host("tmp").c_str(), 1);
  const std::string hostile = testing::zipArchive(
      {{"../evil.txt", "evil\n", {}}, {"/abs.txt", "abs\n", {}}, {"ok.txt", "ok\n", {}}});
  tree_.makeDir("in");
  tree_.makeDir("in/out");
  ASSERT_TRUE(tree_.writeFile("in/h.zip", hostile));
  panel_.currentDirectory = "T:\\in";
  panel_.mask = "T:\\in\\h.zip/*.*";
  panel_.archiveType = ArchiveZip;
  (void)readArchiveDirectory(panel_, SortMode::Name, true);
  EXPECT_EQ(listed(), "../ abs.txt evil.txt ok.txt ");

  EXPECT_EQ(extract("evil.txt"), "");
  EXPECT_TRUE(sawBox("would lead outside"));
  EXPECT_EQ(extract("ok.txt"), "ok\n");
  EXPECT_FALSE(unpackArchive("T:\\in\\h.zip", ArchiveZip, false, "T:\\in\\out"));
  EXPECT_TRUE(std::filesystem::is_empty(tree_.host("in/out")));
  EXPECT_FALSE(std::filesystem::exists(tree_.host("in/evil.txt")));
  EXPECT_FALSE(std::filesystem::exists(tree_.host("evil.txt")));
  EXPECT_TRUE(std::filesystem::is_empty(tree_.host("tmp")));
}

// The definitions file is read for an archive when its panel is read, and again only when
// the file changed: a bad line's box shows once per read of the file, also for an archive
// found by its content (whose type's own section is looked up as well).
TEST_F(ArchiveOperationsTest, DefinitionsFileProblemsShownOncePerReadOfTheFile) {
  REQUIRE_PROGRAM("zip");
  REQUIRE_PROGRAM("unzip");
  ASSERT_TRUE(runIn(tree_.host("src"), "zip -q -r ../t.zip . && cp ../t.zip ../t.exe"));
  setenv("TMP", tree_.host("tmp").c_str(), 1);
  const std::string section = "F> zip\nzip\nunzip\n-q -nw\n-q -nw -d\n-q\n-q -nw -r\n";
  const auto badLineBoxes = [this] {
    return std::count_if(boxes_.begin(), boxes_.end(), [](const std::string& screen) {
      return screen.find("Error in line 1") != std::string::npos;
    });
  };
  for (const char* archive : {"t.zip", "t.exe"}) {
    SCOPED_TRACE(archive);
    tree_.writeFile("corvane.ASE", "x>bad\n" + section);
    boxes_.clear();
    panel_.currentDirectory = "T:\\";
    panel_.mask = "T:\\" + std::string(archive) + "/*.*";
    panel_.archiveType = ArchiveZip;
    (void)readArchiveDirectory(panel_, SortMode::Name, false);
    EXPECT_EQ(badLineBoxes(), 1);
    EXPECT_EQ(extract("c.txt"), "top c\n");
    EXPECT_EQ(extract("x1.txt"), "two\n");
    EXPECT_EQ(badLineBoxes(), 1);
    tree_.writeFile("corvane.ASE", "y>worse\n" + section);
    EXPECT_EQ(extract("c.txt"), "top c\n");
    EXPECT_EQ(badLineBoxes(), 2);
  }
}

TEST_F(ArchiveOperationsTest, ATemporaryDirectoryOnNoDriveIsTold) {
  REQUIRE_PROGRAM("zip");
  ASSERT_TRUE(runIn(tree_.host("src"), "zip -q -r ../t.zip ."));
  open("t.zip", ArchiveZip);
  testing::TempTree outside;  // on no drive once C: is elsewhere
  initDriveMap(("C=" + tree_.host("src") + ";T=" + tree_.root()).c_str());
  setenv("TMP", outside.root().c_str(), 1);
  EXPECT_EQ(extract("c.txt"), "");
  EXPECT_TRUE(sawBox(TextNoTemporaryPath));
}

}  // namespace
}  // namespace corvane
