#include "platform/find.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

struct Found {
  std::string name;
  int attribute = 0;
  std::uint64_t size = 0;
  std::uint16_t date = 0, time = 0;
  bool isLink = false, linkToDirectory = false;
  std::uint64_t device = 0, inode = 0;
};

// Every entry of a search, in the order delivered; the search is always closed.
std::vector<Found> findAll(std::string_view pattern, int mask = 0) {
  std::vector<Found> all;
  FindRecord record;
  for (int rc = findFirst(pattern, mask, record); rc == 0; rc = findNext(record)) {
    EXPECT_EQ(record.found, 1);
    all.push_back({record.name, record.attribute, record.size, record.date, record.time,
                   record.isLink, record.linkToDirectory, record.device, record.inode});
  }
  findClose(record);
  return all;
}

std::vector<std::string> namesOf(const std::vector<Found>& found) {
  std::vector<std::string> names;
  for (const Found& f : found) names.push_back(f.name);
  return names;
}

const Found* entry(const std::vector<Found>& found, std::string_view name) {
  auto it =
      std::find_if(found.begin(), found.end(), [&](const Found& f) { return f.name == name; });
  return it == found.end() ? nullptr : &*it;
}

using Names = std::vector<std::string>;

TEST(WildcardTest, MatchesOneComponent) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  constexpr Case cases[] = {
      {"*.*", "README", true},
      {"*.*", "a.b.c", true},
      {"*.*", ".profile", true},
      {"*", "x", true},
      {"*.txt", "Notes.TXT", true},
      {"*.txt", "notes.txt.bak", false},
      {"?.c", "a.c", true},
      {"?.c", "ab.c", false},
      {"?.c", ".c", false},
      {"?", "\xC3\xA4", true},
      {"??", "\xC3\xA4", false},
      {"?", "\xC4", true},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"*ab", "aab", true},
      {"name.*", "name", true},
      {"name.*", "name.c", true},
      {"name.*", "names", false},
      {"NAME", "name", true},
      {"", "", true},
      {"", "x", false},
      {"*.", "x.", true},
      {"\xC3\x84*", "\xC3\xA4x", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
  }
}

using FindTest = testing::TempDriveTest;

TEST_F(FindTest, DotEntriesComeFirstBelowARootAndNeverAtIt) {
  tree_.makeDir("sub");
  tree_.writeFile("file");
  tree_.makeDir("empty");
  EXPECT_EQ(namesOf(findAll("T:\\*.*")).size(), 3u);
  EXPECT_EQ(entry(findAll("T:\\*.*"), "."), nullptr);
  EXPECT_EQ(entry(findAll("T:\\*"), ".."), nullptr);

  std::vector<Found> below = findAll("T:\\empty\\*.*");
  ASSERT_EQ(namesOf(below), (Names{".", ".."}));
  EXPECT_EQ(below[0].attribute, AttrDirectory);
  EXPECT_EQ(below[1].attribute, AttrDirectory);
  EXPECT_EQ(below[1].size, 0u);
  // The dots are names like others: a pattern they do not match leaves them out.
  EXPECT_TRUE(findAll("T:\\empty\\*.txt").empty());
}

TEST_F(FindTest, EmptyRootAndMissingDirectoriesFindNothing) {
  FindRecord record;
  EXPECT_EQ(findFirst("T:\\*.*", 0, record), 1);
  EXPECT_TRUE(record.failure);     // searched, and empty
  EXPECT_EQ(findNext(record), 1);  // harmless after a failed start
  findClose(record);
  EXPECT_EQ(findFirst("T:\\missing\\*.*", 0, record), 1);
  EXPECT_TRUE(record.failure.missing());
  EXPECT_EQ(findFirst("Q:\\*.*", 0, record), 1);
  EXPECT_EQ(findFirst("T:\\", 0, record), 1);
}

TEST_F(FindTest, AttributesComeFromKindPermissionsAndName) {
  tree_.makeDir("dir");
  tree_.writeFile(".hidden", "abc");
  tree_.writeFile("locked", "12345");
  tree_.writeFile("plain");
  ASSERT_EQ(chmod(tree_.host("locked").c_str(), 0444), 0);
  std::vector<Found> all = findAll("T:\\*.*", AttrHidden | AttrSystem);  // the mask does not filter
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(entry(all, "dir")->attribute, AttrDirectory);
  EXPECT_EQ(entry(all, ".hidden")->attribute, AttrHidden);
  EXPECT_EQ(entry(all, ".hidden")->size, 3u);
  EXPECT_EQ(entry(all, "locked")->attribute, AttrReadOnly);
  EXPECT_EQ(entry(all, "plain")->attribute, 0);
}

TEST_F(FindTest, NamesAreDeliveredByteForByteAndReachTheirFiles) {
  const std::string odd[] = {"caf\xE9",   "\xC4\xCD\xB0", "tab\there", "bell\x07",
                             "new\nline", " lead",        "trail."};
  for (const std::string& name : odd) tree_.writeFile(name, name);
  std::vector<Found> all = findAll("T:\\*.*");
  ASSERT_EQ(all.size(), std::size(odd));
  for (const std::string& name : odd) {
    ASSERT_NE(entry(all, name), nullptr) << name;
    FileHandle file = openFile(joinPath("T:\\", name), "rb");
    ASSERT_TRUE(file) << name;
    char buffer[32] = {};
    std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    EXPECT_EQ(std::string(buffer, got), name);
  }
}

TEST_F(FindTest, ABackslashInAHostNameNeverReachesAnotherFile) {
  tree_.makeDir("a");
  tree_.writeFile("a/b", "inner");
  tree_.writeFile("a\\b", "outer");
  const std::string shown = std::string("a") + "\xEF\x81\x9C" + "b";
  std::vector<Found> all = findAll("T:\\*.*");
  ASSERT_NE(entry(all, shown), nullptr);
  EXPECT_EQ(entry(all, shown)->size, 5u);
  ASSERT_EQ(findAll("T:\\a?b").size(), 1u);  // matched by its shown name
  ASSERT_TRUE(deleteFile(joinPath("T:\\", shown)));
  EXPECT_FALSE(tree_.exists("a\\b"));
  EXPECT_EQ(tree_.readFile("a/b"), "inner");
}

TEST_F(FindTest, SizesAreSixtyFourBits) {
  int fd = open(tree_.host("big").c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  constexpr std::uint64_t fiveGigabytes = 5ull << 30;
  ASSERT_EQ(ftruncate(fd, static_cast<off_t>(fiveGigabytes)), 0);  // sparse: no space used
  close(fd);
  std::vector<Found> all = findAll("T:\\big");
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].size, fiveGigabytes);
  EXPECT_EQ(fileSize("T:\\big"), static_cast<std::int64_t>(fiveGigabytes));
}

TEST_F(FindTest, TimesArePackedDosWordsInLocalTime) {
  tree_.writeFile("afternoon");
  tree_.writeFile("ancient");
  tree_.setLocalMtime("afternoon", 2021, 6, 15, 13, 45, 10);
  tree_.setLocalMtime("ancient", 1975, 3, 1, 8, 0, 0);
  std::vector<Found> all = findAll("T:\\*.*");
  EXPECT_EQ(entry(all, "afternoon")->time, 0x6DA5);
  EXPECT_EQ(entry(all, "afternoon")->date, (2021 - 1980) << 9 | 6 << 5 | 15);
  EXPECT_EQ(entry(all, "ancient")->date, 1 << 5 | 1);  // 1980-01-01 00:00
  EXPECT_EQ(entry(all, "ancient")->time, 0);
}

TEST_F(FindTest, SymbolicLinksAreWhatTheyPointTo) {
  tree_.makeDir("target");
  tree_.writeFile("data", "0123456789");
  tree_.makeSymlink("to-dir", "target");
  tree_.makeSymlink("to-file", "data");
  tree_.makeSymlink("dangling", "nowhere");
  std::vector<Found> all = findAll("T:\\*.*");
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(entry(all, "to-dir")->attribute, AttrDirectory);
  EXPECT_EQ(entry(all, "to-file")->attribute, 0);
  EXPECT_EQ(entry(all, "to-file")->size, 10u);
  EXPECT_EQ(entry(all, "dangling")->attribute, 0);
  EXPECT_EQ(entry(all, "dangling")->size, 0u);
  // The link flags tell them from what they point to; device and inode are the target's.
  struct Flags {
    const char* name;
    bool isLink, linkToDirectory;
    const char* sameFileAs;
  } const flags[] = {{"to-dir", true, true, "target"},
                     {"to-file", true, false, "data"},
                     {"dangling", true, false, nullptr},
                     {"target", false, false, "target"},
                     {"data", false, false, "data"}};
  for (const Flags& f : flags) {
    const Found* found = entry(all, f.name);
    EXPECT_EQ(found->isLink, f.isLink) << f.name;
    EXPECT_EQ(found->linkToDirectory, f.linkToDirectory) << f.name;
    EXPECT_NE(found->inode, 0u) << f.name;
    if (f.sameFileAs != nullptr) {
      EXPECT_EQ(found->inode, entry(all, f.sameFileAs)->inode) << f.name;
      EXPECT_EQ(found->device, entry(all, f.sameFileAs)->device) << f.name;
    }
  }
  EXPECT_TRUE(findAll("T:\\to-dir")[0].linkToDirectory);  // looked up by name too
  // Below a link to a directory the dots are there as anywhere else.
  EXPECT_EQ(namesOf(findAll("T:\\to-dir\\*.*")), (Names{".", ".."}));
}

TEST_F(FindTest, PatternsSelectAndANameWithoutWildcardsIsLookedUpExactly) {
  for (const char* name : {"one.txt", "two.TXT", "three.c", "README", "readme"}) {
    tree_.writeFile(name);
  }
  Names texts = namesOf(findAll("T:\\*.txt"));
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (Names{"one.txt", "two.TXT"}));
  EXPECT_EQ(namesOf(findAll("T:\\README")), (Names{"README"}));
  EXPECT_EQ(namesOf(findAll("T:\\readme")), (Names{"readme"}));
  EXPECT_TRUE(findAll("T:\\Readme").empty());   // different names on this file system
  EXPECT_EQ(findAll("T:\\readm?").size(), 2u);  // wildcards fold case
}

TEST_F(FindTest, ALargeDirectoryIsDeliveredWholeAndOnce) {
  constexpr int count = 3000;
  for (int i = 0; i < count; ++i) tree_.writeFile("f" + std::to_string(i));
  Names names = namesOf(findAll("T:\\*.*"));
  ASSERT_EQ(names.size(), static_cast<std::size_t>(count));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST_F(FindTest, StartingAgainOnARecordEndsItsOpenSearch) {
  tree_.makeDir("a");
  tree_.makeDir("b");
  FindRecord record;
  ASSERT_EQ(findFirst("T:\\a\\*.*", 0, record), 0);
  EXPECT_EQ(record.name, ".");
  ASSERT_EQ(findFirst("T:\\b\\*", 0, record), 0);
  EXPECT_EQ(record.name, ".");
  EXPECT_EQ(findNext(record), 0);
  EXPECT_EQ(record.name, "..");
  EXPECT_EQ(findNext(record), 1);
  EXPECT_EQ(findNext(record), 1);
  findClose(record);
  findClose(record);
}

TEST_F(FindTest, UserAttributesComeWithTheSearchOptionOnly) {
  tree_.writeFile("marked");
  if (!setAttributes("T:\\marked", AttrHidden | AttrSystem | AttrArchive)) {
    GTEST_SKIP() << "no user extended attributes here";
  }
  EXPECT_EQ(findAll("T:\\*.*")[0].attribute, 0);
  EXPECT_EQ(findAll("T:\\*.*", FindUserAttributes)[0].attribute,
            AttrHidden | AttrSystem | AttrArchive);
  EXPECT_EQ(findAll("T:\\marked", FindUserAttributes)[0].attribute,
            AttrHidden | AttrSystem | AttrArchive);
  EXPECT_EQ(userAttributes("T:\\marked"), AttrHidden | AttrSystem | AttrArchive);
}

// Runs body in a child without the privilege to ignore permissions; the child's exit code
// is the number of failed checks.
template <typename Body>
int asUnprivilegedChild(Body body) {
  pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST_F(FindTest, AnUnreadableDirectoryReportsAccessDenied) {
  ASSERT_EQ(chmod(tree_.root().c_str(), 0755), 0);  // the child must reach the tree
  tree_.makeDir("closed");
  tree_.writeFile("closed/inside");
  tree_.makeDir("listable");  // names can be read, entries not reached
  tree_.writeFile("listable/inside");
  ASSERT_EQ(chmod(tree_.host("closed").c_str(), 0), 0);
  ASSERT_EQ(chmod(tree_.host("listable").c_str(), 0644), 0);
  int failures = asUnprivilegedChild([] {
    FindRecord record;
    int failed = 0;
    for (const char* pattern : {"T:\\closed\\*.*", "T:\\listable\\*.*", "T:\\closed\\inside"}) {
      if (findFirst(pattern, 0, record) != 1 || !record.failure.accessDenied()) ++failed;
    }
    if (findFirst("T:\\missing\\*.*", 0, record) != 1 || record.failure.accessDenied()) ++failed;
    if (findFirst("T:\\*.*", 0, record) != 0 || !record.failure) ++failed;
    return failed;
  });
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace corvane
